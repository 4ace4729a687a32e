#pragma once
// "Trend": one measured quantity of every reading of the point against its date, with the point's
// warning and critical bands, markers coloured by status, the trend line with its projection and
// the date axis zoom. A click on a reading's marker names that reading; a box dragged from anywhere
// zooms. Notes on the point or its machine stand as flags on the time axis at their dates. Besides the
// documented measures the chooser offers the waveform indices (crest factor, kurtosis, peak-to-peak,
// gE overall), and a measure with a baseline alarm has the baseline's warning and critical limits
// drawn as dashed lines under the readings. The ISO and Total overall values an online sensor on the
// point published trend beside the readings as a second, teal series.

#include "analysis/BaselineAlarms.h"
#include "analysis/IndexMeasures.h"
#include "ui/views/ReadingView.h"
#include "ui/views/TrendLineDialog.h"
#include "ui/views/ZoomDateDialog.h"

#include <optional>

class QPainter;
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

    // The waveform index the trend shows; none while a documented measure is chosen.
    std::optional<IndexMeasure> Index() const;
    void SetIndex(IndexMeasure measure);
    // The limits of the shown measure's baseline alarm (stored units); none without one.
    const std::optional<BaselineStatistics>& BaselineLimits() const { return baseline_; }
    // The online sensor values the trend shows (stored units, oldest first); empty for a point no
    // sensor feeds and for the measures sensors do not publish.
    const std::vector<TrendReading>& OnlineValues() const { return online_; }
    // Where the last paint put the baseline's warning and critical lines (the graph's y).
    std::vector<int> BaselineLineY() const;

protected:
    bool HasCursor() const override { return false; }
    void AddMenuItems(QMenu& menu) override;
    AxisRange XRange(double minimum, double maximum) const override;

private:
    // Draws; true when a projection missed its target.
    bool Draw();
    void PaintUnder(QPainter& painter);
    std::optional<int> ScreenY(double displayed) const;

    QPushButton* trendLineButton_ = nullptr;
    QPushButton* zoomButton_ = nullptr;
    TrendLineChoice trendLine_;
    std::optional<DateZoom> zoom_;
    bool followShown_ = false;
    NoteMarks* notes_ = nullptr;
    std::vector<TrendReading> indexTrend_; // the shown index's values
    std::vector<TrendReading> online_;     // the point's online sensor values of the shown measure
    std::optional<BaselineStatistics> baseline_;
    double baselineScale_ = 1; // displayed units per stored unit of the baseline's limits
};

} // namespace vantor
