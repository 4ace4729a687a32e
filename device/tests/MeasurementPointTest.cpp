// Fetching and storing one reading: the record's collection and header against the meter emulator
// and hand-made replies, the date correction, and the rows the upload leaves.
#include "device/DateFixCheck.h"
#include "device/MeterCommands.h"
#include "device/MeterLink.h"
#include "device/ReadingUpload.h"
#include "device/tests/EmulatedMeter.h"
#include "store/Validation.h"
#include "store/tests/StoreFixture.h"
#include "texts/UiText.h"
#include "tools/meter-sim/MeterRecord.h"

#include <QSqlQuery>

using namespace vantor;
using vantor::testing::kTestTimings;
using vantor::testing::StartMeter;

namespace {

constexpr const char* kAsset = "0a1b2c3d-0000-4000-8000-00000000000a";
constexpr const char* kPoint = "0a1b2c3d-0000-4000-8000-0000000000b1";
constexpr const char* kOffRouteAsset = "{E8EE959D-249F-4fb0-8677-F20F158CD2DB}";

// A meter holding one reading in slot 2 of meter point 0, taken on `taken`, with extra reading
// fields and faults spliced in.
QByteArray OneReading(QString taken = {}, const QString& readingExtra = {},
                      const QString& faults = QStringLiteral("[]"), const QString& meterExtra = {}) {
    return QStringLiteral(R"({"meter": {"screen": 1 %6},
        "assets": [{"guid": "%1", "name": "Fan 3"}],
        "points": [{"asset": "%1", "guid": "%2", "name": "DE H", "runSpeedHz": 24.5}],
        "readings": [{"point": 0, "slot": 2, "taken": "%3",
                      "header": {"ISOW Default": "4.5", "ISOC Default": "7.25", "BDUW Default": "11",
                                 "BDUC Default": "22", "Calc ISO": "3.5", "Calc BDU": "12.5"} %4}],
        "faults": %5})")
        .arg(QString::fromLatin1(kAsset), QString::fromLatin1(kPoint),
             taken.isEmpty() ? QStringLiteral("2026-11-30T09:15:00Z") : taken, readingExtra, faults,
             meterExtra)
        .toUtf8();
}

class Upload : public vantor::testing::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        sync = std::make_unique<CRecordSyncConnection>(context);
        ASSERT_TRUE(sync->Open());
        device.sItemGUID = QStringLiteral("{5f0c1e7a-7d36-4c1b-9a8e-2b6f0d9c4a11}");
        device.sName = QStringLiteral("Meter A");
        device.sSN = QStringLiteral("VM-000123");
    }

    int Fetch(const QByteArray& scenario, int point = 0, int slot = 2) {
        meter = StartMeter(scenario);
        EXPECT_EQ(link.Open(meter->DevicePath()), PortOpenResult::Opened);
        ReadingUploadContext upload{
            *db,
            *sync,
            prompter,
            QString::fromLatin1(kOffRouteAsset),
            [this](const CMachine& machine, const CVib& vib, const CVibReading& reading) {
                offered.push_back({machine.sItemGUID, vib.sItemGUID, reading.sItemGUID});
            },
            [this](const QString& note) { runSpeedNotes << note; },
            {}};
        return GetMeasurementPoint(link, point, slot, device, upload);
    }

    int Count(const QString& table) {
        QSqlQuery query(db->Connection().Database());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table));
        return query.next() ? query.value(0).toInt() : -1;
    }

    void ExpectNothingStored() {
        EXPECT_EQ(Count(QStringLiteral("tblMachines")), 0);
        EXPECT_EQ(Count(QStringLiteral("tblVibs")), 0);
        EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 0);
        EXPECT_EQ(Count(QStringLiteral("tblOffRouteReadings")), 0);
        EXPECT_TRUE(offered.empty());
    }

    sim::StoredReading MeterReading() { return *meter->State().FindReading(0, 2); }

    std::unique_ptr<CRecordSyncConnection> sync;
    CDevice device;
    std::unique_ptr<sim::MeterEmulator> meter;
    CMeterLink link{nullptr, kTestTimings};
    struct Offer {
        QString machine, point, reading;
    };
    std::vector<Offer> offered;
    QStringList runSpeedNotes;
};

