#pragma once
// The spectrum transform and its working state. Each owner (a view, a worker, a command) keeps its
// own processor, so threads never share one; a processor keeps its work buffers for its life and its
// twiddle tables while the transform length stays the same, so a call allocates nothing but its
// result. Not reentrant: one transform at a time per processor.

#include "analysis/SpectrumKernels.h"

#include <cstddef>
#include <span>
#include <vector>

namespace vantor {

enum class SpectrumWindow {
    Rectangular, // the samples are used as they are
};

class SignalProcessor {
public:
    // Longest transform the work buffers hold.
    static constexpr std::size_t kMaxLength = 131072;
    // 9810 mm/s² per g: the factor that turns g into mm/s before integration.
    static constexpr double kMillimetresPerSecondSquaredPerG = 9810.0;

    SignalProcessor();

    // A length the transform is defined for: a power of two from 2 to kMaxLength.
    static bool IsTransformLength(std::size_t n);

    // Fills `spectrum` with N/2 RMS lines of the waveform's N samples (g): line 0 is the mean's
    // magnitude, line k ≥ 1 is √2·|X_k|/N at k·fs/N Hz. With `velocity` every line k ≥ 1 is
    // integrated to mm/s RMS at its own frequency and line 0 is 0. The rectangular window needs no
    // correction, so `windowCorrection` changes nothing for it. Returns false (spectrum emptied)
    // when N is not a transform length.
    bool ComputeSpectrum(std::span<const double> waveform, std::vector<double>& spectrum,
                         double samplingFrequencyHz, SpectrumWindow window = SpectrumWindow::Rectangular,
                         bool windowCorrection = false, bool velocity = false);

    // The machine code that runs the transform: the fastest this processor has unless chosen
    // (tests compare the copies; they agree to within rounding, not bit for bit).
    void UseKernels(spectrum::Kernels kernels) { kernels_ = kernels; }
    spectrum::Kernels UsedKernels() const { return kernels_; }

private:
    void Prepare(std::size_t n);

    // Two work buffers of the half-length complex transform (real and imaginary parts apart),
    // four arrays in one allocation; its stages read one buffer and write the other.
    std::vector<double> work_;
    // The radix-4 stages' twiddles (spectrum::FillStageTwiddles) and the split's cos(2πk/N),
    // −sin(2πk/N) for the length of the last call.
    std::vector<double> stageTwiddles_;
    std::vector<double> splitCos_;
    std::vector<double> splitSin_;
    bool tablesValid_ = false;
    std::size_t length_ = 0;
    spectrum::Kernels kernels_ = spectrum::Fastest();
};

} // namespace vantor
