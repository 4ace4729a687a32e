#include "StoreFixture.h"

#include <QFile>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantor;
using namespace vantor::testing;

using RecordAccess = OnBothEngines<>;
VANTOR_ON_BOTH_ENGINES(RecordAccess);
// Files written by other programs (another column order, other declared types) exist only as
// SQLite files.
using RecordAccessFile = StoreFixture;

TEST_P(RecordAccess, VibrationReadingRoundTripsEveryColumn) {
    CVibReading r;
    r.sItemGUID = MakeItemGuid();
    r.sParentGUID = MakeItemGuid();
    r.sDeviceGUID = MakeItemGuid();
    r.sDeviceName = QStringLiteral("Meter 1");
    r.sDeviceSN = QStringLiteral("007");
    r.ctDateTaken = At(5, 13, 14, 15);
    r.fISOMMS = 0.1f;
    r.fVABand4G = 3.3333333f;
    r.fCurrentRunSpeedHz = 24.7f;
    r.iISONumberOfSamples = 2048;
    r.iTotalNumberOfSamples = -5;
    r.iADCBits = 16;
    r.rawADCISODataByteArray = QByteArray::fromHex("00ff7f80");
    r.rawADCTotalDataByteArray = QByteArray(4096, '\x01');
    ASSERT_TRUE(db->UpsertVibReading(r));

    CVibReading back;
    ASSERT_TRUE(db->GetVibReading(r.sItemGUID, back));
    EXPECT_EQ(back.sDeviceSN, QStringLiteral("007")); // text affinity keeps leading zeros
    EXPECT_EQ(back.ctDateTaken, r.ctDateTaken);
    EXPECT_EQ(back.fISOMMS, 0.1f); // the single-precision value, exactly
    EXPECT_EQ(back.fVABand4G, r.fVABand4G);
    EXPECT_EQ(back.fCurrentRunSpeedHz, r.fCurrentRunSpeedHz);
    EXPECT_EQ(back.iISONumberOfSamples, 2048);
    EXPECT_EQ(back.iTotalNumberOfSamples, -5);
    EXPECT_EQ(back.rawADCISODataByteArray, r.rawADCISODataByteArray);
    EXPECT_EQ(back.rawADCTotalDataByteArray, r.rawADCTotalDataByteArray);

    // Stored the documented way: in the file the date-time as text and the float as REAL; on the
    // server a timestamp, a single-precision real and a varchar.
    SqlConnection raw = ConnectionFor(context);
    ASSERT_TRUE(raw.Open());
    QSqlQuery query(raw.Database());
    ASSERT_TRUE(query.exec(raw.Dialect().Translate(
        OnServer()
            ? QStringLiteral("SELECT CAST([ctDateTaken] AS text), CAST(pg_typeof([fISOMMS]) AS text), "
                             "CAST(pg_typeof([sDeviceSN]) AS text), CAST(pg_typeof([ctDateTaken]) AS text) "
                             "FROM tblVibReadings")
            : QStringLiteral("SELECT [ctDateTaken], typeof([fISOMMS]), typeof([sDeviceSN]), "
                             "typeof([ctDateTaken]) FROM tblVibReadings"))))
        << query.lastError().text().toStdString();
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("2024-03-05 13:14:15"));
    EXPECT_EQ(query.value(1).toString(), QStringLiteral("real"));
    EXPECT_EQ(query.value(2).toString(),
              OnServer() ? QStringLiteral("character varying") : QStringLiteral("text"));
    EXPECT_EQ(query.value(3).toString(),
              OnServer() ? QStringLiteral("timestamp without time zone") : QStringLiteral("text"));
}

TEST_P(RecordAccess, ReadingWithSamePointAndInstantReplacesTheOldRowGuidIncluded) {
    const CVibReading first = AddReading(QStringLiteral("{p}"), At(1));
    CVibReading again = first;
    again.sItemGUID = MakeItemGuid();
    again.fISOMMS = 9.5f;
    ASSERT_TRUE(db->UpsertVibReading(again));

    const auto rows = db->ListVibReadings(QStringLiteral("{p}"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].sItemGUID, again.sItemGUID);
    EXPECT_EQ(rows[0].fISOMMS, 9.5f);
    CVibReading gone;
    EXPECT_FALSE(db->GetVibReading(first.sItemGUID, gone));

    // A different instant or another point is another reading.
    AddReading(QStringLiteral("{p}"), At(1, 12, 0, 1));
    AddReading(QStringLiteral("{q}"), At(1));
    EXPECT_EQ(db->ListVibReadings(QStringLiteral("{p}")).size(), 2u);
    EXPECT_EQ(db->ListVibReadings({}).size(), 3u);
}

