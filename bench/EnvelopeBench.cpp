// The envelope spectrum beside a reference of the same steps written directly on FFTW (complex
// transforms throughout, plans measured once outside the timing), and the one-pass waveform indices
// beside the textbook two-pass moments of the same samples.
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/WaveformIndices.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kFs = 12800.0;
constexpr double kFmax = kFs / 2.56;

// Impacts at 107.3 Hz ringing a 3 kHz resonance, in noise.
std::vector<double> BearingCapture(std::size_t n) {
    std::mt19937 generator(42);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kFs;
        const double since = std::fmod(t, 1.0 / 107.3);
        x[i] = std::exp(-since / 0.0008) * std::cos(2 * std::numbers::pi * 3000.0 * since) + noise(generator);
    }
    return x;
}

void BM_EnvelopeSpectrum(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<double> waveform = BearingCapture(n);
    vantor::EnvelopeAnalyzer analyzer;
    vantor::EnvelopeSpectrum spectrum;
    for (auto _ : state) {
        analyzer.Compute(waveform, kFs, kFmax, 0.0, vantor::DefaultEnvelopeBand(kFmax), spectrum);
        benchmark::DoNotOptimize(spectrum.lines.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// The same steps on complex transforms: spectrum of the waveform, band kept and doubled (analytic
// signal), inverse, magnitude, mean removed, Hann window, spectrum, peak amplitudes.
void BM_FftwEnvelopeReference(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const int length = static_cast<int>(n);
    const std::vector<double> waveform = BearingCapture(n);
    std::unique_ptr<fftw_complex, FftwFree> a(fftw_alloc_complex(n));
    std::unique_ptr<fftw_complex, FftwFree> b(fftw_alloc_complex(n));
    const fftw_plan forward = fftw_plan_dft_1d(length, a.get(), b.get(), FFTW_FORWARD, FFTW_MEASURE);
    const fftw_plan backward = fftw_plan_dft_1d(length, b.get(), a.get(), FFTW_BACKWARD, FFTW_MEASURE);
    const double spacing = kFs / static_cast<double>(n);
    const auto first = static_cast<std::size_t>(std::ceil(kFmax / 4 / spacing));
    const auto last = static_cast<std::size_t>(std::floor(kFmax / spacing));
    const std::size_t lines = static_cast<std::size_t>(kFmax / 8 / spacing) + 1;
    std::vector<double> out(lines);
    for (auto _ : state) {
        for (std::size_t i = 0; i < n; ++i) {
            a.get()[i][0] = waveform[i];
            a.get()[i][1] = 0.0;
        }
        fftw_execute(forward);
        for (std::size_t k = 0; k < n; ++k) {
            const double gain = k >= first && k <= last ? 2.0 : 0.0;
            b.get()[k][0] *= gain;
            b.get()[k][1] *= gain;
        }
        fftw_execute(backward);
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double e = std::hypot(a.get()[i][0], a.get()[i][1]) / static_cast<double>(n);
            a.get()[i][0] = e;
            sum += e;
        }
        const double mean = sum / static_cast<double>(n);
        for (std::size_t i = 0; i < n; ++i) {
            const double w =
                0.5 *
                (1.0 - std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n)));
            a.get()[i][0] = (a.get()[i][0] - mean) * w;
            a.get()[i][1] = 0.0;
        }
        fftw_execute(forward);
        for (std::size_t k = 0; k < lines; ++k) {
            out[k] = 4.0 * std::hypot(b.get()[k][0], b.get()[k][1]) / static_cast<double>(n);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(forward);
    fftw_destroy_plan(backward);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

void BM_WaveformIndices(benchmark::State& state) {
    const std::vector<double> waveform = BearingCapture(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantor::ComputeWaveformIndices(waveform));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The textbook way: the mean first, then the central moments and the extremes in a second pass.
void BM_TwoPassMomentsReference(benchmark::State& state) {
    const std::vector<double> x = BearingCapture(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        double mean = 0;
        for (const double v : x) {
            mean += v;
        }
        mean /= static_cast<double>(x.size());
        double m2 = 0, m3 = 0, m4 = 0, squares = 0, low = x[0], high = x[0];
        for (const double v : x) {
            const double d = v - mean;
            m2 += d * d;
            m3 += d * d * d;
            m4 += d * d * d * d;
            squares += v * v;
            low = std::min(low, v);
            high = std::max(high, v);
        }
        const double count = static_cast<double>(x.size());
        m2 /= count;
        benchmark::DoNotOptimize(m4 / count / (m2 * m2));
        benchmark::DoNotOptimize(m3 / count / std::pow(m2, 1.5));
        benchmark::DoNotOptimize(std::sqrt(squares / count));
        benchmark::DoNotOptimize(high - low);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_EnvelopeSpectrum)->Arg(2048)->Arg(131072)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftwEnvelopeReference)->Arg(2048)->Arg(131072)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WaveformIndices)->Arg(131072)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoPassMomentsReference)->Arg(131072)->Unit(benchmark::kMicrosecond);
