#include "analysis/TrendProjection.h"

#include "analysis/AlarmStatus.h"
#include "analysis/TrendFit.h"
#include "analysis/ViewTexts.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// The clock reading of a date-time, as if it were UTC: differences then count every day as 24 hours.
QDateTime OnTheClock(const QDateTime& value) {
    return QDateTime(value.date(), value.time(), Qt::UTC);
}

constexpr int kCrossingHalvings = 200;

bool AllFinite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

std::optional<double> LinearCrossing(double intercept, double slope, double target, double fromX) {
    const double x = (target - intercept) / slope;
    if (!std::isfinite(x) || !(x >= fromX)) {
        return std::nullopt;
    }
    return x;
}

} // namespace

double TrendMinutes(const QDateTime& reference, const QDateTime& taken) {
    const double days =
        static_cast<double>(OnTheClock(reference).msecsTo(OnTheClock(taken))) / (kMinutesPerDay * 60000.0);
    return std::trunc(days * 24.0 * 60.0 + kMinuteRoundingAllowance);
}

QDateTime TrendDateTime(const QDateTime& reference, double minutes) {
    const auto msecs = static_cast<qint64>(std::llround(minutes * 60.0) * 1000);
    const QDateTime clock = OnTheClock(reference).addMSecs(msecs);
    return QDateTime(clock.date(), clock.time());
}

TrendSamples MakeTrendSamples(const std::vector<TrendReading>& readings, const QDateTime& from) {
    TrendSamples out;
    if (readings.empty()) {
        return out;
    }
    out.reference = QDateTime(readings.front().taken.date(), QTime(0, 0));
    for (const TrendReading& reading : readings) {
        TrendSample sample;
        sample.readingGuid = reading.guid;
        sample.taken = reading.taken;
        sample.x = TrendMinutes(out.reference, reading.taken);
        sample.y = reading.value;
        const bool beforeFrom = from.isValid() && OnTheClock(reading.taken) < OnTheClock(from);
        sample.mask = IsNoValue(reading.value) || beforeFrom ? 0 : 1;
        out.x.push_back(sample.x);
        out.y.push_back(sample.y);
        out.mask.push_back(sample.mask);
        out.samples.push_back(std::move(sample));
    }
    return out;
}

std::vector<TrendReading> TrendReadingsOf(const std::vector<CVibReading>& readings, MeasureKind kind) {
    std::vector<TrendReading> out;
    out.reserve(readings.size());
    for (const CVibReading& reading : readings) {
        out.push_back({reading.sItemGUID, reading.ctDateTaken, MeasureValue(reading, kind)});
    }
    return out;
}

std::optional<int> ValidateTrendLineSettings(const TrendLineSettings& settings) {
    if (settings.mode == ProjectionMode::Days &&
        !(settings.days > kProjectionDaysAbove && settings.days < kProjectionDaysBelow)) {
        return text::DaysBetween1And10000;
    }
    if (settings.mode == ProjectionMode::ValuePoint && settings.targetValue < 0) {
        return text::TrendValueMustBePositive;
    }
    return std::nullopt;
}

double TrendLine::ValueAt(double x) const {
    return EvaluatePolynomial(coefficients, x);
}

std::optional<double> ProjectionTarget(const TrendLineSettings& settings, const CVib& point,
                                       MeasureKind kind) {
    const bool hasLimits = kind != MeasureKind::Acceleration && kind != MeasureKind::Displacement;
    switch (settings.mode) {
    case ProjectionMode::WarningPoint:
        return hasLimits ? std::optional<double>(LimitsFor(point, kind).warning) : std::nullopt;
    case ProjectionMode::CriticalPoint:
        return hasLimits ? std::optional<double>(LimitsFor(point, kind).critical) : std::nullopt;
    case ProjectionMode::ValuePoint:
        return settings.targetValue;
    case ProjectionMode::LastPoint:
    case ProjectionMode::Days:
        break;
    }
    return std::nullopt;
}

std::optional<double> PolynomialCrossing(const std::vector<double>& coefficients, double target,
                                         double fromX) {
    const auto gap = [&](double x) { return EvaluatePolynomial(coefficients, x) - target; };
    double low = fromX;
    double lowGap = gap(low);
    if (lowGap == 0.0) {
        return low;
    }
    if (!std::isfinite(lowGap)) {
        return std::nullopt;
    }
    const auto steps = static_cast<long>(kCrossingSearchDays * kMinutesPerDay / kCrossingSearchStepMinutes);
    for (long k = 1; k <= steps; ++k) {
        const double high = fromX + static_cast<double>(k) * kCrossingSearchStepMinutes;
        const double highGap = gap(high);
        if (!std::isfinite(highGap)) {
            return std::nullopt;
        }
        if (highGap == 0.0) {
            return high;
        }
        if ((highGap > 0.0) != (lowGap > 0.0)) {
            double a = low;
            double b = high;
            for (int i = 0; i < kCrossingHalvings && b - a > 1e-9 * std::max(1.0, std::fabs(b)); ++i) {
                const double middle = 0.5 * (a + b);
                const double middleGap = gap(middle);
                if (middleGap == 0.0) {
                    return middle;
                }
                if ((middleGap > 0.0) == (lowGap > 0.0)) {
                    a = middle;
                } else {
                    b = middle;
                }
            }
            return 0.5 * (a + b);
        }
        low = high;
        lowGap = highGap;
    }
    return std::nullopt;
}

TrendLine FitTrendLine(const TrendSamples& samples, const TrendLineSettings& settings,
                       std::optional<double> target) {
    TrendLine line;
    if (settings.fit == TrendFitKind::Linear) {
        double slope = 0;
        double intercept = 0;
        line.result = FitLine(samples.x, samples.y, samples.mask, slope, intercept);
        if (line.result == kFitSucceeded) {
            line.coefficients = {intercept, slope};
        }
    } else {
        std::vector<double> coefficients(static_cast<std::size_t>(std::max(settings.coefficientCount, 0)),
                                         0.0);
        line.result = FitPolynomial(samples.x, samples.y, samples.mask, coefficients);
        if (line.result == kFitSucceeded) {
            line.coefficients = std::move(coefficients);
        }
    }
    if (line.result != kFitSucceeded || !AllFinite(line.coefficients)) {
        return line;
    }
    const auto firstIn = std::find(samples.mask.begin(), samples.mask.end(), 1);
    line.startX = samples.x[static_cast<std::size_t>(firstIn - samples.mask.begin())];
    const double lastX = samples.x.back();
    line.endX = lastX;
    switch (settings.mode) {
    case ProjectionMode::LastPoint:
        break;
    case ProjectionMode::Days:
        line.endX = lastX + static_cast<double>(settings.days) * kMinutesPerDay;
        break;
    case ProjectionMode::WarningPoint:
    case ProjectionMode::CriticalPoint:
    case ProjectionMode::ValuePoint: {
        std::optional<double> crossing;
        if (target) {
            crossing = settings.fit == TrendFitKind::Linear
                           ? LinearCrossing(line.coefficients[0], line.coefficients[1], *target, lastX)
                           : PolynomialCrossing(line.coefficients, *target, lastX);
        }
        if (crossing) {
            line.endX = *crossing;
        } else {
            line.targetMissed = true;
        }
        break;
    }
    }
    return line;
}

} // namespace vantor
