#pragma once
// Turns a reading row's raw converter samples and capture parameters into ReadingSignals: mean
// removal, calibration to g and the spectrum of each channel.

#include "analysis/ReadingSignals.h"
#include "records/Records.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace vantor {

class SignalProcessor;

// Low cut-offs: the Total channel always starts at 10 Hz; the ISO channel starts at 10 Hz for
// machines running faster than 10 Hz (600 RPM) and at 2 Hz for slower ones.
inline constexpr float kTotalLowCutoffHz = 10.0f;
inline constexpr float kIsoLowCutoffHz = 10.0f;
inline constexpr float kSlowMachineIsoLowCutoffHz = 2.0f;
inline constexpr float kSlowMachineRunSpeedHz = 10.0f;
// Fmax is fs / 2.56; the lines kept are N / 2.56.
inline constexpr float kSamplesPerLine = 2.56f;

enum class Channel { Total, Iso };

float FmaxOf(float samplingFrequencyHz);
// N / 2.56 in single precision, truncated toward zero (2048 → 800, 1024 → 400).
std::int32_t LineCountOf(std::int32_t sampleCount);
float LowCutoffOf(Channel channel, float runSpeedHz);

// A stored run speed the analysis must not compute with (not finite, 0 or below, above the
// editors' 1000 Hz: a file from an older version or a meter's bad header may hold one) is handed
// on as 0, "no run speed", with a warning naming the reading. True when it was refused. The loads
// of a reading's signals apply it after the decode (whose low cut-offs keep the stored speed's
// choice) and after the cache file, which keeps the row's value as it is.
bool RefuseUnusableRunSpeed(ReadingSignals& decoded, const QString& readingGuid);

// What a channel's calibration needs from the reading row.
struct Calibration {
    float psuVoltage = 0;
    std::int32_t adcBits = 0;
    float cal = 0;
    float gain = 0;
    float sensitivityMvPerG = 0;
};

// Raw block → waveform in g. The block holds `sampleCount` unsigned 16-bit little-endian samples and
// nothing else. The integer mean (truncated) is removed, then each count is scaled in single
// precision: volts = count × PSU / 2^bits; g = Cal × Gain × volts × 1000 / sensitivity. False (and
// the waveform emptied) when the block is not exactly 2 × sampleCount bytes, the count is not a
// transform length, or the calibration makes a sample non-finite (a zero sensitivity, for example).
bool DecodeWaveform(const QByteArray& raw, std::int32_t sampleCount, const Calibration& calibration,
                    std::vector<double>& waveform);

// Decodes both channels of a reading row (route or off-route) into `decoded`. False when either
// channel cannot be decoded; `decoded` then holds nothing useful. A channel with a sample count of
// 0 has no capture (its raw block is not looked at) and decodes to an empty waveform and spectrum;
// a reading needs at least one channel with a capture.
bool DecodeReading(const VibReadingValues& row, SignalProcessor& processor, ReadingSignals& decoded);

} // namespace vantor
