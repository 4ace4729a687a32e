// The synchronisation run end to end over a pseudo-terminal against the meter emulator: the state
// sequence with its texts, identification, version check, upload with aborts and failures, and the
// To Meter download; plus the dialog's logic without widgets.
#include "device/MeterCommands.h"
#include "device/MeterResults.h"
#include "device/ReadingUpload.h"
#include "device/RouteDownload.h"
#include "device/SyncSession.h"
#include "device/SyncWorker.h"
#include "device/tests/EmulatedMeter.h"
#include "store/SyncState.h"
#include "store/tests/StoreFixture.h"

#include <QSqlQuery>

#include <mutex>

using namespace vantor;
using vantor::testing::kTestTimings;
using vantor::testing::StartMeter;

namespace {

constexpr const char* kMeterGuid = "5f0c1e7a-7d36-4c1b-9a8e-2b6f0d9c4a11"; // the emulator's default
constexpr const char* kAsset = "0a1b2c3d-0000-4000-8000-00000000000a";
constexpr const char* kPoint = "0a1b2c3d-0000-4000-8000-0000000000b1";

// A meter of `version` with `count` new readings in slots 0.. of meter point 0.
QByteArray Readings(int count, const QString& version = QStringLiteral("1.1"),
                    const QString& faults = QStringLiteral("[]")) {
    QStringList readings;
    for (int i = 0; i < count; ++i) {
        readings << QStringLiteral(R"({"point": 0, "slot": %1, "taken": "2026-11-30T09:%2:00Z"})")
                        .arg(i)
                        .arg(10 + i);
    }
    return QStringLiteral(R"({"meter": {"version": "%1"},
        "assets": [{"guid": "%2", "name": "Fan 3"}],
        "points": [{"asset": "%2", "guid": "%3", "name": "DE H", "runSpeedHz": 24.5}],
        "readings": [%4], "faults": %5})")
        .arg(version, QString::fromLatin1(kAsset), QString::fromLatin1(kPoint),
             readings.join(QLatin1Char(',')), faults)
        .toUtf8();
}

class SyncRunTest : public vantor::testing::StoreFixture {
protected:
    void StartOn(const QByteArray& scenario) {
        meter = StartMeter(scenario);
        settings.store = context;
        settings.port = meter->DevicePath();
        settings.linkTimings = kTestTimings;
        settings.announcePause = std::chrono::milliseconds(1);
        settings.editionTitle = QStringLiteral("Corvane");
        settings.offRouteAssetGuid = QStringLiteral("{E8EE959D-249F-4fb0-8677-F20F158CD2DB}");
        for (int i = 0; i < 10; ++i) {
            settings.offRoutePointGuids
                << QStringLiteral("{00000000-0000-4000-8000-0000000000%1}").arg(i, 2, 10, QLatin1Char('0'));
        }
        settings.clearExceptions = [this] { offered.clear(), ++cleared; };
        settings.collectException = [this](const CMachine&, const CVib&, const CVibReading& reading) {
            offered << reading.sItemGUID;
        };
    }

    void KnowMeter() {
        CRecordSyncConnection sync(context);
        ASSERT_TRUE(sync.Open());
        CDevice device;
        device.sItemGUID = QString::fromLatin1(kMeterGuid);
        device.sName = QStringLiteral("Meter A");
        device.sSN = QStringLiteral("SN-stored");
        ASSERT_TRUE(sync.UpsertDevice(device));
    }

    SyncOutcome Run() {
        SyncWorker worker(settings, prompter, abort, done);
        worker.OnProgress([this](const QString& text) {
            std::lock_guard lock(mutex);
            progress << text;
        });
        worker.OnStep([this](int step, int steps) {
            std::lock_guard lock(mutex);
            progress << QStringLiteral("[%1/%2]").arg(step).arg(steps);
        });
        worker.Start();
        EXPECT_TRUE(done.Wait(std::chrono::seconds(60)));
        worker.Join();
        return worker.Outcome();
    }

