// Online sensor messages handled into SQLite as the ingest service does (parse, sensor look-up,
// thinning and duplicate check, commit, level check; a waveform of 8192 samples also built into a
// reading with both spectra, indices and diagnosis), beside the bare parse of the same messages,
// which is all a subscriber that only counts them would do.
#include "app/Startup.h"
#include "ingest/OnlineIngest.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"

#include <QCoreApplication>

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

// A data root with one point and its sensor.
class IngestData {
public:
    IngestData() : app_(prompter_) {
        if (!InitDataRoot(app_) || !RunHeadlessStartup(app_)) {
            return;
        }
        const CMachine machine{MakeItemGuid(), 0, QStringLiteral("Fan"), QStringLiteral("FAN"), {}};
        app_.MainConnection()->UpsertMachine(machine);
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = QStringLiteral("Motor DE");
        point.bISOAlarmsOn = true;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        point.fRunSpeedHz = 24.75f;
        app_.MainConnection()->UpsertVib(point);
        onlinerows::PutSensor(app_.MainConnection()->Connection(),
                              {QStringLiteral("s1"), point.sItemGUID, kStart});
        ingest_ = std::make_unique<OnlineIngest>(*app_.MainConnection(), QStringLiteral("bench"),
                                                 IngestIntervals{0, 0});
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

void BM_OverallIngestSqlite(benchmark::State& state) {
    IngestData& data = Data();
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
BENCHMARK(BM_OverallIngestSqlite)->Unit(benchmark::kMicrosecond);

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

void BM_WaveformIngestSqlite(benchmark::State& state) {
    IngestData& data = Data();
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
BENCHMARK(BM_WaveformIngestSqlite)->Unit(benchmark::kMillisecond);

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
