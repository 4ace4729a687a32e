#include "analysis/ViewData.h"

#include "analysis/AlarmStatus.h"
#include "analysis/AxisScale.h"
#include "analysis/DisplayedSpectrum.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// Points along a drawn trend line (a straight line needs two; a polynomial is drawn as a polyline).
constexpr int kTrendLinePoints = 200;
constexpr double kDefaultAxisMaximum = 1.0;
// Room beyond a waveform's largest swing, as a share of it.
constexpr double kWaveformHeadroom = 0.05;

// A step below 1 taken up to the next 1, 2 or 5 times a power of ten; larger steps are round already.
double RoundStep(double step) {
    return step >= 1.0 ? step : RoundUpToStep(step);
}

std::pair<double, double> Extent(const std::vector<double>& values) {
    if (values.empty()) {
        return {0.0, 0.0};
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {*low, *high};
}

} // namespace

AxisRange FrequencyAxis(double minimum, double maximum, const DisplayUnits& units) {
    if (!(maximum > minimum)) {
        maximum = minimum + kDefaultAxisMaximum;
    }
    return {minimum, maximum, AxisTickStep(minimum, maximum, units.Frequency() != FrequencyUnit::Hz),
            AxisDecimals(maximum)};
}

double DisplayMeasureValue(MeasureKind kind, double stored, const DisplayUnits& units) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
    case MeasureKind::Displacement:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        return stored * static_cast<double>(units.AmplitudeFactor());
    case MeasureKind::BearingNoise:
    case MeasureKind::Acceleration:
        break;
    }
    return stored;
}

QString MeasureUnitLabel(MeasureKind kind, const DisplayUnits& units) {
    switch (kind) {
    case MeasureKind::Acceleration:
        return QStringLiteral("g");
    case MeasureKind::BearingNoise:
        return QStringLiteral("BDU");
    case MeasureKind::Displacement:
        return units.DisplacementLabel();
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        break;
    }
    return units.VelocityLabel();
}

AxisRange AmplitudeAxis(double smallest, double largest) {
    const double minimum = std::min(0.0, smallest);
    double maximum = largest;
    if (!(maximum > minimum) || !std::isfinite(maximum)) {
        maximum = minimum + kDefaultAxisMaximum;
    }
    // Amplitude labels fall on round values (0.2, 0.5, …) counted from the minimum, with at least
    // the decimals the step needs, so that two labels never read the same (0.005 steps under a
    // maximum of 0.04 would otherwise read 0.01, 0.01, 0.02, 0.02).
    const double step = RoundTickStep(minimum, maximum);
    return {minimum, maximum, step, std::max(AmplitudeAxisDecimals(maximum), StepDecimals(step))};
}

std::optional<SpectrumViewData> MakeSpectrumViewData(const ReadingSignals& decoded, MeasureKind kind,
                                                     const DisplayUnits& units, bool consolidatePeaks) {
    const std::optional<DisplayedSpectrum> shown =
        MakeDisplayedSpectrum(decoded, kind, units, consolidatePeaks);
    if (!shown) {
        return std::nullopt;
    }
    SpectrumViewData view;
    view.kind = kind;
    for (std::int32_t i = shown->range.first; i < shown->range.end; ++i) {
        view.x.push_back(shown->FrequencyOf(i));
        view.y.push_back(shown->lines[static_cast<std::size_t>(i)]);
    }
    const ChannelSignals& channel = kind == MeasureKind::Acceleration ? decoded.total : decoded.iso;
    const double factor = units.FrequencyFactor();
    const bool band = kind != MeasureKind::Acceleration && kind != MeasureKind::IsoVelocity;
    const double xMinimum = band ? shown->FrequencyOf(shown->range.first) : 0.0;
    const double xMaximum =
        band ? shown->FrequencyOf(shown->range.end) : static_cast<double>(channel.fmaxHz) * factor;
    view.xAxis = FrequencyAxis(xMinimum, xMaximum, units);
    const auto [low, high] = Extent(view.y);
    view.yAxis = AmplitudeAxis(low, high);
    view.xLabel = units.FrequencyLabel();
    view.yLabel = MeasureUnitLabel(kind, units);
    view.runSpeed = static_cast<double>(decoded.runSpeedHz) * factor;
    if (decoded.runSpeedHz > 0) {
        for (int b = 1; b <= kVaBandCount; ++b) {
            const RunSpeedFactors& edges = kVaBandRunSpeedFactors[static_cast<std::size_t>(b - 1)];
            view.bands.push_back({b, static_cast<double>(edges.lower * decoded.runSpeedHz) * factor,
                                  static_cast<double>(edges.upper * decoded.runSpeedHz) * factor});
        }
    }
    return view;
}