TEST_P(RecordAccess, EmptyCapturesAreStoredAsOneByte) {
    CVibReading r;
    r.sItemGUID = MakeItemGuid();
    r.sParentGUID = QStringLiteral("{p}");
    r.ctDateTaken = At(2);
    ASSERT_TRUE(db->UpsertVibReading(r));
    CVibReading back;
    ASSERT_TRUE(db->GetVibReading(r.sItemGUID, back));
    EXPECT_EQ(back.rawADCISODataByteArray, QByteArray(1, '\0'));
    EXPECT_EQ(back.rawADCTotalDataByteArray, QByteArray(1, '\0'));
}

TEST_P(RecordAccess, ReadingListsAreOrderedByDateEitherWay) {
    AddReading(QStringLiteral("{p}"), At(3));
    AddReading(QStringLiteral("{p}"), At(1));
    AddReading(QStringLiteral("{p}"), At(2));
    const auto oldest = db->ListVibReadings(QStringLiteral("{p}"));
    const auto newest = db->ListVibReadingsNewestFirst(QStringLiteral("{p}"));
    ASSERT_EQ(oldest.size(), 3u);
    ASSERT_EQ(newest.size(), 3u);
    EXPECT_EQ(oldest[0].ctDateTaken, At(1));
    EXPECT_EQ(oldest[2].ctDateTaken, At(3));
    EXPECT_EQ(newest[0].ctDateTaken, At(3));
}

TEST_P(RecordAccess, UpsertByGuidUpdatesInPlaceAndKeysAreBoundNotPasted) {
    CMachine machine;
    machine.sItemGUID = QStringLiteral("{it's; DROP TABLE tblMachines; --}");
    machine.sName = QStringLiteral("Pump");
    ASSERT_TRUE(db->UpsertMachine(machine));
    machine.sName = QStringLiteral("Pump 2");
    ASSERT_TRUE(db->UpsertMachine(machine));
    const auto machines = db->ListMachines();
    ASSERT_EQ(machines.size(), 1u);
    EXPECT_EQ(machines[0].sName, QStringLiteral("Pump 2"));
    CMachine back;
    EXPECT_TRUE(db->GetMachine(machine.sItemGUID, back));
    EXPECT_FALSE(db->GetMachine(MakeItemGuid(), back));
}

TEST_P(RecordAccess, TextLongerThanTheColumnIsCutTo255Characters) {
    CMachine machine;
    machine.sItemGUID = MakeItemGuid();
    machine.sName = QString(300, QLatin1Char('x'));
    ASSERT_TRUE(db->UpsertMachine(machine));
    CMachine back;
    ASSERT_TRUE(db->GetMachine(machine.sItemGUID, back));
    EXPECT_EQ(back.sName.size(), 255);
}

TEST_P(RecordAccess, RouteListingStopsAtTheRouteCapacityWhileCountingAll) {
    {
        SqlConnection raw = ConnectionFor(context);
        ASSERT_TRUE(raw.Open());
        SqlConnection::Batch batch(raw);
        SqlStatement& insert = raw.Prepared(
            QStringLiteral("INSERT INTO tblRouteItems ([sItemGUID], [sParentGUID], [fOrder], [sMachineGUID], "
                           "[sMachineName]) VALUES (?, '{r}', ?, '{m}', 'M')"));
        for (int i = 0; i < 1001; ++i) {
            insert.BindText(0, QStringLiteral("{item-%1}").arg(i));
            insert.BindDouble(1, static_cast<double>(1000 - i));
            RunOnce(insert);
        }
    }
    const auto items = db->ListRouteItems(QStringLiteral("{r}"));
    ASSERT_EQ(items.size(), 1000u);
    EXPECT_EQ(items.front().sItemGUID, QStringLiteral("{item-1000}")); // lowest order first
    EXPECT_EQ(db->CountRouteItems(QStringLiteral("{r}")), 1001);
}

