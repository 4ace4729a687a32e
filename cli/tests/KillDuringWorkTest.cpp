// An import and an upload killed with SIGKILL at several points: the database always passes its
// integrity check, holds no reading twice, and a run started afterwards completes the work.
#include "archive/ArchiveWriter.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"
#include "store/DataFileRecords.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using vantor::testing::RunVantor;

class KillDuringWork : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunVantor({QStringLiteral("init")}).status, 0); }

    QString DatabaseFile() const {
        return env.CommonAppData() + QStringLiteral("/Norhall Instruments/Corvane/Database/VantorV1.mdb");
    }

    // Runs `vantor ARGS` and kills it with SIGKILL as soon as `due` says so (asked every few
    // milliseconds), unless it has ended by then. True when it was killed.
    static bool RunAndKillWhen(const QStringList& arguments, const std::function<bool()>& due) {
        QProcess process;
        process.start(QStringLiteral(VANTOR_CLI_PATH), arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.closeWriteChannel();
        while (!process.waitForFinished(5)) {
            if (due()) {
                ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
                process.waitForFinished();
                return true;
            }
        }
        return false;
    }

    // The integrity check's answer, and the number of rows and of distinct keys of a table.
    struct State {
        QString integrity;
        int rows = -1;
        int distinctGuids = -1;
        int distinctInstants = -1; // point and date taken, for the reading tables
    };
    State Inspect(const QString& table, bool readings = true) const {
        State state;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspect"));
            db.setDatabaseName(DatabaseFile());
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
            EXPECT_TRUE(db.open());
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next()) {
                state.integrity = query.value(0).toString();
            }
            EXPECT_TRUE(
                query.exec(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT sItemGUID) FROM %1").arg(table)) &&
                query.next())
                << query.lastError().text().toStdString();
            state.rows = query.value(0).toInt();
            state.distinctGuids = query.value(1).toInt();
            if (readings) {
                EXPECT_TRUE(
                    query.exec(QStringLiteral("SELECT COUNT(DISTINCT sParentGUID || '/' || ctDateTaken) "
                                              "FROM %1")
                                   .arg(table)) &&
                    query.next())
                    << query.lastError().text().toStdString();
                state.distinctInstants = query.value(0).toInt();
            }
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
        return state;
    }

    // The readings committed so far, read while the child writes (the local database keeps a
    // write-ahead log, so this reader never holds the writer up).
    int CommittedReadings() const {
        int rows = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("poll"));
            db.setDatabaseName(DatabaseFile());
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
            if (db.open()) {
                QSqlQuery query(db);
                if (query.exec(QStringLiteral("SELECT COUNT(*) FROM tblVibReadings")) && query.next()) {
                    rows = query.value(0).toInt();
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("poll"));
        return rows;
    }

    vantor::testing::TempEnvironment env;
};

// A data file of one machine with `points` points and `readings` readings each, every reading with
// two captures of `captureBytes` bytes, written to `out` as it is made.
void WriteDataFile(QIODevice& out, int points, int readings, int captureBytes = 4096) {
    const auto guid = [] { return QUuid::createUuid().toString(QUuid::WithBraces).toLower(); };
    vantor::ArchiveWriter writer(out);
    writer.WriteInt32(1);
    vantor::CMachine machine{guid(), 0, QStringLiteral("Fan"), QStringLiteral("Fan"), {}};
    writer.WriteInt32(1);
    vantor::WriteDataFileRecord(writer, machine);
    std::vector<vantor::CVib> vibs;
    for (int p = 0; p < points; ++p) {
        vantor::CVib vib;
        vib.sItemGUID = guid();
        vib.sParentGUID = machine.sItemGUID;
        vib.fOrder = static_cast<float>(p);
        vib.sName = vib.sVMName = QStringLiteral("P%1").arg(p + 1);
        vib.fRunSpeedHz = 24.5f;
        vibs.push_back(vib);
    }
    writer.WriteInt32(points);
    for (const auto& vib : vibs) {
        vantor::WriteDataFileRecord(writer, vib);
    }
    writer.WriteInt32(points * readings);
    const QByteArray iso(captureBytes, 'i');
    const QByteArray total(captureBytes, 't');
    for (const auto& vib : vibs) {
        for (int r = 0; r < readings; ++r) {
            vantor::CVibReading reading;
            reading.sItemGUID = guid();
            reading.sParentGUID = vib.sItemGUID;
            reading.ctDateTaken = QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(3600LL * r);
            reading.rawADCISODataByteArray = iso;
            reading.rawADCTotalDataByteArray = total;
            vantor::WriteDataFileRecord(writer, reading);
        }
    }
    writer.WriteInt32(0);
    writer.WriteInt32(0);
}

