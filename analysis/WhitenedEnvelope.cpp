#include "analysis/WhitenedEnvelope.h"

#include "analysis/FftwPlanner.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace vantor {
namespace {

// The levels of the 1/3-binary tree: 0..fs/2 split into 1, 2, 3, 4, 6, 8, 12 ... bands (Antoni 2007,
// fig. 4: each dyadic level and a level of thirds between it and the next).
std::vector<int> TreeLevels(double nyquistHz, double narrowestHz) {
    std::vector<int> levels{1};
    for (int dyadic = 2; dyadic <= 4096; dyadic *= 2) {
        for (const int bands : {dyadic, dyadic + dyadic / 2}) {
            if (nyquistHz / bands < narrowestHz) {
                return levels;
            }
            levels.push_back(bands);
        }
    }
    return levels;
}

// Periodic Hann window (F. J. Harris, Proc. IEEE 66 (1978)): a line off the grid leaks little into
// its neighbours, whose median is the noise floor.
std::vector<double> HannWindow(std::size_t n) {
    std::vector<double> w(n);
    for (std::size_t i = 0; i < n; ++i) {
        w[i] =
            0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n)));
    }
    return w;
}

} // namespace

WhitenedEnvelope::WhitenedEnvelope() = default;
WhitenedEnvelope::~WhitenedEnvelope() = default;

ComplexFft& WhitenedEnvelope::ComplexPlan(std::size_t n) {
    auto& plan = complex_[n];
    if (!plan) {
        plan = std::make_unique<ComplexFft>(n, FFTW_BACKWARD);
    }
    return *plan;
}

RealFft& WhitenedEnvelope::RealPlan(std::size_t n) {
    auto& plan = real_[n];
    if (!plan) {
        plan = std::make_unique<RealFft>(n);
    }
    return *plan;
}

bool WhitenedEnvelope::Prepare(std::span<const double> waveform, double samplingFrequencyHz) {
    n_ = 0;
    const std::size_t n = waveform.size();
    if (n < kEnvelopeFewestSamples || n > kEnvelopeMostSamples || !(samplingFrequencyHz > 0) ||
        !std::isfinite(samplingFrequencyHz)) {
        return false;
    }
    RealFft& fft = RealPlan(n);
    if (!fft.Ok()) {
        return false;
    }
    double* in = fft.In();
    double mean = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(waveform[i])) {
            return false;
        }
        mean += waveform[i];
    }
    mean /= static_cast<double>(n);
    for (std::size_t i = 0; i < n; ++i) {
        in[i] = waveform[i] - mean;
    }
    fft.Execute();
    const fftw_complex* out = fft.Out();
    const std::size_t lines = n / 2 + 1;
    spectrumRe_.resize(lines);
    spectrumIm_.resize(lines);
    magnitude_.resize(lines);
    for (std::size_t k = 0; k < lines; ++k) {
        spectrumRe_[k] = out[k][0];
        spectrumIm_[k] = out[k][1];
        magnitude_[k] = std::hypot(out[k][0], out[k][1]);
    }
    if (captureWindow_.size() != n) {
        captureWindow_ = HannWindow(n);
    }
    for (std::size_t i = 0; i < n; ++i) {
        in[i] = (waveform[i] - mean) * captureWindow_[i];
    }
    fft.Execute();
    hannMagnitude_.resize(lines);
    for (std::size_t k = 0; k < lines; ++k) {
        hannMagnitude_[k] = std::hypot(out[k][0], out[k][1]);
    }
    fs_ = samplingFrequencyHz;
    n_ = n;
    return true;
}

ComplexFft& WhitenedEnvelope::BandEnvelope(std::size_t first, std::size_t last, bool whitened) {
    const std::size_t count = last - first + 1;
    ComplexFft& fft = ComplexPlan(std::bit_ceil(count));
    fftw_complex* data = fft.Data();
    for (std::size_t j = 0; j < fft.Size(); ++j) {
        data[j][0] = 0;
        data[j][1] = 0;
    }
    for (std::size_t j = 0; j < count; ++j) {
        const std::size_t k = first + j;
        // X / |X|: every line keeps its phase and gets unit magnitude (a silent line stays 0).
        const double scale = whitened ? (magnitude_[k] > 0 ? 1.0 / magnitude_[k] : 0.0) : 1.0;
        data[j][0] = spectrumRe_[k] * scale;
        data[j][1] = spectrumIm_[k] * scale;
    }
    fft.Execute();
    return fft;
}

