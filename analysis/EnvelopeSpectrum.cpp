#include "analysis/EnvelopeSpectrum.h"

#include "analysis/FftwPlanner.h"
#include "analysis/Log.h"
#include "texts/UiText.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace vantor {
namespace {

// Coherent gain of the Hann window (the mean of its values): a sine's line is scaled back by its
// reciprocal (F. J. Harris, "On the use of windows for harmonic analysis with the discrete Fourier
// transform", Proc. IEEE 66 (1978), table 1).
constexpr double kHannCoherentGain = 0.5;

} // namespace

struct EnvelopeAnalyzer::Plans {
    std::size_t length = 0;
    std::unique_ptr<double, FftwFree> real;           // N samples: the waveform, then the envelope
    std::unique_ptr<fftw_complex, FftwFree> half;     // N/2 + 1 lines of a real transform
    std::unique_ptr<fftw_complex, FftwFree> analytic; // N values of the analytic signal
    std::unique_ptr<double, FftwFree> hann;           // the window of length N
    fftw_plan forward = nullptr;                      // real → half
    fftw_plan inverse = nullptr;                      // analytic → analytic (backward)

    ~Plans() { Release(); }
    void Release() {
        const std::lock_guard lock(FftwPlannerMutex());
        if (forward != nullptr) {
            fftw_destroy_plan(forward);
        }
        if (inverse != nullptr) {
            fftw_destroy_plan(inverse);
        }
        forward = inverse = nullptr;
        length = 0;
    }
};

EnvelopeBand DefaultEnvelopeBand(double fmaxHz) {
    return {fmaxHz * kDefaultEnvelopeLowShareOfFmax, fmaxHz};
}

QString EnvelopeRefusalText(EnvelopeRefusal refusal) {
    switch (refusal) {
    case EnvelopeRefusal::None:
        return {};
    case EnvelopeRefusal::CaptureTooShort:
        return UiText(text::added::EnvelopeTooShort)
            .arg(QString::number(kEnvelopeFewestSamples), QString::number(kEnvelopeMostSamples));
    case EnvelopeRefusal::CaptureNotFinite:
        return UiText(text::added::EnvelopeNotFinite);
    case EnvelopeRefusal::LowNotPositive:
        return UiText(text::added::EnvelopeLowNotPositive);
    case EnvelopeRefusal::LowNotBelowHigh:
        return UiText(text::added::EnvelopeLowNotBelowHigh);
    case EnvelopeRefusal::BandTooNarrow:
        return UiText(text::added::EnvelopeBandTooNarrow);
    }
    return {};
}

CheckedEnvelopeBand CheckEnvelopeBand(EnvelopeBand requested, double fmaxHz, double lineSpacingHz) {
    CheckedEnvelopeBand checked;
    checked.band = requested;
    if (!(requested.lowHz > 0) || !std::isfinite(requested.lowHz)) {
        checked.refusal = EnvelopeRefusal::LowNotPositive;
        return checked;
    }
    if (std::isnan(requested.highHz)) {
        checked.refusal = EnvelopeRefusal::LowNotBelowHigh;
        return checked;
    }
    if (requested.highHz > fmaxHz) {
        checked.band.highHz = fmaxHz;
        checked.highClipped = true;
    }
    if (!(checked.band.lowHz < checked.band.highHz)) {
        checked.refusal = EnvelopeRefusal::LowNotBelowHigh;
    } else if (checked.band.highHz - checked.band.lowHz < kEnvelopeNarrowestBandLines * lineSpacingHz) {
        checked.refusal = EnvelopeRefusal::BandTooNarrow;
    }
    return checked;
}

EnvelopeAnalyzer::EnvelopeAnalyzer() : plans_(std::make_unique<Plans>()) {}

EnvelopeAnalyzer::~EnvelopeAnalyzer() = default;

bool EnvelopeAnalyzer::Prepare(std::size_t n) {
    Plans& p = *plans_;
    if (p.length == n) {
        return true;
    }
    p.Release();
    p.real.reset(fftw_alloc_real(n));
    p.half.reset(fftw_alloc_complex(n / 2 + 1));
    p.analytic.reset(fftw_alloc_complex(n));
    p.hann.reset(fftw_alloc_real(n));
    if (!p.real || !p.half || !p.analytic || !p.hann) {
        qCWarning(lcAnalysis) << "Envelope: no memory for the work buffers of" << n << "samples";
        return false;
    }
    const int length = static_cast<int>(n);
    {
        // FFTW_ESTIMATE plans without touching the buffers and in microseconds; a measured plan
        // would cost each command far more than the transforms it speeds up.
        const std::lock_guard lock(FftwPlannerMutex());
        p.forward = fftw_plan_dft_r2c_1d(length, p.real.get(), p.half.get(), FFTW_ESTIMATE);
        p.inverse =
            fftw_plan_dft_1d(length, p.analytic.get(), p.analytic.get(), FFTW_BACKWARD, FFTW_ESTIMATE);
    }
    if (p.forward == nullptr || p.inverse == nullptr) {
        qCWarning(lcAnalysis) << "Envelope: no FFT plan for" << n << "samples";
        p.Release();
        return false;
    }
    // Periodic Hann window w[i] = 0.5 (1 − cos(2πi/N)) (Harris 1978), so its coherent gain is
    // exactly 0.5.
    for (std::size_t i = 0; i < n; ++i) {
        p.hann.get()[i] =
            0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n)));
    }
    p.length = n;
    return true;
}

