#include "analysis/SpectrumKernels.h"

#include <cmath>

// The N-point transform of a real waveform is taken as an N/2-point complex transform of
// z[p] = x[2p] + i·x[2p+1], split afterwards into the transforms of the even and odd samples
// (Brigham, "The Fast Fourier Transform and Its Applications", 1988, §9.3; Sorensen, Jones,
// Heideman & Burrus, "Real-valued fast Fourier transform algorithms", IEEE Trans. ASSP 35(6), 1987).
//
// The complex transform is Stockham's autosort radix-4 decimation in frequency (Van Loan,
// "Computational Frameworks for the Fast Fourier Transform", SIAM 1992, §1.7 and §2.3; Swarztrauber,
// "FFT algorithms for vector computers", Parallel Computing 1, 1984): every stage reads one buffer
// and writes the other so that the result comes out in natural order with no bit-reversal pass,
// and the innermost loop of every stage after the first runs over contiguous entries. A length
// 4^k·2 ends with one radix-2 stage, taken as the split reads its input. The first stage reads the samples
// straight from the waveform, and the split computes each line's amplitude as it goes, so the data is read
// once per stage.

#if defined(__x86_64__) || defined(__i386__)
#define VANTOR_SPECTRUM_X86 1
#define VANTOR_AVX2_FMA [[gnu::target("avx2,fma")]]
#else
#define VANTOR_SPECTRUM_X86 0
#define VANTOR_AVX2_FMA
#endif