    int Count(const QString& table) {
        QSqlQuery query(db->Connection().Database());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table));
        return query.next() ? query.value(0).toInt() : -1;
    }

    // A route "Round" holding the machine "Fan" with its one point; its GUID.
    QString RouteOfOneMachine() {
        const CMachine machine = AddMachine(QStringLiteral("Fan"));
        AddVib(machine.sItemGUID, QStringLiteral("P1"));
        CRoute route;
        route.sItemGUID = MakeItemGuid();
        route.sName = QStringLiteral("Round");
        EXPECT_TRUE(db->UpsertRoute(route));
        AddRouteItem(route.sItemGUID, machine);
        return route.sItemGUID;
    }

    unsigned NewDataBits() { return meter->State().points.at(0).newData; }

    QStringList MeterCommandsSent(const QString& prefix) {
        return meter->Commands().filter(
            QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix)));
    }

    std::unique_ptr<sim::MeterEmulator> meter;
    SyncSettings settings;
    ManualResetEvent abort;
    ManualResetEvent done;
    std::mutex mutex;
    QStringList progress;
    QStringList offered;
    int cleared = 0;
};

} // namespace

TEST_F(SyncRunTest, FiveReadingsUploadedWithTheirTextsAndFlagsCleared) {
    KnowMeter();
    StartOn(Readings(5));
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.uploaded, 5);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_EQ(progress, QStringList({"Checking for device...", "Device found\r\nChecking version",
                                     "Checking for New Data", "5 Readings to upload",
                                     "Uploading Reading: 1 of 5", "Uploading Reading: 2 of 5",
                                     "Uploading Reading: 3 of 5", "Uploading Reading: 4 of 5",
                                     "Uploading Reading: 5 of 5", "5 Readings uploaded", "Sync Completed"}));
    EXPECT_EQ(NewDataBits(), 0u);
    EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 5);
    EXPECT_EQ(offered.size(), 5);
    EXPECT_EQ(cleared, 1);
    // The readings carry the meter's stored name and serial number.
    const std::vector<CVibReading> readings = db->ListVibReadings(QStringLiteral("{%1}").arg(kPoint));
    ASSERT_EQ(readings.size(), 5u);
    EXPECT_EQ(readings[0].sDeviceName, "Meter A");
    EXPECT_EQ(readings[0].sDeviceSN, "SN-stored");
    EXPECT_EQ(MeterCommandsSent(QStringLiteral("CMD*CLRNEWDATAFLAG")).size(), 5);
    EXPECT_EQ(meter->State().screen, 1);
    EXPECT_TRUE(meter->State().clock.has_value());
    EXPECT_TRUE(prompter.records.empty());
}

// Readings whose header gives a run speed the meter cannot hold are stored all the same, and the
// run's summary names each of them before its final text.
TEST_F(SyncRunTest, TheSummaryNamesReadingsStoredWithoutTheMetersRunSpeed) {
    KnowMeter();
    QByteArray scenario = Readings(3);
    scenario.replace(R"("slot": 0,)", R"("slot": 0, "header": {"RSPD": "1e39"},)");
    scenario.replace(R"("slot": 2,)", R"("slot": 2, "header": {"RSPD": "0"},)");
    StartOn(scenario);
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.uploaded, 3);
    ASSERT_EQ(outcome.runSpeedNotes.size(), 2);
    EXPECT_TRUE(outcome.runSpeedNotes[0].startsWith(
        QStringLiteral("Reading of Fan 3 / DE H taken 2026-11-30 09:10:00: the meter's run speed inf Hz")))
        << outcome.runSpeedNotes[0].toStdString();
    EXPECT_TRUE(outcome.runSpeedNotes[1].contains(QStringLiteral("09:12:00: the meter's run speed 0 Hz")));
    const qsizetype end = progress.indexOf(QStringLiteral("Sync Completed"));
    ASSERT_GE(end, 2);
    EXPECT_EQ(progress.mid(end - 3, 3), QStringList({QStringLiteral("3 Readings uploaded"),
                                                     outcome.runSpeedNotes[0], outcome.runSpeedNotes[1]}));
    // The point took the one good speed; the other readings carry the point's.
    CVib point;
    ASSERT_TRUE(db->GetVib(QStringLiteral("{%1}").arg(kPoint), point));
    EXPECT_FLOAT_EQ(point.fRunSpeedHz, 24.5f);
    for (const CVibReading& reading : db->ListVibReadings(point.sItemGUID)) {
        EXPECT_TRUE(reading.fCurrentRunSpeedHz == 0.0f || reading.fCurrentRunSpeedHz == 24.5f)
            << reading.fCurrentRunSpeedHz;
    }
}

