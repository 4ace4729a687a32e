#pragma once
// The envelope spectrum of a wide-band acceleration capture: the repetition rate of impacts that
// ring a structural resonance (a bearing defect rolled over, a tooth crack) shows as lines of the
// spectrum of the signal's envelope, where the plain spectrum only shows the resonance.
//
// Steps: the waveform is band-passed in the frequency domain to the chosen band, the amplitude
// envelope is taken as the magnitude of the analytic signal (Hilbert transform by FFT), its mean is
// removed, and its spectrum is taken with a Hann window and amplitude correction, as peak
// amplitudes in gE: a carrier of amplitude A modulated to depth m shows A·m at the modulation
// frequency. The lines run from 0 to half the band's lower edge (at most Fmax) at the channel's line
// spacing.

#include "analysis/ReadingSignals.h"

#include <QString>

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace vantor {

struct EnvelopeBand {
    double lowHz = 0;
    double highHz = 0;
    bool operator==(const EnvelopeBand&) const = default;
};

// The band a point without its own uses: from Fmax / 4 to Fmax of the channel.
inline constexpr double kDefaultEnvelopeLowShareOfFmax = 0.25;
EnvelopeBand DefaultEnvelopeBand(double fmaxHz);

// Captures shorter than this give too few lines to tell a bearing's families apart.
inline constexpr std::size_t kEnvelopeFewestSamples = 256;
// Longest capture the work buffers are made for (the longest the meter records).
inline constexpr std::size_t kEnvelopeMostSamples = 131072;
// A band must be at least this many lines wide.
inline constexpr double kEnvelopeNarrowestBandLines = 2.0;

enum class EnvelopeRefusal {
    None,
    CaptureTooShort,  // fewer than kEnvelopeFewestSamples samples (or more than the most)
    CaptureNotFinite, // a sample is not a finite number, or the sampling frequency is not positive
    LowNotPositive,   // band low ≤ 0 (or not a number)
    LowNotBelowHigh,  // band low ≥ high, after the high edge is clipped to Fmax
    BandTooNarrow,    // narrower than two lines
};
// The message that explains a refusal to the user.
QString EnvelopeRefusalText(EnvelopeRefusal refusal);

// A requested band checked against a channel: a high edge past Fmax is clipped to Fmax.
struct CheckedEnvelopeBand {
    EnvelopeBand band;
    bool highClipped = false;
    EnvelopeRefusal refusal = EnvelopeRefusal::None;
};
CheckedEnvelopeBand CheckEnvelopeBand(EnvelopeBand requested, double fmaxHz, double lineSpacingHz);

struct EnvelopeSpectrum {
    EnvelopeBand requested;   // the band asked for
    EnvelopeBand band;        // the band used (high clipped to Fmax)
    bool highClipped = false; // the requested high edge lay past Fmax
    double samplingFrequencyHz = 0;
    std::size_t sampleCount = 0;
    double lineSpacingHz = 0;  // the channel's: line k lies at k × spacing
    std::vector<double> lines; // gE (peak), from 0 Hz to min(band low / 2, Fmax)
    double overallGe = 0;      // RMS of the envelope after its mean is removed, g

    double FrequencyOf(std::size_t line) const { return static_cast<double>(line) * lineSpacingHz; }
};

// Work buffers and FFT plans for envelope spectra; kept for its life and remade only when the
// capture length changes, so a call allocates nothing but its result. One per thread: not reentrant.
class EnvelopeAnalyzer {
public:
    EnvelopeAnalyzer();
    ~EnvelopeAnalyzer();
    EnvelopeAnalyzer(const EnvelopeAnalyzer&) = delete;
    EnvelopeAnalyzer& operator=(const EnvelopeAnalyzer&) = delete;

    // The envelope spectrum of a waveform (g) sampled at fs whose spectrum reaches fmaxHz with lines
    // lineSpacingHz apart. On a refusal `out` is left empty (no lines) and the refusal returned.
    EnvelopeRefusal Compute(std::span<const double> waveform, double samplingFrequencyHz, double fmaxHz,
                            double lineSpacingHz, EnvelopeBand requested, EnvelopeSpectrum& out);
    // Of a decoded channel (the Total channel in practice), with its Fmax and line spacing.
    EnvelopeRefusal Compute(const ChannelSignals& channel, EnvelopeBand requested, EnvelopeSpectrum& out);

private:
    struct Plans;
    bool Prepare(std::size_t n);
    std::unique_ptr<Plans> plans_;
};

} // namespace vantor
