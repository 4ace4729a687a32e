// `vantor sync from-meter` and `vantor sync to-meter` against the meter emulator on a
// pseudo-terminal: progress texts on standard error, exit codes, what lands in the database.
#include "app/CAppData.h"
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"

#include <QProcess>

#include <csignal>

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

// Two readings on a meter the database does not know; the first with an impossible date.
constexpr const char* kScenario = R"({
    "assets": [{"guid": "0a1b2c3d-0000-4000-8000-00000000000a", "name": "Fan 3"}],
    "points": [{"asset": "0a1b2c3d-0000-4000-8000-00000000000a",
                "guid": "0a1b2c3d-0000-4000-8000-0000000000b1", "name": "DE H", "runSpeedHz": 24.5}],
    "readings": [{"point": 0, "slot": 0, "taken": "2012-02-30T10:00:00"},
                 {"point": 0, "slot": 1, "taken": "2026-11-30T09:15:00Z"}]})";

class SyncCommandLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Vantor({"init"}).status, 0); }

    static ProgramRun Vantor(const QStringList& arguments) {
        const vantor::testing::VantorRun run = vantor::testing::RunVantor(arguments);
        return {run.status, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
    }

    ProgramRun Sync(const QStringList& arguments) {
        return Vantor(QStringList{"sync"} + arguments +
                      QStringList{"--port", meter->DevicePath(), "--silence-ms", "100"});
    }

    void StartMeter(const QByteArray& json) {
        vantor::sim::Scenario scenario;
        QString error;
        ASSERT_TRUE(vantor::sim::ParseScenario(json, scenario, error)) << error.toStdString();
        meter = vantor::sim::MeterEmulator::OnPseudoTerminal(
            vantor::sim::MeterResponder(scenario.state, scenario.faults), error);
        ASSERT_NE(meter, nullptr) << error.toStdString();
    }

    vantor::testing::TempEnvironment env;
    std::unique_ptr<vantor::sim::MeterEmulator> meter;
};