EnvelopeRefusal EnvelopeAnalyzer::Compute(const ChannelSignals& channel, EnvelopeBand requested,
                                          EnvelopeSpectrum& out) {
    return Compute(channel.waveform, channel.samplingFrequencyHz, channel.fmaxHz, 0.0, requested, out);
}

EnvelopeRefusal EnvelopeAnalyzer::Compute(std::span<const double> waveform, double samplingFrequencyHz,
                                          double fmaxHz, double lineSpacingHz, EnvelopeBand requested,
                                          EnvelopeSpectrum& out) {
    const std::size_t n = waveform.size();
    out.requested = requested;
    out.band = {};
    out.highClipped = false;
    out.samplingFrequencyHz = samplingFrequencyHz;
    out.sampleCount = n;
    out.lines.clear();
    out.overallGe = 0;
    out.lineSpacingHz = 0;
    if (n < kEnvelopeFewestSamples || n > kEnvelopeMostSamples) {
        return EnvelopeRefusal::CaptureTooShort;
    }
    if (!(samplingFrequencyHz > 0) || !std::isfinite(samplingFrequencyHz) || !std::isfinite(fmaxHz)) {
        return EnvelopeRefusal::CaptureNotFinite;
    }
    // Line k of the channel's spectrum lies at k·fs/N; a caller's spacing is only a cross-check.
    const double spacing = samplingFrequencyHz / static_cast<double>(n);
    if (lineSpacingHz > 0 && std::abs(lineSpacingHz - spacing) > 1e-3 * spacing) {
        qCWarning(lcAnalysis) << "Envelope: line spacing" << lineSpacingHz << "differs from fs/N" << spacing;
    }
    const CheckedEnvelopeBand checked =
        CheckEnvelopeBand(requested, std::min(fmaxHz, samplingFrequencyHz / 2), spacing);
    if (checked.refusal != EnvelopeRefusal::None) {
        return checked.refusal;
    }
    if (!Prepare(n)) {
        return EnvelopeRefusal::CaptureTooShort;
    }
    Plans& p = *plans_;
    double* real = p.real.get();
    fftw_complex* half = p.half.get();
    fftw_complex* analytic = p.analytic.get();
    const double* hann = p.hann.get();

    bool finite = true;
    for (std::size_t i = 0; i < n; ++i) {
        real[i] = waveform[i];
        finite = finite && std::isfinite(waveform[i]);
    }
    if (!finite) {
        return EnvelopeRefusal::CaptureNotFinite;
    }
    fftw_execute(p.forward);

    // Band-pass and Hilbert transform in one step: the analytic signal's spectrum is twice the
    // positive-frequency half and zero at negative frequencies (S. L. Marple, "Computing the
    // discrete-time analytic signal via FFT", IEEE Trans. Signal Processing 47 (1999)); keeping only
    // the lines of the band makes it the analytic signal of the band-passed waveform.
    const std::size_t nyquist = n / 2;
    const auto first =
        static_cast<std::size_t>(std::max(1.0, std::ceil(checked.band.lowHz / spacing - 1e-9)));
    const auto last =
        std::min(nyquist - 1, static_cast<std::size_t>(std::floor(checked.band.highHz / spacing + 1e-9)));
    for (std::size_t k = 0; k < n; ++k) {
        analytic[k][0] = 0.0;
        analytic[k][1] = 0.0;
    }
    for (std::size_t k = first; k <= last; ++k) {
        analytic[k][0] = 2.0 * half[k][0];
        analytic[k][1] = 2.0 * half[k][1];
    }
    fftw_execute(p.inverse);

    // Envelope = |analytic signal| (FFTW's inverse is not normalised: divide by N).
    const double scale = 1.0 / static_cast<double>(n);
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double e = std::hypot(analytic[i][0], analytic[i][1]) * scale;
        real[i] = e;
        sum += e;
    }
    const double mean = sum / static_cast<double>(n);
    double squares = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double e = real[i] - mean;
        squares += e * e;
        real[i] = e * hann[i];
    }
    fftw_execute(p.forward);

    // Peak amplitudes: a sine of amplitude A at line k has |X_k| = A·N/2 times the window's
    // coherent gain; line 0 has no factor 2.
    const double highestHz = std::min(checked.band.lowHz / 2.0, fmaxHz);
    const std::size_t lineCount =
        std::min(static_cast<std::size_t>(std::floor(highestHz / spacing + 1e-9)) + 1, nyquist + 1);
    out.lines.resize(lineCount);
    const double lineScale = 2.0 / (static_cast<double>(n) * kHannCoherentGain);
    for (std::size_t k = 0; k < lineCount; ++k) {
        out.lines[k] = std::hypot(half[k][0], half[k][1]) * lineScale * (k == 0 ? 0.5 : 1.0);
    }
    out.band = checked.band;
    out.highClipped = checked.highClipped;
    out.lineSpacingHz = spacing;
    out.overallGe = std::sqrt(squares / static_cast<double>(n));
    return EnvelopeRefusal::None;
}

} // namespace vantor