const QString kMachineGuid = QStringLiteral("{%1}").arg(QString::fromLatin1(kAsset));
const QString kPointGuid = QStringLiteral("{%1}").arg(QString::fromLatin1(kPoint));

} // namespace

TEST(HeaderNumbers, RealsAndIntegersReadTheirLeadingText) {
    EXPECT_DOUBLE_EQ(HeaderReal(QStringLiteral("  12.5 mm/s")), 12.5);
    EXPECT_DOUBLE_EQ(HeaderReal(QStringLiteral("-1.5e2x")), -150.0);
    EXPECT_DOUBLE_EQ(HeaderReal(QStringLiteral("7e")), 7.0);
    EXPECT_DOUBLE_EQ(HeaderReal(QStringLiteral(".25")), 0.25);
    EXPECT_DOUBLE_EQ(HeaderReal(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(HeaderReal(QStringLiteral("-")), 0.0);
    EXPECT_EQ(HeaderInteger(QStringLiteral("2048 samples")), 2048);
    EXPECT_EQ(HeaderInteger(QStringLiteral("x12")), 0);
    EXPECT_EQ(HeaderInteger(QStringLiteral("99999999999999")), std::numeric_limits<int>::max());
}

TEST(HeaderDate, FixedPositionsAndImpossibleDates) {
    EXPECT_EQ(HeaderDateTime(QStringLiteral("2026-11-30T09:15:07Z")),
              QDateTime(QDate(2026, 11, 30), QTime(9, 15, 7)));
    EXPECT_FALSE(HeaderDateTime(QStringLiteral("2012-02-30T10:00:00")).isValid());
    EXPECT_FALSE(HeaderDateTime(QStringLiteral("2012-02-10T24:00:00")).isValid());
    EXPECT_FALSE(HeaderDateTime(QStringLiteral("garbage")).isValid());
    // Valid as a date, but outside the range the meter and the database accept.
    EXPECT_FALSE(IsWithinMeterDateRange(HeaderDateTime(QStringLiteral("1899-12-31T23:59:59"))));
}

TEST(HeaderParse, EveryKeyFromTheRunningPosition) {
    sim::StoredReading reading;
    reading.pointGuid = QStringLiteral("p-1");
    reading.pointName = QStringLiteral("NDE V");
    reading.assetGuid = QStringLiteral("a-1");
    reading.assetName = QStringLiteral("Pump");
    reading.taken = QStringLiteral("2025-01-02T03:04:05");
    reading.headerOverrides = {{QStringLiteral("Calc ISO"), QStringLiteral("1.5")},
                               {QStringLiteral("Calc UBAL"), QStringLiteral("0.75")},
                               {QStringLiteral("ISO Number of Samples"), QStringLiteral("1024")},
                               {QStringLiteral("ADC Resolution Bits"), QStringLiteral("12")}};
    const QString text =
        QString::fromLatin1(sim::MeasurementPointRecord(reading, QStringLiteral("2.04"), false));
    MeasurementPointHeader header;
    ASSERT_EQ(ParseMeasurementPointHeader(text, header), 0);
    EXPECT_EQ(header.pointGuid, "{p-1}");
    EXPECT_EQ(header.machineGuid, "{a-1}");
    EXPECT_EQ(header.pointName, "NDE V");
    EXPECT_EQ(header.machineName, "Pump");
    EXPECT_EQ(header.taken, "2025-01-02T03:04:05");
    EXPECT_FLOAT_EQ(header.values.fISOMMS, 1.5f);
    EXPECT_FLOAT_EQ(header.values.fVABand1MMS, 0.75f);
    EXPECT_EQ(header.values.iISONumberOfSamples, 1024);
    EXPECT_EQ(header.values.iADCBits, 12);
    EXPECT_FLOAT_EQ(header.values.fTotalSamplingFrequency, 12800.0f);

    // No header at all; a key missing; a value without its "<" (the next key's "<" is not taken).
    EXPECT_EQ(ParseMeasurementPointHeader(QStringLiteral("ISO=...Total=..."), header), -42);
    EXPECT_EQ(ParseMeasurementPointHeader(
                  QString(text).replace(QStringLiteral("AGUID = "), QStringLiteral("X")), header),
              -49);
    EXPECT_EQ(ParseMeasurementPointHeader(QString(text).replace(QStringLiteral("ADC Resolution Bits = 12<"),
                                                                QStringLiteral("ADC Resolution Bits = 12")),
                                          header),
              -110);
    // Keys are searched after the previous value only: a key that comes too early is not seen.
    QString early = text;
    early.replace(QStringLiteral("FLASH Revision = "), QStringLiteral("ISO Cal = 1<FLASH Revision = "));
    early.replace(QStringLiteral("ISO Cal = 1<ISO Gain"), QStringLiteral("ISO Gain"));
    EXPECT_EQ(ParseMeasurementPointHeader(early, header), -88);
}

TEST(DateFixDialog, TextsRangeCheckAndRefusedAnswers) {
    const DateFixCheck dialog(QStringLiteral("Fan 3"), QStringLiteral("DE H"), QDateTime());
    EXPECT_EQ(dialog.Title(), "Update: Date/Time");
    EXPECT_EQ(dialog.Text(),
              "There was a problem with the Date/Time saved with the following reading:\r\n\r\n"
              "Machine: Fan 3 - Vib Point: DE H\r\n\r\n"
              "please input the correct Date/Time the reading was taken on.");
    EXPECT_EQ(dialog.UpdateButtonText(), "Update");
    EXPECT_EQ(dialog.CancelButtonText(), "Cancel");
    EXPECT_FALSE(DateFixCheck::CheckUpdate(QDateTime(QDate(1900, 1, 1), QTime(0, 0))));
    EXPECT_FALSE(DateFixCheck::CheckUpdate(QDateTime(QDate(2079, 6, 6), QTime(0, 0))));
    EXPECT_EQ(DateFixCheck::CheckUpdate(QDateTime(QDate(2079, 6, 6), QTime(0, 0, 1))),
              "Error: Please input a valid Date/Time");

    vantor::testing::RecordingPrompter prompter;
    prompter.dateFixAnswers = {QDateTime(QDate(2080, 1, 1), QTime(0, 0)),
                               QDateTime(QDate(1899, 12, 31), QTime(0, 0)),
                               QDateTime(QDate(2012, 3, 1), QTime(10, 0))};
    EXPECT_EQ(dialog.Run(prompter), QDateTime(QDate(2012, 3, 1), QTime(10, 0)));
    EXPECT_EQ(prompter.Messages(), QStringList({"Error: Please input a valid Date/Time",
                                                "Error: Please input a valid Date/Time"}));
}

TEST_F(Upload, UnknownMachineAndPointAreCreatedFromTheHeader) {
    ASSERT_EQ(Fetch(OneReading()), 0);

    CMachine machine;
    ASSERT_TRUE(db->GetMachine(kMachineGuid, machine));
    EXPECT_EQ(machine.sName, "Fan 3");
    EXPECT_EQ(machine.sVMName, "Fan 3");
    EXPECT_TRUE(machine.sEMails.isEmpty());
    CVib point;
    ASSERT_TRUE(db->GetVib(kPointGuid, point));
    EXPECT_EQ(point.sParentGUID, kMachineGuid);
    EXPECT_EQ(point.sName, "DE H");
    EXPECT_TRUE(point.bISOAlarmsOn);
    EXPECT_TRUE(point.bBDUAlarmsOn);
    EXPECT_FLOAT_EQ(point.fISOWarningMMS, 4.5f);
    EXPECT_FLOAT_EQ(point.fISOCriticalMMS, 7.25f);
    EXPECT_FLOAT_EQ(point.fBDUWarning, 11.0f);
    EXPECT_FLOAT_EQ(point.fBDUCritical, 22.0f);
    EXPECT_FLOAT_EQ(point.fRunSpeedHz, 24.5f);

    const std::vector<CVibReading> readings = db->ListVibReadings(kPointGuid);
    ASSERT_EQ(readings.size(), 1u);
    const CVibReading& reading = readings[0];
    EXPECT_EQ(reading.ctDateTaken, QDateTime(QDate(2026, 11, 30), QTime(9, 15)));
    EXPECT_EQ(reading.sDeviceGUID, device.sItemGUID);
    EXPECT_EQ(reading.sDeviceName, "Meter A");
    EXPECT_EQ(reading.sDeviceSN, "VM-000123");
    EXPECT_FLOAT_EQ(reading.fISOMMS, 3.5f);
    EXPECT_FLOAT_EQ(reading.fBearingBDU, 12.5f);
    EXPECT_FLOAT_EQ(reading.fOriginalRunSpeedHz, 24.5f);
    EXPECT_FLOAT_EQ(reading.fCurrentRunSpeedHz, 24.5f);
    EXPECT_EQ(reading.iISONumberOfSamples, 2048);
    EXPECT_EQ(reading.rawADCISODataByteArray, sim::IsoCapture(MeterReading()));
    EXPECT_EQ(reading.rawADCTotalDataByteArray, sim::TotalCapture(MeterReading()));

    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].machine, kMachineGuid);
    EXPECT_EQ(offered[0].point, kPointGuid);
    EXPECT_EQ(offered[0].reading, reading.sItemGUID);
}

