#pragma once
// "Envelope": the envelope spectrum (gE) of the shown reading's Total channel in its point's band,
// with the band used and the gE overall above the graph, and the spectrum tools: cursor types,
// Top 10 Peaks, Axis Setup and Copy to Clipboard.

#include "analysis/EnvelopeSpectrum.h"
#include "graphviews/GraphViews.h"
#include "ui/views/AxisSetupDialog.h"

#include <QWidget>

#include <optional>

class QLabel;
class QMenu;

namespace vantor {

class CursorReadout;
class GraphPane;
struct PointViewsState;

class EnvelopeView : public QWidget {
    Q_OBJECT
public:
    EnvelopeView(PointViewsState& state, QWidget* parent = nullptr);

    // Draws the shown reading's envelope spectrum (computed or read from its derived-data file); an
    // empty graph without a reading, with the reason above it when the band or capture is refused.
    void Redraw();
    void Clear();
    void RefreshTexts() { Redraw(); }

    GraphCursor Cursor() const { return cursor_; }
    void SetCursor(GraphCursor cursor);
    void SetAxisLimits(std::optional<AxisLimits> limits);
    // The line above the graph: band, gE overall, or why there is no envelope.
    QString Caption() const;
    const std::optional<EnvelopeSpectrum>& Shown() const { return shown_; }

    GraphPane& Pane() const { return *pane_; }
    void FillMenu(QMenu& menu);
    void ShowTopPeaks();
    void AxisSetup();

private:
    void PlaceCursor();

    PointViewsState& state_;
    EnvelopeAnalyzer analyzer_; // the view's own work buffers
    QLabel* caption_ = nullptr;
    GraphPane* pane_ = nullptr;
    CursorReadout* readout_ = nullptr;
    GraphCursor cursor_ = GraphCursor::None;
    std::optional<AxisLimits> limits_;
    std::optional<EnvelopeSpectrum> shown_;
};

} // namespace vantor
