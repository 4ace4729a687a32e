#pragma once
// The real cepstrum of a capture, c(τ) = IFFT(log |X(f)|): a family of evenly spaced lines (a
// bearing's harmonics, a gear's sidebands) becomes one peak at its period and rahmonics at its
// multiples (R. B. Randall, "A history of cepstrum analysis and its application to mechanical
// problems", MSSP 97 (2017) 3-19). X is the Hann-windowed spectrum; a line of 0 is taken at 1e-12
// of the largest so the logarithm stays finite.

#include "analysis/FaultFamilies.h"

#include <optional>
#include <span>
#include <vector>

namespace vantor {

struct Cepstrum {
    double quefrencyStepMs = 0; // sample i lies at i × step (1000 / fs)
    std::vector<double> values; // quefrencies 0 .. N/2
};

// None for fewer than 256 or more than 131,072 samples, a sample that is not finite or fs not
// positive.
std::optional<Cepstrum> RealCepstrum(std::span<const double> waveform, double samplingFrequencyHz);

// A family's period marked on the cepstrum: 1000 / f in ms, with the cepstrum's largest value
// within ± 2 % of it.
struct CepstrumMark {
    QString name; // "BPFO", "1×"
    double periodMs = 0;
    double value = 0;
};
std::vector<CepstrumMark> CepstrumMarks(const Cepstrum& cepstrum, double runSpeedHz,
                                        const std::vector<BearingAtPoint>& bearings);

} // namespace vantor