TEST_F(SyncRunTest, AbortDuringTheThirdReadingKeepsWhatWasUploaded) {
    KnowMeter();
    StartOn(Readings(5));
    int fetches = 0;
    meter->OnCommand([&](const sim::LogEntry& entry) {
        if (entry.command.startsWith(QLatin1String("CMD*GETMP")) && ++fetches == 3) {
            abort.Set();
        }
    });
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, kSyncAborted);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_TRUE(prompter.Messages().isEmpty());
    EXPECT_EQ(progress.last(), "Sync Aborted");
    EXPECT_TRUE(progress.contains(QStringLiteral("Uploading Reading: 3 of 5")));
    EXPECT_FALSE(progress.contains(QStringLiteral("Uploading Reading: 4 of 5")));
    // The reading whose transfer was under way when Abort came is stored, so its flag is cleared
    // as well: every stored reading is cleared, every other one keeps its flag.
    EXPECT_EQ(outcome.uploaded, 3);
    EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 3);
    EXPECT_EQ(NewDataBits(), 0b11000u);
    EXPECT_EQ(MeterCommandsSent(QStringLiteral("CMD*GETMP")).size(), 3);
    EXPECT_EQ(MeterCommandsSent(QStringLiteral("CMD*CLRNEWDATAFLAG")).size(), 3);
    EXPECT_EQ(meter->Commands().last(), "CMD*SCREENSET=1");

    // The next run takes the other two; nothing is stored twice.
    meter->OnCommand({});
    abort.Reset();
    progress.clear();
    EXPECT_EQ(Run().result, 0);
    EXPECT_TRUE(progress.contains(QStringLiteral("2 Readings to upload")));
    EXPECT_EQ(NewDataBits(), 0u);
    EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 5);
}

TEST_F(SyncRunTest, AbortBeforeTheFirstReadingFetchesNothing) {
    KnowMeter();
    StartOn(Readings(2));
    meter->OnCommand([&](const sim::LogEntry& entry) {
        if (entry.command == QLatin1String("CMD*GETNEWDATA")) {
            abort.Set();
        }
    });
    EXPECT_EQ(Run().result, kSyncAborted);
    EXPECT_TRUE(MeterCommandsSent(QStringLiteral("CMD*GETMP")).isEmpty());
    EXPECT_EQ(NewDataBits(), 0b11u);
    EXPECT_EQ(meter->Commands().last(), "CMD*SCREENSET=1");
}

TEST_F(SyncRunTest, ExactlyOneReadingUsesTheSingularTexts) {
    KnowMeter();
    StartOn(Readings(1));
    EXPECT_EQ(Run().result, 0);
    EXPECT_TRUE(progress.contains(QStringLiteral("1 Reading to upload")));
    EXPECT_TRUE(progress.contains(QStringLiteral("Uploading Reading: 1 of 1")));
    EXPECT_TRUE(progress.contains(QStringLiteral("1 Reading uploaded")));
}

TEST_F(SyncRunTest, NoNewReadings) {
    KnowMeter();
    StartOn(Readings(0));
    EXPECT_EQ(Run().result, 0);
    EXPECT_EQ(progress.mid(progress.size() - 2), QStringList({"No Readings to upload", "Sync Completed"}));
    EXPECT_EQ(meter->Commands().last(), "CMD*SCREENSET=1");
    EXPECT_TRUE(MeterCommandsSent(QStringLiteral("CMD*GETMP")).isEmpty());
}

