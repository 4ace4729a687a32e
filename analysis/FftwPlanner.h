#pragma once
// FFTW's planner is not thread-safe (its executor is): every plan of the analysis is made and
// destroyed under this one mutex. Transform buffers of a fixed length with their plan, made on
// first use and kept by their owner, so repeated transforms allocate nothing.

#include <fftw3.h>

#include <cstddef>
#include <memory>
#include <mutex>

namespace vantor {

std::mutex& FftwPlannerMutex();

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// An in-place complex transform of n values (forward or backward, not normalised).
class ComplexFft {
public:
    ComplexFft(std::size_t n, int sign);
    ~ComplexFft();
    ComplexFft(const ComplexFft&) = delete;
    ComplexFft& operator=(const ComplexFft&) = delete;
    bool Ok() const { return plan_ != nullptr; }
    std::size_t Size() const { return n_; }
    fftw_complex* Data() { return data_.get(); }
    void Execute() { fftw_execute(plan_); }

private:
    std::size_t n_;
    std::unique_ptr<fftw_complex, FftwFree> data_;
    fftw_plan plan_ = nullptr;
};

// A real-to-complex transform of n samples into n/2 + 1 lines.
class RealFft {
public:
    explicit RealFft(std::size_t n);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;
    bool Ok() const { return plan_ != nullptr; }
    std::size_t Size() const { return n_; }
    double* In() { return in_.get(); }
    fftw_complex* Out() { return out_.get(); }
    void Execute() { fftw_execute(plan_); }

private:
    std::size_t n_;
    std::unique_ptr<double, FftwFree> in_;
    std::unique_ptr<fftw_complex, FftwFree> out_;
    fftw_plan plan_ = nullptr;
};

} // namespace vantor