WaveformViewData MakeWaveformViewData(const ReadingSignals& decoded) {
    WaveformViewData view;
    const ChannelSignals& total = decoded.total;
    const double fs = total.samplingFrequencyHz;
    view.y = total.waveform;
    view.x.reserve(view.y.size());
    for (std::size_t i = 0; i < view.y.size(); ++i) {
        view.x.push_back(fs > 0 ? static_cast<double>(i) / fs : 0.0);
    }
    const double duration = view.x.empty() ? 0.0 : view.x.back();
    view.xAxis = {0.0, duration > 0 ? duration : kDefaultAxisMaximum, 0, 0};
    view.xAxis.tickStep = RoundTickStep(view.xAxis.minimum, view.xAxis.maximum);
    view.xAxis.decimals =
        std::max(AmplitudeAxisDecimals(view.xAxis.maximum), StepDecimals(view.xAxis.tickStep));
    const auto [low, high] = Extent(view.y);
    const double reach = std::max({std::fabs(low), std::fabs(high), 0.0});
    if (reach > 0) {
        // Symmetric about zero, a little beyond the largest swing and out to a whole tick, so that
        // the peaks stay inside the plot and the labels fall on round values with 0 among them.
        const double padded = reach * (1.0 + kWaveformHeadroom);
        const double step = RoundStep(AxisTickStep(-padded, padded, false));
        const double top = std::ceil(padded / step) * step;
        view.yAxis = AxisRange{-top, top, step, AmplitudeAxisDecimals(top)};
    } else {
        view.yAxis = AmplitudeAxis(-kDefaultAxisMaximum, kDefaultAxisMaximum);
    }
    return view;
}

namespace {

// The date axis in whole days from the first sample's day to the day the last point falls in, and
// the amplitude axis over the readings, the line, the online values and the levels.
void FitTrendAxes(TrendViewData& view) {
    std::vector<double> xs = view.x;
    xs.insert(xs.end(), view.lineX.begin(), view.lineX.end());
    xs.insert(xs.end(), view.onlineX.begin(), view.onlineX.end());
    const auto [firstX, lastX] = Extent(xs);
    const double firstDay = std::floor(firstX / kMinutesPerDay);
    const double endDay = std::max(firstDay + 1.0, std::ceil(lastX / kMinutesPerDay));
    view.xAxis = {firstDay * kMinutesPerDay, endDay * kMinutesPerDay,
                  std::max(1.0, std::ceil(AxisTickStep(firstDay, endDay, false))) * kMinutesPerDay, 0};

    std::vector<double> ys = view.y;
    ys.insert(ys.end(), view.lineY.begin(), view.lineY.end());
    ys.insert(ys.end(), view.onlineY.begin(), view.onlineY.end());
    for (const std::optional<double>& level : {view.warning, view.critical}) {
        if (level) {
            ys.push_back(*level);
        }
    }
    const auto [low, high] = Extent(ys);
    view.yAxis = AmplitudeAxis(low, high);
}

// The trend of samples in stored units shown × `scale`, judged against `limits` (stored units).
TrendViewData TrendViewOf(const TrendSamples& samples, const TrendLine& line, double scale,
                          const AlarmLimits& limits) {
    TrendViewData view;
    view.reference = samples.reference;
    for (const TrendSample& sample : samples.samples) {
        if (IsNoValue(static_cast<float>(sample.y))) {
            continue;
        }
        view.dates.push_back(sample.taken);
        view.x.push_back(sample.x);
        view.y.push_back(sample.y * scale);
        view.inFit.push_back(sample.mask);
        view.readingGuids.push_back(sample.readingGuid);
        view.status.push_back(
            ClassifyValue(static_cast<float>(sample.y), limits.alarmsOn, limits.warning, limits.critical));
    }
    if (line.Drawn()) {
        const double start = line.startX;
        const double end = *line.endX;
        const int points = line.coefficients.size() == 2 ? 2 : kTrendLinePoints;
        for (int i = 0; i < points; ++i) {
            const double x = start + (end - start) * i / (points - 1);
            view.lineX.push_back(x);
            view.lineY.push_back(line.ValueAt(x) * scale);
        }
    }
    if (limits.alarmsOn) {
        view.warning = limits.warning * scale;
        view.critical = limits.critical * scale;
    }

    FitTrendAxes(view);
    return view;
}

} // namespace

