#pragma once
// What every graph view of a point shares: the measure chooser (where the view offers one), the
// graph pane with its read-out, the cursor and its menu items, zoom (a dragged box, the mouse wheel
// about the pointer, Home or a double click for the full view, Backspace for the zoom before),
// Axis Setup, and the keyboard steps of the cursor (Left/Right one line, Ctrl+Left/Right the next
// peak). A view draws its data and then hands the drawn graph to Drawn(), which applies the kept
// limits and stands the cursor.

#include "analysis/Measures.h"
#include "graphviews/GraphViews.h"
#include "ui/common/AxisSetupDialog.h"
#include "ui/views/CursorTools.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <span>
#include <vector>

class QHBoxLayout;
class QMenu;

namespace vantor {

// A spectrum's read-out gives two decimals more than its amplitude axis (22.17 mm/s on a 0-30 mm/s
// axis), so a line reads as `vantor peaks` lists it.
inline constexpr int kReadoutExtraDecimals = 2;

class FaultFamiliesLayer;
class GraphPane;
class MeasureKindBox;
struct PointViewsState;

// A graph as a view drew it (its full axes are those it set on the control): the lines its cursors read, the
// read-out's units and where a new cursor stands.
struct DrawnGraph {
    std::vector<double> lineX; // ascending, displayed units
    std::vector<double> lineY;
    QString xUnit;
    int xDecimals = 2; // the most; a line's X shows with the fewest that give it exactly
    QString yUnit;
    int yDecimals = 3;
    double cursorStart = 0; // the run speed on a spectrum; the middle of the axis otherwise
    // The reading's run speed in displayed units (0: none shown): where the harmonic and bearing
    // cursors start, on the largest line within ±2 % of it while peak snap is on.
    double runSpeed = 0;
    // Where a new source opens (displayed units; 0: its full X axis), Home still showing it whole.
    double openXMaximum = 0;
    // Displayed units per stored unit on each axis, so that kept limits and the cursor convert when
    // the user's units change.
    double xScale = 1;
    double yScale = 1;
    // What is drawn (the reading or point, with the measure): limits do not carry over to another
    // one unless Scale Lock is on.
    QString source;
};

class ReadingView : public QWidget {
    Q_OBJECT
public:
    // kinds: the measures the view's chooser offers; empty for a view without one.
    ReadingView(PointViewsState& state, std::span<const MeasureKind> kinds, QWidget* parent = nullptr);
    ~ReadingView() override;

    // Draws what the view shows of the point views' state; an empty graph without it.
    virtual void Redraw() = 0;
    virtual void Clear();
    // Re-reads the captions of the view's choosers (a language change); the graph's own texts
    // follow at the next Redraw.
    virtual void RefreshTexts();

    MeasureKind Kind() const;
    void SetKind(MeasureKind kind); // a kind the view does not offer changes nothing
    GraphCursor Cursor() const { return cursor_; }
    void SetCursor(GraphCursor cursor);
    // Stands the cursor (a simple one when it was off) at x in stored units (Hz on a spectrum); the
    // full X axis comes back when x lies outside the zoomed one. Nothing without a drawn graph.
    void PlaceCursorAt(double storedX);

    GraphPane& Pane() const { return *pane_; }
    const CursorReadout& Readout() const { return *readout_; }
    // The context menu as built for a right click: cursor items, the view's own, Axis Setup, Copy,
    // Export (CSV, PNG, Print).
    void FillMenu(QMenu& menu);

    // Export → CSV…, PNG…, Print…: the file chosen in a save dialog (the export folder, remembered),
    // or the print dialog.
    void ExportCsv();
    void ExportPng();
    void PrintGraph();
    // The shown series as CSV to `path`; a view whose data the command line exports writes the same
    // file. False after the failure's message.
    virtual bool WriteCsv(const QString& path);
    // The graph as shown, as a PNG picture; false after the failure's message.
    bool WritePng(const QString& path);

    // Limits shown instead of the full axes; none for the full view.
    const std::optional<AxisLimits>& Limits() const { return limits_; }
    // Shows these limits (the current ones go onto the zoom history); none for the full view.
    void SetAxisLimits(std::optional<AxisLimits> limits);
    void ZoomBack();
    void ZoomFull();
    // The X axis narrowed (factor < 1) or widened about x, within the full axis.
    void ZoomX(double factor, double aboutX);
    int ZoomDepth() const { return static_cast<int>(history_.size()); }
    void AxisSetup();

