#pragma once
// "Trend": one measured quantity of every reading of the point against its date, with the point's
// warning and critical bands, markers coloured by status, the trend line with its projection and
// the date axis zoom. A click on a reading's marker names that reading; a box dragged from anywhere
// zooms. Notes on the point or its machine stand as flags on the time axis at their dates.

#include "ui/views/ReadingView.h"
#include "ui/views/TrendLineDialog.h"
#include "ui/views/ZoomDateDialog.h"

#include <optional>

class QPushButton;

namespace vantor {

class NoteMarks;

class TrendView : public ReadingView {
    Q_OBJECT
public:
    TrendView(PointViewsState& state, QWidget* parent = nullptr);

    void Redraw() override;
    void Clear() override;
    void RefreshTexts() override;

    const TrendLineChoice& TrendLine() const { return trendLine_; }
    // Takes new trend line settings and redraws; shows "Trendline does not cross selected target
    // value - trending to last data point" when the projection misses its target.
    void SetTrendLine(const TrendLineChoice& choice);
    const std::optional<DateZoom>& Zoom() const { return zoom_; }
    void SetZoom(std::optional<DateZoom> zoom);

    void EditTrendLine();
    void EditZoom();

    // The read-out gives the latest reading, or with `shown` the reading the other views show (the
    // analysis page, where Previous/Next step through them).
    void SetReadoutFollowsShownReading(bool shown) { followShown_ = shown; }
    // Writes the read-out again for the reading it follows, without drawing the graph.
    void ShowReadout();
    // The notes on the point and its machine, marked on the time axis.
    NoteMarks& Notes() const { return *notes_; }

protected:
    bool HasCursor() const override { return false; }
    void AddMenuItems(QMenu& menu) override;
    AxisRange XRange(double minimum, double maximum) const override;

private:
    // Draws; true when a projection missed its target.
    bool Draw();

    QPushButton* trendLineButton_ = nullptr;
    QPushButton* zoomButton_ = nullptr;
    TrendLineChoice trendLine_;
    std::optional<DateZoom> zoom_;
    bool followShown_ = false;
    NoteMarks* notes_ = nullptr;
};

} // namespace vantor
