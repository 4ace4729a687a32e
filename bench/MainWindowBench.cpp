// Main window start at three plant sizes (10, 100 and 1,000 machines with 10 vibration points each
// and 20 readings per point, two 512-byte raw captures each), each plant built once per run in a
// temporary data root. Measures the plant read that feeds the machine tree and the whole start of
// the window (start-up steps, tree model, status table) until the tree has been painted, beside a
// minimal window showing the same machines and points from one query in a plain tree.
#include "LargePlant.h"
#include "PlantTreeQuery.h"
#include "app/PlantStatus.h"
#include "platform/LocalTimeZone.h"
#include "store/MainConnection.h"
#include "ui/window/MachineTreeModel.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTreeView>

#include <benchmark/benchmark.h>

namespace {

using namespace vantor;
using bench::PlantOfSize;

void PlantSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
}

void BM_LoadPlant(benchmark::State& state) {
    bench::LargePlant& plant = PlantOfSize(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PlantSnapshot snapshot = LoadPlant(*plant.app->MainConnection(), {true, false});
        benchmark::DoNotOptimize(snapshot.machines.size());
    }
}
BENCHMARK(BM_LoadPlant)->Apply(PlantSizes);

// Window start to tree shown: a new window, its initialisation (start-up steps, the plant read
// into the tree model, the status table of every point) and the first paint.
void BM_WindowStartToTreeShown(benchmark::State& state) {
    bench::LargePlant& plant = PlantOfSize(static_cast<int>(state.range(0)));
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
BENCHMARK(BM_WindowStartToTreeShown)->Apply(PlantSizes)->Iterations(5);

// The peer: a plain main window whose tree shows the same machines and points from one query,
// painted once.
void BM_MinimalWindowWithPlantQuery(benchmark::State& state) {
    bench::LargePlant& plant = PlantOfSize(static_cast<int>(state.range(0)));
    const QSqlDatabase database = plant.app->MainConnection()->Connection().Database();
    for (auto _ : state) {
        QMainWindow window;
        auto* tree = new QTreeView(&window);
        auto* model = new QStandardItemModel(tree);
        vantor::bench::FillPlantTree(database, *model);
        tree->setModel(model);
        window.setCentralWidget(tree);
        window.resize(1024, 768);
        window.show();
        tree->repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(model->rowCount());
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MinimalWindowWithPlantQuery)->Apply(PlantSizes)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    PinLocalTimeZone();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
