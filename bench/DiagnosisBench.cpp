// The automatic diagnosis of a pump reading (1× with harmonics, an outer-race defect's impacts on
// the bearing's resonance, noise) at 2,048 and 131,072 samples: the rules alone on the prepared
// spectra, the whole chain from the waveform (velocity spectrum, envelope spectrum, bearing matching,
// indices, rules), beside the peers of the same reading: the velocity spectrum alone, which every
// view of the reading computes, and the documented status judgement of its values.
#include "analysis/AlarmStatus.h"
#include "analysis/Diagnosis.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"
#include "analysis/WaveformIndices.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

using namespace vantor;

constexpr double kFs = 25600;    // Fmax 10 kHz
constexpr double kRunSpeed = 25; // Hz
constexpr double kPi = std::numbers::pi;

// The pump's deep-groove ball bearing: BPFO 3.5848 × run speed.
BearingAtPoint PumpBearing() {
    BearingAtPoint bearing;
    bearing.designation = QStringLiteral("6205");
    bearing.location = QStringLiteral("NDE");
    bearing.factors = {0.3983, 2.3567, 3.5848, 5.4152};
    return bearing;
}

// In g: 1× at 2.5 mm/s, 2× and 3× smaller, BPFO impacts ringing 4 kHz, noise.
std::vector<double> PumpCapture(std::size_t n) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 0.02);
    std::vector<double> x(n);
    const double bpfo = 3.5848 * kRunSpeed;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kFs;
        double g = 0;
        for (const auto& [order, mms] : {std::pair{1.0, 2.5}, {2.0, 0.6}, {3.0, 0.3}}) {
            const double hz = order * kRunSpeed;
            g += mms * std::sqrt(2.0) * 2 * kPi * hz / SignalProcessor::kMillimetresPerSecondSquaredPerG *
                 std::sin(2 * kPi * hz * t);
        }
        g += 0.5 * std::exp(-std::fmod(t, 1.0 / bpfo) / 0.002) * std::sin(2 * kPi * 4000 * t);
        x[i] = g + noise(random);
    }
    return x;
}

// The reading's spectra, matches and indices, prepared as the product prepares them.
struct Prepared {
    std::vector<double> waveform;
    std::vector<double> velocity;
    EnvelopeSpectrum envelope;
    DiagnosisInput input;
};

void Prepare(std::size_t n, SignalProcessor& processor, EnvelopeAnalyzer& analyzer,
             const std::vector<BearingAtPoint>& bearings, Prepared& p) {
    processor.ComputeSpectrum(p.waveform, p.velocity, kFs, SpectrumWindow::Rectangular, false, true);
    const double fmax = kFs / 2.56;
    const double spacing = kFs / static_cast<double>(n);
    analyzer.Compute(p.waveform, kFs, fmax, spacing, DefaultEnvelopeBand(fmax), p.envelope);
    p.input = {};
    p.input.runSpeedHz = kRunSpeed;
    p.input.iso = {p.velocity, spacing, 1, static_cast<int>(static_cast<double>(n) / 2.56)};
    p.input.isoOverallMms = 2.6; // as stored with the reading
    const SpectrumLines envelopeLines{p.envelope.lines, p.envelope.lineSpacingHz, 1,
                                      static_cast<int>(p.envelope.lines.size())};
    p.input.envelopeMatches = MatchBearingFaults(envelopeLines, kRunSpeed, bearings);
    p.input.envelopeSpacingHz = p.envelope.lineSpacingHz;
    p.input.velocityMatches = MatchBearingFaults(p.input.iso, kRunSpeed, bearings);
    if (const std::optional<WaveformIndices> indices = ComputeWaveformIndices(p.waveform)) {
        p.input.crest = indices->crest;
        p.input.kurtosis = indices->kurtosis;
    }
}

void BM_DiagnosisRules(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    Prepared p;
    p.waveform = PumpCapture(n);
    Prepare(n, processor, analyzer, {PumpBearing()}, p);
    for (auto _ : state) {
        std::vector<Finding> findings = Diagnose(p.input);
        benchmark::DoNotOptimize(findings.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

void BM_DiagnosisFromWaveform(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<BearingAtPoint> bearings{PumpBearing()};
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    Prepared p;
    p.waveform = PumpCapture(n);
    for (auto _ : state) {
        Prepare(n, processor, analyzer, bearings, p);
        std::vector<Finding> findings = Diagnose(p.input);
        benchmark::DoNotOptimize(findings.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

// Peer: the velocity spectrum of the same waveform.
void BM_VelocitySpectrum(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<double> waveform = PumpCapture(n);
    SignalProcessor processor;
    std::vector<double> spectrum;
    for (auto _ : state) {
        processor.ComputeSpectrum(waveform, spectrum, kFs, SpectrumWindow::Rectangular, false, true);
        benchmark::DoNotOptimize(spectrum.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

// Peer: the documented status of the reading's seven values against the point's levels.
void BM_DocumentedStatus(benchmark::State& state) {
    CVib point;
    point.bISOAlarmsOn = point.bBDUAlarmsOn = true;
    point.fISOWarningMMS = 2.8f;
    point.fISOCriticalMMS = 4.5f;
    point.fBDUWarning = 20;
    point.fBDUCritical = 30;
    CVibReading reading;
    reading.fISOMMS = 2.6f;
    reading.fBearingBDU = 22;
    reading.fTotalG = 0.4f;
    reading.fVABand1MMS = 2.5f;
    for (auto _ : state) {
        const DatedStatus status = PointStatus(point, &reading);
        benchmark::DoNotOptimize(status.code);
    }
}

BENCHMARK(BM_DiagnosisRules)->Arg(2048)->Arg(131072)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DiagnosisFromWaveform)->Arg(2048)->Arg(131072)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VelocitySpectrum)->Arg(2048)->Arg(131072)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DocumentedStatus)->Unit(benchmark::kNanosecond);

} // namespace
