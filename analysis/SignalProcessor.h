#pragma once
// The spectrum transform and its working state. Each owner (a view, a worker, a command) keeps its
// own processor, so threads never share one; a processor keeps its work buffers for its life and its
// twiddle tables while the transform length stays the same, so a call allocates nothing but its
// result. Not reentrant: one transform at a time per processor.

#include <cstddef>
#include <cstdint>
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

private:
    void Prepare(std::size_t n);
    void Transform(std::size_t count);
    void Split(std::size_t half, double scale, double* power) const;
    // The twiddles of the span 2·halfSpan (they follow those of all shorter spans: 2 + 4 + ...
    // + halfSpan/2 entries).
    const double* Cosines(std::size_t halfSpan) const { return cos_.data() + (halfSpan - 2); }
    const double* Sines(std::size_t halfSpan) const { return sin_.data() + (halfSpan - 2); }

    // Work buffer of the half-length complex transform (real and imaginary parts).
    std::vector<double> re_;
    std::vector<double> im_;
    // Bit-reversed index of every position of the half-length transform.
    std::vector<std::uint32_t> order_;
    // Twiddles cos(2πk/L) and −sin(2πk/L) for the spans L = 4, 8, ..., N one after another.
    std::vector<double> cos_;
    std::vector<double> sin_;
    bool tablesValid_ = false;
    std::size_t length_ = 0;
};

} // namespace vantor
