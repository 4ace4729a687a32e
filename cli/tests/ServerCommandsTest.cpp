// `vantor server ...` against the test cluster: set-up, switching, status, the whole-database
// copies with identical exports, the messages of each connection failure, two meters uploading
// into one server at once, and the server going away in the middle of an upload.
#include "cli/tests/RunVantor.h"
#include "platform/testing/PostgresCluster.h"
#include "platform/testing/TempEnvironment.h"
#include "store/ServerAddress.h"
#include "store/ServerSchema.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <bit>

#include <gtest/gtest.h>

using vantor::testing::PostgresCluster;

namespace {

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

// A meter holding `count` readings of one point of a machine the database does not know yet.
QByteArray MeterWith(int count, const QString& meterGuid, int firstDay) {
    QJsonArray readings;
    for (int i = 0; i < count; ++i) {
        readings.append(QJsonObject{{QStringLiteral("point"), i / 10},
                                    {QStringLiteral("slot"), i % 10},
                                    {QStringLiteral("taken"), QStringLiteral("2026-11-%1T%2:%3:00Z")
                                                                  .arg(firstDay, 2, 10, QLatin1Char('0'))
                                                                  .arg(8 + i / 60, 2, 10, QLatin1Char('0'))
                                                                  .arg(i % 60, 2, 10, QLatin1Char('0'))}});
    }
    QJsonArray points;
    for (int p = 0; p <= (count - 1) / 10; ++p) {
        points.append(QJsonObject{
            {QStringLiteral("asset"), QStringLiteral("0a1b2c3d-0000-4000-8000-00000000000a")},
            {QStringLiteral("guid"), QStringLiteral("0a1b2c3d-0000-4000-8000-0000000000b%1").arg(p)},
            {QStringLiteral("name"), QStringLiteral("DE H%1").arg(p)},
            {QStringLiteral("runSpeedHz"), 24.5}});
    }
    const QJsonObject scenario{
        {QStringLiteral("meter"), QJsonObject{{QStringLiteral("guid"), meterGuid}}},
        {QStringLiteral("assets"),
         QJsonArray{
             QJsonObject{{QStringLiteral("guid"), QStringLiteral("0a1b2c3d-0000-4000-8000-00000000000a")},
                         {QStringLiteral("name"), QStringLiteral("Fan 3")}}}},
        {QStringLiteral("points"), points},
        {QStringLiteral("readings"), readings}};
    return QJsonDocument(scenario).toJson(QJsonDocument::Compact);
}

// The point the meter above creates.
constexpr const char* kPoint = "{0a1b2c3d-0000-4000-8000-0000000000b0}";

class ServerCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cluster.Ready()) << "the test PostgreSQL cluster did not start: "
                                     << cluster.Error().toStdString();
        url = cluster.CreateDatabase();
        ASSERT_FALSE(url.isEmpty()) << cluster.Error().toStdString();
        ASSERT_EQ(Vantor({"init"}).status, 0);
    }

    static ProgramRun Vantor(const QStringList& arguments) {
        const vantor::testing::VantorRun run = vantor::testing::RunVantor(arguments);
        return {run.status, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
    }

    std::unique_ptr<vantor::sim::MeterEmulator> StartMeter(const QByteArray& json) {
        vantor::sim::Scenario scenario;
        QString error;
        EXPECT_TRUE(vantor::sim::ParseScenario(json, scenario, error)) << error.toStdString();
        auto meter = vantor::sim::MeterEmulator::OnPseudoTerminal(
            vantor::sim::MeterResponder(scenario.state, scenario.faults), error);
        EXPECT_NE(meter, nullptr) << error.toStdString();
        return meter;
    }

    static QStringList SyncArguments(const vantor::sim::MeterEmulator& meter, const QString& name) {
        return {"sync",         "from-meter", "--port",        meter.DevicePath(),
                "--silence-ms", "100",        "--device-name", name};
    }

    QByteArray ExportAll(const char* name) {
        const QString path = QDir(env.Root()).filePath(QLatin1String(name));
        const ProgramRun run = Vantor({"export", path, "--all"});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QJsonObject Status() {
        const ProgramRun run = Vantor({"server", "status", "--json"});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8()).object();
    }

    PostgresCluster& cluster = PostgresCluster::Shared();
    vantor::testing::TempEnvironment env;
    QString url;
};

} // namespace

