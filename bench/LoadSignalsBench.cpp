// A whole LoadReadingSignals of a route reading from a database file: decoding from the row (the
// cache file removed before each load) and reading the cache file.
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "loaders/SignalLoader.h"
#include "store/MainConnection.h"
#include "store/Schema.h"
#include "store/SignalCachePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

using namespace vantor;

QByteArray Block(std::size_t n) {
    QByteArray raw;
    for (std::size_t i = 0; i < n; ++i) {
        const auto sample = static_cast<std::uint16_t>(
            32768 + 8000 * std::sin(0.05 * static_cast<double>(i)) + (i * 7919) % 301);
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

// A database with one machine, one point and one reading of 8192 Total and 2048 ISO samples.
class ReadingDatabase {
public:
    ReadingDatabase() {
        QDir(dir_.path()).mkpath(QStringLiteral("Data"));
        context_.databaseFile = QDir(dir_.path()).filePath(QStringLiteral("VantorV1.mdb"));
        context_.dataFolder = QDir(dir_.path()).filePath(QStringLiteral("Data"));
        CreateEmptyDatabase(context_.databaseFile);
        db_ = std::make_unique<CMainConnection>(context_);
        db_->Open();
        CMachine machine;
        machine.sItemGUID = MakeItemGuid();
        machine.sName = QStringLiteral("Fan");
        db_->UpsertMachine(machine);
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = QStringLiteral("Motor DE");
        db_->UpsertVib(point);
        CVibReading reading;
        reading.sItemGUID = MakeItemGuid();
        reading.sParentGUID = point.sItemGUID;
        reading.ctDateTaken = QDateTime(QDate(2024, 3, 1), QTime(9, 0));
        reading.fCurrentRunSpeedHz = 24.5f;
        reading.fPSUVoltage = 3.3f;
        reading.iADCBits = 16;
        reading.fAccelerometerSensitivity = 100.0f;
        reading.fTotalCal = reading.fTotalGain = reading.fISOCal = reading.fISOGain = 1.0f;
        reading.fTotalSamplingFrequency = 20480.0f;
        reading.iTotalNumberOfSamples = 8192;
        reading.fISOSamplingFrequency = 2560.0f;
        reading.iISONumberOfSamples = 2048;
        reading.rawADCTotalDataByteArray = Block(8192);
        reading.rawADCISODataByteArray = Block(2048);
        db_->UpsertVibReading(reading);
        guid_ = reading.sItemGUID;
    }

    CMainConnection& Db() { return *db_; }
    const QString& Guid() const { return guid_; }
    QString CacheFile() const { return SignalCacheFilePath(context_.dataFolder, guid_); }

private:
    QTemporaryDir dir_;
    StoreContext context_;
    std::unique_ptr<CMainConnection> db_;
    QString guid_;
};

void BM_LoadReadingSignalsDecoding(benchmark::State& state) {
    ReadingDatabase data;
    SignalProcessor processor;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(data.CacheFile());
        state.ResumeTiming();
        ReadingSignals decoded;
        if (!LoadReadingSignals(data.Db(), processor, data.Guid(), decoded)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(decoded.total.spectrum.data());
    }
}

void BM_LoadReadingSignalsFromCache(benchmark::State& state) {
    ReadingDatabase data;
    SignalProcessor processor;
    ReadingSignals first;
    if (!LoadReadingSignals(data.Db(), processor, data.Guid(), first)) {
        state.SkipWithError("load failed");
        return;
    }
    for (auto _ : state) {
        ReadingSignals decoded;
        if (!LoadReadingSignals(data.Db(), processor, data.Guid(), decoded)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(decoded.total.spectrum.data());
    }
}

} // namespace

BENCHMARK(BM_LoadReadingSignalsDecoding)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadReadingSignalsFromCache)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