TrendViewData MakeTrendViewData(const CVib& point, MeasureKind kind, const TrendSamples& samples,
                                const TrendLine& line, const DisplayUnits& units) {
    // Velocities and displacement convert linearly, so the display factor of 1 converts every value.
    TrendViewData view =
        TrendViewOf(samples, line, DisplayMeasureValue(kind, 1.0, units), LimitsFor(point, kind));
    view.kind = kind;
    view.yLabel = MeasureUnitLabel(kind, units);
    return view;
}

void AddOnlineValues(TrendViewData& view, const std::vector<TrendReading>& values, double scale,
                     const AlarmLimits& limits) {
    if (values.empty()) {
        return;
    }
    // Minutes count forward from the reference (they are truncated to whole minutes): a value
    // before it moves the reference back to that value's midnight and the readings and the line
    // forward by the whole days between.
    const QDateTime firstDay(values.front().taken.date(), QTime(0, 0));
    if (!view.reference.isValid()) {
        view.reference = firstDay;
    } else if (firstDay < view.reference) {
        const double shift = TrendMinutes(firstDay, view.reference);
        for (std::vector<double>* xs : {&view.x, &view.lineX}) {
            for (double& x : *xs) {
                x += shift;
            }
        }
        view.reference = firstDay;
    }
    for (const TrendReading& value : values) {
        if (IsNoValue(value.value)) {
            continue;
        }
        view.onlineDates.push_back(value.taken);
        view.onlineX.push_back(TrendMinutes(view.reference, value.taken));
        view.onlineY.push_back(value.value * scale);
        view.onlineStatus.push_back(
            ClassifyValue(value.value, limits.alarmsOn, limits.warning, limits.critical));
    }
    FitTrendAxes(view);
}

void AddOnlineValues(TrendViewData& view, const CVib& point, const std::vector<TrendReading>& values,
                     const DisplayUnits& units) {
    AddOnlineValues(view, values, DisplayMeasureValue(view.kind, 1.0, units), LimitsFor(point, view.kind));
}

TrendViewData MakeIndexTrendViewData(const TrendSamples& samples, const TrendLine& line,
                                     const QString& unit) {
    // No documented alarm judges a waveform index: its markers carry no status colour of a level.
    TrendViewData view = TrendViewOf(samples, line, 1.0, AlarmLimits{});
    view.kind = MeasureKind::Acceleration;
    view.yLabel = unit;
    return view;
}

SpectrumViewData MakeEnvelopeViewData(const EnvelopeSpectrum& envelope, const DisplayUnits& units) {
    SpectrumViewData view;
    view.kind = MeasureKind::Acceleration;
    const double factor = units.FrequencyFactor();
    view.x.reserve(envelope.lines.size());
    for (std::size_t k = 0; k < envelope.lines.size(); ++k) {
        view.x.push_back(envelope.FrequencyOf(k) * factor);
    }
    view.y = envelope.lines;
    const double last =
        envelope.lines.empty() ? 0.0 : envelope.FrequencyOf(envelope.lines.size() - 1) * factor;
    view.xAxis = FrequencyAxis(0.0, last, units);
    const auto [low, high] = Extent(view.y);
    view.yAxis = AmplitudeAxis(low, high);
    view.xLabel = units.FrequencyLabel();
    view.yLabel = QStringLiteral("gE");
    return view;
}

QString EnvelopeTitle(const QString& readingTitle, const EnvelopeSpectrum& envelope) {
    return UiText(text::added::EnvelopeTitle)
        .arg(readingTitle, TextNumber(envelope.band.lowHz, 'f', 0), TextNumber(envelope.band.highHz, 'f', 0));
}

} // namespace vantor
