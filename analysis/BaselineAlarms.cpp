#include "analysis/BaselineAlarms.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

constexpr const char* kKindNames[kMeasureKindCount] = {"iso",   "bdu",   "total", "displacement",
                                                       "band1", "band2", "band3"};
constexpr const char* kKindCaptions[kMeasureKindCount] = {
    "ISO velocity", "Bearing noise", "Total", "Displacement", "Band 1", "Band 2", "Band 3"};

bool Positive(double value) {
    return std::isfinite(value) && value > 0;
}

} // namespace

QString AlarmLevelText(double value) {
    if (!std::isfinite(value) || value == 0) {
        return QString::number(value);
    }
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(std::abs(value)))), 0, 6);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(QLatin1Char('.'))) {
            text.chop(1);
        }
    }
    return text;
}

QString AlarmMeasureName(const AlarmMeasure& measure) {
    if (measure.index) {
        return QLatin1String(IndexMeasureName(*measure.index));
    }
    return measure.kind ? QLatin1String(kKindNames[static_cast<int>(*measure.kind)]) : QString();
}

std::optional<AlarmMeasure> AlarmMeasureNamed(const QString& name) {
    for (const AlarmMeasure& measure : AllAlarmMeasures()) {
        if (AlarmMeasureName(measure) == name) {
            return measure;
        }
    }
    return std::nullopt;
}

QString AlarmMeasureCaption(const AlarmMeasure& measure) {
    if (measure.index) {
        return IndexMeasureCaption(*measure.index);
    }
    return measure.kind ? QLatin1String(kKindCaptions[static_cast<int>(*measure.kind)]) : QString();
}

std::vector<AlarmMeasure> AllAlarmMeasures() {
    std::vector<AlarmMeasure> all;
    for (const MeasureKind kind : kAllMeasureKinds) {
        all.push_back({kind, std::nullopt});
    }
    for (const IndexMeasure index : kAllIndexMeasures) {
        all.push_back({std::nullopt, index});
    }
    return all;
}

std::optional<QString> CheckBaselineSettings(const BaselineSettings& s) {
    if (s.baselineReadings < 0) {
        return QStringLiteral("A baseline needs a positive number of readings");
    }
    if (s.baselineReadings > 0 && s.baselineReadings < BaselineDefaults::kFewestReadings) {
        return QStringLiteral("A baseline needs at least %1 readings").arg(BaselineDefaults::kFewestReadings);
    }
    if (s.baselineFrom.isValid() != s.baselineTo.isValid()) {
        return QStringLiteral("A baseline by dates needs both its first and its last date");
    }
    if (s.baselineFrom.isValid() && s.baselineTo < s.baselineFrom) {
        return QStringLiteral("The baseline ends before it starts");
    }
    if (!Positive(s.sigmaWarning) || !Positive(s.sigmaCritical)) {
        return QStringLiteral("The σ multiples must be numbers above 0");
    }
    if (s.sigmaCritical < s.sigmaWarning) {
        return QStringLiteral("The critical σ multiple must not be below the warning one");
    }
    if (!Positive(s.changeWarning) || !Positive(s.changeCritical) || s.changeWarning <= 1) {
        return QStringLiteral("The change ratios must be numbers above 1");
    }
    if (s.changeCritical < s.changeWarning) {
        return QStringLiteral("The critical change ratio must not be below the warning one");
    }
    return std::nullopt;
}

std::optional<BaselineStatistics> ComputeBaseline(std::span<const double> values, double sigmaWarning,
                                                  double sigmaCritical) {
    if (values.size() < static_cast<std::size_t>(BaselineDefaults::kFewestReadings) ||
        !std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); })) {
        return std::nullopt;
    }
    BaselineStatistics s;
    s.count = static_cast<int>(values.size());
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    s.mean = sum / s.count;
    // Two passes: the squared deviations from the mean, not the difference of two large sums.
    double squares = 0;
    for (const double v : values) {
        squares += (v - s.mean) * (v - s.mean);
    }
    s.sigma = std::sqrt(squares / (s.count - 1));
    s.sigmaUsed = std::max(s.sigma, BaselineDefaults::kSmallestSigmaShare * std::abs(s.mean));
    s.warning = s.mean + sigmaWarning * s.sigmaUsed;
    s.critical = s.mean + sigmaCritical * s.sigmaUsed;
    return s;
}

