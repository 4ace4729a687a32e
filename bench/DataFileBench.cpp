// Data file speed: export and import of 10,000 readings (two 4096-byte captures each), beside a
// plain SQLite bulk insert of the same rows through the C interface as the reference.
#include "platform/Prompter.h"
#include "store/DataFile.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

using namespace vantor;

constexpr int kReadings = 10000;
constexpr int kPoints = 100;

class SilentPrompter final : public Prompter {
public:
    void ShowMessage(const QString&) override {}
    bool AskYesNo(const QString&) override { return true; }
    bool AskRetryCancel(const QString&) override { return false; }
    std::optional<QString> PromptName(const NameRequest&) override { return std::nullopt; }
    std::optional<QDateTime> PromptDateFix(const DateFixRequest&) override { return std::nullopt; }
};

CVibReading MakeReading(int i) {
    CVibReading r;
    r.sItemGUID = QStringLiteral("{%1}").arg(i, 36, 10, QLatin1Char('0'));
    r.sParentGUID = QStringLiteral("{point-%1}").arg(i % kPoints);
    r.sDeviceName = QStringLiteral("Meter");
    r.ctDateTaken = QDateTime(QDate(2024, 1, 1), QTime(0, 0)).addSecs(static_cast<qint64>(i) * 60);
    r.fISOMMS = 1.5f;
    r.iISONumberOfSamples = 2048;
    r.iTotalNumberOfSamples = 2048;
    r.rawADCISODataByteArray = QByteArray(4096, static_cast<char>(i));
    r.rawADCTotalDataByteArray = QByteArray(4096, static_cast<char>(i + 1));
    return r;
}

struct Fixture {
    QTemporaryDir dir;
    SilentPrompter prompter;
    DataFileProgress progress;
    QString file = dir.filePath(QStringLiteral("bench.rmd"));

    StoreContext Context(const QString& name) {
        StoreContext context;
        context.databaseFile = dir.filePath(name);
        context.dataFolder = dir.path();
        context.prompter = &prompter;
        return context;
    }

    std::unique_ptr<CMainConnection> FreshDatabase(const QString& name) {
        QFile::remove(dir.filePath(name));
        QFile::remove(dir.filePath(name + QStringLiteral("-wal")));
        QFile::remove(dir.filePath(name + QStringLiteral("-shm")));
        CreateEmptyDatabase(dir.filePath(name));
        auto db = std::make_unique<CMainConnection>(Context(name));
        db->Open();
        return db;
    }

    Fixture() {
        auto db = FreshDatabase(QStringLiteral("source.mdb"));
        SqlConnection::Batch batch(db->Connection());
        for (int i = 0; i < kReadings; ++i) {
            db->UpsertVibReading(MakeReading(i));
        }
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_Export(benchmark::State& state) {
    Fixture& f = Shared();
    auto db = std::make_unique<CMainConnection>(f.Context(QStringLiteral("source.mdb")));
    db->Open();
    for (auto _ : state) {
        if (ExportEverything(*db, f.file, f.progress) != DataFileOutcome::Done) {
            state.SkipWithError("export failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}

void BM_Import(benchmark::State& state) {
    Fixture& f = Shared();
    {
        auto source = std::make_unique<CMainConnection>(f.Context(QStringLiteral("source.mdb")));
        source->Open();
        ExportEverything(*source, f.file, f.progress);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto db = f.FreshDatabase(QStringLiteral("target.mdb"));
        state.ResumeTiming();
        if (ImportDataFile(*db, f.file, f.progress) != DataFileOutcome::Done) {
            state.SkipWithError("import failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}

// The reference: the same rows into the same schema, one prepared INSERT reused in one transaction.
void BM_PlainSqliteInsert(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<CVibReading> rows;
    rows.reserve(kReadings);
    for (int i = 0; i < kReadings; ++i) {
        rows.push_back(MakeReading(i));
    }
    for (auto _ : state) {
        state.PauseTiming();
        f.FreshDatabase(QStringLiteral("plain.mdb")).reset();
        sqlite3* db = nullptr;
        sqlite3_open(qPrintable(f.dir.filePath(QStringLiteral("plain.mdb"))), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        state.ResumeTiming();
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db,
            "INSERT INTO tblVibReadings ([sItemGUID],[sParentGUID],[sDeviceGUID],[sDeviceName],"
            "[sDeviceSN],[ctDateTaken],[fISOMMS],[fDisplacementMicrons],[fTotalG],[fTotalMMS],"
            "[fBearingBDU],[fVABand1MMS],[fVABand2MMS],[fVABand3MMS],[fVABand4MMS],[fVABand1G],"
            "[fVABand2G],[fVABand3G],[fVABand4G],[fAccelerometerSensitivity],[fOriginalRunSpeedHz],"
            "[fCurrentRunSpeedHz],[iISONumberOfSamples],[fISOSamplingFrequency],"
            "[iTotalNumberOfSamples],[fTotalSamplingFrequency],[fISOGain],[fISOCal],[fTotalGain],"
            "[fTotalCal],[fPSUVoltage],[iADCBits],[rawADCISODataByteArray],[rawADCTotalDataByteArray])"
            " VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
            -1, &insert, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const CVibReading& r : rows) {
            const QByteArray guid = r.sItemGUID.toUtf8();
            const QByteArray parent = r.sParentGUID.toUtf8();
            const QByteArray name = r.sDeviceName.toUtf8();
            const QByteArray taken = SqlDateTimeText(r.ctDateTaken).toUtf8();
            sqlite3_bind_text(insert, 1, guid.constData(), static_cast<int>(guid.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 2, parent.constData(), static_cast<int>(parent.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 3, "", 0, SQLITE_STATIC);
            sqlite3_bind_text(insert, 4, name.constData(), static_cast<int>(name.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 5, "", 0, SQLITE_STATIC);
            sqlite3_bind_text(insert, 6, taken.constData(), static_cast<int>(taken.size()), SQLITE_STATIC);
            for (int column = 7; column <= 32; ++column) {
                sqlite3_bind_double(insert, column, column == 7 ? r.fISOMMS : 0.0);
            }
            sqlite3_bind_blob(insert, 33, r.rawADCISODataByteArray.constData(), 4096, SQLITE_STATIC);
            sqlite3_bind_blob(insert, 34, r.rawADCTotalDataByteArray.constData(), 4096, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(insert);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}

BENCHMARK(BM_PlainSqliteInsert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
