#pragma once
// Synthesis of the meter's raw captures: a signal recipe (run speed, sinusoids in g, a bearing-defect
// impulse train, noise) sampled at a channel's rate and turned into converter counts through the
// sensor sensitivity, the channel's calibration and gain, the converter's supply voltage and bits.
//
// The counts are the exact inverse of the PC's decode: g = (count - mean) x (supply / 2^bits) x
// calibration x gain x 1000 / sensitivity.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace vantor::sim {

struct Tone {
    double frequencyHz = 0; // absolute frequency; when 0, `order` x run speed
    double order = 0;
    double amplitudeG = 0; // peak
};

// Repeated decaying bursts at a structural resonance, one per passage of a defect.
struct BearingDefect {
    double defectHz = 0;     // repetition rate of the impacts
    double resonanceHz = 0;  // ringing frequency of each burst
    double amplitudeG = 0;   // peak of each burst
    double decaySeconds = 0; // time constant of the ringing
};

struct SignalRecipe {
    double runSpeedHz = 25.0;
    std::vector<Tone> tones;
    BearingDefect bearing;
    double noiseRmsG = 0;
    std::uint32_t seed = 1;

    double FrequencyOf(const Tone& tone) const {
        return tone.frequencyHz > 0 ? tone.frequencyHz : tone.order * runSpeedHz;
    }
};

// How acceleration becomes converter counts on one channel.
struct CaptureScaling {
    double calibration = 1.0;
    double gain = 1.0;
    double sensitivityMvPerG = 100.0;
    double supplyVolts = 3.3;
    int adcBits = 16;
};

// The waveform in g the meter's front end would pass to the converter: components at or above the
// channel's analysis bandwidth (sampling rate / 2.56) are filtered out, as by the meter's
// anti-aliasing filter. `channelSeed` makes the noise of two channels independent.
std::vector<double> SynthesiseWaveform(const SignalRecipe& recipe, double samplingHz, int samples,
                                       std::uint32_t channelSeed);

// Little-endian unsigned 16-bit counts centred on mid-scale, clipped to the converter's range.
QByteArray EncodeCapture(const std::vector<double>& waveformG, const CaptureScaling& scaling);

} // namespace vantor::sim