TEST_F(ServerCommandLine, LocalToServerToLocalKeepsTheSameExport) {
    const auto meter = StartMeter(MeterWith(3, QStringLiteral("5e5e5e5e-0000-4000-8000-000000000001"), 1));
    ASSERT_EQ(Vantor(SyncArguments(*meter, QStringLiteral("Meter A"))).status, 0);
    ASSERT_EQ(Vantor({"machine", "add", "Pump 7"}).status, 0);
    // Rows of the added tables travel too: a bearing assigned to the point and a baseline alarm.
    const ProgramRun assigned =
        Vantor({"vib", "bearings", kPoint, "--add", "6205-2RS JEM", "--location", "Fan DE"});
    ASSERT_EQ(assigned.status, 0) << assigned.err.toStdString();
    ASSERT_EQ(Vantor({"alarms", kPoint, "--measure", "iso", "--baseline", "3"}).status, 0);
    const QString bearingsHere = Vantor({"vib", "bearings", kPoint, "--json"}).out;
    const QString alarmsHere = Vantor({"alarms", kPoint, "--json"}).out;
    ASSERT_TRUE(bearingsHere.contains(QStringLiteral("Fan DE"))) << bearingsHere.toStdString();
    const QByteArray local = ExportAll("local.rmd");

    ProgramRun run = Vantor({"server", "init", url});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(
        run.out.startsWith(QStringLiteral("Created schema version %1").arg(vantor::kServerSchemaVersion)))
        << run.out.toStdString();
    EXPECT_EQ(Vantor({"server", "init", url}).status, 0); // a second init finds it current
    ASSERT_EQ(Vantor({"server", "use", url}).status, 0);
    run = Vantor({"server", "copy-from-local"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("tblVibReadings\t3"))) << run.out.toStdString();
    EXPECT_NE(Vantor({"server", "copy-from-local"}).status, 0); // the server holds data now

    const QJsonObject status = Status();
    EXPECT_TRUE(status.value(QStringLiteral("engine")).toString().startsWith(QStringLiteral("PostgreSQL")));
    EXPECT_EQ(status.value(QStringLiteral("schemaVersion")).toInt(), vantor::kServerSchemaVersion);
    EXPECT_EQ(status.value(QStringLiteral("counts")).toObject().value(QStringLiteral("tblMachines")).toInt(),
              2);
    bool sawItself = false;
    for (const auto session : status.value(QStringLiteral("connected")).toArray()) {
        sawItself = sawItself || session.toObject()
                                     .value(QStringLiteral("application"))
                                     .toString()
                                     .contains(QStringLiteral("Corvane"));
    }
    EXPECT_TRUE(sawItself);

    // Work on the server, then the copy back replaces the local tables.
    EXPECT_EQ(ExportAll("server.rmd"), local);
    EXPECT_EQ(Vantor({"vib", "bearings", kPoint, "--json"}).out, bearingsHere);
    EXPECT_EQ(Vantor({"alarms", kPoint, "--json"}).out, alarmsHere);
    ASSERT_EQ(Vantor({"machine", "add", "Fan 9"}).status, 0);
    const QByteArray onServer = ExportAll("server2.rmd");
    run = Vantor({"server", "copy-to-local"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("already holds data"))) << run.err.toStdString();
    ASSERT_EQ(Vantor({"server", "copy-to-local", "--replace"}).status, 0);
    ASSERT_EQ(Vantor({"server", "local"}).status, 0);
    EXPECT_EQ(ExportAll("back.rmd"), onServer);
    EXPECT_EQ(Vantor({"vib", "bearings", kPoint, "--json"}).out, bearingsHere);
    EXPECT_EQ(Vantor({"alarms", kPoint, "--json"}).out, alarmsHere);
}

TEST_F(ServerCommandLine, AnOlderSchemaGainsTheAddedTablesAndKeepsTheirRows) {
    const ProgramRun init = Vantor({"server", "init", url});
    ASSERT_EQ(init.status, 0) << init.err.toStdString();
    ASSERT_EQ(Vantor({"server", "use", url}).status, 0);
    ASSERT_EQ(Vantor({"bearing", "add", "Kept", "--factors", "0.4,2.3,3.6,5.4"}).status, 0);
    // Back to a version-1 server that had gained only the bearing tables on opening.
    const QString database = vantor::ServerAddress::Parse(url)->Option(QStringLiteral("dbname"));
    ASSERT_TRUE(
        cluster.Run(database, QStringLiteral("DROP TABLE tblpointalarmsettings, tblpointspectralbands, "
                                             "tblreadingindices, tblvibenvelopebands, tblimportedreadings, "
                                             "tblpointseveritystandard; "
                                             "DELETE FROM tblschemaversion WHERE \"iVersion\" > 1")))
        << cluster.Error().toStdString();
    ASSERT_EQ(Vantor({"server", "local"}).status, 0);

    const ProgramRun run = Vantor({"server", "use", url});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(Status().value(QStringLiteral("schemaVersion")).toInt(), vantor::kServerSchemaVersion);
    const QJsonObject counts = Status().value(QStringLiteral("counts")).toObject();
    for (const char* table : {"tblPointAlarmSettings", "tblPointSpectralBands", "tblReadingIndices",
                              "tblVibEnvelopeBands", "tblImportedReadings", "tblPointSeverityStandard"}) {
        EXPECT_EQ(counts.value(QLatin1String(table)).toInt(-1), 0) << table;
    }
    EXPECT_TRUE(Vantor({"bearing", "list"}).out.contains(QStringLiteral("\tKept\t")))
        << "the bearing list kept its rows";
}