TEST_F(SyncRunTest, MeterVersionsChooseHowFlagsAreClearedOrAreRefused) {
    KnowMeter();
    StartOn(Readings(2, QStringLiteral("1.0")));
    EXPECT_EQ(Run().result, 0);
    EXPECT_EQ(NewDataBits(), 0u);
    EXPECT_EQ(MeterCommandsSent(QStringLiteral("CMD*FLASHPP")).size(), 2);
    EXPECT_TRUE(MeterCommandsSent(QStringLiteral("CMD*CLRNEWDATAFLAG")).isEmpty());

    StartOn(Readings(2, QStringLiteral("1.2")));
    const SyncOutcome refused = Run();
    EXPECT_EQ(refused.result, kMeterTooNew);
    EXPECT_EQ(refused.message, "Version mismatch between Device and PC\r\nPlease check you have the correct "
                               "version of Corvane");
    EXPECT_EQ(prompter.Messages(), QStringList({refused.message}));
    EXPECT_EQ(progress.last(), "Sync Aborted");
    // Nothing was changed on the meter.
    EXPECT_TRUE(MeterCommandsSent(QStringLiteral("CMD*SCREENSET")).isEmpty());
    EXPECT_TRUE(MeterCommandsSent(QStringLiteral("CMD*SETTANDD")).isEmpty());
    EXPECT_EQ(NewDataBits(), 0b11u);
}

TEST_F(SyncRunTest, NewMeterIsNamedThroughThePrompt) {
    StartOn(Readings(1));
    prompter.nameAnswers = {QStringLiteral("Bad/Name"), QStringLiteral("Meter B")};
    EXPECT_EQ(Run().result, 0);
    EXPECT_TRUE(progress.contains(QStringLiteral("New Device found")));
    ASSERT_EQ(prompter.Messages().size(), 1); // the refused name's message
    CRecordSyncConnection sync(context);
    ASSERT_TRUE(sync.Open());
    const std::vector<CDevice> devices = sync.ListDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].sName, "Meter B");
    EXPECT_EQ(devices[0].sItemGUID, kMeterGuid);
    EXPECT_EQ(devices[0].sSN, "VM-000123");
    EXPECT_FLOAT_EQ(devices[0].fOrder, 0.0f);
    EXPECT_EQ(db->ListVibReadings(QStringLiteral("{%1}").arg(kPoint)).at(0).sDeviceName, "Meter B");
}

TEST_F(SyncRunTest, CancelledNameEndsQuietlyWithNothingStored) {
    StartOn(Readings(1));
    prompter.nameAnswers = {std::nullopt};
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, kSyncAborted);
    EXPECT_TRUE(prompter.Messages().isEmpty());
    EXPECT_EQ(Count(QStringLiteral("tblDevices")), 0);
    EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 0);
    EXPECT_EQ(NewDataBits(), 1u);
    EXPECT_EQ(meter->Commands().last(), "CMD*SCREENSET=1");
}

TEST_F(SyncRunTest, FailedFetchEndsTheRunAfterWhatWasStored) {
    KnowMeter();
    StartOn(Readings(3, QStringLiteral("1.1"), R"([{"command": "GETMP", "kind": "short-iso", "skip": 1}])"));
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, -40);
    EXPECT_EQ(outcome.message, "Connection error detected, please try again! (-40)");
    EXPECT_EQ(prompter.Messages(), QStringList({outcome.message}));
    EXPECT_EQ(progress.last(), "Sync Aborted");
    EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 1);
    EXPECT_EQ(NewDataBits(), 0b110u);
}

TEST_F(SyncRunTest, CancelledDateSkipsOnlyThatReading) {
    KnowMeter();
    QByteArray scenario = Readings(2);
    scenario.replace("2026-11-30T09:10:00Z", "2012-02-30T10:00:00");
    StartOn(scenario);
    prompter.dateFixAnswers = {std::nullopt};
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.uploaded, 1);
    EXPECT_TRUE(progress.contains(QStringLiteral("Uploading Reading: 2 of 2")));
    EXPECT_TRUE(progress.contains(QStringLiteral("1 Reading uploaded")));
    EXPECT_EQ(NewDataBits(), 0b01u);
}

