#include "tools/sensor-sim/SensorSignals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantor::sim {
namespace {

constexpr double kRunSpeedHz = 24.75;    // a 4-pole motor's speed, 1485 rpm
constexpr double kOuterRaceOrder = 3.57; // outer-race defect frequency per revolution
constexpr double kMmPerSecondSquaredPerG = 9810.0;

} // namespace

SimulatedFault FaultOfSensor(int sensorNumber) {
    switch ((sensorNumber - 1) % 3) {
    case 0:
        return SimulatedFault::Unbalance;
    case 1:
        return SimulatedFault::Misalignment;
    default:
        return SimulatedFault::BearingDefect;
    }
}

SignalRecipe SensorRecipe(int sensorNumber, double ageHours, double growthHours) {
    const double share = 0.1 + 0.9 * std::clamp(growthHours > 0 ? ageHours / growthHours : 1.0, 0.0, 1.0);
    SignalRecipe recipe;
    recipe.runSpeedHz = kRunSpeedHz;
    recipe.noiseRmsG = 0.01;
    recipe.seed = static_cast<std::uint32_t>(sensorNumber);
    // A healthy machine's residual 1× and 2×, each tone at its own frequency (the synthesis gives
    // every tone its own phase).
    double oneX = 0.02;
    double twoX = 0.01;
    double threeX = 0;
    switch (FaultOfSensor(sensorNumber)) {
    case SimulatedFault::Unbalance:
        oneX += 0.16 * share; // 0.18 g peak at 1× is about 8 mm/s RMS at 24.75 Hz
        break;
    case SimulatedFault::Misalignment:
        twoX += 0.25 * share;
        threeX = 0.08 * share;
        break;
    case SimulatedFault::BearingDefect:
        recipe.bearing = {kOuterRaceOrder * kRunSpeedHz, 3000, 2.0 * share, 0.002};
        break;
    }
    recipe.tones = {{0, 1, oneX}, {0, 2, twoX}};
    if (threeX > 0) {
        recipe.tones.push_back({0, 3, threeX});
    }
    return recipe;
}

ingest::WaveformMessage SimulatedWaveform(const SignalRecipe& recipe, const QDateTime& time,
                                          std::uint32_t seed) {
    ingest::WaveformMessage message;
    message.time = time;
    message.waveform.samplingFrequencyHz = kSimSamplingHz;
    message.waveform.unit = SignalUnit::G;
    message.waveform.samples = SynthesiseWaveform(recipe, kSimSamplingHz, kSimSamples, seed);
    message.runSpeedHz = recipe.runSpeedHz;
    return message;
}

ingest::OverallMessage SimulatedOverall(const SignalRecipe& recipe, const std::vector<double>& waveformG,
                                        double faultShare, const QDateTime& time) {
    double velocitySquares = 0;
    for (const Tone& tone : recipe.tones) {
        const double f = recipe.FrequencyOf(tone);
        if (f >= 10 && f <= 1000) {
            const double rms =
                tone.amplitudeG * kMmPerSecondSquaredPerG / (2 * std::numbers::pi * f) / std::sqrt(2.0);
            velocitySquares += rms * rms;
        }
    }
    double accelerationSquares = 0;
    for (const double g : waveformG) {
        accelerationSquares += g * g;
    }
    const double totalG =
        waveformG.empty() ? 0 : std::sqrt(accelerationSquares / static_cast<double>(waveformG.size()));
    return {time, std::sqrt(velocitySquares), totalG, 40.0 + 30.0 * std::clamp(faultShare, 0.0, 1.0)};
}

} // namespace vantor::sim
