// The spectrum transform against the documented algorithm written out step by step, against a
// plain DFT, and on signals whose spectra are known exactly.
#include "analysis/SignalProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

namespace vantor {
namespace {

const double kPi = std::atan2(0.0, -1.0);

// The transform as documented: reorder by successive even/odd splitting, a first stage of sums and
// differences, then butterflies with twiddles built per stage, then the RMS scaling.
std::vector<double> DocumentedSpectrum(const std::vector<double>& waveform, double fs, bool velocity) {
    const std::size_t n = waveform.size();
    std::size_t m = 0;
    while ((std::size_t{1} << m) < n) {
        ++m;
    }
    std::vector<double> re = waveform;
    std::vector<double> im(n, 0.0);
    for (std::size_t s = 1; s <= m; ++s) {
        const std::size_t h = n >> s;
        const std::vector<double> copy = re;
        for (std::size_t block = 0; block < n; block += 2 * h) {
            for (std::size_t i = 0; i < h; ++i) {
                re[block + i] = copy[block + 2 * i];
                re[block + h + i] = copy[block + 2 * i + 1];
            }
        }
        std::fill(im.begin(), im.end(), 0.0);
    }
    for (std::size_t i = 0; i < n; i += 2) {
        const double a = re[i];
        const double b = re[i + 1];
        re[i] = a + b;
        re[i + 1] = a - b;
    }
    std::vector<double> cosines;
    std::vector<double> sines;
    for (std::size_t s = 2; s <= m; ++s) {
        const std::size_t span = std::size_t{1} << s;
        for (std::size_t k = 0; k < span / 2; ++k) {
            cosines.push_back(std::cos(2.0 * kPi * static_cast<double>(k) / static_cast<double>(span)));
            sines.push_back(-std::sin(2.0 * kPi * static_cast<double>(k) / static_cast<double>(span)));
        }
    }
    std::size_t offset = 0;
    for (std::size_t s = 2; s <= m; ++s) {
        const std::size_t span = std::size_t{1} << s;
        const std::size_t d = span / 2;
        for (std::size_t block = 0; block < n; block += span) {
            for (std::size_t k = 0; k < d; ++k) {
                const std::size_t j = block + k;
                const double wr = cosines[offset + k];
                const double wi = sines[offset + k];
                const double tr = re[j + d] * wr - im[j + d] * wi;
                const double ti = re[j + d] * wi + im[j + d] * wr;
                re[j + d] = re[j] - tr;
                im[j + d] = im[j] - ti;
                re[j] = re[j] + tr;
                im[j] = im[j] + ti;
            }
        }
        offset += d;
    }
    std::vector<double> spectrum(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        const double r = re[k] / static_cast<double>(n);
        const double i = im[k] / static_cast<double>(n);
        const double p = r * r + i * i;
        spectrum[k] = k == 0 ? std::sqrt(std::fabs(p)) : std::sqrt(std::fabs(p * 4 * 0.5));
        if (velocity) {
            spectrum[k] = k == 0 ? 0.0
                                 : spectrum[k] * 9810.0 /
                                       (2.0 * kPi * static_cast<double>(k) * fs / static_cast<double>(n));
        }
    }
    return spectrum;
}

// √2·|X_k|/N from the definition of the DFT.
std::vector<double> PlainDftSpectrum(const std::vector<double>& waveform) {
    const std::size_t n = waveform.size();
    std::vector<double> spectrum(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        std::complex<double> sum = 0.0;
        for (std::size_t t = 0; t < n; ++t) {
            sum += waveform[t] * std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>(k * t % n) /
                                                     static_cast<double>(n));
        }
        spectrum[k] = std::abs(sum) / static_cast<double>(n) * (k == 0 ? 1.0 : std::sqrt(2.0));
    }
    return spectrum;
}

std::vector<double> RandomWaveform(std::size_t n, unsigned seed) {
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0.1, 1.5);
    std::vector<double> waveform(n);
    for (double& x : waveform) {
        x = noise(generator);
    }
    return waveform;
}

// The documented tolerance between the transform and the documented algorithm: every line within
// 1e-13 of the reference's largest line. Returns the first line outside it, or -1.
long FirstLineOutsideTolerance(const std::vector<double>& actual, const std::vector<double>& reference) {
    if (actual.size() != reference.size()) {
        return 0;
    }
    const double largest = *std::max_element(reference.begin(), reference.end());
    for (std::size_t k = 0; k < actual.size(); ++k) {
        if (!(std::fabs(actual[k] - reference[k]) <= 1e-13 * largest)) {
            return static_cast<long>(k);
        }
    }
    return -1;
}

