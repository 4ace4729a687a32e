#include "analysis/FftwPlanner.h"

namespace vantor {

std::mutex& FftwPlannerMutex() {
    static std::mutex mutex;
    return mutex;
}

// FFTW_ESTIMATE plans without touching the buffers and in microseconds; a measured plan would
// cost each command far more than the transforms it speeds up.
ComplexFft::ComplexFft(std::size_t n, int sign) : n_(n), data_(fftw_alloc_complex(n)) {
    if (data_) {
        const std::lock_guard lock(FftwPlannerMutex());
        plan_ = fftw_plan_dft_1d(static_cast<int>(n), data_.get(), data_.get(), sign, FFTW_ESTIMATE);
    }
}

ComplexFft::~ComplexFft() {
    if (plan_ != nullptr) {
        const std::lock_guard lock(FftwPlannerMutex());
        fftw_destroy_plan(plan_);
    }
}

RealFft::RealFft(std::size_t n) : n_(n), in_(fftw_alloc_real(n)), out_(fftw_alloc_complex(n / 2 + 1)) {
    if (in_ && out_) {
        const std::lock_guard lock(FftwPlannerMutex());
        plan_ = fftw_plan_dft_r2c_1d(static_cast<int>(n), in_.get(), out_.get(), FFTW_ESTIMATE);
    }
}

RealFft::~RealFft() {
    if (plan_ != nullptr) {
        const std::lock_guard lock(FftwPlannerMutex());
        fftw_destroy_plan(plan_);
    }
}

} // namespace vantor
