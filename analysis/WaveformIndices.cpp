#include "analysis/WaveformIndices.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// Below this share of the squared RMS the spread about the mean counts as none: rounding of the
// power sums leaves about this much of a constant waveform's mean behind.
constexpr double kNoSpread = 1e-24;

} // namespace

std::optional<WaveformIndices> ComputeWaveformIndices(std::span<const double> waveform) {
    const std::size_t n = waveform.size();
    if (n < 2) {
        return std::nullopt;
    }
    // One pass of power sums taken about a shift K (the "shifted data" algorithm of Chan, Golub and
    // LeVeque, "Algorithms for computing the sample variance", The American Statistician 37 (1983)):
    // with d = x − K the central moments follow from the sums of d, d², d³, d⁴ without the
    // cancellation plain sums suffer when the mean is large against the spread. The first sample is
    // a shift within the waveform's range.
    const double shift = waveform[0];
    double s1 = 0;
    double s2 = 0;
    double s3 = 0;
    double s4 = 0;
    double squares = 0;
    double lowest = waveform[0];
    double highest = waveform[0];
    bool finite = true;
    for (const double x : waveform) {
        finite = finite && std::isfinite(x);
        const double d = x - shift;
        const double d2 = d * d;
        s1 += d;
        s2 += d2;
        s3 += d2 * d;
        s4 += d2 * d2;
        squares += x * x;
        lowest = std::min(lowest, x);
        highest = std::max(highest, x);
    }
    if (!finite) {
        return std::nullopt;
    }
    const double count = static_cast<double>(n);
    // Central moments from raw moments about K (e.g. Kendall & Stuart, The Advanced Theory of
    // Statistics, vol. 1, §3.9): with a = s1/N, m2 = μ'2 − a², m3 = μ'3 − 3aμ'2 + 2a³,
    // m4 = μ'4 − 4aμ'3 + 6a²μ'2 − 3a⁴.
    const double a = s1 / count;
    const double r2 = s2 / count;
    const double r3 = s3 / count;
    const double r4 = s4 / count;
    const double m2 = r2 - a * a;
    const double m3 = r3 - 3.0 * a * r2 + 2.0 * a * a * a;
    const double m4 = r4 - 4.0 * a * r3 + 6.0 * a * a * r2 - 3.0 * a * a * a * a;

    WaveformIndices indices;
    indices.sampleCount = n;
    indices.rms = std::sqrt(squares / count);
    indices.peak = std::max(std::abs(lowest), std::abs(highest));
    indices.peakToPeak = highest - lowest;
    if (indices.rms > 0) {
        indices.crest = indices.peak / indices.rms;
    }
    // Pearson's coefficients: kurtosis β2 = m4 / m2² and skewness √β1 = m3 / m2^(3/2) (K. Pearson,
    // "Mathematical contributions to the theory of evolution XIX", Phil. Trans. A 216 (1916)).
    if (m2 > kNoSpread * std::max(r2, squares / count) && m2 > 0) {
        indices.kurtosis = m4 / (m2 * m2);
        indices.skewness = m3 / (m2 * std::sqrt(m2));
    }
    return indices;
}

} // namespace vantor