TEST_F(SyncRunTest, NoCradleAsksRetryOrCancel) {
    StartOn(Readings(0));
    settings.port = env.Root() + QStringLiteral("/no-such-port");
    prompter.retryAnswers = {true, false};
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, kNoCradleFound);
    EXPECT_TRUE(outcome.message.isEmpty());
    ASSERT_EQ(prompter.records.size(), 2u);
    EXPECT_EQ(prompter.records[1].text, "No Cradle detected");
    EXPECT_EQ(progress.count(QStringLiteral("Checking for device...")), 2);
}

TEST_F(SyncRunTest, ToMeterSendsTheRouteThenOffRoute) {
    KnowMeter();
    const CMachine big = AddMachine(QStringLiteral("Big fan"));
    std::vector<CVib> points;
    for (int i = 0; i < 12; ++i) {
        points.push_back(AddVib(big.sItemGUID, QStringLiteral("P%1").arg(i + 1)));
    }
    const CMachine empty = AddMachine(QStringLiteral("Bare"));
    CRoute route;
    route.sItemGUID = MakeItemGuid();
    route.sName = QStringLiteral("Round");
    ASSERT_TRUE(db->UpsertRoute(route));
    AddRouteItem(route.sItemGUID, big);
    AddRouteItem(route.sItemGUID, empty);

    StartOn(Readings(1));
    settings.fromMeter = false;
    settings.routeGuid = route.sItemGUID;
    EXPECT_EQ(Run().result, 0);
    const sim::MeterState state = meter->State();
    ASSERT_EQ(state.assets.size(), 3u);
    EXPECT_EQ(state.assets[0].name, "Big fan");
    EXPECT_EQ(state.assets[1].name, "Bare");
    EXPECT_EQ(state.assets[2].name, "Off Route");
    EXPECT_EQ(state.assets[2].guid, "E8EE959D-249F-4fb0-8677-F20F158CD2DB");
    ASSERT_EQ(state.points.size(), 20u); // the old point was deleted with the assets
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(state.points[static_cast<size_t>(i)].name, QStringLiteral("P%1").arg(i + 1));
        EXPECT_EQ(state.points[static_cast<size_t>(10 + i)].name, QString::number(i + 1));
        EXPECT_DOUBLE_EQ(state.points[static_cast<size_t>(10 + i)].runSpeedHz, 25.0);
    }
    EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 1); // the upload came first
    EXPECT_TRUE(progress.contains(QStringLiteral("Clearing Device")));
    EXPECT_TRUE(progress.contains(QStringLiteral("Creating Machine: Big fan")));
    EXPECT_TRUE(progress.contains(QStringLiteral("Creating Vib Point: P10")));
    EXPECT_FALSE(progress.contains(QStringLiteral("Creating Vib Point: P11")));
    EXPECT_TRUE(progress.contains(QStringLiteral("Creating Machine: Off Route")));
    EXPECT_EQ(meter->Commands().last(), "CMD*SCREENSET=1");
    // Each machine and point sent is counted after its text: 2 machines, 10 points, Off Route and
    // its 10 points.
    const QStringList steps = progress.filter(QRegularExpression(QStringLiteral("^\\[\\d+/\\d+\\]$")));
    ASSERT_EQ(steps.size(), 23);
    for (int i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i], QStringLiteral("[%1/23]").arg(i + 1));
    }
    EXPECT_EQ(progress[progress.indexOf(QStringLiteral("Creating Machine: Bare")) + 1],
              QStringLiteral("[12/23]"));
}

TEST_F(SyncRunTest, ToMeterEndsWithTheCodeOfARefusedMachine) {
    KnowMeter();
    const QString route = RouteOfOneMachine();
    StartOn(QByteArray(R"({"faults": [{"command": "CRTASST", "kind": "no-ok"}]})"));
    settings.fromMeter = false;
    settings.routeGuid = route;
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, meter_code::kCreateAsset.noOk);
    EXPECT_EQ(outcome.message, "Connection error detected, please try again! (-26)");
}

