// Waveform indices against closed forms of simple signals and against the textbook two-pass
// moments of the same samples.
#include "analysis/WaveformIndices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

namespace vantor {
namespace {

std::vector<double> Sine(double amplitude, double offset, int periods, int perPeriod) {
    std::vector<double> x(static_cast<std::size_t>(periods * perPeriod));
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = offset + amplitude * std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / perPeriod);
    }
    return x;
}

std::vector<double> Square(double amplitude, std::size_t n) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = (i / 16) % 2 == 0 ? amplitude : -amplitude;
    }
    return x;
}

struct Expected {
    const char* name;
    std::vector<double> samples;
    double rms;
    double peak;
    double peakToPeak;
    std::optional<double> crest;
    std::optional<double> kurtosis;
    std::optional<double> skewness;
};

TEST(WaveformIndices, MatchClosedForms) {
    const double a = 2.5;
    const std::vector<Expected> cases = {
        {"sine", Sine(a, 0.0, 16, 128), a / std::sqrt(2.0), a, 2 * a, std::sqrt(2.0), 1.5, 0.0},
        // A large offset against the spread: the moments about the mean must not cancel away.
        {"offset sine", Sine(a, 1.0e4, 16, 128), std::sqrt(1.0e8 + a * a / 2), 1.0e4 + a, 2 * a,
         (1.0e4 + a) / std::sqrt(1.0e8 + a * a / 2), 1.5, 0.0},
        {"square", Square(a, 1024), a, a, 2 * a, 1.0, 1.0, 0.0},
        // One impact in four samples: mean 1/4, m2 = 3/16, m3 = 3/32, m4 = 21/256.
        {"impact",
         {0, 0, 0, 1},
         0.5,
         1.0,
         1.0,
         2.0,
         (21.0 / 256) / (9.0 / 256),
         (3.0 / 32) / std::pow(3.0 / 16, 1.5)},
        {"constant", std::vector<double>(64, -3.0), 3.0, 3.0, 0.0, 1.0, std::nullopt, std::nullopt},
        {"silent", std::vector<double>(64, 0.0), 0.0, 0.0, 0.0, std::nullopt, std::nullopt, std::nullopt},
    };
    const auto near = [](const std::optional<double>& got, const std::optional<double>& want) {
        return got.has_value() == want.has_value() &&
               (!want || std::abs(*got - *want) <= 1e-9 * std::max(1.0, std::abs(*want)));
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<WaveformIndices> got = ComputeWaveformIndices(c.samples);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(got->sampleCount, c.samples.size());
        EXPECT_NEAR(got->rms, c.rms, 1e-9 * std::max(1.0, c.rms));
        EXPECT_DOUBLE_EQ(got->peak, c.peak);
        EXPECT_NEAR(got->peakToPeak, c.peakToPeak, 1e-9);
        EXPECT_TRUE(near(got->crest, c.crest)) << got->crest.value_or(-1);
        // The offset case loses digits to the offset's size (1e4 against 2.5): allow for it there.
        const double tolerance = c.samples[0] > 100 ? 1e-6 : 1e-9;
        EXPECT_EQ(got->kurtosis.has_value(), c.kurtosis.has_value());
        if (got->kurtosis && c.kurtosis) {
            EXPECT_NEAR(*got->kurtosis, *c.kurtosis, tolerance);
            EXPECT_NEAR(*got->skewness, *c.skewness, tolerance);
        }
    }
}

TEST(WaveformIndices, GaussianNoiseHasKurtosisThreeAsTheTextbookFormulaGives) {
    std::mt19937 generator(7);
    std::normal_distribution<double> noise(0.2, 1.3);
    std::vector<double> x(2048);
    for (double& v : x) {
        v = noise(generator);
    }
    // Two passes: the mean, then the central moments (m_k = Σ(x − x̄)^k / N).
    double mean = 0;
    for (const double v : x) {
        mean += v;
    }
    mean /= static_cast<double>(x.size());
    double m2 = 0;
    double m3 = 0;
    double m4 = 0;
    for (const double v : x) {
        const double d = v - mean;
        m2 += d * d;
        m3 += d * d * d;
        m4 += d * d * d * d;
    }
    m2 /= static_cast<double>(x.size());
    m3 /= static_cast<double>(x.size());
    m4 /= static_cast<double>(x.size());

    const std::optional<WaveformIndices> got = ComputeWaveformIndices(x);
    ASSERT_TRUE(got && got->kurtosis && got->skewness);
    EXPECT_NEAR(*got->kurtosis, 3.0, 0.15);
    EXPECT_NEAR(*got->kurtosis, m4 / (m2 * m2), 1e-10);
    EXPECT_NEAR(*got->skewness, m3 / std::pow(m2, 1.5), 1e-10);
}

TEST(WaveformIndices, RefusesTooFewOrNonFiniteSamples) {
    EXPECT_FALSE(ComputeWaveformIndices(std::vector<double>{}));
    EXPECT_FALSE(ComputeWaveformIndices(std::vector<double>{1.0}));
    EXPECT_FALSE(
        ComputeWaveformIndices(std::vector<double>{1.0, std::numeric_limits<double>::quiet_NaN(), 2.0}));
    EXPECT_FALSE(ComputeWaveformIndices(std::vector<double>{1.0, std::numeric_limits<double>::infinity()}));
}

} // namespace
} // namespace vantor
