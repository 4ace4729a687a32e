#include "tools/meter-sim/SignalSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace vantor::sim {

std::vector<double> SynthesiseWaveform(const SignalRecipe& recipe, double samplingHz, int samples,
                                       std::uint32_t channelSeed) {
    std::vector<double> wave(static_cast<size_t>(std::max(samples, 0)), 0.0);
    const double bandwidth = samplingHz / 2.56;
    const double twoPi = 2.0 * std::numbers::pi;
    for (size_t k = 0; k < recipe.tones.size(); ++k) {
        const Tone& tone = recipe.tones[k];
        const double f = recipe.FrequencyOf(tone);
        if (f <= 0 || f >= bandwidth) {
            continue;
        }
        const double phase = 0.7 * static_cast<double>(k); // fixed, distinct phases
        for (size_t i = 0; i < wave.size(); ++i) {
            wave[i] += tone.amplitudeG * std::sin(twoPi * f * static_cast<double>(i) / samplingHz + phase);
        }
    }
    const BearingDefect& b = recipe.bearing;
    if (b.defectHz > 0 && b.amplitudeG != 0 && b.resonanceHz > 0 && b.resonanceHz < bandwidth &&
        b.decaySeconds > 0) {
        const double period = 1.0 / b.defectHz;
        for (size_t i = 0; i < wave.size(); ++i) {
            const double t = static_cast<double>(i) / samplingHz;
            const double sinceImpact = std::fmod(t, period);
            wave[i] += b.amplitudeG * std::exp(-sinceImpact / b.decaySeconds) *
                       std::sin(twoPi * b.resonanceHz * sinceImpact);
        }
    }
    if (recipe.noiseRmsG > 0) {
        std::mt19937 random(recipe.seed * 7919u + channelSeed);
        std::normal_distribution<double> noise(0.0, recipe.noiseRmsG);
        for (double& value : wave) {
            value += noise(random);
        }
    }
    return wave;
}

QByteArray EncodeCapture(const std::vector<double>& waveformG, const CaptureScaling& s) {
    const int bits = std::clamp(s.adcBits, 1, 16);
    const double fullScale = std::ldexp(1.0, bits);
    const double voltsPerCount = s.supplyVolts / fullScale;
    const double gPerVolt = s.calibration * s.gain * 1000.0 / s.sensitivityMvPerG;
    const double countsPerG = 1.0 / (voltsPerCount * gPerVolt);
    const double midScale = fullScale / 2.0;
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(waveformG.size() * 2));
    for (const double g : waveformG) {
        const double count = std::clamp(std::round(midScale + g * countsPerG), 0.0, fullScale - 1.0);
        const auto value = static_cast<std::uint16_t>(count);
        bytes.append(static_cast<char>(value & 0xFF));
        bytes.append(static_cast<char>(value >> 8));
    }
    return bytes;
}

} // namespace vantor::sim
