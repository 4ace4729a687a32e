#pragma once
// The trend of one measured quantity of a vibration point: its samples against time, the fitted
// trend line and where the line ends (the last sample, a target value it reaches, or a number of
// days on).

#include "analysis/Measures.h"
#include "records/Records.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace vantor {

// Added to the minutes of a sample so that a time a hair below a whole minute keeps its minute.
inline constexpr double kMinuteRoundingAllowance = 0.000005787037037037037;
inline constexpr double kMinutesPerDay = 24.0 * 60.0;
// Days: the entered count must lie strictly between these.
inline constexpr int kProjectionDaysAbove = 0;
inline constexpr int kProjectionDaysBelow = 10001;
// How far past the last sample a polynomial is searched for the target, and the grid it is
// searched on before the crossing is narrowed down by halving.
inline constexpr double kCrossingSearchDays = 10000.0;
inline constexpr double kCrossingSearchStepMinutes = 60.0;

// One reading of the trend, in the order the readings are listed.
struct TrendReading {
    QString guid;
    QDateTime taken;
    float value = 0; // the plotted quantity as stored
};

struct TrendSample {
    QString readingGuid;
    QDateTime taken;
    double x = 0; // whole minutes after the reference
    double y = 0; // as stored, before any unit conversion
    int mask = 0; // 1 when the sample takes part in the fit
};

struct TrendSamples {
    QDateTime reference; // the first reading's day at midnight; invalid without readings
    std::vector<TrendSample> samples;
    std::vector<double> x;
    std::vector<double> y;
    std::vector<int> mask;
};

// Minutes from reference to taken, counted on the clock (time zones and daylight saving play no part).
double TrendMinutes(const QDateTime& reference, const QDateTime& taken);
// reference + minutes, to the nearest second.
QDateTime TrendDateTime(const QDateTime& reference, double minutes);

// A sample is masked out when its value is the no-value marker or the reading was taken before
// `from` (when valid).
TrendSamples MakeTrendSamples(const std::vector<TrendReading>& readings, const QDateTime& from = {});
// The point's readings of one measure, oldest first.
std::vector<TrendReading> TrendReadingsOf(const std::vector<CVibReading>& readings, MeasureKind kind);

enum class TrendFitKind { Linear, Polynomial };
enum class ProjectionMode : int {
    LastPoint = 0,
    WarningPoint = 1,
    CriticalPoint = 2,
    ValuePoint = 3,
    Days = 4
};

// The trend line settings of the trend line dialog.
struct TrendLineSettings {
    TrendFitKind fit = TrendFitKind::Linear;
    int coefficientCount = 3; // polynomial only: 3 is "Second Order"
    QDateTime from;           // readings before it are left out; invalid = none
    ProjectionMode mode = ProjectionMode::LastPoint;
    double targetValue = 0; // ValuePoint
    int days = 0;           // Days
};

// The text index of the message that refuses the settings, or nullopt when they are accepted:
// "Days must be between 1 and 10000" for a day count outside 1..10000 in Days mode, "Value must be
// positive" for a negative value in ValuePoint mode.
std::optional<int> ValidateTrendLineSettings(const TrendLineSettings& settings);

struct TrendLine {
    int result = -1;                  // of the fit routine; -1 draws no line
    std::vector<double> coefficients; // c0 .. c(n−1); for a straight line intercept, slope
    // x where the line ends; none when no line is drawn (failed fit, non-finite coefficients).
    std::optional<double> endX;
    // x where the drawn line starts: the first masked-in sample.
    double startX = 0;
    // The target was not reached after the last sample; the line ends there.
    bool targetMissed = false;

    bool Drawn() const { return endX.has_value(); }
    double ValueAt(double x) const;
};

// The target a mode projects to: the point's warning or critical limit of the measure, or the entered
// value; none for LastPoint and Days, and for a measure without limits.
std::optional<double> ProjectionTarget(const TrendLineSettings& settings, const CVib& point,
                                       MeasureKind kind);

// Fits and projects. The line ends at the last sample, at the first x at or after it where the
// line reaches `target` (when the mode has one), or `days` after the last sample.
TrendLine FitTrendLine(const TrendSamples& samples, const TrendLineSettings& settings,
                       std::optional<double> target);

// Where a polynomial first reaches target at or after `fromX`, searched up to kCrossingSearchDays on.
std::optional<double> PolynomialCrossing(const std::vector<double>& coefficients, double target,
                                         double fromX);

} // namespace vantor
