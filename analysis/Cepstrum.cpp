#include "analysis/Cepstrum.h"

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/FftwPlanner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantor {

std::optional<Cepstrum> RealCepstrum(std::span<const double> waveform, double samplingFrequencyHz) {
    const std::size_t n = waveform.size();
    if (n < kEnvelopeFewestSamples || n > kEnvelopeMostSamples || !(samplingFrequencyHz > 0) ||
        !std::isfinite(samplingFrequencyHz) ||
        !std::all_of(waveform.begin(), waveform.end(), [](double v) { return std::isfinite(v); })) {
        return std::nullopt;
    }
    RealFft forward(n);
    ComplexFft inverse(n, FFTW_BACKWARD);
    if (!forward.Ok() || !inverse.Ok()) {
        return std::nullopt;
    }
    double mean = 0;
    for (const double v : waveform) {
        mean += v;
    }
    mean /= static_cast<double>(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double hann =
            0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n)));
        forward.In()[i] = (waveform[i] - mean) * hann;
    }
    forward.Execute();
    const std::size_t lines = n / 2 + 1;
    std::vector<double> magnitude(lines);
    double largest = 0;
    for (std::size_t k = 0; k < lines; ++k) {
        magnitude[k] = std::hypot(forward.Out()[k][0], forward.Out()[k][1]);
        largest = std::max(largest, magnitude[k]);
    }
    const double least = largest > 0 ? largest * 1e-12 : 1e-300;
    // log|X| is real and even: its inverse transform is real.
    fftw_complex* data = inverse.Data();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t line = k < lines ? k : n - k;
        data[k][0] = std::log(std::max(magnitude[line], least));
        data[k][1] = 0;
    }
    inverse.Execute();
    Cepstrum cepstrum;
    cepstrum.quefrencyStepMs = 1000.0 / samplingFrequencyHz;
    cepstrum.values.resize(lines);
    for (std::size_t i = 0; i < lines; ++i) {
        cepstrum.values[i] = data[i][0] / static_cast<double>(n);
    }
    return cepstrum;
}

std::vector<CepstrumMark> CepstrumMarks(const Cepstrum& cepstrum, double runSpeedHz,
                                        const std::vector<BearingAtPoint>& bearings) {
    std::vector<CepstrumMark> marks;
    const auto mark = [&](const QString& name, double hz) {
        if (!(hz > 0) || !std::isfinite(hz) || !(cepstrum.quefrencyStepMs > 0)) {
            return;
        }
        CepstrumMark m{name, 1000.0 / hz, 0};
        if (!(m.periodMs * 1.02 / cepstrum.quefrencyStepMs < static_cast<double>(cepstrum.values.size()))) {
            return; // beyond the capture's quefrencies (checked before converting to an index)
        }
        const auto first =
            static_cast<std::size_t>(std::max(1.0, std::floor(m.periodMs * 0.98 / cepstrum.quefrencyStepMs)));
        const auto last = static_cast<std::size_t>(std::ceil(m.periodMs * 1.02 / cepstrum.quefrencyStepMs));
        if (last >= cepstrum.values.size()) {
            return;
        }
        m.value = *std::max_element(cepstrum.values.begin() + static_cast<std::ptrdiff_t>(first),
                                    cepstrum.values.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        marks.push_back(m);
    };
    if (std::isfinite(runSpeedHz) && runSpeedHz > 0) {
        mark(QStringLiteral("1×"), runSpeedHz);
    }
    for (const FaultFamily& family : FaultFamiliesOf(bearings, runSpeedHz, 1)) {
        const QString name = bearings.size() > 1
                                 ? QStringLiteral("%1 %2").arg(FaultName(family.kind)).arg(family.bearing + 1)
                                 : FaultName(family.kind);
        mark(name, family.fundamentalHz);
    }
    return marks;
}

} // namespace vantor