QByteArray DataFileOf(int points, int readings) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteDataFile(buffer, points, readings);
    return buffer.data();
}

// Runs `vantor ARGS` to its end and gives its exit status and its peak resident memory in bytes
// (the kernel's count for that one process).
std::pair<int, qint64> RunVantorForPeakMemory(const QStringList& arguments) {
    std::vector<std::string> words{VANTOR_CLI_PATH};
    for (const QString& argument : arguments) {
        words.push_back(argument.toStdString());
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        return {-1, 0};
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, static_cast<qint64>(usage.ru_maxrss) * 1024};
}

} // namespace

TEST_F(KillDuringWork, AnImportKilledAnywhereLeavesAnIntactDatabaseAndCompletesAfterwards) {
    constexpr int kReadings = 6 * 40;
    const QString path = env.Root() + QStringLiteral("/plant.rmd");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(DataFileOf(6, 40)); // 240 readings, about 2 MB
    }
    const QStringList import{QStringLiteral("import"), path, QStringLiteral("--yes")};
    // How long a whole import takes here, on a copy of the empty database put back afterwards.
    const QString pristine = DatabaseFile() + QStringLiteral(".pristine");
    ASSERT_TRUE(QFile::copy(DatabaseFile(), pristine));
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(RunVantor(import).status, 0);
    const qint64 whole = clock.elapsed();
    for (const QString& file :
         {DatabaseFile(), DatabaseFile() + QStringLiteral("-wal"), DatabaseFile() + QStringLiteral("-shm")}) {
        QFile::remove(file);
    }
    ASSERT_TRUE(QFile::rename(pristine, DatabaseFile()));
    ASSERT_EQ(Inspect(QStringLiteral("tblVibReadings")).rows, 0);

    // Killed at tenths of that time: the import is one transaction, so each kill leaves either
    // nothing or everything, and once everything was committed it stays.
    int committed = 0;
    for (const int tenths : {1, 3, 5, 7, 9}) {
        clock.restart();
        RunAndKillWhen(import, [&] { return clock.elapsed() >= whole * tenths / 10; });
        const State state = Inspect(QStringLiteral("tblVibReadings"));
        EXPECT_EQ(state.integrity, QStringLiteral("ok")) << tenths;
        EXPECT_TRUE(state.rows == 0 || state.rows == kReadings) << tenths << ": " << state.rows;
        EXPECT_GE(state.rows, committed) << tenths;
        EXPECT_EQ(state.rows, state.distinctGuids) << tenths;
        EXPECT_EQ(state.rows, state.distinctInstants) << tenths;
        committed = state.rows;
    }
    ASSERT_EQ(RunVantor(import).status, 0);
    const State done = Inspect(QStringLiteral("tblVibReadings"));
    EXPECT_EQ(done.integrity, QStringLiteral("ok"));
    EXPECT_EQ(done.rows, kReadings);
    EXPECT_EQ(done.distinctInstants, kReadings);
    EXPECT_EQ(Inspect(QStringLiteral("tblVibs"), false).rows, 6);
}

