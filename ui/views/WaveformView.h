#pragma once
// "Waveform": the Total channel's samples of the shown reading in g against seconds, with a simple
// cursor, Axis Setup, Export CSV and Copy to Clipboard.

#include "graphviews/GraphViews.h"
#include "ui/views/AxisSetupDialog.h"

#include <QWidget>

#include <optional>

class QMenu;

namespace vantor {

class CursorReadout;
class GraphPane;
struct PointViewsState;

class WaveformView : public QWidget {
    Q_OBJECT
public:
    WaveformView(PointViewsState& state, QWidget* parent = nullptr);

    void Redraw();
    void Clear();
    void RefreshTexts() { Redraw(); }

    GraphCursor Cursor() const { return cursor_; }
    void SetCursor(GraphCursor cursor);
    void SetAxisLimits(std::optional<AxisLimits> limits);

    GraphPane& Pane() const { return *pane_; }
    void FillMenu(QMenu& menu);
    void AxisSetup();
    void ExportCsv();

private:
    void PlaceCursor();

    PointViewsState& state_;
    GraphPane* pane_ = nullptr;
    CursorReadout* readout_ = nullptr;
    GraphCursor cursor_ = GraphCursor::None;
    std::optional<AxisLimits> limits_;
};

} // namespace vantor
