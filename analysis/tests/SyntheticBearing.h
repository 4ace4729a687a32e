#pragma once
// Synthetic captures of a rolling-element bearing for the diagnosis's tests and benchmarks: shaft
// harmonics, Gaussian noise, and a defect's impacts ringing a resonance, the impacts spaced by the
// family's period with a random slip (Randall & Antoni 2011 § 2: 1-2 %), an inner-race defect's
// impacts modulated by the shaft (the load zone), a rolling element's by the cage.

#include "analysis/FaultFamilies.h"

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace vantor::testing {

// A deep-groove ball bearing of a public test rig (orders of shaft speed).
inline BearingFactors BallBearingFactors() {
    return {0.3983, 2.3567, 3.5848, 5.4152};
}

inline BearingAtPoint BearingWith(const BearingFactors& factors) {
    BearingAtPoint b;
    b.designation = QStringLiteral("6205");
    b.location = QStringLiteral("DE");
    b.factors = factors;
    return b;
}

struct SyntheticCapture {
    double fs = 12000;
    std::size_t samples = 65536;
    std::vector<double> waveform;

    SyntheticCapture(double samplingHz, std::size_t count)
        : fs(samplingHz), samples(count), waveform(count, 0.0) {}

    double Time(std::size_t i) const { return static_cast<double>(i) / fs; }

    void Tone(double hz, double peakG, double phase = 0) {
        for (std::size_t i = 0; i < samples; ++i) {
            waveform[i] += peakG * std::sin(2 * std::numbers::pi * hz * Time(i) + phase);
        }
    }
    // 1× to `count`× of the shaft, falling off as 1/n from `peakG`.
    void ShaftHarmonics(double shaftHz, double peakG, int count) {
        for (int n = 1; n <= count; ++n) {
            Tone(n * shaftHz, peakG / n, 0.7 * n);
        }
    }
    void Noise(double sigmaG, unsigned seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> normal(0, sigmaG);
        for (double& x : waveform) {
            x += normal(random);
        }
    }
    // Impacts every 1/rateHz s (each period varied by `slip` relative, Gaussian) ringing a
    // resonance at carrierHz that dies away in decayS; each impact's height times modulation(t).
    template <typename Modulation>
    void Impacts(double rateHz, double slip, double carrierHz, double peakG, double decayS, unsigned seed,
                 Modulation modulation) {
        std::mt19937 random(seed);
        std::normal_distribution<double> jitter(0, slip);
        for (double t = 0.37 / rateHz; t < Time(samples); t += (1 + jitter(random)) / rateHz) {
            Ring(t, peakG * modulation(t), carrierHz, decayS);
        }
    }
    // Impacts at random times (a Poisson process of meanRateHz): no repetition rate to find.
    void RandomImpacts(double meanRateHz, double carrierHz, double peakG, double decayS, unsigned seed) {
        std::mt19937 random(seed);
        std::exponential_distribution<double> gap(meanRateHz);
        for (double t = gap(random); t < Time(samples); t += gap(random)) {
            Ring(t, peakG, carrierHz, decayS);
        }
    }
    void Ring(double t, double height, double carrierHz, double decayS) {
        const auto first = static_cast<std::size_t>(std::ceil(t * fs));
        const auto ring = static_cast<std::size_t>(8 * decayS * fs);
        for (std::size_t i = first; i < std::min(samples, first + ring); ++i) {
            const double since = Time(i) - t;
            waveform[i] +=
                height * std::exp(-since / decayS) * std::sin(2 * std::numbers::pi * carrierHz * since);
        }
    }
    // The impacts of a defect of one family of the bearing at shaftHz.
    void Defect(FaultKind kind, const BearingFactors& factors, double shaftHz, double slip, double carrierHz,
                double peakG, unsigned seed) {
        const double decay = 0.0008;
        switch (kind) {
        case FaultKind::Bpfo:
            Impacts(factors.bpfo * shaftHz, slip, carrierHz, peakG, decay, seed, [](double) { return 1.0; });
            break;
        case FaultKind::Bpfi:
            Impacts(factors.bpfi * shaftHz, slip, carrierHz, peakG, decay, seed,
                    [shaftHz](double t) { return 0.6 + 0.4 * std::cos(2 * std::numbers::pi * shaftHz * t); });
            break;
        case FaultKind::Bsf: {
            const double cage = factors.ftf * shaftHz;
            Impacts(2 * factors.bsf * shaftHz, slip, carrierHz, peakG, decay, seed,
                    [cage](double t) { return 0.5 + 0.5 * std::cos(2 * std::numbers::pi * cage * t); });
            break;
        }
        case FaultKind::Ftf:
            Impacts(factors.ftf * shaftHz, slip, carrierHz, peakG, decay, seed, [](double) { return 1.0; });
            break;
        }
    }
};

} // namespace vantor::testing
