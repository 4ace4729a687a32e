#include "analysis/SignalProcessor.h"

#include <bit>
#include <cmath>

// The loops below are plain IEEE arithmetic; where the processor has AVX2 a wider copy of them is
// chosen at load time. Both copies compute the same values.
#define VANTOR_VECTOR_CLONES [[gnu::target_clones("avx2", "default")]]

namespace vantor {
namespace {

// π as the transform has always taken it.
const double kPi = std::atan2(0.0, -1.0);

// Powers of the lines → RMS amplitudes: line 0 as it is, the others doubled.
VANTOR_VECTOR_CLONES void Amplitudes(std::size_t lines, double* __restrict spectrum) {
    spectrum[0] = std::sqrt(std::fabs(spectrum[0]));
    for (std::size_t k = 1; k < lines; ++k) {
        spectrum[k] = std::sqrt(std::fabs(spectrum[k] * 4.0 * 0.5));
    }
}

// g RMS → mm/s RMS: each line divided by its angular frequency 2π·k·fs/N; line 0 has none and
// becomes 0.
VANTOR_VECTOR_CLONES void Integrate(std::size_t lines, double lineSpacingHz, double* __restrict spectrum) {
    spectrum[0] = 0.0;
    for (std::size_t k = 1; k < lines; ++k) {
        const double angularFrequency = 2.0 * kPi * static_cast<double>(k) * lineSpacingHz;
        spectrum[k] = spectrum[k] * SignalProcessor::kMillimetresPerSecondSquaredPerG / angularFrequency;
    }
}

// One stage's butterflies on a block: a_k, b_k → a_k + w_k·b_k, a_k − w_k·b_k.
[[gnu::always_inline]] inline void Butterflies(double* __restrict ar, double* __restrict ai,
                                               double* __restrict br, double* __restrict bi,
                                               const double* __restrict wc, const double* __restrict ws,
                                               std::size_t half) {
    for (std::size_t k = 0; k < half; ++k) {
        const double tr = br[k] * wc[k] - bi[k] * ws[k];
        const double ti = br[k] * ws[k] + bi[k] * wc[k];
        br[k] = ar[k] - tr;
        bi[k] = ai[k] - ti;
        ar[k] = ar[k] + tr;
        ai[k] = ai[k] + ti;
    }
}

// Two consecutive stages (half-spans d and 2d) on a block of 4d entries, rows 0..3 of d entries
// each: first rows 0/1 and 2/3 with the twiddles of span 2d, then rows 0/2 and 1/3 with those of
// span 4d.
[[gnu::always_inline]] inline void
StagePair(double* __restrict r0, double* __restrict i0, double* __restrict r1, double* __restrict i1,
          double* __restrict r2, double* __restrict i2, double* __restrict r3, double* __restrict i3,
          const double* __restrict ac, const double* __restrict as, const double* __restrict bc,
          const double* __restrict bs, std::size_t d) {
    for (std::size_t k = 0; k < d; ++k) {
        // First stage.
        const double t1r = r1[k] * ac[k] - i1[k] * as[k];
        const double t1i = r1[k] * as[k] + i1[k] * ac[k];
        const double a1r = r0[k] - t1r;
        const double a1i = i0[k] - t1i;
        const double a0r = r0[k] + t1r;
        const double a0i = i0[k] + t1i;
        const double t3r = r3[k] * ac[k] - i3[k] * as[k];
        const double t3i = r3[k] * as[k] + i3[k] * ac[k];
        const double a3r = r2[k] - t3r;
        const double a3i = i2[k] - t3i;
        const double a2r = r2[k] + t3r;
        const double a2i = i2[k] + t3i;
        // Second stage.
        const double u2r = a2r * bc[k] - a2i * bs[k];
        const double u2i = a2r * bs[k] + a2i * bc[k];
        r2[k] = a0r - u2r;
        i2[k] = a0i - u2i;
        r0[k] = a0r + u2r;
        i0[k] = a0i + u2i;
        const double u3r = a3r * bc[k + d] - a3i * bs[k + d];
        const double u3i = a3r * bs[k + d] + a3i * bc[k + d];
        r3[k] = a1r - u3r;
        i3[k] = a1i - u3i;
        r1[k] = a1r + u3r;
        i1[k] = a1i + u3i;
    }
}

} // namespace

SignalProcessor::SignalProcessor()
    : re_(kMaxLength / 2), im_(kMaxLength / 2), order_(kMaxLength / 2), cos_(), sin_() {
    // The tables of one length hold N − 2 twiddles; reserving the largest keeps rebuilding them
    // free of allocation.
    cos_.reserve(kMaxLength);
    sin_.reserve(kMaxLength);
}

bool SignalProcessor::IsTransformLength(std::size_t n) {
    return n >= 2 && n <= kMaxLength && std::has_single_bit(n);
}

// Builds the state that depends only on the length N: the bit-reversal permutation of the
// half-length transform and the twiddles cos(2πk/L), −sin(2πk/L) of every span L = 4 .. N.
void SignalProcessor::Prepare(std::size_t n) {
    if (n == length_ && tablesValid_) {
        return;
    }
    cos_.clear();
    sin_.clear();
    length_ = n;
    const std::size_t half = n / 2;
    const int bits = std::countr_zero(half);
    for (std::size_t p = 0; p < half; ++p) {
        std::uint32_t reversed = 0;
        auto rest = static_cast<std::uint32_t>(p);
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
    tablesValid_ = true;
}

// Radix-2 decimation in time of `count` complex values already in bit-reversed order.
VANTOR_VECTOR_CLONES void SignalProcessor::Transform(std::size_t count) {
    double* const __restrict re = re_.data();
    double* const __restrict im = im_.data();
    if (count < 2) {
        return; // a single value is its own transform
    }
    if (count == 2) {
        const double ar = re[0];
        const double ai = im[0];
        re[0] = ar + re[1];
        im[0] = ai + im[1];
        re[1] = ar - re[1];
        im[1] = ai - im[1];
        return;
    }
    // The first two stages (spans 2 and 4) in one pass; their twiddles are 1 and −i.
    for (std::size_t i = 0; i < count; i += 4) {
        const double s0r = re[i] + re[i + 1];
        const double s0i = im[i] + im[i + 1];
        const double s1r = re[i] - re[i + 1];
        const double s1i = im[i] - im[i + 1];
        const double s2r = re[i + 2] + re[i + 3];
        const double s2i = im[i + 2] + im[i + 3];
        const double s3r = re[i + 2] - re[i + 3];
        const double s3i = im[i + 2] - im[i + 3];
        re[i] = s0r + s2r;
        im[i] = s0i + s2i;
        re[i + 2] = s0r - s2r;
        im[i + 2] = s0i - s2i;
        re[i + 1] = s1r + s3i;
        im[i + 1] = s1i - s3r;
        re[i + 3] = s1r - s3i;
        im[i + 3] = s1i + s3r;
    }
    // The remaining stages: one radix-2 stage when their number is odd, then pairs of stages fused
    // into one pass over the data (the same operations on the same values, read and written once).
    std::size_t span = 8;
    if (std::countr_zero(count) % 2 == 1) {
        for (std::size_t block = 0; block < count; block += span) {
            Butterflies(re + block, im + block, re + block + 4, im + block + 4, Cosines(4), Sines(4), 4);
        }
        span = 16;
    }
    for (; span * 2 <= count; span *= 4) {
        const std::size_t d = span / 2;
        for (std::size_t block = 0; block < count; block += 2 * span) {
            double* const r = re + block;
            double* const i = im + block;
            StagePair(r, i, r + d, i + d, r + span, i + span, r + span + d, i + span + d, Cosines(d),
                      Sines(d), Cosines(span), Sines(span), d);
        }
    }
}

// Joins the half-length transform Z into the powers |X_k / N|² of the N-point transform.
VANTOR_VECTOR_CLONES void SignalProcessor::Split(std::size_t half, double scale,
                                                 double* __restrict power) const {
    const double* const __restrict re = re_.data();
    const double* const __restrict im = im_.data();
    // The span-N twiddles follow those of the shorter spans (4 + 8 + ... + N/2 = N/2 - 2 entries);
    // a 2-point transform has none and never reads them.
    const std::size_t first = half >= 2 ? half - 2 : 0;
    const double* const __restrict wc = cos_.data() + first;
    const double* const __restrict ws = sin_.data() + first;
    const double mean = (re[0] + im[0]) * scale;
    power[0] = mean * mean;
    for (std::size_t k = 1; k < half; ++k) {
        const double zr = re[k];
        const double zi = im[k];
        const double cr = re[half - k];
        const double ci = -im[half - k];
        const double er = 0.5 * (zr + cr);
        const double ei = 0.5 * (zi + ci);
        const double orr = 0.5 * (zi - ci);
        const double oi = -0.5 * (zr - cr);
        const double xr = (er + (orr * wc[k] - oi * ws[k])) * scale;
        const double xi = (ei + (orr * ws[k] + oi * wc[k])) * scale;
        power[k] = xr * xr + xi * xi;
    }
}

// The N-point transform of a real waveform is taken through an N/2-point complex transform of
// z[p] = x[2p] + i·x[2p+1], whose result is split into the transforms of the even and odd samples
// and joined with the last radix-2 stage's twiddles. This gives the same X_k as the full radix-2
// transform with half the work; the lines agree with it to within rounding.
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
    const std::size_t half = n / 2;
    for (std::size_t p = 0; p < half; ++p) {
        const std::size_t source = 2 * static_cast<std::size_t>(order_[p]);
        re_[p] = waveform[source];
        im_[p] = waveform[source + 1];
    }
    Transform(half);

    // X_0 is the sum of the even samples plus the sum of the odd ones; for k ≥ 1 the even part
    // E = (Z_k + conj Z_{h−k}) / 2 and the odd part O = (Z_k − conj Z_{h−k}) / 2i give
    // X_k = E + W_N^k·O. Each line first holds the power of X_k / N.
    spectrum.resize(half);
    Split(half, 1.0 / static_cast<double>(n), spectrum.data());
    // Line 0 is the mean; every other line carries half of a component's power (the other half
    // sits in the mirrored line), so √2·|X_k|/N is that component's RMS value.
    Amplitudes(half, spectrum.data());
    if (velocity) {
        Integrate(half, samplingFrequencyHz / static_cast<double>(n), spectrum.data());
    }
    return true;
}

} // namespace vantor