TEST_F(SyncRunTest, ADatabaseFailureDuringTheDownloadEndsTheRunWithItsMessage) {
    KnowMeter();
    const QString route = RouteOfOneMachine();
    // The route's items cannot be listed: the table lost the column that names their route.
    QSqlQuery damage(db->Connection().Database());
    ASSERT_TRUE(damage.exec(QStringLiteral("DROP TABLE tblRouteItems")));
    ASSERT_TRUE(
        damage.exec(QStringLiteral("CREATE TABLE tblRouteItems (c1, c2, c3, c4, c5, c6, c7, c8, c9, c10)")));
    StartOn(Readings(1));
    settings.fromMeter = false;
    settings.routeGuid = route;
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, kDatabaseUnavailable);
    EXPECT_EQ(outcome.uploaded, 1); // the upload before the download stays
    EXPECT_EQ(prompter.Messages(), QStringList{"Connection error detected, please try again! (-1011)"});
    EXPECT_EQ(progress.last(), "Sync Aborted");
}

TEST_F(SyncRunTest, ToMeterRefusesAMeterNameThatWouldInjectACommandAndSendsNothing) {
    KnowMeter();
    const QString route = RouteOfOneMachine();
    // A meter name such as a damaged or hostile data file could carry, stored past the editors.
    CMachine machine = db->ListMachines().front();
    machine.sVMName = QStringLiteral("Fan\rCMD*DELASST");
    ASSERT_TRUE(db->UpsertMachine(machine));
    StartOn(Readings(1));
    settings.fromMeter = false;
    settings.routeGuid = route;
    const SyncOutcome outcome = Run();
    EXPECT_EQ(outcome.result, kCommandTextRefused);
    EXPECT_TRUE(outcome.message.startsWith(QStringLiteral(R"(Machine "Fan\x0dCMD*DELASST" cannot be sent)")))
        << qPrintable(outcome.message);
    // The reading was uploaded; nothing of the route went out and the meter keeps its assets.
    EXPECT_EQ(outcome.uploaded, 1);
    for (const char* command : {"CMD*DELASST", "CMD*CRTASST", "CMD*CRTMPT"}) {
        EXPECT_TRUE(MeterCommandsSent(QLatin1String(command)).isEmpty()) << command;
    }
    EXPECT_EQ(meter->State().assets.size(), 1u);
}

TEST(SyncSession, TitleStopAndClose) {
    ManualResetEvent abort;
    ManualResetEvent done;
    {
        SyncSession session(true, abort, done);
        abort.Set();
        session.Open();
        EXPECT_EQ(SyncInProgress().load(), 1);
        EXPECT_FALSE(abort.IsSet());
        EXPECT_EQ(session.Title(), QStringLiteral("From Meter\u2191..."));
        EXPECT_EQ(session.AbortButtonText(), "Abort");
        EXPECT_EQ(SyncSession::InitialProgress(), "Checking for device...");
        // A stop before the worker started closes at once, and the worker never starts.
        session.RequestStop(false);
        EXPECT_FALSE(session.MayStartWorker());
        EXPECT_EQ(session.AbortButtonText(), "Abort"); // closing the window shows no "Aborting..."
        EXPECT_TRUE(abort.IsSet());
        EXPECT_TRUE(session.PollClose());
        EXPECT_EQ(SyncInProgress().load(), 0);
    }
    SyncSession session(false, abort, done);
    session.Open();
    EXPECT_EQ(session.Title(), QStringLiteral("To Meter\u2193..."));
    done.Reset(); // a worker runs
    session.RequestStop(true);
    EXPECT_EQ(session.AbortButtonText(), "Aborting...");
    EXPECT_FALSE(session.AbortEnabled());
    EXPECT_FALSE(session.PollClose());
    EXPECT_EQ(SyncInProgress().load(), 1);
    done.Set();
    EXPECT_TRUE(session.PollClose());
    EXPECT_EQ(SyncInProgress().load(), 0);
}
