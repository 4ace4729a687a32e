// ComputeSpectrum beside FFTW's real-to-complex transform of the same waveform. Both sides produce
// their full result each iteration; FFTW's plan is made once (FFTW_MEASURE) outside the timing.
#include "analysis/SignalProcessor.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

std::vector<double> Waveform(std::size_t n) {
    std::mt19937 generator(42);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<double> waveform(n);
    for (std::size_t i = 0; i < n; ++i) {
        waveform[i] = std::sin(0.01 * static_cast<double>(i)) + 0.1 * noise(generator);
    }
    return waveform;
}

void BM_ComputeSpectrum(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<double> waveform = Waveform(n);
    vantor::SignalProcessor processor;
    std::vector<double> spectrum;
    for (auto _ : state) {
        processor.ComputeSpectrum(waveform, spectrum, 2560.0);
        benchmark::DoNotOptimize(spectrum.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

void BM_FftwRealToComplex(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    const std::vector<double> waveform = Waveform(static_cast<std::size_t>(n));
    struct FftwFree {
        void operator()(void* p) const { fftw_free(p); }
    };
    std::unique_ptr<double, FftwFree> in(fftw_alloc_real(static_cast<std::size_t>(n)));
    std::unique_ptr<fftw_complex, FftwFree> out(fftw_alloc_complex(static_cast<std::size_t>(n / 2 + 1)));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.get(), out.get(), FFTW_MEASURE);
    for (auto _ : state) {
        std::copy(waveform.begin(), waveform.end(), in.get());
        fftw_execute(plan);
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    state.SetItemsProcessed(state.iterations() * n);
}

} // namespace

// Every power of two a reading's waveform takes, 2,048 to 131,072 samples.
BENCHMARK(BM_ComputeSpectrum)->RangeMultiplier(2)->Range(2048, 131072);
BENCHMARK(BM_FftwRealToComplex)->RangeMultiplier(2)->Range(2048, 131072);
