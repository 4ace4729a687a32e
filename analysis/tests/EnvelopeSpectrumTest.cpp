// The envelope spectrum on synthetic captures of a Total channel sampled at 12,800 Hz (Fmax 5 kHz):
// a bearing outer-race fault ringing a resonance, amplitude-modulated tones, and the band checks.
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

namespace vantor {
namespace {

constexpr double kFs = 12800.0;
constexpr double kFmax = kFs / 2.56;
constexpr double kPi = std::numbers::pi;

// Impacts at the outer race's defect frequency, each ringing a 3 kHz resonance that dies away in
// about a millisecond, in Gaussian noise. The ringing is the acceleration of a lightly damped
// resonance struck by a force impulse: it starts at its peak and carries (almost) no mean, as an
// accelerometer's signal does.
std::vector<double> OuterRaceFault(std::size_t n, double defectHz) {
    std::vector<double> x(n);
    std::mt19937 generator(11);
    std::normal_distribution<double> noise(0.0, 0.05);
    const double period = 1.0 / defectHz;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kFs;
        const double sinceImpact = std::fmod(t, period);
        x[i] = std::exp(-sinceImpact / 0.0008) * std::cos(2 * kPi * 3000.0 * sinceImpact) + noise(generator);
    }
    return x;
}

std::vector<double> ModulatedTone(std::size_t n, double carrierHz, double amplitude, double depth,
                                  double modulationHz) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kFs;
        x[i] = amplitude * (1.0 + depth * std::cos(2 * kPi * modulationHz * t)) *
               std::sin(2 * kPi * carrierHz * t);
    }
    return x;
}

