// A manual report of 20 machines × 5 points with all 13 graphs: built (charts painted by the graph
// control), alone and then written as PDF and as ODT; times are the process's CPU time, every
// thread's, so that work spread over the cores counts in full.
#include "app/ReportSetup.h"
#include "app/tests/ReportTestData.h"
#include "graphviews/ReportCharts.h"
#include "reports/document/ChartSvg.h"
#include "reports/document/OdtWriter.h"
#include "reports/document/PdfWriter.h"
#include "reports/document/ReportBuilder.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace vantor {
namespace {

constexpr int kMachines = 20;
constexpr int kPointsPerMachine = 5;
constexpr int kReadingsPerPoint = 3;

testing::ReportPlant& Plant() {
    static testing::ReportPlant plant;
    static const bool filled = [] {
        testing::ReportPlant& made = plant;
        for (int m = 0; m < kMachines; ++m) {
            const CMachine machine = made.AddMachine(QStringLiteral("Machine %1").arg(m + 1));
            for (int p = 0; p < kPointsPerMachine; ++p) {
                const CVib point = made.AddPoint(machine, QStringLiteral("Point %1").arg(p + 1), true, true);
                for (int r = 0; r < kReadingsPerPoint; ++r) {
                    made.AddReading(point, r, {1.0f + r, 10.0f + r, 0.5f, 0.6f, 0.7f});
                }
            }
        }
        return true;
    }();
    static_cast<void>(filled);
    return plant;
}

ReportOptions EveryGraph() {
    ReportOptions options;
    options.type = ReportType::Manual;
    options.machines = MachineNames(*Plant().app->MainConnection());
    options.statusTable = true;
    options.graphs.fill(true);
    return options;
}

constexpr int kCharts = kMachines * kPointsPerMachine * kReportGraphCount;

// The report's time per chart: the process's CPU time (every thread's) over the charts, in seconds
// with an SI prefix ("3.2m" is 3.2 ms).
void CountPerChart(benchmark::State& state) {
    state.counters["per_chart"] = benchmark::Counter(kCharts, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
}

// The peer: the document built, every chart painted by the graph control (its drawing recorded),
// nothing written.
void BM_ReportBuild(benchmark::State& state) {
    testing::ReportPlant& plant = Plant();
    const ReportOptions options = EveryGraph();
    GraphChartPainter charts;
    const ManualResetEvent stop;
    for (auto _ : state) {
        const BuiltReport built =
            BuildReport(*plant.app->MainConnection(), options, MakeReportLook(*plant.app), charts, stop, {});
        if (built.document.ImageCount() != kCharts) {
            state.SkipWithError("the report was not complete");
        }
        double pictureBytes = 0;
        for (const ReportBlock& block : built.document.blocks) {
            if (const auto* image = std::get_if<ReportImage>(&block)) {
                pictureBytes += image->picture.size();
            }
        }
        // What the document holds per chart until it is written.
        state.counters["picture_bytes"] = pictureBytes / kCharts;
    }
    CountPerChart(state);
}
BENCHMARK(BM_ReportBuild)->Unit(benchmark::kSecond)->Iterations(1)->MeasureProcessCPUTime();

// The ODT's picture step alone, on one thread, over the charts of a built report: each written as
// an SVG drawing.
void BM_ReportChartSvgs(benchmark::State& state) {
    testing::ReportPlant& plant = Plant();
    GraphChartPainter charts;
    const ManualResetEvent stop;
    const BuiltReport built =
        BuildReport(*plant.app->MainConnection(), EveryGraph(), MakeReportLook(*plant.app), charts, stop, {});
    std::vector<const ReportImage*> images;
    for (const ReportBlock& block : built.document.blocks) {
        if (const auto* image = std::get_if<ReportImage>(&block)) {
            images.push_back(image);
        }
    }
    for (auto _ : state) {
        double bytes = 0;
        for (const ReportImage* image : images) {
            bytes += static_cast<double>(EncodeChartSvg(*image).size());
        }
        state.counters["svg_bytes"] = bytes / kCharts;
    }
    CountPerChart(state);
}
BENCHMARK(BM_ReportChartSvgs)->Unit(benchmark::kSecond)->Iterations(1);

// The same, then written: the PDF's charts drawn as vectors on its pages, the ODT's written as
// SVG drawings on the machine's cores and deflated into the package.
void BM_ReportBuildAndWrite(benchmark::State& state, bool pdf) {
    testing::ReportPlant& plant = Plant();
    const ReportOptions options = EveryGraph();
    GraphChartPainter charts;
    const ManualResetEvent stop;
    QTemporaryDir out;
    for (auto _ : state) {
        const BuiltReport built =
            BuildReport(*plant.app->MainConnection(), options, MakeReportLook(*plant.app), charts, stop, {});
        const bool written = pdf ? WritePdf(built.document, out.filePath(QStringLiteral("r.pdf")))
                                 : WriteOdt(built.document, out.filePath(QStringLiteral("r.odt")));
        if (!written || built.document.ImageCount() != kCharts) {
            state.SkipWithError("the report was not complete");
        }
    }
    CountPerChart(state);
}
BENCHMARK_CAPTURE(BM_ReportBuildAndWrite, pdf, true)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_ReportBuildAndWrite, odt, false)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime();

} // namespace
} // namespace vantor

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