    // Moves the cursor by whole lines of the shown trace (negative: left).
    void StepCursor(int lines);
    // Moves the cursor to the next peak (a line above both neighbours) in direction ±1.
    void JumpToPeak(int direction);
    // Snaps the cursor to the highest line within a few lines after every drag (menu option).
    bool PeakSnap() const { return peakSnap_; }
    void SetPeakSnap(bool on) { peakSnap_ = on; }

    // The fault families of the point's bearings over the graph; none on a view without them.
    FaultFamiliesLayer* Families() const { return families_; }
    // The bearing cursor on, its four multipliers from the shown point's bearing number i (from 0).
    void FeedBearingCursor(int bearing);

signals:
    // A point or trace of a reading was clicked.
    void ReadingClicked(const QString& readingGuid);
    // The user chose another number of fault family harmonics (already in the views' state).
    void FaultHarmonicsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // After the view drew its data: keeps or forgets the limits (another source), applies them and
    // stands the cursor (where it stood before, else at cursorStart).
    void Drawn(DrawnGraph drawn);
    // The graph is empty: no cursor, no limits to apply.
    void Emptied();

    // Whether the view has cursors at all, the types it offers besides Simple, and its Axis Setup
    // kind (none: no dialog).
    virtual bool HasCursor() const { return true; }
    virtual CursorOffer Cursors() const { return {false, false}; }
    virtual std::optional<AxisSetupKind> AxisKind() const { return std::nullopt; }
    // The view's own menu items, after the cursor items; a view with Axis Setup places it with
    // AddAxisSetupItem among them.
    virtual void AddMenuItems(QMenu& menu) { AddAxisSetupItem(menu); }
    void AddAxisSetupItem(QMenu& menu);
    // A spectrum view draws the fault families of the point's bearings (made once, in its constructor)
    // and shows them for each drawing at the run speed it drew; an empty point clears them.
    void AddFaultFamilies();
    void ShowFaultFamilies(const QString& point, double runSpeedHz);
    // Puts a chooser of the view on the bar above the graph.
    void AddToBar(QWidget* widget, int spacingBefore = 0);
    // Puts a widget that takes the bar's spare width (a caption that wraps when the bar is narrow).
    void AddFillingToBar(QWidget* widget);
    // The axes of limits: ticks and decimals for that extent.
    virtual AxisRange XRange(double minimum, double maximum) const;
    virtual AxisRange YRange(double minimum, double maximum) const;

    // The CSV of the graph's first series: the axes' captions as the header (a dated axis gives
    // "Date/Time" with "YYYY-MM-DD HH:MM:SS"), then one line per point, CRLF; numbers as the control
    // holds them.
    QByteArray SeriesCsv() const;
    // Writes bytes to the file; false after "The file ... could not be written".
    bool WriteFile(const QString& path, const QByteArray& bytes);
    // The view's measure chooser; none on a view without one.
    MeasureKindBox* KindChooser() const { return kind_; }

    PointViewsState& state_;

private:
    void ApplyLimits();
    void PlaceCursor();
    void AfterDrag();
    void RememberCursor();
    // The harmonic and bearing cursors' 1× where the view stands them (displayed units).
    double FamilyStart() const;
    // Whether the control's axes are those the view applied last (not while a view refills it).
    bool AxesApplied() const;

    MeasureKindBox* kind_ = nullptr;
    QHBoxLayout* bar_ = nullptr;
    GraphPane* pane_ = nullptr;
    CursorReadout* readout_ = nullptr;
    FaultFamiliesLayer* families_ = nullptr;
    GraphCursor cursor_ = GraphCursor::None;
    bool peakSnap_ = false;
    bool placing_ = false; // the view itself moves the cursor: its events are not the user's

    std::optional<DrawnGraph> drawn_;
    AxisRange fullX_; // the axes the view drew
    AxisRange fullY_;
    QString pointGuid_; // the point the kept cursor belongs to
    std::optional<AxisLimits> limits_;
    std::vector<std::optional<AxisLimits>> history_;
    double limitsXScale_ = 1; // the scales the limits were taken in
    double limitsYScale_ = 1;
    std::optional<double> cursorX_; // the simple cursor where the user left it, in stored units
    // The harmonic or bearing cursor's 1× where the user moved it on this drawing's source, in
    // stored units; none: at the reading's run speed.
    std::optional<double> familyX_;
    double appliedXMin_ = 0; // the X axis the view last applied
    double appliedXMax_ = 0;
};

} // namespace vantor