Kurtogram WhitenedEnvelope::ComputeKurtogram(double narrowestHz, double lowestHz, double highestHz) {
    Kurtogram result;
    if (n_ == 0) {
        return result;
    }
    const double nyquist = fs_ / 2;
    const double spacing = LineSpacingHz();
    bool any = false;
    for (const int bands : TreeLevels(nyquist, std::max(narrowestHz, 4 * spacing))) {
        const double width = nyquist / bands;
        for (int b = 0; b < bands; ++b) {
            KurtogramCell cell;
            cell.bands = bands;
            cell.band = {b * width, (b + 1) * width};
            if (cell.band.lowHz < lowestHz - 1e-9 || cell.band.highHz > highestHz + 1e-9) {
                continue;
            }
            const auto first = static_cast<std::size_t>(std::max(1.0, std::ceil(cell.band.lowHz / spacing)));
            const auto last =
                std::min(n_ / 2 - 1, static_cast<std::size_t>(std::floor(cell.band.highHz / spacing)));
            if (last <= first + 2) {
                continue;
            }
            ComplexFft& envelope = BandEnvelope(first, last, true);
            const fftw_complex* c = envelope.Data();
            // The capture wraps around in the transform: the jump from its end to its start is an
            // impact of its own at both ends of every band's envelope, so 2 % at each end is left out.
            const std::size_t size = envelope.Size();
            const std::size_t edge = size / 50;
            double m2 = 0;
            double m4 = 0;
            for (std::size_t i = edge; i < size - edge; ++i) {
                const double p = c[i][0] * c[i][0] + c[i][1] * c[i][1];
                m2 += p;
                m4 += p * p;
            }
            const auto count = static_cast<double>(size - 2 * edge);
            m2 /= count;
            m4 /= count;
            cell.kurtosis = m2 > 0 ? m4 / (m2 * m2) - 2.0 : 0.0;
            if (!any || cell.kurtosis > result.best.kurtosis) {
                result.best = cell;
                any = true;
            }
            result.cells.push_back(cell);
        }
    }
    return result;
}

SquaredEnvelopeSpectrum WhitenedEnvelope::Spectrum(EnvelopeBand band, double highestLineHz, bool whitened) {
    SquaredEnvelopeSpectrum ses;
    ses.band = band;
    ses.whitened = whitened;
    if (n_ == 0) {
        return ses;
    }
    const double spacing = LineSpacingHz();
    const auto first = static_cast<std::size_t>(std::max(1.0, std::ceil(band.lowHz / spacing - 1e-9)));
    const auto last = std::min(
        n_ / 2 - 1, static_cast<std::size_t>(std::max(0.0, std::floor(band.highHz / spacing + 1e-9))));
    if (last <= first + 2) {
        return ses;
    }
    ComplexFft& envelope = BandEnvelope(first, last, whitened);
    const std::size_t m = envelope.Size();
    RealFft& fft = RealPlan(m);
    if (window_.size() != m) {
        window_ = HannWindow(m);
    }
    const fftw_complex* c = envelope.Data();
    double* in = fft.In();
    double mean = 0;
    for (std::size_t i = 0; i < m; ++i) {
        in[i] = c[i][0] * c[i][0] + c[i][1] * c[i][1];
        mean += in[i];
    }
    mean /= static_cast<double>(m);
    for (std::size_t i = 0; i < m; ++i) {
        in[i] = (in[i] - mean) * window_[i];
    }
    fft.Execute();
    const fftw_complex* out = fft.Out();
    const std::size_t count =
        std::min(m / 2 + 1, static_cast<std::size_t>(std::floor(std::max(0.0, highestLineHz) / spacing)) + 1);
    ses.lines.resize(count);
    // Scaled by the band's mean power so that spectra of different bands compare.
    const double scale = mean > 0 ? 1.0 / (mean * static_cast<double>(m)) : 0.0;
    for (std::size_t k = 0; k < count; ++k) {
        ses.lines[k] = std::hypot(out[k][0], out[k][1]) * scale;
    }
    ses.lineSpacingHz = spacing;
    return ses;
}

} // namespace vantor
