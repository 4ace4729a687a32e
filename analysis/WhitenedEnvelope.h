#pragma once
// The signal side of the bearing diagnosis: a capture's spectrum pre-whitened so that shaft
// harmonics and other discrete lines no longer stand out, the fast kurtogram that finds the band
// where the impacts ring, and the squared-envelope spectrum (SES) of a band.
//
// Methods:
// - Cepstral pre-whitening x_w = IFFT(X / |X|): P. Borghesani, R. B. Randall et al., "Application
//   of cepstrum pre-whitening for the diagnosis of bearing faults under variable speed
//   conditions", MSSP 36 (2013) 370-384; N. Sawalhi, R. B. Randall, "Signal pre-whitening using
//   cepstrum editing (liftering) to enhance fault detection in rolling element bearings" (2011).
// - Spectral kurtosis of each band of a 1/3-binary tree of bands (the fast kurtogram): J. Antoni,
//   "Fast computation of the kurtogram for the detection of transient faults", MSSP 21 (2007)
//   108-124. Each band's complex envelope comes from the lines of the band shifted to 0 Hz (an
//   ideal filter bank in the frequency domain), its kurtosis E|c|⁴ / (E|c|²)² − 2 (0 for
//   Gaussian noise).
// - Squared-envelope spectrum of the band: R. B. Randall, J. Antoni, "Rolling element bearing
//   diagnostics - a tutorial", MSSP 25 (2011) 485-520, § 3.

#include "analysis/EnvelopeSpectrum.h"

#include <cstddef>
#include <map>
#include <memory>
#include <span>
#include <vector>

namespace vantor {

class ComplexFft;
class RealFft;

struct KurtogramCell {
    double bands = 1; // the level: how many bands split 0..fs/2 (1, 2, 3, 4, 6, 8, 12 ...)
    EnvelopeBand band;
    double kurtosis = 0;
};

struct Kurtogram {
    std::vector<KurtogramCell> cells; // level by level, band by band
    KurtogramCell best;               // the most impulsive band
};

// The SES of a band: magnitudes (arbitrary unit, judged by ratios) from 0 Hz at the capture's line
// spacing fs / N.
struct SquaredEnvelopeSpectrum {
    EnvelopeBand band;
    bool whitened = true;
    double lineSpacingHz = 0;
    std::vector<double> lines;
};

// Keeps the capture's spectrum and the transforms' buffers; one per thread, not reentrant.
class WhitenedEnvelope {
public:
    WhitenedEnvelope();
    ~WhitenedEnvelope();
    WhitenedEnvelope(const WhitenedEnvelope&) = delete;
    WhitenedEnvelope& operator=(const WhitenedEnvelope&) = delete;

    // Takes the capture (g) sampled at fs. False for fewer than kEnvelopeFewestSamples or more than
    // kEnvelopeMostSamples samples, a sample that is not finite, or fs not positive.
    bool Prepare(std::span<const double> waveform, double samplingFrequencyHz);

    double SamplingFrequencyHz() const { return fs_; }
    double LineSpacingHz() const { return n_ > 0 ? fs_ / static_cast<double>(n_) : 0.0; }
    // The capture's magnitude spectrum with a Hann window, lines 0..N/2 (for the run-speed estimate).
    std::span<const double> HannMagnitudes() const { return hannMagnitude_; }

    // The kurtogram of the whitened capture over bands no narrower than narrowestHz, judging only
    // bands that lie within lowestHz..highestHz.
    Kurtogram ComputeKurtogram(double narrowestHz, double lowestHz, double highestHz);

    // The SES of the band, of the whitened capture or of the capture as it is, up to highestLineHz.
    SquaredEnvelopeSpectrum Spectrum(EnvelopeBand band, double highestLineHz, bool whitened = true);

private:
    // The complex envelope of lines first..last of the chosen spectrum into a buffer of a power-of-
    // two length; returns it.
    ComplexFft& BandEnvelope(std::size_t first, std::size_t last, bool whitened);
    ComplexFft& ComplexPlan(std::size_t n);
    RealFft& RealPlan(std::size_t n);

    double fs_ = 0;
    std::size_t n_ = 0;
    std::vector<double> spectrumRe_, spectrumIm_; // X, lines 0..N/2
    std::vector<double> magnitude_;               // |X|
    std::vector<double> hannMagnitude_;
    std::vector<double> captureWindow_; // Hann, of the capture's length
    std::map<std::size_t, std::unique_ptr<ComplexFft>> complex_;
    std::map<std::size_t, std::unique_ptr<RealFft>> real_;
    std::vector<double> window_;
};

} // namespace vantor
