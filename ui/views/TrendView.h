#pragma once
// "Trend": one measured quantity of every reading of the point against its date, with the point's
// warning and critical bands, markers coloured by status, the trend line with its projection and
// the date axis zoom. A click on a reading's marker names that reading.

#include "analysis/Measures.h"
#include "ui/views/TrendLineDialog.h"
#include "ui/views/ZoomDateDialog.h"

#include <QWidget>

#include <optional>

class QMenu;
class QPushButton;

namespace vantor {

class MeasureKindBox;

class GraphPane;
struct PointViewsState;

class TrendView : public QWidget {
    Q_OBJECT
public:
    TrendView(PointViewsState& state, QWidget* parent = nullptr);

    void Redraw();
    void Clear();
    void RefreshTexts();

    MeasureKind Kind() const;
    void SetKind(MeasureKind kind);
    const TrendLineChoice& TrendLine() const { return trendLine_; }
    // Takes new trend line settings and redraws; shows "Trendline does not cross selected target
    // value - trending to last data point" when the projection misses its target.
    void SetTrendLine(const TrendLineChoice& choice);
    const std::optional<DateZoom>& Zoom() const { return zoom_; }
    void SetZoom(std::optional<DateZoom> zoom);

    GraphPane& Pane() const { return *pane_; }
    void FillMenu(QMenu& menu);
    void EditTrendLine();
    void EditZoom();

signals:
    void ReadingClicked(const QString& readingGuid);

private:
    // Draws; true when a projection missed its target.
    bool Draw();

    PointViewsState& state_;
    MeasureKindBox* kind_ = nullptr;
    QPushButton* trendLineButton_ = nullptr;
    QPushButton* zoomButton_ = nullptr;
    GraphPane* pane_ = nullptr;
    TrendLineChoice trendLine_;
    std::optional<DateZoom> zoom_;
};

} // namespace vantor
