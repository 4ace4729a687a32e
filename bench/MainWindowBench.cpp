// Main window start on a large plant: 1,000 machines with 10 vibration points each and 50 readings
// per point (two 512-byte raw captures each), built once per run in a temporary data root. Measures
// the plant read that feeds the machine tree, and the whole start of the window (start-up steps,
// tree model, status table) until the tree has been painted.
#include "app/CAppData.h"
#include "app/PlantStatus.h"
#include "app/Startup.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "ui/window/MachineTreeModel.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vantor;

constexpr int kMachines = 1000;
constexpr int kPointsPerMachine = 10;
constexpr int kReadingsPerPoint = 50;
constexpr int kCaptureBytes = 512;

class SilentPrompter final : public Prompter {
public:
    void ShowMessage(const QString&) override {}
    bool AskYesNo(const QString&) override { return true; }
    bool AskRetryCancel(const QString&) override { return false; }
    std::optional<QString> PromptName(const NameRequest&) override { return std::nullopt; }
    std::optional<QDateTime> PromptDateFix(const DateFixRequest&) override { return std::nullopt; }
};

// The data root with the plant, made on first use and kept for the whole run.
struct Plant {
    QTemporaryDir root;
    SilentPrompter prompter;
    std::unique_ptr<CAppData> app;

    Plant() {
        for (const char* name :
             {"VANTOR_COMMON_APPDATA", "VANTOR_USER_APPDATA", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            qputenv(name, (root.path() + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit());
        }
        app = std::make_unique<CAppData>(prompter, Edition::For(2, 0));
        if (!InitDataRoot(*app) || !RunStartupSteps(*app, app->edition.title, CreateAndDeleteTestFile).ok) {
            qFatal("the benchmark's data root could not be prepared");
        }
        CMainConnection& db = *app->MainConnection();
        const QByteArray capture(kCaptureBytes, '\x5a');
        const QDateTime first(QDate(2022, 1, 3), QTime(8, 0));
        SqlConnection::Batch batch(db.Connection());
        for (int m = 0; m < kMachines; ++m) {
            CMachine machine{
                MakeItemGuid(), static_cast<float>(m), QStringLiteral("Machine %1").arg(m), {}, {}};
            db.UpsertMachine(machine);
            for (int p = 0; p < kPointsPerMachine; ++p) {
                CVib vib;
                vib.sItemGUID = MakeItemGuid();
                vib.sParentGUID = machine.sItemGUID;
                vib.fOrder = static_cast<float>(p);
                vib.sName = QStringLiteral("Point %1").arg(p);
                vib.fRunSpeedHz = 25;
                vib.bISOAlarmsOn = true;
                vib.fISOWarningMMS = 4.5f;
                vib.fISOCriticalMMS = 7.1f;
                db.UpsertVib(vib);
                for (int r = 0; r < kReadingsPerPoint; ++r) {
                    CVibReading reading;
                    reading.sItemGUID = MakeItemGuid();
                    reading.sParentGUID = vib.sItemGUID;
                    reading.ctDateTaken = first.addDays(7 * r).addSecs(60 * p);
                    reading.fISOMMS = static_cast<float>((m + p + r) % 90) / 10.0f;
                    reading.fBearingBDU = 5;
                    reading.rawADCISODataByteArray = capture;
                    reading.rawADCTotalDataByteArray = capture;
                    db.UpsertVibReading(reading);
                }
            }
        }
    }
};

Plant& ThePlant() {
    static Plant plant;
    return plant;
}

void BM_LoadPlant(benchmark::State& state) {
    Plant& plant = ThePlant();
    for (auto _ : state) {
        PlantSnapshot snapshot = LoadPlant(*plant.app->MainConnection(), {true, false});
        benchmark::DoNotOptimize(snapshot.machines.size());
    }
}
BENCHMARK(BM_LoadPlant)->Unit(benchmark::kMillisecond);

// Window start to tree shown: a new window, its initialisation (start-up steps, the plant read
// into the tree model, the status table of every point) and the first paint.
void BM_WindowStartToTreeShown(benchmark::State& state) {
    Plant& plant = ThePlant();
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
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    ThePlant();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