TEST_F(RecordAccessFile, TablesWrittenByAnotherProgramBindByColumnName) {
    // Same columns, another physical order and other declared types.
    Execute(QStringLiteral("DROP TABLE tblRoutes"));
    Execute(
        QStringLiteral("CREATE TABLE tblRoutes (sName VARCHAR(255), fOrder FLOAT, sItemGUID VARCHAR(38))"));
    Execute(QStringLiteral("INSERT INTO tblRoutes VALUES ('North', 1, '{b}'), ('South', 0, '{a}')"));
    CMainConnection other(context);
    ASSERT_TRUE(other.Open());
    auto routes = other.ListRoutes();
    ASSERT_EQ(routes.size(), 2u);
    EXPECT_EQ(routes[0].sName, QStringLiteral("South"));
    EXPECT_EQ(routes[0].sItemGUID, QStringLiteral("{a}"));
    CRoute route = routes[1];
    route.sName = QStringLiteral("East");
    ASSERT_TRUE(other.UpsertRoute(route));
    CRoute back;
    ASSERT_TRUE(other.GetRoute(QStringLiteral("{b}"), back));
    EXPECT_EQ(back.sName, QStringLiteral("East"));
    EXPECT_EQ(back.fOrder, 1.0f);
}

TEST_F(RecordAccessFile, MakeItemGuidIsABracedLowerCaseGuid) {
    const QString guid = MakeItemGuid();
    EXPECT_EQ(guid.size(), 38);
    EXPECT_TRUE(guid.startsWith(QLatin1Char('{')) && guid.endsWith(QLatin1Char('}')));
    EXPECT_EQ(guid, guid.toLower());
    EXPECT_NE(guid, MakeItemGuid());
}

namespace {

// Runs in a child process: holds the database's write lock (a row written, not yet committed) for
// `holdMs`, telling the parent through `ready` once it has it, then commits.
[[noreturn]] void HoldWriteLockThenCommit(const QByteArray& file, int ready, int holdMs) {
    sqlite3* handle = nullptr;
    int rc = sqlite3_open(file.constData(), &handle);
    rc = rc == SQLITE_OK ? sqlite3_exec(handle,
                                        "BEGIN IMMEDIATE; INSERT INTO tblMachines (sItemGUID, sName) "
                                        "VALUES ('{00000000-0000-4000-8000-000000000001}', 'Other');",
                                        nullptr, nullptr, nullptr)
                         : rc;
    const char byte = rc == SQLITE_OK ? 1 : 0;
    (void)!::write(ready, &byte, 1);
    ::usleep(static_cast<useconds_t>(holdMs) * 1000);
    rc = sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    ::_exit(rc == SQLITE_OK ? 0 : 1);
}

} // namespace

TEST_P(RecordAccess, AWriterWaitsForAnotherProcessesWriteInsteadOfFailing) {
    if (OnServer()) {
        GTEST_SKIP() << "SQLite's file lock; the server's writers take turns by an advisory lock";
    }
    AddMachine(QStringLiteral("First")); // the tables exist and this connection has read them
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        HoldWriteLockThenCommit(QFile::encodeName(context.databaseFile), pipeEnds[1], 400);
    }
    ::close(pipeEnds[1]);
    char ready = 0;
    ASSERT_EQ(::read(pipeEnds[0], &ready, 1), 1);
    ::close(pipeEnds[0]);
    ASSERT_EQ(ready, 1);
    // An editor's write: a lookup, then the insert, in one transaction.
    bool stored = false;
    try {
        SqlConnection::Transaction transaction(db->Connection());
        CMachine machine;
        machine.sItemGUID = MakeItemGuid();
        machine.sName = QStringLiteral("Second");
        machine.sVMName = QStringLiteral("Second");
        stored = db->UpsertMachine(machine) && transaction.Commit();
    } catch (const DatabaseError& error) {
        ADD_FAILURE() << error.what();
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(stored);
    EXPECT_EQ(db->ListMachines().size(), 3u); // both writers' rows
}
