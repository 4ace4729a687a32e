// Axis scaling of the graph: value-to-pixel mapping, tick positions and tick label texts. Pure
// functions of the axis settings and the series, so the paint and the tests share them.
#pragma once

#include "GraphSeries.h"
#include "NumberFormat.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace GraphScale {

enum class MarkerMethod { TickSpacing = 0, NumberOfTicks = 1, Exact = 2 };
enum class XAxisType { Normal = 0, Time = 1, Dates = 2 };

// A paint never lays out more ticks than this on one axis, whatever the spacing property says.
inline constexpr int MaxTicks = 1000;
inline constexpr int MaxLabelDecimals = 6;

// One axis's value-to-pixel mapping: start + (v - min) / (max - min) * extent, truncated, with the
// ratio extent / (max - min) taken once (a negative extent runs upward, as the Y axis does). An
// empty axis range (min == max) maps everything to the axis start. Pixels are held within
// +-PixelLimit, so a value far off the axis lands far off the plot on its own side instead of
// overflowing to the other; the mapping stays monotonic in v.
class Mapping {
public:
    static constexpr double PixelLimit = 1e9;
    Mapping(double min, double max, int start, int extent)
        : min_(min), start_(start), scale_(max != min ? extent / (max - min) : 0.0) {}
    int pixel(double v) const {
        // The value at the far end of the range lands exactly on the far edge, whatever the
        // rounding of the ratio.
        const double at = start_ + (v - min_) * scale_ + RoundingAllowance;
        // A value with no place on the axis (not a number, or infinite against an infinite range)
        // is put far off the plot; converting it to int would be undefined.
        if (std::isnan(at)) {
            return static_cast<int>(-PixelLimit);
        }
        return static_cast<int>(std::clamp(at, -PixelLimit, PixelLimit));
    }
    // Larger values never map to smaller pixels.
    bool nonDecreasing() const { return scale_ >= 0.0; }

private:
    static constexpr double RoundingAllowance = 1e-9;
    double min_;
    double start_;
    double scale_;
};

int xToPixel(double x, double xMin, double xMax, int plotLeft, int plotWidth);
int yToPixel(double y, double yMin, double yMax, int plotBottom, int plotHeight);
// The inverse mappings (used by zooming to a dragged rectangle).
double pixelToX(int px, double xMin, double xMax, int plotLeft, int plotWidth);
double pixelToY(int py, double yMin, double yMax, int plotBottom, int plotHeight);

// Number of Ticks: `intervals` intervals, ticks at every interval boundary while i <= intervals,
// counted up from min (X axis) or down from max (Y axis).
QList<double> numberOfTicks(double min, double max, double intervals, bool countDownFromMax);
// Tick Spacing: ticks every `spacing` upward from min, none at min itself.
QList<double> spacedTicks(double min, double max, double spacing);
// Exact (Dates axis only): the X of every point of every traced series with points, within range.
QList<double> exactTicks(const SeriesList& series, double min, double max);

// Tick positions for one axis; the Exact method yields ticks only on the Dates X axis.
QList<double> xAxisTicks(MarkerMethod method, XAxisType type, double min, double max, double spacing,
                         const SeriesList& series);
QList<double> yAxisTicks(MarkerMethod method, double min, double max, double spacing);

// The caption of a Time axis: "time (secs)", "time (mins)" or "time (hours)" by the axis maximum.
QString timeCaption(double xMax);
// A Time axis tick (seconds) as h:mm:ss, m:ss or s.
QString timeLabel(double seconds);

// The base date of a Dates axis: the earliest valid date-time among the traced series with points
// (invalid when there is none).
QDateTime datesBase(const SeriesList& series);
// A Dates axis tick (minutes after base), date only in the user's locale.
QString dateLabel(const QDateTime& base, double minutes);

struct TickLabels {
    QStringList texts;
    int decimals = 0; // the count finally used (reused by the tooltip numbers)
};
// Numeric labels with `decimals` digits; with raiseOnRepeat (the Normal X axis with Number of
// Ticks) the count rises while two consecutive labels read the same, up to MaxLabelDecimals.
TickLabels numericLabels(const QList<double>& ticks, int decimals, bool raiseOnRepeat,
                         const NumberFormat& format);

} // namespace GraphScale
