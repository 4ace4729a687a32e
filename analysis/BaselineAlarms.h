#pragma once
// Alarms that catch change below the fixed limits: a statistical alarm against a point's own
// baseline (mean + k·σ of its first readings or of a date range) and a change alarm on the ratio of
// a reading to the baseline mean (or to the previous reading when no baseline is set). They judge
// every documented measure and the waveform indices, each by its own settings, and give the status
// words of the documented alarms with a reason a user can read.

#include "analysis/AlarmStatus.h"
#include "analysis/IndexMeasures.h"
#include "analysis/Measures.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <optional>
#include <span>
#include <vector>

namespace vantor {

// The rule table of the baseline and change alarms. Sources:
// - mean + k·σ limits from a machine's own healthy history: ISO 13373-1:2002 (vibration condition
//   monitoring, general procedures: alarms set from the statistics of a baseline of readings) and
//   ISO 17359:2018 (condition monitoring, setting alarm criteria from the population's statistics);
//   k = 2 and 3 are the usual warning and critical multiples (about 2.3 % and 0.1 % of a normal
//   population's readings above them).
// - the change ratios: a doubling of an overall level (+6 dB) as the threshold of a significant
//   change and fourfold (+12 dB) as severe, the route-monitoring practice described by R. K. Mobley,
//   "An Introduction to Predictive Maintenance" (2nd ed., 2002), ch. on trending; ISO 20816-1:2016
//   Annex D asks for a change criterion beside the absolute zones.
// - the floor on σ (5 % of the mean) is this program's: a flat baseline would otherwise put the
//   warning limit inside the meter's resolution and alarm on noise.
struct BaselineDefaults {
    static constexpr int kReadings = 6;                 // N: readings in a baseline by count
    static constexpr int kFewestReadings = 3;           // a baseline with fewer usable readings is refused
    static constexpr double kSigmaWarning = 2.0;        // k1
    static constexpr double kSigmaCritical = 3.0;       // k2
    static constexpr double kSmallestSigmaShare = 0.05; // σ used is at least this share of the mean
    static constexpr double kChangeWarning = 2.0;       // r1 × reference
    static constexpr double kChangeCritical = 4.0;      // r2 × reference
};

// A measure the baseline alarms judge: a documented measure kind or a waveform index.
struct AlarmMeasure {
    std::optional<MeasureKind> kind;
    std::optional<IndexMeasure> index;
    friend bool operator==(const AlarmMeasure&, const AlarmMeasure&) = default;
};
// The command line's and the table's names: iso, bdu, total, displacement, band1..band3, crest,
// kurtosis, p2p, ge.
QString AlarmMeasureName(const AlarmMeasure& measure);
std::optional<AlarmMeasure> AlarmMeasureNamed(const QString& name);
// The caption in reasons: "ISO velocity", "Bearing noise", ..., "Crest Factor".
QString AlarmMeasureCaption(const AlarmMeasure& measure);
// Every measure, in the order of the names above.
std::vector<AlarmMeasure> AllAlarmMeasures();

// One point's settings for one measure. The baseline is the first `baselineReadings` readings, or
// those taken from `baselineFrom` to `baselineTo` (inclusive); with neither, only the change alarm
// runs, against the previous reading.
struct BaselineSettings {
    AlarmMeasure measure;
    int baselineReadings = 0; // 0: no baseline by count
    QDateTime baselineFrom;   // both valid: a baseline by date range
    QDateTime baselineTo;
    double sigmaWarning = BaselineDefaults::kSigmaWarning;
    double sigmaCritical = BaselineDefaults::kSigmaCritical;
    double changeWarning = BaselineDefaults::kChangeWarning;
    double changeCritical = BaselineDefaults::kChangeCritical;

    bool HasBaseline() const {
        return baselineReadings > 0 || (baselineFrom.isValid() && baselineTo.isValid());
    }
};
// Why settings cannot be used (multiples not positive or not finite, critical below warning, a
// range that ends before it starts), or none.
std::optional<QString> CheckBaselineSettings(const BaselineSettings& settings);

// A value of the measure in one reading; readings without a value are not samples.
struct MeasureSample {
    QDateTime taken;
    double value = 0;
};

// The statistics of a baseline: n values, their mean, the sample standard deviation (n − 1) and
// the σ the limits use (at least kSmallestSigmaShare of |mean|).
struct BaselineStatistics {
    int count = 0;
    double mean = 0;
    double sigma = 0;
    double sigmaUsed = 0;
    double warning = 0;  // mean + k1·σ used
    double critical = 0; // mean + k2·σ used
};
// None for fewer than kFewestReadings values or a value that is not finite.
std::optional<BaselineStatistics> ComputeBaseline(std::span<const double> values, double sigmaWarning,
                                                  double sigmaCritical);

// The samples of the baseline among a point's samples (oldest first): the first N by date, or
// those inside the range.
std::vector<double> BaselineValues(std::span<const MeasureSample> samplesOldestFirst,
                                   const BaselineSettings& settings);
// The same samples with their dates, as the point set-up lists them.
std::vector<MeasureSample> BaselineSamples(std::span<const MeasureSample> samplesOldestFirst,
                                           const BaselineSettings& settings);

// A level as the reasons show it: three significant digits, never in exponent form.
QString AlarmLevelText(double value);

// The verdict of one alarm: its status (Ok when below its limits) and the reason shown beside it
// ("ISO velocity 2.8× baseline", "Kurtosis 6.1 ≥ baseline + 2σ 4.9").
struct AlarmVerdict {
    StatusCode code = StatusCode::Ok;
    QString reason;
};

// The newest sample judged against the point's samples by the settings: the statistical alarm
// (when a baseline is set and usable) and the change alarm, the more severe of the two. None when
// there is no sample; a baseline that is set but unusable gives none either, so the point keeps its
// documented status alone.
struct BaselineOutcome {
    std::optional<BaselineStatistics> baseline;
    std::optional<double> reference; // the change alarm's reference value
    AlarmVerdict statistical;        // Ok without a baseline
    AlarmVerdict change;
    StatusCode code = StatusCode::Ok; // the more severe of the two
    QString reason;                   // the reason of the more severe one (empty when Ok)
};
std::optional<BaselineOutcome> JudgeBaseline(std::span<const MeasureSample> samplesOldestFirst,
                                             const BaselineSettings& settings);

// The samples of a measure over a point's readings (oldest first): documented measures from the
// stored values (no-value markers and non-finite values left out), indices from the indices rows.
std::vector<MeasureSample> MeasureSamplesOf(const std::vector<CVibReading>& readingsOldestFirst,
                                            const std::map<QString, ReadingIndices>& indices,
                                            const AlarmMeasure& measure);

} // namespace vantor
