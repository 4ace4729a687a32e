// Main window start on a large plant: 1,000 machines with 10 vibration points each and 50 readings
// per point (two 512-byte raw captures each), built once per run in a temporary data root. Measures
// the plant read that feeds the machine tree, and the whole start of the window (start-up steps,
// tree model, status table) until the tree has been painted.
#include "LargePlant.h"
#include "app/PlantStatus.h"
#include "platform/LocalTimeZone.h"
#include "store/MainConnection.h"
#include "ui/window/MachineTreeModel.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QTreeView>

#include <benchmark/benchmark.h>

namespace {

using namespace vantor;
using bench::TheLargePlant;

void BM_LoadPlant(benchmark::State& state) {
    bench::LargePlant& plant = TheLargePlant();
    for (auto _ : state) {
        PlantSnapshot snapshot = LoadPlant(*plant.app->MainConnection(), {true, false});
        benchmark::DoNotOptimize(snapshot.machines.size());
    }
}
BENCHMARK(BM_LoadPlant)->Unit(benchmark::kMillisecond);

// Window start to tree shown: a new window, its initialisation (start-up steps, the plant read
// into the tree model, the status table of every point) and the first paint.
void BM_WindowStartToTreeShown(benchmark::State& state) {
    bench::LargePlant& plant = TheLargePlant();
    for (auto _ : state) {
        MainWindow window(*plant.app);
        if (!window.Initialise(plant.app->edition.title)) {
            state.SkipWithError("the window did not start");
            break;
        }
        window.show();
        window.MachineTree()->repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.TreeModel()->rowCount(window.TreeModel()->PlantIndex()));
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowStartToTreeShown)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    PinLocalTimeZone();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TheLargePlant();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
