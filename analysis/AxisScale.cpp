#include "analysis/AxisScale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vantor {
namespace {

constexpr std::array<double, 11> kHzSteps = {2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
constexpr double kLargestHzStep = 10000;
constexpr double kFinestHzStep = 1;
constexpr std::array<double, 11> kPerMinuteSteps = {120,   300,   600,   1200,   3000,  6000,
                                                    12000, 30000, 60000, 120000, 300000};
constexpr double kLargestPerMinuteStep = 600000;
constexpr double kFinestPerMinuteStep = 60;
constexpr double kMajorDivisions = 10;

template <std::size_t N>
double StepFor(double e, double finest, const std::array<double, N>& steps, double largest) {
    if (e <= finest) {
        return e;
    }
    for (const double step : steps) {
        if (step >= e) {
            return step;
        }
    }
    return largest;
}

} // namespace

double AxisTickStep(double minimum, double maximum, bool frequencyUnitsAreRpm) {
    const double e = (maximum - minimum) / kMajorDivisions;
    return frequencyUnitsAreRpm ? StepFor(e, kFinestPerMinuteStep, kPerMinuteSteps, kLargestPerMinuteStep)
                                : StepFor(e, kFinestHzStep, kHzSteps, kLargestHzStep);
}

double RoundUpToStep(double step) {
    if (!(step > 0) || !std::isfinite(step)) {
        return step;
    }
    // Decimal steps are 1-2-5 multiples of a power of ten (the 1-2-5 series of preferred numbers,
    // as in ISO 3 / IEC 60063 E3 rounding used for instrument ranges).
    const double decade = std::pow(10.0, std::floor(std::log10(step)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * decade >= step * (1.0 - 1e-9)) {
            return multiple * decade;
        }
    }
    return 10.0 * decade;
}

double RoundTickStep(double minimum, double maximum) {
    return RoundUpToStep((maximum - minimum) / kMajorDivisions);
}

int StepDecimals(double step) {
    if (!(step > 0) || step >= 1) {
        return 0;
    }
    return static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

int ExactDecimals(double value, int most) {
    if (!std::isfinite(value)) {
        return std::max(most, 0);
    }
    for (int decimals = 0; decimals < most; ++decimals) {
        const double scaled = value * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * std::max(1.0, std::fabs(scaled))) {
            return decimals;
        }
    }
    return std::max(most, 0);
}

double FrequencyTickStep(double minimum, double maximum, bool frequencyUnitsAreRpm) {
    const double e = (maximum - minimum) / kMajorDivisions;
    const double finest = frequencyUnitsAreRpm ? kFinestPerMinuteStep : kFinestHzStep;
    return e <= finest ? RoundUpToStep(e) : AxisTickStep(minimum, maximum, frequencyUnitsAreRpm);
}

int AxisDecimals(double maximum) {
    if (maximum <= 1) {
        return 2;
    }
    return maximum <= 10 ? 1 : 0;
}

int AmplitudeAxisDecimals(double maximum) {
    if (maximum <= 0.01) {
        return 3;
    }
    if (maximum <= 1) {
        return 2;
    }
    return maximum <= 10 ? 1 : 0;
}

} // namespace vantor