TEST_F(ServerCommandLine, EachConnectionFailureHasItsMessage) {
    ASSERT_TRUE(cluster.Run(
        QStringLiteral("postgres"),
        QStringLiteral("DO $$BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'analyst') "
                       "THEN CREATE ROLE analyst LOGIN PASSWORD 'right'; END IF; END$$")))
        << cluster.Error().toStdString();
    const QString database = vantor::ServerAddress::Parse(url)->Option(QStringLiteral("dbname"));
    struct Case {
        QString address;
        const char* message;
    };
    const std::vector<Case> cases = {
        {cluster.TcpAddress(database, QStringLiteral("analyst"), QStringLiteral("wrong")),
         "refused the user name or password"},
        {url, "holds no Vantor tables yet"},
        {QStringLiteral("postgresql://127.0.0.1:1/plant?connect_timeout=2"), "refused the connection"},
        {QStringLiteral("host=%1 port=%2 dbname=no_such_db user=vantor_test")
             .arg(cluster.SocketFolder())
             .arg(cluster.Port()),
         "has no database no_such_db"},
        {QStringLiteral("host= = ="), "cannot be read"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Vantor({"server", "use", c.address});
        EXPECT_NE(run.status, 0) << c.address.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(c.message)))
            << c.address.toStdString() << ": " << run.err.toStdString();
    }
    // Nothing was switched: the local database stays in use.
    EXPECT_EQ(Vantor({"server", "status"}).status, 1);

    // A schema newer than this program knows is left alone.
    ASSERT_EQ(Vantor({"server", "init", url}).status, 0);
    ASSERT_TRUE(cluster.Run(database, QStringLiteral("INSERT INTO tblschemaversion VALUES (99, now())")));
    const ProgramRun newer = Vantor({"server", "use", url});
    EXPECT_EQ(newer.status, 1);
    EXPECT_TRUE(newer.err.contains(QStringLiteral("newer version of Vantor"))) << newer.err.toStdString();
}

