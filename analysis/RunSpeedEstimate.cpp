#include "analysis/RunSpeedEstimate.h"

#include "analysis/FaultMatching.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantor {
namespace {

double At(std::span<const double> lines, double index) {
    const auto i = static_cast<std::size_t>(index);
    if (index < 0 || i + 1 >= lines.size()) {
        return 0;
    }
    const double t = index - static_cast<double>(i);
    return lines[i] * (1 - t) + lines[i + 1] * t;
}

} // namespace

std::optional<RunSpeedEstimate> EstimateRunSpeed(std::span<const double> magnitudes, double lineSpacingHz,
                                                 double storedHz, const RunSpeedSearch& search) {
    if (!(storedHz > 0) || !std::isfinite(storedHz) || !(lineSpacingHz > 0) ||
        !std::isfinite(lineSpacingHz) || magnitudes.size() < 16) {
        return std::nullopt;
    }
    const double lowest = storedHz * (1 - search.rangePercent / 100);
    const double highest = storedHz * (1 + search.rangePercent / 100);
    const double topHz = lineSpacingHz * static_cast<double>(magnitudes.size() - 2);
    const int harmonics = std::min(search.harmonics, static_cast<int>(topHz / highest));
    if (harmonics < 1 || lowest / lineSpacingHz < 2) {
        return std::nullopt;
    }
    // Heights over the median of the searched span, as logarithms clipped at 0 (a harmonic below
    // the median adds nothing, a huge one no more than its logarithm).
    const auto spanEnd =
        std::min(magnitudes.size(), static_cast<std::size_t>((harmonics + 1) * highest / lineSpacingHz));
    const std::size_t spanFirst = static_cast<std::size_t>(0.5 * lowest / lineSpacingHz);
    const double median =
        MedianOf(std::vector<double>(magnitudes.begin() + static_cast<std::ptrdiff_t>(spanFirst),
                                     magnitudes.begin() + static_cast<std::ptrdiff_t>(spanEnd)));
    if (!(median > 0)) {
        return std::nullopt;
    }
    std::vector<double> height(spanEnd);
    for (std::size_t k = 0; k < spanEnd; ++k) {
        height[k] = std::max(0.0, std::log(magnitudes[k] / median));
    }
    // The harmonic sum on a grid fine enough that the highest harmonic moves half a line a step;
    // each harmonic takes the larger of the lines either side of it.
    const double step = lineSpacingHz / (2.0 * harmonics);
    double bestHz = storedHz;
    double bestSum = -1;
    // Only speeds whose own 1× line stands are candidates: an impact train (a bearing defect) has
    // lines at every multiple of its rate, whose sub-multiples would otherwise gather a sum.
    const double oneXStands = std::log(search.standsOverMedian);
    for (double f = lowest; f <= highest; f += step) {
        const double oneIndex = f / lineSpacingHz;
        if (std::max(At(height, oneIndex), std::max(At(height, oneIndex - 0.5), At(height, oneIndex + 0.5))) <
            oneXStands) {
            continue;
        }
        double sum = 0;
        for (int k = 1; k <= harmonics; ++k) {
            const double index = k * f / lineSpacingHz;
            sum += std::max(At(height, index), std::max(At(height, index - 0.5), At(height, index + 0.5)));
        }
        if (sum > bestSum) {
            bestSum = sum;
            bestHz = f;
        }
    }
    if (bestSum < 0 || bestHz - lowest < step || highest - bestHz < step) {
        return std::nullopt;
    }
    // Refinement: each standing harmonic's peak near k × best, interpolated; f = Σ k·p / Σ k².
    double kp = 0;
    double kk = 0;
    int used = 0;
    int highestUsed = 0;
    for (int k = 1; k <= harmonics; ++k) {
        const auto centre = static_cast<std::ptrdiff_t>(std::lround(k * bestHz / lineSpacingHz));
        std::ptrdiff_t peak = centre;
        for (std::ptrdiff_t i = centre - 1; i <= centre + 1; ++i) {
            if (i > 0 && static_cast<std::size_t>(i) + 1 < magnitudes.size() &&
                magnitudes[static_cast<std::size_t>(i)] > magnitudes[static_cast<std::size_t>(peak)]) {
                peak = i;
            }
        }
        if (peak <= 0 || static_cast<std::size_t>(peak) + 1 >= magnitudes.size()) {
            continue;
        }
        const double a = magnitudes[static_cast<std::size_t>(peak - 1)];
        const double b = magnitudes[static_cast<std::size_t>(peak)];
        const double c = magnitudes[static_cast<std::size_t>(peak + 1)];
        if (b / median < search.standsOverMedian || !(a > 0) || !(c > 0) || b < a || b < c) {
            continue;
        }
        const double la = std::log(a);
        const double lb = std::log(b);
        const double lc = std::log(c);
        const double denominator = la - 2 * lb + lc;
        const double offset = denominator < 0 ? std::clamp(0.5 * (la - lc) / denominator, -0.5, 0.5) : 0.0;
        const double hz = (static_cast<double>(peak) + offset) * lineSpacingHz;
        kp += k * hz;
        kk += static_cast<double>(k) * k;
        ++used;
        highestUsed = k;
    }
    if (used < search.fewestHarmonics) {
        return std::nullopt;
    }
    const double hz = kp / kk;
    if (!(hz >= lowest && hz <= highest) ||
        search.trustedLineFraction * lineSpacingHz / highestUsed > search.finestShare * hz) {
        return std::nullopt;
    }
    return RunSpeedEstimate{hz, used};
}

} // namespace vantor