TEST_F(KillDuringWork, AnUploadKilledAnywhereStoresNoReadingTwiceAndTheNextRunTakesTheRest) {
    constexpr int kSlots = 6;
    constexpr int kReadings = 2 * kSlots;
    QStringList readings;
    for (int slot = 0; slot < kSlots; ++slot) {
        for (int point = 0; point < 2; ++point) {
            readings << QStringLiteral(R"({"point": %1, "slot": %2, "taken": "2026-11-%3T09:%4:00Z"})")
                            .arg(point)
                            .arg(slot)
                            .arg(10 + slot)
                            .arg(10 + point);
        }
    }
    const QByteArray json = QStringLiteral(R"({
        "assets": [{"guid": "0a1b2c3d-0000-4000-8000-00000000000a", "name": "Fan 3"}],
        "points": [{"asset": "0a1b2c3d-0000-4000-8000-00000000000a",
                    "guid": "0a1b2c3d-0000-4000-8000-0000000000b1", "name": "DE H", "runSpeedHz": 24.5},
                   {"asset": "0a1b2c3d-0000-4000-8000-00000000000a",
                    "guid": "0a1b2c3d-0000-4000-8000-0000000000b2", "name": "NDE H", "runSpeedHz": 24.5}],
        "readings": [%1]})")
                                .arg(readings.join(QLatin1Char(',')))
                                .toUtf8();
    vantor::sim::Scenario scenario;
    QString error;
    ASSERT_TRUE(vantor::sim::ParseScenario(json, scenario, error)) << error.toStdString();
    const auto meter = vantor::sim::MeterEmulator::OnPseudoTerminal(
        vantor::sim::MeterResponder(scenario.state, scenario.faults), error);
    ASSERT_NE(meter, nullptr) << error.toStdString();
    const QStringList sync{QStringLiteral("sync"),          QStringLiteral("from-meter"),
                           QStringLiteral("--port"),        meter->DevicePath(),
                           QStringLiteral("--silence-ms"),  QStringLiteral("30"),
                           QStringLiteral("--announce-ms"), QStringLiteral("0"),
                           QStringLiteral("--device-name"), QStringLiteral("Meter A")};
    // Killed once the database holds 0 (the run under way), 1, 4 and 8 readings: every committed
    // reading stays, none is stored twice, and the meter keeps the rest for the next run.
    int committed = 0;
    for (const int after : {0, 1, 4, 8}) {
        QElapsedTimer clock;
        clock.start();
        RunAndKillWhen(sync,
                       [&] { return after == 0 ? clock.elapsed() >= 150 : CommittedReadings() >= after; });
        const State state = Inspect(QStringLiteral("tblVibReadings"));
        EXPECT_EQ(state.integrity, QStringLiteral("ok")) << after;
        EXPECT_EQ(state.rows, state.distinctGuids) << after;
        EXPECT_EQ(state.rows, state.distinctInstants) << after;
        EXPECT_GE(state.rows, std::max(committed, after)) << after;
        EXPECT_LE(state.rows, kReadings) << after;
        committed = state.rows;
    }
    const auto finished = RunVantor(sync);
    ASSERT_EQ(finished.status, 0) << finished.err.constData();
    const State done = Inspect(QStringLiteral("tblVibReadings"));
    EXPECT_EQ(done.integrity, QStringLiteral("ok"));
    EXPECT_EQ(done.rows, kReadings);
    EXPECT_EQ(done.distinctInstants, kReadings);
    for (const auto& point : meter->State().points) {
        EXPECT_EQ(point.newData, 0u);
    }
}

// A data file is read as it is imported: the program's memory stays under 64 MB for a 288 MB file.
TEST_F(KillDuringWork, ALargeDataFileImportsInBoundedMemory) {
    constexpr int kPoints = 8;
    constexpr int kReadings = 144;
    constexpr int kCaptureBytes = 128 * 1024;
    const QString path = env.Root() + QStringLiteral("/large.rmd");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        WriteDataFile(file, kPoints, kReadings, kCaptureBytes);
    }
    ASSERT_GT(QFileInfo(path).size(), 288LL * 1024 * 1024);
    const auto [status, peak] =
        RunVantorForPeakMemory({QStringLiteral("import"), path, QStringLiteral("--yes")});
    ASSERT_EQ(status, 0);
    EXPECT_LT(peak, 64LL * 1024 * 1024) << peak / 1024 << " kB";
    EXPECT_EQ(Inspect(QStringLiteral("tblVibReadings")).rows, kPoints * kReadings);
    QFile::remove(path);
}