QStringList Lines(const QString& text) {
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST_F(SyncCommandLine, FromMeterNamesTheMeterAndSkipsACancelledDate) {
    StartMeter(kScenario);
    const ProgramRun run = Sync({"from-meter", "--device-name", "Meter A", "--date-fix", "cancel"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = Lines(run.err);
    const QStringList expected{"Checking for device...",   "New Device found",      "Device found\r",
                               "Checking version",         "Checking for New Data", "2 Readings to upload",
                               "Uploading Reading: 1 of 2"};
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
    EXPECT_TRUE(lines.contains(QStringLiteral("Uploading Reading: 2 of 2")));
    EXPECT_TRUE(lines.contains(QStringLiteral("1 Reading uploaded")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Sync Completed")));
    EXPECT_EQ(meter->State().points.at(0).newData, 1u); // the skipped reading keeps its flag

    const ProgramRun devices = Vantor({"list", "devices"});
    EXPECT_TRUE(devices.out.contains(QStringLiteral("Meter A"))) << devices.out.toStdString();
    const ProgramRun readings = Vantor({"list", "readings", "--json"});
    EXPECT_EQ(readings.out.count(QStringLiteral("\"sItemGUID\"")), 1) << readings.out.toStdString();
}

TEST_F(SyncCommandLine, ExitCodesForFailureCancelAndUsage) {
    StartMeter(
        R"({"readings": [{"point": 0, "slot": 0}], "faults": [{"command": "GETMP", "kind": "error"}]})");
    ProgramRun run = Sync({"from-meter", "--device-name", "Meter A"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Lines(run.err).contains(QStringLiteral("Connection error detected, please try again! (-37)")))
        << run.err.toStdString();
    EXPECT_EQ(meter->State().points.at(0).newData, 1u);

    // A meter seen for the first time, and no name for it: cancelled.
    StartMeter(R"({"meter": {"guid": "another-meter"}})");
    run = Sync({"from-meter"});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Lines(run.err).contains(QStringLiteral("Sync Aborted")));

    // No route at all: the user is told that none exists and where one is made.
    run = Sync({"to-meter", "--route", "No such route"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("List of Routes: 0\r\nRoute Manager > New Route")))
        << run.err.toStdString();
    run = Sync({"from-meter", "--date-fix", "yesterday"});
    EXPECT_EQ(run.status, 2);
}

TEST_F(SyncCommandLine, ToMeterChecksTheRouteThenDownloadsIt) {
    {
        vantor::testing::RecordingPrompter prompter;
        vantor::CAppData app(prompter);
        ASSERT_TRUE(vantor::RunHeadlessStartup(app));
        vantor::CMainConnection& db = *app.MainConnection();
        vantor::CRoute route;
        route.sItemGUID = vantor::MakeItemGuid();
        route.sName = QStringLiteral("North");
        ASSERT_TRUE(db.UpsertRoute(route));
        for (const QString& name : {QStringLiteral("Bare"), QStringLiteral("Pump")}) {
            vantor::CMachine machine;
            machine.sItemGUID = vantor::MakeItemGuid();
            machine.sName = machine.sVMName = name;
            machine.fOrder = db.NextOrder(vantor::ItemKind::Machines, {});
            ASSERT_TRUE(db.UpsertMachine(machine));
            vantor::CRouteItem item;
            item.sItemGUID = vantor::MakeItemGuid();
            item.sParentGUID = route.sItemGUID;
            item.fOrder = db.NextOrder(vantor::ItemKind::RouteItems, route.sItemGUID);
            item.sMachineGUID = machine.sItemGUID;
            item.sMachineName = name;
            ASSERT_TRUE(db.UpsertRouteItem(item));
            if (name == QLatin1String("Pump")) {
                vantor::CVib point;
                point.sItemGUID = vantor::MakeItemGuid();
                point.sParentGUID = machine.sItemGUID;
                point.sName = point.sVMName = QStringLiteral("DE");
                point.fRunSpeedHz = 25;
                ASSERT_TRUE(db.UpsertVib(point));
            }
        }
    }
    StartMeter(R"({"meter": {"guid": "5f0c"}})");
    const ProgramRun run = Sync({"to-meter", "--route", "North", "--device-name", "Meter A"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = Lines(run.err);
    EXPECT_TRUE(
        lines.contains(QStringLiteral("Error: The following Machine has no Vibration Points under it and "
                                      "will be removed from the Route. (Bare)")))
        << run.err.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Creating Vib Point: DE")));
    const vantor::sim::MeterState state = meter->State();
    ASSERT_EQ(state.assets.size(), 2u);
    EXPECT_EQ(state.assets[0].name, "Pump");
    EXPECT_EQ(state.assets[1].name, "Off Route");
    EXPECT_EQ(state.points.size(), 11u);
    EXPECT_EQ(state.screen, 1);
}

TEST_F(SyncCommandLine, CtrlCAbortsTheRunLikeTheAbortButton) {
    QStringList readings;
    for (int slot = 0; slot < 5; ++slot) {
        readings << QStringLiteral(R"({"point": 0, "slot": %1, "taken": "2026-11-30T09:1%1:00Z"})").arg(slot);
    }
    StartMeter(QStringLiteral(R"({"readings": [%1]})").arg(readings.join(QLatin1Char(','))).toUtf8());
    QProcess process;
    process.start(QStringLiteral(VANTOR_CLI_PATH), {"sync", "from-meter", "--port", meter->DevicePath(),
                                                    "--silence-ms", "100", "--device-name", "M"});
    ASSERT_TRUE(process.waitForStarted());
    process.setReadChannel(QProcess::StandardError);
    QByteArray err;
    while (!err.contains("Uploading Reading: 2 of 5") && process.waitForReadyRead(20000)) {
        err += process.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("Uploading Reading: 2 of 5")) << err.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(20000));
    err += process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), 3);
    const QStringList lines = Lines(QString::fromUtf8(err));
    EXPECT_TRUE(lines.contains(QStringLiteral("Aborting..."))) << err.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Sync Aborted")));
    EXPECT_FALSE(lines.contains(QStringLiteral("Uploading Reading: 5 of 5")));
    EXPECT_EQ(meter->Commands().last(), "CMD*SCREENSET=1");
    EXPECT_NE(meter->State().points.at(0).newData, 0u);
}
