#include "analysis/SignalProcessor.h"

#include <bit>
#include <cmath>

namespace vantor {
namespace {

// π as the transform has always taken it.
const double kPi = std::atan2(0.0, -1.0);

} // namespace

SignalProcessor::SignalProcessor() : re_(kMaxLength), im_(kMaxLength), order_(kMaxLength), cos_(), sin_() {
    // The tables of one length hold N − 2 twiddles; reserving the largest keeps rebuilding them
    // free of allocation.
    cos_.reserve(kMaxLength);
    sin_.reserve(kMaxLength);
}

bool SignalProcessor::IsTransformLength(std::size_t n) {
    return n >= 2 && n <= kMaxLength && std::has_single_bit(n);
}

// Builds the state that depends only on the length: the bit-reversal permutation and the twiddles.
// The transform's classic form reorders its input by successive even/odd splitting, which after
// all stages leaves entry p holding input bitreverse(p); a precomputed permutation moves the same
// values in one pass, so the results are unchanged.
void SignalProcessor::Prepare(std::size_t n) {
    if (n == length_ && !cos_.empty()) {
        return;
    }
    cos_.clear();
    sin_.clear();
    length_ = n;
    const int bits = std::countr_zero(n);
    for (std::size_t p = 0; p < n; ++p) {
        std::uint32_t reversed = 0;
        std::uint32_t rest = static_cast<std::uint32_t>(p);
        for (int b = 0; b < bits; ++b) {
            reversed = (reversed << 1) | (rest & 1u);
            rest >>= 1;
        }
        order_[p] = reversed;
    }
    for (std::size_t span = 4; span <= n; span <<= 1) {
        for (std::size_t k = 0; k < span / 2; ++k) {
            const double angle = 2.0 * kPi * static_cast<double>(k) / static_cast<double>(span);
            cos_.push_back(std::cos(angle));
            sin_.push_back(-std::sin(angle));
        }
    }
}

// Radix-2 decimation in time on the bit-reversed buffer.
void SignalProcessor::Transform(std::size_t n) {
    double* const re = re_.data();
    double* const im = im_.data();
    // First stage: pairs (a, b) → (a + b, a − b); the imaginary parts are still zero.
    for (std::size_t i = 0; i < n; i += 2) {
        const double a = re[i];
        const double b = re[i + 1];
        re[i] = a + b;
        re[i + 1] = a - b;
    }
    for (std::size_t span = 4; span <= n; span <<= 1) {
        const std::size_t half = span / 2;
        // This span's twiddles follow those of all shorter spans (2 + 4 + ... + half/2 entries).
        const double* const wc = cos_.data() + (half - 2);
        const double* const ws = sin_.data() + (half - 2);
        for (std::size_t block = 0; block < n; block += span) {
            double* const ar = re + block;
            double* const ai = im + block;
            double* const br = ar + half;
            double* const bi = ai + half;
            for (std::size_t k = 0; k < half; ++k) {
                const double tr = br[k] * wc[k] - bi[k] * ws[k];
                const double ti = br[k] * ws[k] + bi[k] * wc[k];
                br[k] = ar[k] - tr;
                bi[k] = ai[k] - ti;
                ar[k] = ar[k] + tr;
                ai[k] = ai[k] + ti;
            }
        }
    }
}

bool SignalProcessor::ComputeSpectrum(std::span<const double> waveform, std::vector<double>& spectrum,
                                      double samplingFrequencyHz, SpectrumWindow window,
                                      bool windowCorrection, bool velocity) {
    const std::size_t n = waveform.size();
    if (!IsTransformLength(n)) {
        spectrum.clear();
        return false;
    }
    // The rectangular window leaves the samples as they are and needs no amplitude correction.
    static_cast<void>(window);
    static_cast<void>(windowCorrection);

    Prepare(n);
    for (std::size_t p = 0; p < n; ++p) {
        re_[p] = waveform[order_[p]];
        im_[p] = 0.0;
    }
    Transform(n);

    const std::size_t lines = n / 2;
    const double count = static_cast<double>(n);
    spectrum.resize(lines);
    for (std::size_t k = 0; k < lines; ++k) {
        const double r = re_[k] / count;
        const double i = im_[k] / count;
        const double power = r * r + i * i;
        // Line 0 is the mean; every other line carries half of a component's power (the other half
        // sits in the mirrored line), so √2·|X_k|/N is that component's RMS value.
        spectrum[k] = k == 0 ? std::sqrt(std::fabs(power)) : std::sqrt(std::fabs(power * 4.0 * 0.5));
    }
    if (velocity) {
        spectrum[0] = 0.0;
        for (std::size_t k = 1; k < lines; ++k) {
            const double angularFrequency = 2.0 * kPi * static_cast<double>(k) * samplingFrequencyHz / count;
            spectrum[k] = spectrum[k] * kMillimetresPerSecondSquaredPerG / angularFrequency;
        }
    }
    return true;
}

SignalProcessor& SharedSignalProcessor() {
    static SignalProcessor processor;
    return processor;
}

} // namespace vantor