namespace vantor::spectrum {
namespace {

// Four doubles, one AVX register (two SSE2 registers in the portable copy), loaded and stored at
// any alignment.
using V4 = double __attribute__((vector_size(32)));

[[gnu::always_inline]] inline V4 Load(const double* p) {
    V4 v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}
[[gnu::always_inline]] inline void Store(double* p, V4 v) {
    __builtin_memcpy(p, &v, sizeof v);
}
[[gnu::always_inline]] inline V4 Broadcast(double x) {
    return V4{x, x, x, x};
}

// One radix-4 butterfly on T = double or V4 (four butterflies side by side): the 4-point DFT of
// a, b, c, d (W_4 = −i), its outputs 1..3 turned by w1, w2, w3 (given as cos and −sin).
template <typename T> struct Quad {
    T r[4];
    T i[4];
};
template <typename T>
[[gnu::always_inline]] inline Quad<T> Butterfly4(T ar, T ai, T br, T bi, T cr, T ci, T dr, T di, T w1r, T w1i,
                                                 T w2r, T w2i, T w3r, T w3i) {
    const T t0r = ar + cr;
    const T t0i = ai + ci;
    const T t1r = ar - cr;
    const T t1i = ai - ci;
    const T t2r = br + dr;
    const T t2i = bi + di;
    const T t3r = br - dr;
    const T t3i = bi - di;
    // X0 = t0 + t2, X1 = t1 − i·t3, X2 = t0 − t2, X3 = t1 + i·t3.
    const T u1r = t1r + t3i;
    const T u1i = t1i - t3r;
    const T u2r = t0r - t2r;
    const T u2i = t0i - t2i;
    const T u3r = t1r - t3i;
    const T u3i = t1i + t3r;
    Quad<T> y;
    y.r[0] = t0r + t2r;
    y.i[0] = t0i + t2i;
    y.r[1] = u1r * w1r - u1i * w1i;
    y.i[1] = u1r * w1i + u1i * w1r;
    y.r[2] = u2r * w2r - u2i * w2i;
    y.i[2] = u2r * w2i + u2i * w2r;
    y.r[3] = u3r * w3r - u3i * w3i;
    y.i[3] = u3r * w3i + u3i * w3r;
    return y;
}

// Rows 0..3 of a 4 × 4 block become its columns.
[[gnu::always_inline]] inline void Transpose(V4& a, V4& b, V4& c, V4& d) {
    const V4 t0 = __builtin_shufflevector(a, b, 0, 4, 2, 6);
    const V4 t1 = __builtin_shufflevector(a, b, 1, 5, 3, 7);
    const V4 t2 = __builtin_shufflevector(c, d, 0, 4, 2, 6);
    const V4 t3 = __builtin_shufflevector(c, d, 1, 5, 3, 7);
    a = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
    b = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
    c = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
    d = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
}

// The real and imaginary parts of the four complex samples z[p..p+3] = x[2p] + i·x[2p+1].
[[gnu::always_inline]] inline void LoadInterleaved(const double* x, V4& re, V4& im) {
    const V4 lo = Load(x);
    const V4 hi = Load(x + 4);
    re = __builtin_shufflevector(lo, hi, 0, 2, 4, 6);
    im = __builtin_shufflevector(lo, hi, 1, 3, 5, 7);
}

// The twiddle rows of a stage of m = len/4 butterflies: w1, w2, w3 as cos and −sin.
struct StageTwiddles {
    const double* w1r;
    const double* w1i;
    const double* w2r;
    const double* w2i;
    const double* w3r;
    const double* w3i;
    StageTwiddles(const double* w, std::size_t m)
        : w1r(w), w1i(w + m), w2r(w + 2 * m), w2i(w + 3 * m), w3r(w + 4 * m), w3i(w + 5 * m) {}
};

// One butterfly's twiddles w1, w2, w3 repeated across the four lanes.
struct LaneTwiddles {
    V4 w1r, w1i, w2r, w2i, w3r, w3i;
    LaneTwiddles(const StageTwiddles& t, std::size_t p)
        : w1r(Broadcast(t.w1r[p])), w1i(Broadcast(t.w1i[p])), w2r(Broadcast(t.w2r[p])),
          w2i(Broadcast(t.w2i[p])), w3r(Broadcast(t.w3r[p])), w3i(Broadcast(t.w3i[p])) {}
};

// Four butterflies side by side on a[0..3] + k·step (k = 0..3) of the work arrays.
[[gnu::always_inline]] inline Quad<V4> LoadedButterfly(const double* ar, const double* ai, std::size_t step,
                                                       const LaneTwiddles& w) {
    return Butterfly4(Load(ar), Load(ai), Load(ar + step), Load(ai + step), Load(ar + 2 * step),
                      Load(ai + 2 * step), Load(ar + 3 * step), Load(ai + 3 * step), w.w1r, w.w1i, w.w2r,
                      w.w2i, w.w3r, w.w3i);
}

// The first radix-4 Stockham stage (stride 1) straight from the waveform's interleaved samples:
// y[4p + j] = w^{jp}·(DFT_4 of z[p + k·m], k = 0..3)_j, m = len/4. Four butterflies at a time when
// m allows, their outputs transposed into place.
[[gnu::always_inline]] inline void FirstStage(const double* __restrict x, double* __restrict yr,
                                              double* __restrict yi, const double* __restrict w,
                                              std::size_t len) {
    const std::size_t m = len / 4;
    const StageTwiddles t(w, m);
    std::size_t p = 0;
    if (m % 4 == 0) {
        for (; p < m; p += 4) {
            V4 ar, ai, br, bi, cr, ci, dr, di;
            LoadInterleaved(x + 2 * p, ar, ai);
            LoadInterleaved(x + 2 * (p + m), br, bi);
            LoadInterleaved(x + 2 * (p + 2 * m), cr, ci);
            LoadInterleaved(x + 2 * (p + 3 * m), dr, di);
            Quad<V4> q = Butterfly4(ar, ai, br, bi, cr, ci, dr, di, Load(t.w1r + p), Load(t.w1i + p),
                                    Load(t.w2r + p), Load(t.w2i + p), Load(t.w3r + p), Load(t.w3i + p));
            Transpose(q.r[0], q.r[1], q.r[2], q.r[3]);
            Transpose(q.i[0], q.i[1], q.i[2], q.i[3]);
            for (int j = 0; j < 4; ++j) {
                Store(yr + 4 * p + 4 * j, q.r[j]);
                Store(yi + 4 * p + 4 * j, q.i[j]);
            }
        }
    }
    for (; p < m; ++p) {
        const Quad<double> q =
            Butterfly4(x[2 * p], x[2 * p + 1], x[2 * (p + m)], x[2 * (p + m) + 1], x[2 * (p + 2 * m)],
                       x[2 * (p + 2 * m) + 1], x[2 * (p + 3 * m)], x[2 * (p + 3 * m) + 1], t.w1r[p], t.w1i[p],
                       t.w2r[p], t.w2i[p], t.w3r[p], t.w3i[p]);
        for (int j = 0; j < 4; ++j) {
            yr[4 * p + j] = q.r[j];
            yi[4 * p + j] = q.i[j];
        }
    }
}

// A later radix-4 Stockham stage, stride s a multiple of 4: y[q + s(4p + j)] = w^{jp}·(DFT_4 of
// x[q + s(p + k·m)], k = 0..3)_j, four values of q at a time.
[[gnu::always_inline]] inline void Radix4Stage(const double* __restrict xr, const double* __restrict xi,
                                               double* __restrict yr, double* __restrict yi,
                                               const double* __restrict w, std::size_t len, std::size_t s) {
    const std::size_t m = len / 4;
    const StageTwiddles t(w, m);
    const std::size_t sm = s * m;
    for (std::size_t p = 0; p < m; ++p) {
        const LaneTwiddles w4(t, p);
        const double* const ar = xr + s * p;
        const double* const ai = xi + s * p;
        double* const br = yr + 4 * s * p;
        double* const bi = yi + 4 * s * p;
        for (std::size_t q = 0; q < s; q += 4) {
            const Quad<V4> y = LoadedButterfly(ar + q, ai + q, sm, w4);
            for (std::size_t j = 0; j < 4; ++j) {
                Store(br + q + j * s, y.r[j]);
                Store(bi + q + j * s, y.i[j]);
            }
        }
    }
}

// Two consecutive radix-4 stages (lengths len and len/4, strides s and 4s, s a multiple of 4) in
// one pass over the data, a radix-16 step in Stockham order: the 16 values of q + s·j + 4s·(p' +
// k·len/16) (j, k = 0..3) go through the first stage's four butterflies (p = p' + k·len/16) and
// then the second stage's four (one per j), so the data is read and written once for both.
[[gnu::always_inline]] inline void Radix16Stage(const double* __restrict xr, const double* __restrict xi,
                                                double* __restrict yr, double* __restrict yi,
                                                const double* __restrict w, std::size_t len, std::size_t s) {
    const std::size_t m = len / 4;
    const std::size_t m2 = len / 16;
    const StageTwiddles ta(w, m);
    const StageTwiddles tb(w + 6 * m, m2);
    const std::size_t sm = s * m;
    for (std::size_t p2 = 0; p2 < m2; ++p2) {
        const LaneTwiddles second(tb, p2);
        double* const zr = yr + 16 * s * p2;
        double* const zi = yi + 16 * s * p2;
        for (std::size_t q = 0; q < s; q += 4) {
            Quad<V4> u[4]; // u[k]: the first stage's outputs j = 0..3 of butterfly p = p2 + k·m2
            for (std::size_t k = 0; k < 4; ++k) {
                const std::size_t p = p2 + k * m2;
                u[k] = LoadedButterfly(xr + s * p + q, xi + s * p + q, sm, LaneTwiddles(ta, p));
            }
            for (std::size_t j = 0; j < 4; ++j) {
                const Quad<V4> v = Butterfly4(u[0].r[j], u[0].i[j], u[1].r[j], u[1].i[j], u[2].r[j],
                                              u[2].i[j], u[3].r[j], u[3].i[j], second.w1r, second.w1i,
                                              second.w2r, second.w2i, second.w3r, second.w3i);
                for (std::size_t j2 = 0; j2 < 4; ++j2) {
                    Store(zr + q + s * j + 4 * s * j2, v.r[j2]);
                    Store(zi + q + s * j + 4 * s * j2, v.i[j2]);
                }
            }
        }
    }
}

// The split fused with the amplitudes. With A = Re(Z_k + Z_{h−k}), B = Im(Z_k − Z_{h−k}),
// C = Im(Z_k + Z_{h−k}), D = Re(Z_k − Z_{h−k}) and W_N^k = c + i·s, 2·X_k = (A + C·c + D·s) +
// i·(B + C·s − D·c); the RMS line √2·|X_k|/N is then √(|2·X_k|² · 0.5/N²), and with velocity it
// is further multiplied by 9810·N/(2π·fs) and divided by k.
template <bool Velocity> struct LineMaker {
    const double* __restrict wc;
    const double* __restrict ws;
    double f;
    double velocityFactor;
    [[gnu::always_inline]] double operator()(std::size_t k, double zkr, double zki, double zjr,
                                             double zji) const {
        const double a = zkr + zjr;
        const double b = zki - zji;
        const double c = zki + zji;
        const double d = zkr - zjr;
        const double ur = a + c * wc[k] + d * ws[k];
        const double ui = b + c * ws[k] - d * wc[k];
        const double amplitude = std::sqrt((ur * ur + ui * ui) * f);
        if constexpr (Velocity) {
            return amplitude * velocityFactor / static_cast<double>(k);
        } else {
            return amplitude;
        }
    }
};

// The lines from Z itself.
template <bool Velocity>
[[gnu::always_inline]] inline void SplitAmplitudes(const double* __restrict zr, const double* __restrict zi,
                                                   const LineMaker<Velocity>& line, std::size_t h,
                                                   double* __restrict lines) {
    lines[0] = Velocity ? 0.0 : std::fabs(zr[0] + zi[0]) / static_cast<double>(2 * h);
    for (std::size_t k = 1; k < h; ++k) {
        lines[k] = line(k, zr[k], zi[k], zr[h - k], zi[h - k]);
    }
}

// The lines from x, the input of a last radix-2 stage (s = h/2) that is taken on the fly instead
// of in a pass of its own: Z_k = x_k + x_{k+s} for k < s, Z_k = x_{k−s} − x_k for k ≥ s.
template <bool Velocity>
[[gnu::always_inline]] inline void
SplitAmplitudesAfterRadix2(const double* __restrict xr, const double* __restrict xi,
                           const LineMaker<Velocity>& line, std::size_t h, double* __restrict lines) {
    const std::size_t s = h / 2;
    lines[0] = Velocity ? 0.0 : std::fabs((xr[0] + xr[s]) + (xi[0] + xi[s])) / static_cast<double>(2 * h);
    // k < s, its mirror h − k > s.
    for (std::size_t k = 1; k < s; ++k) {
        lines[k] =
            line(k, xr[k] + xr[k + s], xi[k] + xi[k + s], xr[s - k] - xr[h - k], xi[s - k] - xi[h - k]);
    }
    // k = s is its own mirror.
    const double zsr = xr[0] - xr[s];
    const double zsi = xi[0] - xi[s];
    lines[s] = line(s, zsr, zsi, zsr, zsi);
    // k > s, its mirror h − k < s.
    for (std::size_t k = s + 1; k < h; ++k) {
        lines[k] = line(k, xr[k - s] - xr[k], xi[k - s] - xi[k], xr[h - k] + xr[h - k + s],
                        xi[h - k] + xi[h - k + s]);
    }
}

template <bool Velocity> [[gnu::always_inline]] inline void RunBodyOf(const Job& job) {
    const std::size_t h = job.n / 2;
    const LineMaker<Velocity> line{job.splitCos, job.splitSin,
                                   0.5 / (static_cast<double>(job.n) * static_cast<double>(job.n)),
                                   job.velocityFactor};
    if (h <= 2) {
        // One or two complex values: z itself, or its 2-point DFT.
        const double* const x = job.waveform;
        if (h == 1) {
            job.re[0][0] = x[0];
            job.im[0][0] = x[1];
        } else {
            job.re[0][0] = x[0] + x[2];
            job.im[0][0] = x[1] + x[3];
            job.re[0][1] = x[0] - x[2];
            job.im[0][1] = x[1] - x[3];
        }
        SplitAmplitudes(job.re[0], job.im[0], line, h, job.lines);
        return;
    }
    FirstStage(job.waveform, job.re[0], job.im[0], job.stageTwiddles, h);
    const double* w = job.stageTwiddles + 6 * (h / 4);
    int target = 1;
    const double* zr = job.re[0];
    const double* zi = job.im[0];
    std::size_t len = h / 4;
    std::size_t s = 4;
    for (; len >= 16; len /= 16, s *= 16) {
        Radix16Stage(zr, zi, job.re[target], job.im[target], w, len, s);
        w += 6 * (len / 4) + 6 * (len / 16);
        zr = job.re[target];
        zi = job.im[target];
        target ^= 1;
    }
    if (len >= 4) {
        Radix4Stage(zr, zi, job.re[target], job.im[target], w, len, s);
        zr = job.re[target];
        zi = job.im[target];
        len /= 4;
    }
    if (len == 2) {
        SplitAmplitudesAfterRadix2(zr, zi, line, h, job.lines);
    } else {
        SplitAmplitudes(zr, zi, line, h, job.lines);
    }
}

[[gnu::always_inline]] inline void RunBody(const Job& job) {
    if (job.velocity) {
        RunBodyOf<true>(job);
    } else {
        RunBodyOf<false>(job);
    }
}

void RunPortable(const Job& job) {
    RunBody(job);
}

#if VANTOR_SPECTRUM_X86
VANTOR_AVX2_FMA void RunAvx2Fma(const Job& job) {
    RunBody(job);
}
#endif

} // namespace

bool Available(Kernels kernels) {
    switch (kernels) {
    case Kernels::Portable:
        return true;
    case Kernels::Avx2Fma:
#if VANTOR_SPECTRUM_X86
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
        return false;
#endif
    }
    return false;
}

Kernels Fastest() {
    static const Kernels fastest = Available(Kernels::Avx2Fma) ? Kernels::Avx2Fma : Kernels::Portable;
    return fastest;
}

std::size_t StageTwiddleCount(std::size_t half) {
    std::size_t count = 0;
    for (std::size_t len = half; len >= 4; len /= 4) {
        count += 6 * (len / 4);
    }
    return count;
}

void FillStageTwiddles(std::size_t half, double pi, double* twiddles) {
    for (std::size_t len = half; len >= 4; len /= 4) {
        const std::size_t m = len / 4;
        for (std::size_t j = 1; j <= 3; ++j) {
            for (std::size_t p = 0; p < m; ++p) {
                // The angle from the exact integer j·p, so that every twiddle is as accurate as a
                // single cos/sin call makes it.
                const double angle = 2.0 * pi * static_cast<double>(j * p) / static_cast<double>(len);
                twiddles[(2 * j - 2) * m + p] = std::cos(angle);
                twiddles[(2 * j - 1) * m + p] = -std::sin(angle);
            }
        }
        twiddles += 6 * m;
    }
}

void Run(const Job& job, Kernels kernels) {
#if VANTOR_SPECTRUM_X86
    if (kernels == Kernels::Avx2Fma && Available(Kernels::Avx2Fma)) {
        RunAvx2Fma(job);
        return;
    }
#else
    static_cast<void>(kernels);
#endif
    RunPortable(job);
}

} // namespace vantor::spectrum
