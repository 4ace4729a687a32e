#include "analysis/BaselineAlarms.h"

#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

constexpr const char* kKindNames[kMeasureKindCount] = {"iso",   "bdu",   "total", "displacement",
                                                       "band1", "band2", "band3"};

bool Positive(double value) {
    return std::isfinite(value) && value > 0;
}

} // namespace

QString AlarmLevelText(double value) {
    if (!std::isfinite(value) || value == 0) {
        return TextNumber(value, 'g', 6);
    }
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(std::abs(value)))), 0, 6);
    QString text = TextNumber(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (!text.isEmpty() && !text.back().isDigit()) {
            text.chop(1); // the decimal separator, whichever the language writes
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
        switch (*measure.index) {
        case IndexMeasure::CrestFactor:
            return UiText(text::added::CrestFactorLabel);
        case IndexMeasure::Kurtosis:
            return UiText(text::added::KurtosisLabel);
        case IndexMeasure::PeakToPeak:
            return UiText(text::added::PeakToPeakLabel);
        case IndexMeasure::GeOverall:
            return UiText(text::added::GeOverallLabel);
        }
        return IndexMeasureCaption(*measure.index);
    }
    if (!measure.kind) {
        return {};
    }
    switch (*measure.kind) {
    case MeasureKind::IsoVelocity:
        return UiText(text::added::MeasureIsoVelocity);
    case MeasureKind::BearingNoise:
        return UiText(text::added::MeasureBearingNoise);
    case MeasureKind::Acceleration:
        return UiText(text::TotalLabel);
    case MeasureKind::Displacement:
        return UiText(text::DisplacementLabel);
    case MeasureKind::VaBand1:
        return UiText(text::added::MeasureBand).arg(1);
    case MeasureKind::VaBand2:
        return UiText(text::added::MeasureBand).arg(2);
    case MeasureKind::VaBand3:
        return UiText(text::added::MeasureBand).arg(3);
    }
    return {};
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
        return UiText(text::added::BaselineNeedsPositive);
    }
    if (s.baselineReadings > 0 && s.baselineReadings < BaselineDefaults::kFewestReadings) {
        return UiText(text::added::BaselineNeedsAtLeast).arg(BaselineDefaults::kFewestReadings);
    }
    if (s.baselineFrom.isValid() != s.baselineTo.isValid()) {
        return UiText(text::added::BaselineNeedsBothDates);
    }
    if (s.baselineFrom.isValid() && s.baselineTo < s.baselineFrom) {
        return UiText(text::added::BaselineEndsBeforeStart);
    }
    if (!Positive(s.sigmaWarning) || !Positive(s.sigmaCritical)) {
        return UiText(text::added::SigmaMultiplesPositive);
    }
    if (s.sigmaCritical < s.sigmaWarning) {
        return UiText(text::added::SigmaCriticalBelowWarning);
    }
    if (!Positive(s.changeWarning) || !Positive(s.changeCritical) || s.changeWarning <= 1) {
        return UiText(text::added::ChangeRatiosAboveOne);
    }
    if (s.changeCritical < s.changeWarning) {
        return UiText(text::added::ChangeCriticalBelowWarning);
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
            outcome.statistical = {StatusCode::Critical, UiText(text::added::ReasonOverBaseline)
                                                             .arg(caption, AlarmLevelText(value),
                                                                  AlarmLevelText(settings.sigmaCritical),
                                                                  AlarmLevelText(b.critical))};
        } else if (value >= b.warning) {
            outcome.statistical = {StatusCode::Warning, UiText(text::added::ReasonOverBaseline)
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
        const QString reason = UiText(settings.HasBaseline() ? text::added::ReasonTimesBaseline
                                                             : text::added::ReasonTimesPrevious)
                                   .arg(caption, TextNumber(ratio, 'f', 1));
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