std::size_t LargestLine(const std::vector<double>& lines, std::size_t from = 1) {
    return static_cast<std::size_t>(std::max_element(lines.begin() + static_cast<long>(from), lines.end()) -
                                    lines.begin());
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

TEST(EnvelopeSpectrum, OuterRaceFaultStandsOutOnlyInTheEnvelope) {
    const double defect = 107.3;
    const std::vector<double> x = OuterRaceFault(16384, defect);
    EnvelopeAnalyzer analyzer;
    EnvelopeSpectrum envelope;
    ASSERT_EQ(analyzer.Compute(x, kFs, kFmax, 0, DefaultEnvelopeBand(kFmax), envelope),
              EnvelopeRefusal::None);
    const double spacing = kFs / 16384;
    EXPECT_DOUBLE_EQ(envelope.lineSpacingHz, spacing);

    const std::size_t largest = LargestLine(envelope.lines);
    EXPECT_LE(std::abs(envelope.FrequencyOf(largest) - defect), spacing) << envelope.FrequencyOf(largest);
    const double floor = Median(envelope.lines);
    for (const int harmonic : {2, 3}) {
        SCOPED_TRACE(harmonic);
        const auto line = static_cast<std::size_t>(std::lround(harmonic * defect / spacing));
        const double there = *std::max_element(envelope.lines.begin() + static_cast<long>(line - 1),
                                               envelope.lines.begin() + static_cast<long>(line + 2));
        EXPECT_GT(there, 10 * floor);
    }
    EXPECT_GT(envelope.lines[largest], 20 * floor);

    // The plain spectrum has its energy around the resonance and nothing to speak of at the defect
    // frequency.
    SignalProcessor processor;
    std::vector<double> plain;
    ASSERT_TRUE(processor.ComputeSpectrum(x, plain, kFs));
    const std::size_t plainLargest = LargestLine(plain);
    EXPECT_NEAR(static_cast<double>(plainLargest) * spacing, 3000.0, 300.0);
    const auto defectLine = static_cast<std::size_t>(std::lround(defect / spacing));
    const double atDefect = *std::max_element(plain.begin() + static_cast<long>(defectLine - 1),
                                              plain.begin() + static_cast<long>(defectLine + 2));
    EXPECT_LT(atDefect, 0.05 * plain[plainLargest]);
}

TEST(EnvelopeSpectrum, ModulatedToneShowsItsDepthInGe) {
    struct Case {
        double amplitude;
        double depth;
        double modulationHz;
        std::size_t samples;
    };
    // Carrier and modulation on exact lines (spacing 12800 / N).
    for (const Case& c : {Case{1.0, 0.5, 50.0, 8192}, Case{2.0, 0.2, 100.0, 8192}, Case{0.5, 0.8, 25.0, 2048},
                          Case{1.5, 0.3, 200.0, 131072}}) {
        SCOPED_TRACE(c.samples);
        SCOPED_TRACE(c.modulationHz);
        const std::vector<double> x = ModulatedTone(c.samples, 2000.0, c.amplitude, c.depth, c.modulationHz);
        EnvelopeAnalyzer analyzer;
        EnvelopeSpectrum envelope;
        ASSERT_EQ(analyzer.Compute(x, kFs, kFmax, 0, DefaultEnvelopeBand(kFmax), envelope),
                  EnvelopeRefusal::None);
        const std::size_t line = LargestLine(envelope.lines);
        EXPECT_DOUBLE_EQ(envelope.FrequencyOf(line), c.modulationHz);
        EXPECT_NEAR(envelope.lines[line], c.amplitude * c.depth, 0.02 * c.amplitude * c.depth);
        // The envelope A(1 + m cos) less its mean is a cosine of amplitude A·m: RMS A·m/√2.
        EXPECT_NEAR(envelope.overallGe, c.amplitude * c.depth / std::sqrt(2.0), 0.02 * c.amplitude * c.depth);
    }
}

TEST(EnvelopeSpectrum, LinesRunToHalfTheBandsLowEdge) {
    const std::vector<double> x = ModulatedTone(8192, 2000.0, 1.0, 0.5, 50.0);
    EnvelopeAnalyzer analyzer;
    EnvelopeSpectrum envelope;
    ASSERT_EQ(analyzer.Compute(x, kFs, kFmax, 0, DefaultEnvelopeBand(kFmax), envelope),
              EnvelopeRefusal::None);
    EXPECT_EQ(envelope.band, (EnvelopeBand{1250.0, 5000.0}));
    EXPECT_FALSE(envelope.highClipped);
    ASSERT_EQ(envelope.lines.size(), 401U); // 0 .. 625 Hz at 1.5625 Hz
    EXPECT_DOUBLE_EQ(envelope.FrequencyOf(400), 625.0);

    // A band reaching past Fmax is clipped, and the result says so.
    ASSERT_EQ(analyzer.Compute(x, kFs, kFmax, 0, {1500.0, 7000.0}, envelope), EnvelopeRefusal::None);
    EXPECT_TRUE(envelope.highClipped);
    EXPECT_EQ(envelope.requested, (EnvelopeBand{1500.0, 7000.0}));
    EXPECT_EQ(envelope.band, (EnvelopeBand{1500.0, kFmax}));
    EXPECT_EQ(envelope.lines.size(), 481U); // 0 .. 750 Hz
    EXPECT_NEAR(envelope.lines[32], 0.5, 0.01);
}

TEST(EnvelopeSpectrum, RefusesInvalidBandsAndCaptures) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double spacing = kFs / 8192;
    struct Case {
        EnvelopeBand band;
        EnvelopeRefusal refusal;
    };
    const std::vector<Case> cases = {
        {{0.0, 1000.0}, EnvelopeRefusal::LowNotPositive},
        {{-10.0, 1000.0}, EnvelopeRefusal::LowNotPositive},
        {{nan, 1000.0}, EnvelopeRefusal::LowNotPositive},
        {{2000.0, 1000.0}, EnvelopeRefusal::LowNotBelowHigh},
        {{1000.0, 1000.0}, EnvelopeRefusal::LowNotBelowHigh},
        {{1000.0, nan}, EnvelopeRefusal::LowNotBelowHigh},
        {{6000.0, 7000.0}, EnvelopeRefusal::LowNotBelowHigh}, // clipped to 5000 Hz, below its low edge
        {{1000.0, 1000.0 + 1.9 * spacing}, EnvelopeRefusal::BandTooNarrow},
        {{1000.0, 1000.0 + 2.0 * spacing}, EnvelopeRefusal::None},
    };
    const std::vector<double> x = ModulatedTone(8192, 2000.0, 1.0, 0.5, 50.0);
    EnvelopeAnalyzer analyzer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.band.lowHz);
        SCOPED_TRACE(c.band.highHz);
        EXPECT_EQ(CheckEnvelopeBand(c.band, kFmax, spacing).refusal, c.refusal);
        EnvelopeSpectrum envelope;
        envelope.lines.assign(3, 1.0);
        EXPECT_EQ(analyzer.Compute(x, kFs, kFmax, 0, c.band, envelope), c.refusal);
        EXPECT_EQ(envelope.lines.empty(), c.refusal != EnvelopeRefusal::None);
        if (c.refusal != EnvelopeRefusal::None) {
            EXPECT_FALSE(EnvelopeRefusalText(c.refusal).isEmpty());
        }
    }

    EnvelopeSpectrum envelope;
    const std::vector<double> shortCapture(128, 0.0);
    EXPECT_EQ(analyzer.Compute(shortCapture, kFs, kFmax, 0, DefaultEnvelopeBand(kFmax), envelope),
              EnvelopeRefusal::CaptureTooShort);
    std::vector<double> broken = x;
    broken[100] = nan;
    EXPECT_EQ(analyzer.Compute(broken, kFs, kFmax, 0, DefaultEnvelopeBand(kFmax), envelope),
              EnvelopeRefusal::CaptureNotFinite);
    EXPECT_TRUE(envelope.lines.empty());
    EXPECT_EQ(analyzer.Compute(x, 0.0, kFmax, 0, DefaultEnvelopeBand(kFmax), envelope),
              EnvelopeRefusal::CaptureNotFinite);
}

} // namespace
} // namespace vantor