// Every copy of the machine code this processor runs (they differ in rounding, not in algorithm).
std::vector<spectrum::Kernels> AvailableKernels() {
    std::vector<spectrum::Kernels> kernels;
    for (const spectrum::Kernels k : {spectrum::Kernels::Portable, spectrum::Kernels::Avx2Fma}) {
        if (spectrum::Available(k)) {
            kernels.push_back(k);
        }
    }
    return kernels;
}

// The transform is restructured for speed (a half-length complex transform in radix-4/16 Stockham
// passes, the split fused with the amplitudes, vector copies with fused multiply-adds); at every
// length and in every copy its lines must stay within the tolerance of the documented algorithm.
TEST(SpectrumTest, EveryCopyMatchesTheDocumentedAlgorithmAtEveryLength) {
    ASSERT_TRUE(spectrum::Available(spectrum::Fastest()));
    EXPECT_EQ(SignalProcessor().UsedKernels(), spectrum::Fastest());
    std::vector<double> spectrum;
    for (std::size_t n = 2; n <= SignalProcessor::kMaxLength; n *= 2) {
        const std::vector<double> waveform = RandomWaveform(n, static_cast<unsigned>(n));
        for (const bool velocity : {false, true}) {
            const std::vector<double> expected = DocumentedSpectrum(waveform, 2560.0, velocity);
            for (const spectrum::Kernels kernels : AvailableKernels()) {
                SignalProcessor processor;
                processor.UseKernels(kernels);
                ASSERT_TRUE(processor.ComputeSpectrum(waveform, spectrum, 2560.0, SpectrumWindow::Rectangular,
                                                      false, velocity));
                ASSERT_EQ(FirstLineOutsideTolerance(spectrum, expected), -1)
                    << "N " << n << " velocity " << velocity << " kernels " << static_cast<int>(kernels);
            }
        }
    }
}

// The tolerance is tight enough to see a fault: a waveform changed by a few parts in 10^12 of its
// size at one sample, or a spectrum with one line off, falls outside it.
TEST(SpectrumTest, TheToleranceSeesASmallFault) {
    SignalProcessor processor;
    std::vector<double> spectrum;
    for (const std::size_t n : {64u, 4096u}) {
        std::vector<double> waveform = RandomWaveform(n, 3u);
        const std::vector<double> expected = DocumentedSpectrum(waveform, 1000.0, false);
        ASSERT_TRUE(processor.ComputeSpectrum(waveform, spectrum, 1000.0));
        EXPECT_EQ(FirstLineOutsideTolerance(spectrum, expected), -1) << n;
        std::vector<double> shifted = spectrum;
        shifted[n / 8] += 2e-13 * *std::max_element(expected.begin(), expected.end());
        EXPECT_EQ(FirstLineOutsideTolerance(shifted, expected), static_cast<long>(n / 8)) << n;
        waveform[n / 3] += 5e-12 * static_cast<double>(n);
        ASSERT_TRUE(processor.ComputeSpectrum(waveform, spectrum, 1000.0));
        EXPECT_NE(FirstLineOutsideTolerance(spectrum, expected), -1) << n;
    }
}

TEST(SpectrumTest, AgreesWithAPlainDftOnRandomData) {
    SignalProcessor processor;
    std::vector<double> spectrum;
    for (const std::size_t n : {8u, 256u, 2048u}) {
        const std::vector<double> waveform = RandomWaveform(n, 7u + static_cast<unsigned>(n));
        ASSERT_TRUE(processor.ComputeSpectrum(waveform, spectrum, 1000.0));
        const std::vector<double> reference = PlainDftSpectrum(waveform);
        for (std::size_t k = 0; k < n / 2; ++k) {
            EXPECT_NEAR(spectrum[k], reference[k], 1e-10) << "N " << n << " line " << k;
        }
    }
}