TEST_F(Upload, CapturesArriveInEitherOrderAndAReUploadUpdatesTheSameRow) {
    ASSERT_EQ(Fetch(OneReading({}, {}, QStringLiteral("[]"), QStringLiteral(R"(, "totalFirst": true)"))), 0);
    meter.reset();
    ASSERT_EQ(Fetch(OneReading({}, R"(, "header": {"Calc ISO": "9.5"})")), 0);
    const std::vector<CVibReading> readings = db->ListVibReadings(kPointGuid);
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_FLOAT_EQ(readings[0].fISOMMS, 9.5f);
    EXPECT_EQ(readings[0].rawADCISODataByteArray, sim::IsoCapture(MeterReading()));
    EXPECT_EQ(readings[0].rawADCTotalDataByteArray, sim::TotalCapture(MeterReading()));
    EXPECT_EQ(Count(QStringLiteral("tblMachines")), 1);
    EXPECT_EQ(Count(QStringLiteral("tblVibs")), 1);
}

TEST_F(Upload, AKnownPointKeepsItsSettingsButTakesTheRunSpeed) {
    CMachine machine;
    machine.sItemGUID = kMachineGuid;
    machine.sName = machine.sVMName = QStringLiteral("My fan");
    ASSERT_TRUE(db->UpsertMachine(machine));
    CVib known;
    known.sItemGUID = kPointGuid;
    known.sParentGUID = kMachineGuid;
    known.sName = known.sVMName = QStringLiteral("Drive end");
    known.fRunSpeedHz = 50.0f;
    known.fISOWarningMMS = 2.0f;
    known.bBDUAlarmsOn = false;
    ASSERT_TRUE(db->UpsertVib(known));
    ASSERT_EQ(Fetch(OneReading()), 0);

    CVib point;
    ASSERT_TRUE(db->GetVib(kPointGuid, point));
    EXPECT_FLOAT_EQ(point.fRunSpeedHz, 24.5f);
    EXPECT_EQ(point.sName, "Drive end");
    EXPECT_FLOAT_EQ(point.fISOWarningMMS, 2.0f);
    EXPECT_FALSE(point.bBDUAlarmsOn);
    CMachine stored;
    ASSERT_TRUE(db->GetMachine(kMachineGuid, stored));
    EXPECT_EQ(stored.sName, "My fan");
    EXPECT_EQ(Count(QStringLiteral("tblVibs")), 1);
}

