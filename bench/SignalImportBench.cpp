// Import of a 131,072-sample waveform as a reading (read, capture made, decoded for the overall
// values, stored with its mark in one transaction) from UFF 58b, WAV and CSV, beside the bare parse
// of the same CSV text with std::from_chars and the decode of the stored reading.
#include "analysis/ReadingDecode.h"
#include "analysis/SignalProcessor.h"
#include "app/SignalTransfer.h"
#include "app/Startup.h"
#include "interchange/Uff58.h"
#include "interchange/WavFile.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <numbers>

namespace {

using namespace vantor;

constexpr int kSamples = 131072;
constexpr double kRateHz = 25600;

std::vector<double> Signal() {
    std::vector<double> wave(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double t = i / kRateHz;
        wave[static_cast<std::size_t>(i)] = 1.5 * std::sin(2 * std::numbers::pi * 49.5 * t) +
                                            0.4 * std::sin(2 * std::numbers::pi * 1234.5 * t) +
                                            0.01 * ((i * 7919) % 61);
    }
    return wave;
}

// The data root with one point, and the three files, made once.
class ImportData {
public:
    ImportData() : app_(prompter_) {
        if (!InitDataRoot(app_) || !RunHeadlessStartup(app_)) {
            return;
        }
        const CMachine machine{MakeItemGuid(), 0, QStringLiteral("Press"), QStringLiteral("PRESS"), {}};
        app_.MainConnection()->UpsertMachine(machine);
        point_.sItemGUID = MakeItemGuid();
        point_.sParentGUID = machine.sItemGUID;
        point_.sName = QStringLiteral("Main bearing");
        point_.fRunSpeedHz = 24.75f;
        app_.MainConnection()->UpsertVib(point_);

        const std::vector<double> wave = Signal();
        UffFunction f;
        f.abscissaIncrement = 1.0 / kRateHz;
        f.ordinate.unitsLabel = QStringLiteral("g");
        f.values = wave;
        QFile uff(Path("signal.uff"));
        uff.open(QIODevice::WriteOnly);
        uff.write(WriteUff({f}, UffEncoding::BinaryDouble));
        uff.close();
        WriteWav(Path("signal.wav"), wave, static_cast<int>(kRateHz),
                 WavInfo{{}, QStringLiteral("unit=g"), {}, {}}, nullptr);
        QFile csv(Path("signal.csv"));
        csv.open(QIODevice::WriteOnly);
        csv.write("Time (Secs),Total (g)\r\n");
        for (int i = 0; i < kSamples; ++i) {
            csv.write(QByteArray::number(i / kRateHz, 'f', 6) + ',' +
                      QByteArray::number(wave[static_cast<std::size_t>(i)], 'f', 6) + "\r\n");
        }
        csv.close();
        ready_ = true;
    }

    bool Ready() const { return ready_; }
    QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

    // Each import lands on its own minute, so none replaces another.
    bool Import(const char* file) {
        SignalImportRequest request;
        request.pointGuid = point_.sItemGUID;
        request.path = Path(file);
        request.taken = QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(60 * ++imports_);
        return ImportReadingSignals(app_, processor_, request).ok;
    }

    SignalProcessor& Processor() { return processor_; }
    CMainConnection& Db() { return *app_.MainConnection(); }
    const CVib& Point() const { return point_; }

private:
    testing::TempEnvironment env_;
    testing::RecordingPrompter prompter_;
    CAppData app_;
    QTemporaryDir dir_;
    CVib point_;
    SignalProcessor processor_;
    int imports_ = 0;
    bool ready_ = false;
};

ImportData& Data() {
    static ImportData data;
    return data;
}

void Import(benchmark::State& state, const char* file) {
    ImportData& data = Data();
    if (!data.Ready()) {
        state.SkipWithError("no data root");
        return;
    }
    for (auto _ : state) {
        if (!data.Import(file)) {
            state.SkipWithError("import refused");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_ImportUff58b(benchmark::State& state) {
    Import(state, "signal.uff");
}
BENCHMARK(BM_ImportUff58b)->Unit(benchmark::kMillisecond);

void BM_ImportWav(benchmark::State& state) {
    Import(state, "signal.wav");
}
BENCHMARK(BM_ImportWav)->Unit(benchmark::kMillisecond);

void BM_ImportCsv(benchmark::State& state) {
    Import(state, "signal.csv");
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond);

// The peer: the same CSV text split and parsed, nothing else.
void BM_ParseCsvWithFromChars(benchmark::State& state) {
    QFile csv(Data().Path("signal.csv"));
    csv.open(QIODevice::ReadOnly);
    const QByteArray text = csv.readAll();
    for (auto _ : state) {
        std::vector<double> values;
        values.reserve(kSamples);
        const char* p = text.constData() + text.indexOf('\n') + 1;
        const char* end = text.constData() + text.size();
        while (p < end) {
            double t = 0;
            double v = 0;
            p = std::from_chars(p, end, t).ptr + 1;
            p = std::from_chars(p, end, v).ptr + 2;
            values.push_back(v + 0 * t);
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_ParseCsvWithFromChars)->Unit(benchmark::kMillisecond);

// The other peer: decoding the imported reading from its row, as the views' first open does.
void BM_DecodeImportedReading(benchmark::State& state) {
    ImportData& data = Data();
    if (!data.Ready() || !data.Import("signal.uff")) {
        state.SkipWithError("no reading");
        return;
    }
    CVibReading reading;
    data.Db().GetLatestVibReading(data.Point().sItemGUID, reading);
    for (auto _ : state) {
        ReadingSignals decoded;
        benchmark::DoNotOptimize(DecodeReading(reading, data.Processor(), decoded));
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_DecodeImportedReading)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
