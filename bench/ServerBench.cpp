// The database on a PostgreSQL server beside the local file, in the same run: importing a data file
// of 1,000 machines × 10 points × 5 readings (two 512-byte captures each), reading the plant behind
// the main window's tree and status table, and reading one point's 50 readings for its trend. The
// server is the benchmark's own throw-away cluster on a local socket, as in the tests.
#include "LargePlant.h"
#include "app/PlantStatus.h"
#include "platform/Prompter.h"
#include "platform/testing/PostgresCluster.h"
#include "store/DataFile.h"
#include "store/MainConnection.h"
#include "store/Records.h"
#include "store/Schema.h"
#include "store/ServerSchema.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vantor;
using vantor::testing::PostgresCluster;

constexpr int kMachines = 1000;
constexpr int kPointsPerMachine = 10;
constexpr int kReadingsPerPoint = 5;
constexpr int kTrendReadings = 50;
constexpr int kCaptureBytes = 512;

using bench::SilentPrompter;

struct Plant {
    QTemporaryDir dir;
    SilentPrompter prompter;
    DataFileProgress progress;
    QString file = dir.filePath(QStringLiteral("plant.rmd"));
    QString trendPoint;
    std::unique_ptr<CMainConnection> local;
    std::unique_ptr<CMainConnection> server;

    StoreContext Context(const QString& name) {
        StoreContext context;
        context.databaseFile = dir.filePath(name);
        context.dataFolder = dir.path();
        context.prompter = &prompter;
        return context;
    }

    std::unique_ptr<CMainConnection> FreshLocal(const QString& name) {
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            QFile::remove(dir.filePath(name + suffix));
        }
        CreateEmptyDatabase(dir.filePath(name));
        auto db = std::make_unique<CMainConnection>(Context(name));
        return db->Open() ? std::move(db) : nullptr;
    }

    // A new database on the cluster with the schema made, opened as the program opens it.
    std::unique_ptr<CMainConnection> FreshServer() {
        PostgresCluster& cluster = PostgresCluster::Shared();
        if (!cluster.Ready()) {
            return nullptr;
        }
        const std::optional<ServerAddress> address = ServerAddress::Parse(cluster.CreateDatabase());
        if (!address) {
            return nullptr;
        }
        {
            SqlConnection setup(*address);
            if (!setup.Open() || InitServerSchema(setup) != SchemaInit::Created) {
                return nullptr;
            }
        }
        StoreContext context = Context(QStringLiteral("unused.mdb"));
        context.server = address;
        context.applicationName = QStringLiteral("server_bench");
        auto db = std::make_unique<CMainConnection>(context);
        return db->Open() ? std::move(db) : nullptr;
    }

    Plant() {
        local = FreshLocal(QStringLiteral("plant.mdb"));
        const QByteArray capture(kCaptureBytes, '\x5a');
        const QDateTime first(QDate(2022, 1, 3), QTime(8, 0));
        {
            SqlConnection::Batch batch(local->Connection());
            for (int m = 0; m < kMachines; ++m) {
                CMachine machine{MakeItemGuid(),
                                 static_cast<float>(m),
                                 QStringLiteral("Machine %1").arg(m),
                                 QStringLiteral("M%1").arg(m),
                                 {}};
                local->UpsertMachine(machine);
                for (int p = 0; p < kPointsPerMachine; ++p) {
                    CVib vib;
                    vib.sItemGUID = MakeItemGuid();
                    vib.sParentGUID = machine.sItemGUID;
                    vib.fOrder = static_cast<float>(p);
                    vib.sName = QStringLiteral("Point %1").arg(p);
                    vib.sVMName = QStringLiteral("P%1").arg(p);
                    vib.fRunSpeedHz = 25;
                    vib.bISOAlarmsOn = true;
                    vib.fISOWarningMMS = 4.5f;
                    vib.fISOCriticalMMS = 7.1f;
                    local->UpsertVib(vib);
                    const bool trend = m == 0 && p == 0;
                    trendPoint = trend ? vib.sItemGUID : trendPoint;
                    for (int r = 0; r < (trend ? kTrendReadings : kReadingsPerPoint); ++r) {
                        CVibReading reading;
                        reading.sItemGUID = MakeItemGuid();
                        reading.sParentGUID = vib.sItemGUID;
                        reading.ctDateTaken = first.addDays(7 * r).addSecs(60 * p);
                        reading.fISOMMS = static_cast<float>((m + p + r) % 90) / 10.0f;
                        reading.fBearingBDU = 5;
                        reading.rawADCISODataByteArray = capture;
                        reading.rawADCTotalDataByteArray = capture;
                        local->UpsertVibReading(reading);
                    }
                }
            }
        }
        ExportEverything(*local, file, progress);
        server = FreshServer();
        if (server && ImportDataFile(*server, file, progress) != DataFileOutcome::Done) {
            server.reset();
        }
    }
};

Plant& ThePlant() {
    static Plant plant;
    return plant;
}

void BM_ImportIntoLocalFile(benchmark::State& state) {
    Plant& plant = ThePlant();
    for (auto _ : state) {
        state.PauseTiming();
        auto db = plant.FreshLocal(QStringLiteral("target.mdb"));
        state.ResumeTiming();
        if (!db || ImportDataFile(*db, plant.file, plant.progress) != DataFileOutcome::Done) {
            state.SkipWithError("the import into the local file failed");
            break;
        }
    }
}

void BM_ImportIntoServer(benchmark::State& state) {
    Plant& plant = ThePlant();
    for (auto _ : state) {
        state.PauseTiming();
        auto db = plant.FreshServer();
        state.ResumeTiming();
        if (!db || ImportDataFile(*db, plant.file, plant.progress) != DataFileOutcome::Done) {
            state.SkipWithError("the import into the server failed");
            break;
        }
    }
}

void LoadPlantFrom(benchmark::State& state, CMainConnection* db) {
    if (db == nullptr) {
        state.SkipWithError("the database did not open");
        return;
    }
    for (auto _ : state) {
        PlantSnapshot snapshot = LoadPlant(*db, {true, false});
        benchmark::DoNotOptimize(snapshot.machines.size());
    }
}
void BM_LoadPlantLocalFile(benchmark::State& state) {
    LoadPlantFrom(state, ThePlant().local.get());
}
void BM_LoadPlantServer(benchmark::State& state) {
    LoadPlantFrom(state, ThePlant().server.get());
}

// What the trend of a point reads: the point, its machine and its readings (with their captures).
void TrendFrom(benchmark::State& state, CMainConnection* db) {
    if (db == nullptr) {
        state.SkipWithError("the database did not open");
        return;
    }
    const QString point = ThePlant().trendPoint;
    for (auto _ : state) {
        CVib vib;
        CMachine machine;
        db->GetVib(point, vib);
        db->GetMachine(vib.sParentGUID, machine);
        const std::vector<CVibReading> readings = db->ListVibReadings(point);
        if (readings.size() != kTrendReadings) {
            state.SkipWithError("the trend's readings are missing");
            break;
        }
    }
}
void BM_PointTrendLocalFile(benchmark::State& state) {
    TrendFrom(state, ThePlant().local.get());
}
void BM_PointTrendServer(benchmark::State& state) {
    TrendFrom(state, ThePlant().server.get());
}

BENCHMARK(BM_ImportIntoLocalFile)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImportIntoServer)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadPlantLocalFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPlantServer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointTrendLocalFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointTrendServer)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