// A header whose run speed lies outside what the meter holds: the reading is stored with the
// point's run speed (none for a point the header creates), the point keeps its own, and the note
// names the reading; the meter's value reaches nothing.
TEST_F(Upload, AnOutOfRangeRunSpeedIsKeptOutOfTheDatabaseAndNamed) {
    const struct {
        const char* rspd;
        bool known;     // the point exists with 50 Hz before the upload
        float expected; // the run speed stored with reading (and the point)
        bool noted;
    } cases[] = {
        {"1e39", false, 0.0f, true},    // infinite as a float
        {"1.4e-45", false, 0.0f, true}, // below the meter's 0.01 Hz
        {"0", false, 0.0f, true},       {"-3", true, 50.0f, true},      {"3e38", true, 50.0f, true},
        {"1000.5", true, 50.0f, true},  {"1000", true, 1000.0f, false}, // the editors' largest
        {"0.01", false, 0.01f, false},                                  // the meter's smallest
    };
    for (const auto& c : cases) {
        Execute(QStringLiteral("DELETE FROM tblVibReadings"));
        Execute(QStringLiteral("DELETE FROM tblVibs"));
        if (c.known) {
            CMachine machine;
            machine.sItemGUID = kMachineGuid;
            machine.sName = machine.sVMName = QStringLiteral("Fan 3");
            ASSERT_TRUE(db->UpsertMachine(machine));
            CVib known;
            known.sItemGUID = kPointGuid;
            known.sParentGUID = kMachineGuid;
            known.sName = known.sVMName = QStringLiteral("DE H");
            known.fRunSpeedHz = 50.0f;
            ASSERT_TRUE(db->UpsertVib(known));
        }
        runSpeedNotes.clear();
        meter.reset();
        ASSERT_EQ(
            Fetch(OneReading({}, QStringLiteral(R"(, "header": {"RSPD": "%1"})").arg(QLatin1String(c.rspd)))),
            0)
            << c.rspd;
        CVib point;
        ASSERT_TRUE(db->GetVib(kPointGuid, point));
        EXPECT_FLOAT_EQ(point.fRunSpeedHz, c.expected) << c.rspd;
        const std::vector<CVibReading> readings = db->ListVibReadings(kPointGuid);
        ASSERT_EQ(readings.size(), 1u) << c.rspd;
        EXPECT_FLOAT_EQ(readings[0].fOriginalRunSpeedHz, c.expected) << c.rspd;
        EXPECT_FLOAT_EQ(readings[0].fCurrentRunSpeedHz, c.expected) << c.rspd;
        EXPECT_EQ(readings[0].rawADCTotalDataByteArray.size(), kMeasurementCaptureBytes) << "nothing lost";
        if (c.noted) {
            ASSERT_EQ(runSpeedNotes.size(), 1) << c.rspd;
            EXPECT_TRUE(runSpeedNotes[0].startsWith(
                QStringLiteral("Reading of Fan 3 / DE H taken 2026-11-30 09:15:00: the meter's run speed ")))
                << runSpeedNotes[0].toStdString();
            EXPECT_TRUE(runSpeedNotes[0].endsWith(
                c.known ? QStringLiteral("stored with the point's run speed 50 Hz")
                        : QStringLiteral("stored without a run speed until one is set")))
                << runSpeedNotes[0].toStdString();
        } else {
            EXPECT_TRUE(runSpeedNotes.isEmpty()) << c.rspd;
        }
    }
    // Off route, the off-route points' 25 Hz.
    meter.reset();
    runSpeedNotes.clear();
    const QString offRoute = QString::fromLatin1(kOffRouteAsset).mid(1, 36);
    ASSERT_EQ(Fetch(OneReading(
                  {}, QStringLiteral(R"(, "aGuid": "%1", "aName": "Off Route", "header": {"RSPD": "nan"})")
                          .arg(offRoute))),
              0);
    const std::vector<COffRouteReading> rows = sync->ListOffRouteReadings();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FLOAT_EQ(rows[0].fCurrentRunSpeedHz, 25.0f);
    EXPECT_EQ(runSpeedNotes.size(), 1);
}

