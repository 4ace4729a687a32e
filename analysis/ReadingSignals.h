#pragma once
// The decoded form of one vibration reading: its run speed and two channels, "Total" (wide-band
// acceleration) and "ISO" (the capture behind the ISO velocity value).

#include <cstdint>
#include <vector>

namespace vantor {

// One capture after decoding. Fields are in the order the signal cache file stores them.
struct ChannelSignals {
    float fmaxHz = 0;              // sampling frequency / 2.56
    float samplingFrequencyHz = 0; // as stored with the reading
    std::int32_t sampleCount = 0;  // N
    std::int32_t lineCount = 0;    // N / 2.56, truncated
    float lowCutoffHz = 0;         // where velocity sums start
    std::vector<double> waveform;  // N calibrated samples, g
    std::vector<double> spectrum;  // lineCount lines: Total g RMS, ISO mm/s RMS

    // Spacing of the spectrum lines, Fmax / line count in single precision (0 without lines).
    float LineSpacingHz() const { return lineCount > 0 ? fmaxHz / static_cast<float>(lineCount) : 0.0f; }
};

struct ReadingSignals {
    float runSpeedHz = 0;
    ChannelSignals total;
    ChannelSignals iso;
};

} // namespace vantor
