#pragma once
// Statistics of a waveform that flag impacts and bearing wear before the overall levels move:
// RMS, peak, peak-to-peak, crest factor, kurtosis and skewness, all taken in one pass.

#include <cstddef>
#include <optional>
#include <span>

namespace vantor {

struct WaveformIndices {
    std::size_t sampleCount = 0;
    double rms = 0;        // sqrt(Σx²/N), in the waveform's unit
    double peak = 0;       // max |x|
    double peakToPeak = 0; // max x − min x
    // The ratios need a waveform that is not constant (crest: RMS > 0; kurtosis and skewness: a
    // spread about the mean); a constant one has none rather than a made-up value.
    std::optional<double> crest;    // peak / RMS: √2 for a sine, 1 for a square wave
    std::optional<double> kurtosis; // Pearson's m4 / m2² about the mean: 3 for Gaussian noise, 1.5 for a sine
    std::optional<double> skewness; // m3 / m2^1.5 about the mean: 0 for a symmetric waveform
};

// The indices of a waveform; none for fewer than two samples or a sample that is not finite.
std::optional<WaveformIndices> ComputeWaveformIndices(std::span<const double> waveform);

} // namespace vantor