TEST_F(Upload, OffRouteAssetGivesOneOffRouteRowOnly) {
    const QString offRoute = QString::fromLatin1(kOffRouteAsset).mid(1, 36);
    ASSERT_EQ(Fetch(OneReading({}, QStringLiteral(R"(, "aGuid": "%1", "aName": "Off Route")").arg(offRoute))),
              0);
    EXPECT_EQ(Count(QStringLiteral("tblOffRouteReadings")), 1);
    EXPECT_EQ(Count(QStringLiteral("tblMachines")), 0);
    EXPECT_EQ(Count(QStringLiteral("tblVibs")), 0);
    EXPECT_EQ(Count(QStringLiteral("tblVibReadings")), 0);
    EXPECT_TRUE(offered.empty());
    const std::vector<COffRouteReading> rows = sync->ListOffRouteReadings();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].sDeviceName, "Meter A");
    EXPECT_EQ(rows[0].rawADCISODataByteArray.size(), kMeasurementCaptureBytes);
}

TEST_F(Upload, FaultyRepliesStoreNothing) {
    EXPECT_EQ(Fetch(OneReading({}, {}, R"([{"command": "GETMP", "kind": "short-iso", "bytes": 1}])")), -40);
    ExpectNothingStored();
    meter.reset();
    EXPECT_EQ(Fetch(OneReading({}, {}, R"([{"command": "GETMP", "kind": "short-total", "bytes": 3}])")), -41);
    meter.reset();
    EXPECT_EQ(Fetch(OneReading(
                  {}, {}, R"([{"command": "GETMP", "kind": "unterminated-header-key", "key": "Calc BDU"}])")),
              -81);
    meter.reset();
    EXPECT_EQ(
        Fetch(OneReading({}, {}, R"([{"command": "GETMP", "kind": "missing-header-key", "key": "TND"}])")),
        -71);
    meter.reset();
    // "ERROR" is a failure: the reading is not lost by having its flag cleared.
    EXPECT_EQ(Fetch(OneReading({}, {}, R"([{"command": "GETMP", "kind": "error"}])")), -37);
    meter.reset();
    EXPECT_EQ(Fetch(OneReading({}, {}, R"([{"command": "GETMP", "kind": "no-echo"}])")), -39);
    meter.reset();
    // A slot without a reading: the meter answers "ERROR".
    EXPECT_EQ(Fetch(OneReading(), 0, 5), -37);
    ExpectNothingStored();
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(Upload, ImpossibleDateIsCorrectedByTheUser) {
    prompter.dateFixAnswers = {QDateTime(QDate(2080, 1, 1), QTime(0, 0)),
                               QDateTime(QDate(2012, 2, 29), QTime(10, 0))};
    ASSERT_EQ(Fetch(OneReading(QStringLiteral("2012-02-30T10:00:00"))), 0);
    ASSERT_GE(prompter.records.size(), 2u);
    EXPECT_EQ(prompter.records[0].kind, vantor::testing::PromptRecord::Kind::DateFix);
    EXPECT_TRUE(prompter.records[0].text.contains(QStringLiteral("Machine: Fan 3 - Vib Point: DE H")));
    EXPECT_EQ(prompter.Messages(), QStringList({"Error: Please input a valid Date/Time"}));
    const std::vector<CVibReading> readings = db->ListVibReadings(kPointGuid);
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0].ctDateTaken, QDateTime(QDate(2012, 2, 29), QTime(10, 0)));
}