TEST_F(ServerCommandLine, TwoMetersUploadingAtOnceStoreEveryReadingOnce) {
    ASSERT_EQ(Vantor({"server", "init", url}).status, 0);
    ASSERT_EQ(Vantor({"server", "use", url}).status, 0);
    // Both meters carry readings of the same new machine and points, at different times.
    const auto first = StartMeter(MeterWith(12, QStringLiteral("5e5e5e5e-0000-4000-8000-000000000001"), 1));
    const auto second = StartMeter(MeterWith(12, QStringLiteral("5e5e5e5e-0000-4000-8000-000000000002"), 2));
    QProcess a;
    QProcess b;
    a.start(QStringLiteral(VANTOR_CLI_PATH), SyncArguments(*first, QStringLiteral("Meter A")));
    b.start(QStringLiteral(VANTOR_CLI_PATH), SyncArguments(*second, QStringLiteral("Meter B")));
    a.closeWriteChannel();
    b.closeWriteChannel();
    ASSERT_TRUE(a.waitForFinished(120000));
    ASSERT_TRUE(b.waitForFinished(120000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();

    const QJsonObject counts = Status().value(QStringLiteral("counts")).toObject();
    EXPECT_EQ(counts.value(QStringLiteral("tblVibReadings")).toInt(), 24);
    EXPECT_EQ(counts.value(QStringLiteral("tblMachines")).toInt(), 1);
    EXPECT_EQ(counts.value(QStringLiteral("tblVibs")).toInt(), 2);
    EXPECT_EQ(counts.value(QStringLiteral("tblDevices")).toInt(), 2);
    const ProgramRun vibs = Vantor({"list", "vibs", "--json"});
    const QJsonArray rows = QJsonDocument::fromJson(vibs.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_NE(rows[0].toObject().value(QStringLiteral("fOrder")),
              rows[1].toObject().value(QStringLiteral("fOrder")));
}

TEST_F(ServerCommandLine, ServerGoneMidUploadEndsWithDatabaseUnavailableAndTheNextRunFinishes) {
    ASSERT_EQ(Vantor({"server", "init", url}).status, 0);
    ASSERT_EQ(Vantor({"server", "use", url}).status, 0);
    constexpr int kReadings = 30;
    const auto meter =
        StartMeter(MeterWith(kReadings, QStringLiteral("5e5e5e5e-0000-4000-8000-000000000001"), 1));
    QProcess sync;
    sync.setReadChannel(QProcess::StandardError); // the progress comes on standard error
    sync.start(QStringLiteral(VANTOR_CLI_PATH), SyncArguments(*meter, QStringLiteral("Meter A")));
    sync.closeWriteChannel();
    QByteArray err;
    while (!err.contains("Uploading Reading: 3 of") && sync.waitForReadyRead(60000)) {
        err += sync.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("Uploading Reading: 3 of"))
        << (err + sync.readAllStandardError() + sync.readAllStandardOutput()).toStdString();
    ASSERT_TRUE(cluster.Stop()) << cluster.Error().toStdString();
    ASSERT_TRUE(sync.waitForFinished(120000));
    err += sync.readAllStandardError();
    const bool stopped = cluster.Start();
    ASSERT_TRUE(stopped) << cluster.Error().toStdString();
    EXPECT_EQ(sync.exitCode(), 1) << err.toStdString();
    // The run ends as the database unavailable, whichever write the server went away in.
    EXPECT_TRUE(err.contains("Connection error detected, please try again! (-1011)")) << err.toStdString();

    const int stored =
        Status().value(QStringLiteral("counts")).toObject().value(QStringLiteral("tblVibReadings")).toInt();
    EXPECT_GE(stored, 2);
    EXPECT_LT(stored, kReadings);
    int flagged = 0;
    for (const auto& point : meter->State().points) {
        flagged += std::popcount(point.newData);
    }
    EXPECT_EQ(flagged, kReadings - stored); // the meter keeps the flags of what was not stored

    const ProgramRun again = Vantor(SyncArguments(*meter, QStringLiteral("Meter A")));
    EXPECT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_EQ(
        Status().value(QStringLiteral("counts")).toObject().value(QStringLiteral("tblVibReadings")).toInt(),
        kReadings);
}

// A copy without --replace never empties a table of the target that holds someone's work, also an
// added one: a site's own bearing on the server, or in the local database, is kept and the copy is
// refused; a target holding only the starter bearings is empty.
TEST_F(ServerCommandLine, ACopyWithoutReplaceKeepsTheTargetsOwnBearings) {
    ASSERT_EQ(Vantor({"server", "init", url}).status, 0);
    ASSERT_EQ(Vantor({"server", "use", url}).status, 0);
    ASSERT_EQ(Vantor({"bearing", "add", "Site bearing", "--factors", "0.4,2.3,3.6,5.4"}).status, 0);
    ProgramRun run = Vantor({"server", "copy-from-local"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("already holds data"))) << run.err.toStdString();
    EXPECT_TRUE(Vantor({"bearing", "list"}).out.contains(QStringLiteral("\tSite bearing\t")));

    // The other way: the local database holds nothing but a bearing of its own.
    ASSERT_EQ(Vantor({"server", "local"}).status, 0);
    ASSERT_EQ(Vantor({"bearing", "add", "Local bearing", "--factors", "0.4,2.3,3.6,5.4"}).status, 0);
    ASSERT_EQ(Vantor({"server", "use", url}).status, 0);
    run = Vantor({"server", "copy-to-local"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("already holds data"))) << run.err.toStdString();
    ASSERT_EQ(Vantor({"server", "local"}).status, 0);
    EXPECT_TRUE(Vantor({"bearing", "list"}).out.contains(QStringLiteral("\tLocal bearing\t")));

    // A fresh server holds only the starter bearings: the copy goes ahead.
    const QString fresh = cluster.CreateDatabase();
    ASSERT_EQ(Vantor({"server", "init", fresh}).status, 0);
    ASSERT_EQ(Vantor({"server", "use", fresh}).status, 0);
    run = Vantor({"server", "copy-from-local"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(Vantor({"bearing", "list"}).out.contains(QStringLiteral("\tLocal bearing\t")));
}
