#pragma once
// The arithmetic of the spectrum transform: a real waveform of N samples to its N/2 RMS lines,
// through an N/2-point complex Stockham transform and a split fused with the amplitudes. The
// tables and work buffers belong to the caller (SignalProcessor); this module only computes.

#include <cstddef>

namespace vantor::spectrum {

// Which machine code runs the arithmetic. Both follow the same algorithm; the AVX2 copy uses
// 4-wide vectors and fused multiply-adds, so the two differ in the last bits of their rounding.
// Each stays within 1e-13 of the largest line of the straightforward radix-2 transform.
enum class Kernels {
    Portable, // baseline x86-64 (SSE2) or the target's own baseline
    Avx2Fma,  // AVX2 with FMA
};

// Whether this processor runs `kernels`.
bool Available(Kernels kernels);
// The fastest copy this processor runs.
Kernels Fastest();

// Twiddles of the radix-4 stages of an h-point transform, h = N/2 a power of two ≥ 4: for the
// stages of length L = h, h/4, ... ≥ 4, one block each of 6·(L/4) values: cos and −sin of
// 2πp/L, of 2·2πp/L and of 3·2πp/L for p = 0 .. L/4 − 1 (six rows of L/4).
std::size_t StageTwiddleCount(std::size_t half);
void FillStageTwiddles(std::size_t half, double pi, double* twiddles);

struct Job {
    const double* waveform = nullptr; // N samples
    std::size_t n = 0;                // a power of two, 2 .. 2^20
    // Two work buffers of N/2 complex values (real and imaginary parts apart).
    double* re[2] = {nullptr, nullptr};
    double* im[2] = {nullptr, nullptr};
    const double* stageTwiddles = nullptr; // FillStageTwiddles(N/2)
    // cos(2πk/N) and −sin(2πk/N), k = 0 .. N/2 − 1: the split's twiddles.
    const double* splitCos = nullptr;
    const double* splitSin = nullptr;
    double* lines = nullptr; // N/2 results
    // With `velocity` line k ≥ 1 is divided by k and multiplied by `velocityFactor`
    // (9810·N / (2π·fs)), and line 0 becomes 0; without, the lines stay in g RMS.
    bool velocity = false;
    double velocityFactor = 0.0;
};

// Fills job.lines with the N/2 RMS lines of the waveform (√2·|X_k|/N, line 0 |X_0|/N).
void Run(const Job& job, Kernels kernels);

} // namespace vantor::spectrum