TEST_F(Upload, CancelledDateCorrectionStoresNothing) {
    prompter.dateFixAnswers = {std::nullopt};
    EXPECT_EQ(Fetch(OneReading(QStringLiteral("1899-12-31T23:59:59"))), -73);
    ASSERT_EQ(prompter.records.size(), 1u);
    ExpectNothingStored();
}

TEST_F(Upload, HeaderNamesAreMadeFitForTheColumns) {
    const QString longName = QStringLiteral("../Pump*7: \"east\" | stage ") + QString(40, QLatin1Char('x'));
    ASSERT_EQ(
        Fetch(OneReading({}, QStringLiteral(R"(, "aName": "%1", "mpName": "Lager \u00e4/2")")
                                 .arg(QString(longName).replace(QLatin1Char('"'), QStringLiteral("\\\""))))),
        0);
    CMachine machine;
    ASSERT_TRUE(db->GetMachine(kMachineGuid, machine));
    EXPECT_EQ(machine.sName, QStringLiteral(".._Pump_7_ _east_ _ stage xxxxxxxxxxxxxxxxxxxxxxxx"));
    EXPECT_EQ(machine.sVMName, QStringLiteral(".._Pump_7_ _ea"));
    EXPECT_FALSE(HasForbiddenNameCharacter(machine.sName));
    CVib point;
    ASSERT_TRUE(db->GetVib(kPointGuid, point));
    EXPECT_EQ(point.sName, QStringLiteral("Lager \u00e4_2"));
    EXPECT_EQ(point.sVMName, QStringLiteral("Lager _2"));
    EXPECT_EQ(HeaderDisplayName(QStringLiteral("  "), QStringLiteral("Machine")), "Machine");
}