TEST(SpectrumTest, SineAtALineGivesItsRmsThereAndNothingElsewhere) {
    constexpr std::size_t n = 2048;
    constexpr double fs = 2560.0;
    constexpr std::size_t line = 100; // 125 Hz
    constexpr double amplitude = 2.0;
    std::vector<double> waveform(n);
    for (std::size_t t = 0; t < n; ++t) {
        waveform[t] = amplitude * std::sin(2.0 * std::numbers::pi * static_cast<double>(line * t) / n);
    }
    SignalProcessor processor;
    std::vector<double> acceleration;
    std::vector<double> velocity;
    ASSERT_TRUE(processor.ComputeSpectrum(waveform, acceleration, fs));
    ASSERT_TRUE(processor.ComputeSpectrum(waveform, velocity, fs, SpectrumWindow::Rectangular, false, true));
    const double rms = amplitude / std::sqrt(2.0);
    const double lineHz = static_cast<double>(line) * fs / n;
    EXPECT_NEAR(acceleration[line], rms, 1e-12);
    EXPECT_NEAR(velocity[line], rms * 9810.0 / (2.0 * std::numbers::pi * lineHz), 1e-9);
    EXPECT_NEAR(velocity[line], 17.6642, 1e-4); // 1.4142 g RMS at 125 Hz in mm/s
    for (std::size_t k = 0; k < n / 2; ++k) {
        if (k != line) {
            ASSERT_LT(acceleration[k], 1e-12) << k;
            ASSERT_LT(velocity[k], 1e-9) << k;
        }
    }
}

TEST(SpectrumTest, ConstantHasOnlyLineZeroWhichVelocityClears) {
    const std::vector<double> waveform(512, -0.75);
    SignalProcessor processor;
    std::vector<double> spectrum;
    ASSERT_TRUE(processor.ComputeSpectrum(waveform, spectrum, 1000.0));
    EXPECT_DOUBLE_EQ(spectrum[0], 0.75);
    for (std::size_t k = 1; k < spectrum.size(); ++k) {
        ASSERT_EQ(spectrum[k], 0.0) << k;
    }
    ASSERT_TRUE(
        processor.ComputeSpectrum(waveform, spectrum, 1000.0, SpectrumWindow::Rectangular, false, true));
    EXPECT_EQ(spectrum[0], 0.0);
}

TEST(SpectrumTest, RefusesLengthsThatAreNotPowersOfTwoWithinTheBuffers) {
    SignalProcessor processor;
    std::vector<double> spectrum(5, 1.0);
    for (const std::size_t n : {0u, 1u, 3u, 1000u, 2047u, 262144u}) {
        EXPECT_FALSE(processor.ComputeSpectrum(std::vector<double>(n, 1.0), spectrum, 1000.0)) << n;
        EXPECT_TRUE(spectrum.empty()) << n;
    }
    EXPECT_TRUE(
        processor.ComputeSpectrum(std::vector<double>(SignalProcessor::kMaxLength, 1.0), spectrum, 1.0));
    EXPECT_EQ(spectrum.size(), SignalProcessor::kMaxLength / 2);
}

TEST(SpectrumTest, ChangingLengthRebuildsTheTables) {
    const std::vector<double> shortWave = RandomWaveform(256, 1);
    const std::vector<double> longWave = RandomWaveform(1024, 2);
    SignalProcessor shared;
    std::vector<double> first;
    std::vector<double> between;
    std::vector<double> again;
    ASSERT_TRUE(shared.ComputeSpectrum(shortWave, first, 100.0));
    ASSERT_TRUE(shared.ComputeSpectrum(longWave, between, 100.0));
    ASSERT_TRUE(shared.ComputeSpectrum(shortWave, again, 100.0));
    EXPECT_EQ(first, again);
    SignalProcessor fresh;
    std::vector<double> expected;
    ASSERT_TRUE(fresh.ComputeSpectrum(longWave, expected, 100.0));
    EXPECT_EQ(between, expected);
    // The shortest lengths use nothing left behind by longer ones.
    for (const std::size_t n : {2u, 4u, 8u}) {
        std::vector<double> tiny(n);
        for (std::size_t t = 0; t < n; ++t) {
            tiny[t] = static_cast<double>(t + 1) * (t % 2 == 0 ? 1.0 : -0.5);
        }
        ASSERT_TRUE(shared.ComputeSpectrum(tiny, again, 100.0));
        const std::vector<double> reference = PlainDftSpectrum(tiny);
        for (std::size_t k = 0; k < n / 2; ++k) {
            EXPECT_NEAR(again[k], reference[k], 1e-12) << "N " << n << " line " << k;
        }
    }
}

} // namespace
} // namespace vantor