std::vector<MeasureSample> BaselineSamples(std::span<const MeasureSample> samples,
                                           const BaselineSettings& settings) {
    std::vector<MeasureSample> chosen;
    if (settings.baselineReadings > 0) {
        for (const MeasureSample& sample : samples) {
            if (static_cast<int>(chosen.size()) == settings.baselineReadings) {
                break;
            }
            chosen.push_back(sample);
        }
    } else if (settings.baselineFrom.isValid() && settings.baselineTo.isValid()) {
        for (const MeasureSample& sample : samples) {
            if (sample.taken >= settings.baselineFrom && sample.taken <= settings.baselineTo) {
                chosen.push_back(sample);
            }
        }
    }
    return chosen;
}

std::vector<double> BaselineValues(std::span<const MeasureSample> samples, const BaselineSettings& settings) {
    std::vector<double> values;
    for (const MeasureSample& sample : BaselineSamples(samples, settings)) {
        values.push_back(sample.value);
    }
    return values;
}

std::optional<BaselineOutcome> JudgeBaseline(std::span<const MeasureSample> samples,
                                             const BaselineSettings& settings) {
    if (samples.empty()) {
        return std::nullopt;
    }
    const double value = samples.back().value;
    const QString caption = AlarmMeasureCaption(settings.measure);
    BaselineOutcome outcome;
    if (settings.HasBaseline()) {
        outcome.baseline =
            ComputeBaseline(BaselineValues(samples, settings), settings.sigmaWarning, settings.sigmaCritical);
        if (!outcome.baseline) {
            return std::nullopt;
        }
        const BaselineStatistics& b = *outcome.baseline;
        // As the documented alarms: a value equal to a limit takes the higher status.
        if (value >= b.critical) {
            outcome.statistical = {StatusCode::Critical, QStringLiteral("%1 %2 ≥ baseline + %3σ %4")
                                                             .arg(caption, AlarmLevelText(value),
                                                                  AlarmLevelText(settings.sigmaCritical),
                                                                  AlarmLevelText(b.critical))};
        } else if (value >= b.warning) {
            outcome.statistical = {StatusCode::Warning, QStringLiteral("%1 %2 ≥ baseline + %3σ %4")
                                                            .arg(caption, AlarmLevelText(value),
                                                                 AlarmLevelText(settings.sigmaWarning),
                                                                 AlarmLevelText(b.warning))};
        }
        outcome.reference = b.mean;
    } else if (samples.size() >= 2) {
        outcome.reference = samples[samples.size() - 2].value;
    }
    if (outcome.reference && *outcome.reference > 0) {
        const double ratio = value / *outcome.reference;
        const QString against =
            settings.HasBaseline() ? QStringLiteral("baseline") : QStringLiteral("previous");
        const QString reason =
            QStringLiteral("%1 %2× %3").arg(caption, QString::number(ratio, 'f', 1), against);
        if (ratio >= settings.changeCritical) {
            outcome.change = {StatusCode::Critical, reason};
        } else if (ratio >= settings.changeWarning) {
            outcome.change = {StatusCode::Warning, reason};
        }
    }
    const AlarmVerdict& worse =
        static_cast<int>(outcome.change.code) > static_cast<int>(outcome.statistical.code)
            ? outcome.change
            : outcome.statistical;
    outcome.code = worse.code;
    outcome.reason = worse.reason;
    return outcome;
}

std::vector<MeasureSample> MeasureSamplesOf(const std::vector<CVibReading>& readings,
                                            const std::map<QString, ReadingIndices>& indices,
                                            const AlarmMeasure& measure) {
    std::vector<MeasureSample> samples;
    for (const CVibReading& reading : readings) {
        std::optional<double> value;
        if (measure.index) {
            const auto found = indices.find(reading.sItemGUID);
            if (found != indices.end()) {
                value = IndexMeasureValue(found->second, *measure.index);
            }
        } else if (measure.kind) {
            const float stored = MeasureValue(reading, *measure.kind);
            if (!IsNoValue(stored)) {
                value = stored;
            }
        }
        if (value && std::isfinite(*value)) {
            samples.push_back({reading.ctDateTaken, *value});
        }
    }
    return samples;
}

} // namespace vantor
