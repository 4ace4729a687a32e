#pragma once
// "Single FFT": the ISO or Total spectrum of the shown reading, with its menu: cursor type,
// harmonic and bearing cursors, Top 10 Peaks, Update Run Speed (ISO), Axis Setup, Export CSV
// (Total) and Copy to Clipboard. The cursor read-out runs under the graph.

#include "analysis/Measures.h"
#include "graphviews/GraphViews.h"
#include "ui/views/AxisSetupDialog.h"

#include <QWidget>

#include <optional>

class QMenu;

namespace vantor {

class MeasureKindBox;

class CursorReadout;
class GraphPane;
struct PointViewsState;

// The two spectra a view can show: ISO velocity or the Total acceleration channel.
inline constexpr MeasureKind kSpectrumKinds[] = {MeasureKind::IsoVelocity, MeasureKind::Acceleration};

class SpectrumView : public QWidget {
    Q_OBJECT
public:
    SpectrumView(PointViewsState& state, QWidget* parent = nullptr);

    // Draws the shown reading (loading its signals when needed); an empty graph without one.
    void Redraw();
    void Clear();
    void RefreshTexts();

    MeasureKind Kind() const;
    void SetKind(MeasureKind kind);
    GraphCursor Cursor() const { return cursor_; }
    void SetCursor(GraphCursor cursor);
    // Limits typed in Axis Setup; none returns to the automatic axes.
    void SetAxisLimits(std::optional<AxisLimits> limits);

    GraphPane& Pane() const { return *pane_; }
    const CursorReadout& Readout() const { return *readout_; }
    // The context menu as the view builds it for a right click (for its owner and tests).
    void FillMenu(QMenu& menu);

    // The menu's commands.
    void ShowTopPeaks();
    void UpdateRunSpeed();
    void AxisSetup();
    void ExportCsv();

signals:
    // The reading's run speed was updated (its row and cache file rewritten).
    void RunSpeedUpdated();

private:
    void PlaceCursor();

    PointViewsState& state_;
    MeasureKindBox* kind_ = nullptr;
    GraphPane* pane_ = nullptr;
    CursorReadout* readout_ = nullptr;
    GraphCursor cursor_ = GraphCursor::None;
    std::optional<AxisLimits> limits_;
    std::optional<AxisRange> lockedY_; // Scale Lock: the amplitude axis kept between readings
    double runSpeed_ = 0;              // displayed units, of the drawn spectrum
};

} // namespace vantor
