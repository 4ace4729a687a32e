#include "analysis/SignalProcessor.h"

#include <bit>
#include <cmath>

namespace vantor {
namespace {

// π as the transform has always taken it.
const double kPi = std::atan2(0.0, -1.0);

// The four work arrays lie this many doubles apart beyond their length, so that entries of the
// same index never share the low 12 address bits: loads and stores 4 KiB apart are taken as
// dependent by x86 processors ("4K aliasing"), which would stall the stages.
constexpr std::size_t kArrayPad = 40;
constexpr std::size_t kArrayPitch = SignalProcessor::kMaxLength / 2 + kArrayPad;

} // namespace

SignalProcessor::SignalProcessor() : work_(4 * kArrayPitch) {
    // Reserving the tables of the longest length keeps rebuilding them free of allocation.
    stageTwiddles_.reserve(spectrum::StageTwiddleCount(kMaxLength / 2));
    splitCos_.reserve(kMaxLength / 2);
    splitSin_.reserve(kMaxLength / 2);
}

bool SignalProcessor::IsTransformLength(std::size_t n) {
    return n >= 2 && n <= kMaxLength && std::has_single_bit(n);
}

// Builds the twiddles that depend only on the length N.
void SignalProcessor::Prepare(std::size_t n) {
    if (n == length_ && tablesValid_) {
        return;
    }
    length_ = n;
    const std::size_t half = n / 2;
    stageTwiddles_.resize(spectrum::StageTwiddleCount(half));
    spectrum::FillStageTwiddles(half, kPi, stageTwiddles_.data());
    splitCos_.resize(half);
    splitSin_.resize(half);
    for (std::size_t k = 0; k < half; ++k) {
        const double angle = 2.0 * kPi * static_cast<double>(k) / static_cast<double>(n);
        splitCos_[k] = std::cos(angle);
        splitSin_[k] = -std::sin(angle);
    }
    tablesValid_ = true;
}

bool SignalProcessor::ComputeSpectrum(std::span<const double> waveform, std::vector<double>& spectrum,
                                      double samplingFrequencyHz, SpectrumWindow window,
                                      bool windowCorrection, bool velocity) {
    const std::size_t n = waveform.size();
    if (!IsTransformLength(n)) {
        spectrum.clear();
        return false;
    }
    // The rectangular window leaves the samples as they are and needs no amplitude correction.
    static_cast<void>(window);
    static_cast<void>(windowCorrection);

    Prepare(n);
    spectrum.resize(n / 2);
    spectrum::Job job;
    job.waveform = waveform.data();
    job.n = n;
    for (int b = 0; b < 2; ++b) {
        job.re[b] = work_.data() + (2 * b) * kArrayPitch;
        job.im[b] = work_.data() + (2 * b + 1) * kArrayPitch;
    }
    job.stageTwiddles = stageTwiddles_.data();
    job.splitCos = splitCos_.data();
    job.splitSin = splitSin_.data();
    job.lines = spectrum.data();
    // Line 0 is the mean; every other line carries half of a component's power (the other half
    // sits in the mirrored line), so √2·|X_k|/N is that component's RMS value. With velocity each
    // line k ≥ 1 is divided by its angular frequency 2π·k·fs/N (g RMS → mm/s RMS at 9810 mm/s²
    // per g); line 0 has none and becomes 0.
    job.velocity = velocity;
    if (velocity) {
        job.velocityFactor =
            kMillimetresPerSecondSquaredPerG * static_cast<double>(n) / (2.0 * kPi * samplingFrequencyHz);
    }
    spectrum::Run(job, kernels_);
    return true;
}

} // namespace vantor
