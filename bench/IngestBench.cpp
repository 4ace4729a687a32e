// Online sensor messages handled into SQLite, and into a PostgreSQL server (the benchmark's own
// throw-away cluster on a local socket, as in the tests), as the ingest service does (parse, sensor
// look-up, thinning and duplicate check, commit, level check; a waveform of 8192 samples also built
// into a reading with both spectra, indices and diagnosis), beside the bare parse of the same
// messages, which is all a subscriber that only counts them would do.
#include "IngestBenchPoint.h"
#include "app/Startup.h"
#include "ingest/OnlineIngest.h"
#include "platform/testing/PostgresCluster.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"
#include "store/ServerSchema.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

using namespace vantor;
using namespace vantor::ingest;

const QDateTime kStart(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC);
const QString kOverallTopic = QStringLiteral("vantor/bench/s1/overall");
const QString kWaveformTopic = QStringLiteral("vantor/bench/s1/waveform");

// One point with its ISO limits and its sensor, in `db`; the ingest of its messages.
std::unique_ptr<OnlineIngest> SensorOnAPoint(CMainConnection& db) {
    bench::AddSensorPoint(db, kStart);
    return std::make_unique<OnlineIngest>(db, QStringLiteral("bench"), IngestIntervals{0, 0});
}

// A data root with one point and its sensor.
class IngestData {
public:
    IngestData() : app_(prompter_) {
        if (InitDataRoot(app_) && RunHeadlessStartup(app_)) {
            ingest_ = SensorOnAPoint(*app_.MainConnection());
        }
    }
    bool Ready() const { return ingest_ != nullptr; }
    OnlineIngest& Ingest() { return *ingest_; }

private:
    testing::TempEnvironment env_;
    testing::RecordingPrompter prompter_;
    CAppData app_;
    std::unique_ptr<OnlineIngest> ingest_;
};

IngestData& Data() {
    static IngestData data;
    return data;
}

// The same on a new database of the cluster, its schema made, opened as the service opens it.
class ServerIngestData {
public:
    ServerIngestData() {
        testing::PostgresCluster& cluster = testing::PostgresCluster::Shared();
        const std::optional<ServerAddress> address =
            cluster.Ready() ? ServerAddress::Parse(cluster.CreateDatabase()) : std::nullopt;
        if (!address) {
            return;
        }
        {
            SqlConnection setup(*address);
            if (!setup.Open() || InitServerSchema(setup) != SchemaInit::Created) {
                return;
            }
        }
        StoreContext context;
        context.dataFolder = dir_.path();
        context.prompter = &prompter_;
        context.server = address;
        context.applicationName = QStringLiteral("ingest_bench");
        db_ = std::make_unique<CMainConnection>(context);
        if (db_->Open()) {
            ingest_ = SensorOnAPoint(*db_);
        }
    }
    bool Ready() const { return ingest_ != nullptr; }
    OnlineIngest& Ingest() { return *ingest_; }

private:
    QTemporaryDir dir_;
    testing::RecordingPrompter prompter_;
    std::unique_ptr<CMainConnection> db_;
    std::unique_ptr<OnlineIngest> ingest_;
};

ServerIngestData& ServerData() {
    static ServerIngestData data;
    return data;
}

QByteArray OverallAt(qint64 ms) {
    return OverallPayload({kStart.addMSecs(ms), 2.0 + static_cast<double>(ms % 7) * 0.1, 0.4, 41.0});
}

QByteArray WaveformAt(qint64 seconds) {
    ImportedWaveform waveform;
    waveform.samplingFrequencyHz = 12800;
    waveform.unit = SignalUnit::G;
    for (int i = 0; i < 8192; ++i) {
        const double t = i / 12800.0;
        waveform.samples.push_back(0.2 * std::sin(2 * std::numbers::pi * 24.75 * t) +
                                   0.05 * std::sin(2 * std::numbers::pi * 1234.5 * t));
    }
    return WaveformPayload(kStart.addSecs(seconds), waveform, 24.75);
}

template <class Target> void OverallIngest(benchmark::State& state, Target& data) {
    if (!data.Ready()) {
        state.SkipWithError("no database");
        return;
    }
    static qint64 next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QByteArray payload = OverallAt(next++ * 10);
        state.ResumeTiming();
        benchmark::DoNotOptimize(data.Ingest().Handle(kOverallTopic, payload));
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_OverallIngestSqlite(benchmark::State& state) {
    OverallIngest(state, Data());
}
BENCHMARK(BM_OverallIngestSqlite)->Unit(benchmark::kMicrosecond);

void BM_OverallIngestServer(benchmark::State& state) {
    OverallIngest(state, ServerData());
}
BENCHMARK(BM_OverallIngestServer)->Unit(benchmark::kMicrosecond);

// The peer: the parse of the same message, what a subscriber that only counts does beyond receiving.
void BM_OverallParseOnly(benchmark::State& state) {
    qint64 next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QByteArray payload = OverallAt(next++ * 10);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ParseTopic(kOverallTopic));
        benchmark::DoNotOptimize(ParseOverall(payload));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OverallParseOnly)->Unit(benchmark::kMicrosecond);

template <class Target> void WaveformIngest(benchmark::State& state, Target& data) {
    if (!data.Ready()) {
        state.SkipWithError("no database");
        return;
    }
    static qint64 next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QByteArray payload = WaveformAt(++next);
        state.ResumeTiming();
        benchmark::DoNotOptimize(data.Ingest().Handle(kWaveformTopic, payload));
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_WaveformIngestSqlite(benchmark::State& state) {
    WaveformIngest(state, Data());
}
BENCHMARK(BM_WaveformIngestSqlite)->Unit(benchmark::kMillisecond);

void BM_WaveformIngestServer(benchmark::State& state) {
    WaveformIngest(state, ServerData());
}
BENCHMARK(BM_WaveformIngestServer)->Unit(benchmark::kMillisecond);

void BM_WaveformParseOnly(benchmark::State& state) {
    const QByteArray payload = WaveformAt(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseWaveform(payload));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WaveformParseOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
