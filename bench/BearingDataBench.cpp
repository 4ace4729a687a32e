// The bearing diagnosis: first the real-data table (each recording of the bearing-data folder
// imported, given the rig's bearing and diagnosed as a user would; the family named first, every
// family flagged, and whether the labelled one is alone), then the whole bearing judgement of a
// 131,072-sample capture (pre-whitening, kurtogram, squared-envelope spectra of the candidate
// bands, the families' evidence, the run-speed estimate) beside the plain envelope spectrum of the
// same capture in its default band.
#include "analysis/BearingVerdict.h"
#include "analysis/RunSpeedEstimate.h"
#include "analysis/tests/SyntheticBearing.h"
#include "app/tests/BearingDataScore.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

#ifndef VANTOR_BEARING_DATA
#define VANTOR_BEARING_DATA ""
#endif

namespace {

using namespace vantor;

void PrintTable(const QString& folder) {
    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    CAppData app(prompter);
    if (!InitDataRoot(app) || !RunHeadlessStartup(app)) {
        std::printf("no data root\n");
        return;
    }
    const std::vector<testing::RecordScore> scores = testing::ScoreRecordings(app, folder);
    if (scores.empty()) {
        std::printf("no labelled recordings in %s\n", qPrintable(folder));
        return;
    }
    int first = 0;
    int alone = 0;
    double flagged = 0;
    std::printf("| Record | Label | Named first | Flagged | Right first | Right alone "
                "|\n|---|---|---|---|---|---|\n");
    for (const testing::RecordScore& s : scores) {
        std::printf(
            "| %s | %s | %s | %s | %s | %s |\n", qPrintable(s.name), qPrintable(s.expected),
            qPrintable(s.error.isEmpty() ? s.first : s.error),
            qPrintable(s.flagged.isEmpty() ? QStringLiteral("-") : s.flagged.join(QStringLiteral(", "))),
            s.rightFirst ? "yes" : "no", s.rightAlone ? "yes" : "no");
        first += s.rightFirst ? 1 : 0;
        alone += s.rightAlone ? 1 : 0;
        flagged += static_cast<double>(s.flagged.size());
    }
    std::printf("| **%zu records** | | | %.2f families a record | **%d of %zu** | **%d of %zu** |\n\n",
                scores.size(), flagged / static_cast<double>(scores.size()), first, scores.size(), alone,
                scores.size());
    std::fflush(stdout);
}

constexpr double kFs = 48000;
constexpr std::size_t kSamples = 131072;
constexpr double kShaftHz = 29.5;

testing::SyntheticCapture Capture() {
    testing::SyntheticCapture capture(kFs, kSamples);
    capture.ShaftHarmonics(kShaftHz, 0.5, 8);
    capture.Noise(0.3, 1);
    capture.Defect(FaultKind::Bpfi, testing::BallBearingFactors(), kShaftHz, 0.01, 9000, 1.0, 2);
    return capture;
}

void BM_PlainEnvelope(benchmark::State& state) {
    const testing::SyntheticCapture capture = Capture();
    const double fmax = kFs / 2.56;
    EnvelopeAnalyzer analyzer;
    EnvelopeSpectrum spectrum;
    for (auto _ : state) {
        analyzer.Compute(capture.waveform, kFs, fmax, 0.0, DefaultEnvelopeBand(fmax), spectrum);
        benchmark::DoNotOptimize(spectrum.lines.data());
    }
}
BENCHMARK(BM_PlainEnvelope)->Unit(benchmark::kMillisecond);

void BM_BearingJudgement(benchmark::State& state) {
    const testing::SyntheticCapture capture = Capture();
    const std::vector<BearingAtPoint> bearings{testing::BearingWith(testing::BallBearingFactors())};
    WhitenedEnvelope work;
    for (auto _ : state) {
        work.Prepare(capture.waveform, kFs);
        const std::optional<RunSpeedEstimate> estimate =
            EstimateRunSpeed(work.HannMagnitudes(), work.LineSpacingHz(), kShaftHz);
        const BearingVerdict verdict = JudgePrepared(
            work, {capture.waveform, kFs, estimate ? estimate->hz : kShaftHz, std::nullopt}, bearings);
        benchmark::DoNotOptimize(verdict.chosen);
    }
}
BENCHMARK(BM_BearingJudgement)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QString folder = QDir(QStringLiteral(VANTOR_BEARING_DATA)).filePath(QStringLiteral("mfpt"));
    PrintTable(folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
