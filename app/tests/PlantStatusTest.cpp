// The plant as the main window reads it: the newest reading of every point without its captures,
// lubrication points by their bearing noise, the status rows, and the off-route count.
#include "app/PlantStatus.h"
#include "DatabaseFixture.h"
#include "FindingsTestData.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/PointAlarms.h"
#include "analysis/SignalProcessor.h"
#include "app/ReadingFindings.h"
#include "loaders/StatusTableQuery.h"
#include "store/AlarmRecords.h"
#include "store/LatestReadings.h"
#include "texts/UiText.h"

namespace vantor::testing {
namespace {

const QDateTime kMonday(QDate(2026, 3, 2), QTime(8, 0));

class PlantStatusTest : public DatabaseFixture {
protected:
    CVibReading AddReading(const CVib& point, const QDateTime& taken, float iso) {
        CVibReading reading;
        reading.sItemGUID = MakeItemGuid();
        reading.sParentGUID = point.sItemGUID;
        reading.ctDateTaken = taken;
        reading.fISOMMS = iso;
        reading.rawADCISODataByteArray = QByteArray(64, 'x');
        reading.rawADCTotalDataByteArray = QByteArray(64, 'y');
        EXPECT_TRUE(Db().UpsertVibReading(reading));
        return reading;
    }
};

TEST_F(PlantStatusTest, TheNewestReadingOfEveryPointIsReadWithoutItsCaptures) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    CVib de = AddPoint(pump, QStringLiteral("DE"));
    de.bISOAlarmsOn = true;
    de.fISOWarningMMS = 4.5f;
    de.fISOCriticalMMS = 7.1f;
    ASSERT_TRUE(Db().UpsertVib(de));
    const CVib idle = AddPoint(pump, QStringLiteral("Idle"));
    // Stored out of date order: the newest by date wins, not the last stored.
    AddReading(de, kMonday.addDays(2), 5.0f);
    const CVibReading newest = AddReading(de, kMonday.addDays(9), 7.1f);
    AddReading(de, kMonday, 1.0f);

    const QHash<QString, CVibReading> latest = LatestVibReadingsByPoint(Db());
    ASSERT_EQ(latest.size(), 1);
    const CVibReading& read = latest.value(de.sItemGUID);
    EXPECT_EQ(read.sItemGUID, newest.sItemGUID);
    EXPECT_EQ(read.ctDateTaken, newest.ctDateTaken);
    EXPECT_FLOAT_EQ(read.fISOMMS, 7.1f);
    EXPECT_TRUE(read.rawADCISODataByteArray.isEmpty());
    EXPECT_TRUE(read.rawADCTotalDataByteArray.isEmpty());

    // The snapshot: the point status from that reading, the machine the most severe of its points.
    const PlantSnapshot plant = LoadPlant(Db(), {true, false});
    ASSERT_EQ(plant.machines.size(), 1u);
    ASSERT_EQ(plant.machines[0].points.size(), 2u);
    EXPECT_EQ(plant.machines[0].points[0].status.code, StatusCode::Critical);
    EXPECT_EQ(plant.machines[0].points[0].status.dateTime, newest.ctDateTaken);
    EXPECT_EQ(plant.machines[0].points[1].status.code, StatusCode::NoReadings);
    EXPECT_EQ(plant.machines[0].status.code, StatusCode::Critical);
    EXPECT_EQ(plant.status.code, StatusCode::Critical);
    EXPECT_EQ(plant.FindPoint(idle.sItemGUID)->Name(), QStringLiteral("Idle"));

    // The status rows match the table the command line prints from the database.
    const StatusTableOptions options;
    const std::vector<StatusTableRow> fromSnapshot = StatusRowsOf(plant, {}, options);
    const std::vector<StatusTableRow> fromDatabase = BuildVibStatusTable(Db(), options);
    ASSERT_EQ(fromSnapshot.size(), fromDatabase.size());
    for (std::size_t row = 0; row < fromSnapshot.size(); ++row) {
        EXPECT_EQ(fromSnapshot[row].pointName, fromDatabase[row].pointName);
        EXPECT_EQ(fromSnapshot[row].latestDate, fromDatabase[row].latestDate);
        EXPECT_EQ(fromSnapshot[row].status.code, fromDatabase[row].status.code);
        ASSERT_EQ(fromSnapshot[row].cells.size(), fromDatabase[row].cells.size());
        for (std::size_t cell = 0; cell < fromSnapshot[row].cells.size(); ++cell) {
            EXPECT_EQ(fromSnapshot[row].cells[cell].cell.text, fromDatabase[row].cells[cell].cell.text);
        }
    }
    EXPECT_TRUE(StatusRowsOf(plant, QStringLiteral("{no such machine}"), options).empty());
    EXPECT_FALSE(plant.machines[0].points[0].online.has_value());
}

// A point an online sensor feeds carries the sensor and its newest overall values; before the
// first value it carries the sensor alone.
TEST_F(PlantStatusTest, APointFedByAnOnlineSensorCarriesItsNewestValues) {
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CVib de = AddPoint(fan, QStringLiteral("DE"));
    const CVib nde = AddPoint(fan, QStringLiteral("NDE"));
    onlinerows::PutSensor(Db().Connection(), {QStringLiteral("s-de"), de.sItemGUID, kMonday});
    onlinerows::PutSensor(Db().Connection(), {QStringLiteral("s-nde"), nde.sItemGUID, kMonday});
    for (const auto& [minutes, iso] : {std::pair{0, 1.5}, std::pair{20, 2.5}, std::pair{10, 9.0}}) {
        onlinerows::InsertOverall(Db().Connection(), {MakeItemGuid(), QStringLiteral("s-de"), de.sItemGUID,
                                                      kMonday.addSecs(60 * minutes), iso, 0.3, 41.0, 0});
    }
    const PlantSnapshot plant = LoadPlant(Db(), {true, false});
    const PlantPoint* fed = plant.FindPoint(de.sItemGUID);
    ASSERT_TRUE(fed->online.has_value());
    EXPECT_EQ(fed->online->sensorId, QStringLiteral("s-de"));
    ASSERT_TRUE(fed->online->latest.has_value());
    EXPECT_EQ(fed->online->latest->taken, kMonday.addSecs(60 * 20));
    EXPECT_DOUBLE_EQ(*fed->online->latest->isoMms, 2.5);
    const PlantPoint* waiting = plant.FindPoint(nde.sItemGUID);
    ASSERT_TRUE(waiting->online.has_value());
    EXPECT_FALSE(waiting->online->latest.has_value());
}

TEST_F(PlantStatusTest, LubricationPointsAreJudgedByTheirBearingNoise) {
    CLube point;
    point.bBDUAlarmsOn = true;
    point.fBDUWarning = 20;
    point.fBDUCritical = 40;
    CLubeReading reading;
    reading.ctDateTaken = kMonday;
    struct Case {
        float before;
        float after;
        bool alarmsOn;
        StatusCode expected;
    };
    const Case cases[] = {
        {10, 5, true, StatusCode::Ok},
        {25, 5, true, StatusCode::Warning},   // before lubrication in warning
        {10, 40, true, StatusCode::Critical}, // after lubrication at the critical limit
        {-100.0f, -100.0f, true, StatusCode::NoReadings},
        {50, 50, false, StatusCode::NotConfigured},
    };
    for (const Case& c : cases) {
        point.bBDUAlarmsOn = c.alarmsOn;
        reading.fBeforeBDU = c.before;
        reading.fAfterBDU = c.after;
        EXPECT_EQ(LubePointStatus(point, &reading).code, c.expected) << c.before << " " << c.after;
    }
    EXPECT_EQ(LubePointStatus(point, nullptr).code, StatusCode::NoReadings);

    // In the lubrication edition the snapshot holds lubrication points alone.
    const CMachine machine = AddMachine(QStringLiteral("Gearbox"));
    AddPoint(machine, QStringLiteral("Vib"));
    CLube lube;
    lube.sItemGUID = MakeItemGuid();
    lube.sParentGUID = machine.sItemGUID;
    lube.sName = QStringLiteral("Grease nipple");
    lube.bBDUAlarmsOn = true;
    lube.fBDUWarning = 20;
    lube.fBDUCritical = 40;
    ASSERT_TRUE(Db().UpsertLube(lube));
    CLubeReading stored;
    stored.sItemGUID = MakeItemGuid();
    stored.sParentGUID = lube.sItemGUID;
    stored.ctDateTaken = kMonday;
    stored.fBeforeBDU = 30;
    ASSERT_TRUE(Db().UpsertLubeReading(stored));
    const PlantSnapshot plant = LoadPlant(Db(), {false, true});
    ASSERT_EQ(plant.machines.at(0).points.size(), 1u);
    EXPECT_EQ(plant.machines[0].points[0].kind, PlantPoint::Kind::Lube);
    EXPECT_EQ(plant.machines[0].points[0].status.code, StatusCode::Warning);
    EXPECT_EQ(plant.machines[0].status.code, StatusCode::Warning);
}

TEST_F(PlantStatusTest, OffRouteReadingsAreCountedAndAnOldFileWithoutTheirTableHasNone) {
    COffRouteReading reading;
    reading.sItemGUID = MakeItemGuid();
    reading.ctDateTaken = kMonday;
    {
        auto sync = app->MakeSyncConnection();
        ASSERT_TRUE(sync->Open());
        ASSERT_TRUE(sync->UpsertOffRouteReading(reading));
    }
    EXPECT_EQ(LoadPlant(Db(), {}).offRouteReadings, 1);
    ASSERT_TRUE(Exec(QStringLiteral("DROP TABLE tblOffRouteReadings")));
    EXPECT_EQ(CountOffRouteReadings(Db()), 0);
}

// A point with a baseline takes the most severe of its documented status and its baseline and change
// alarms, with their reasons; its machine and the plant follow. A point without the new settings
// keeps exactly its documented status and has no reasons.
TEST_F(PlantStatusTest, APointWithABaselineShowsItsCombinedStatusWithItsReasons) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    std::vector<CVib> points;
    for (const QString& name : {QStringLiteral("Watched"), QStringLiteral("Plain")}) {
        CVib point = AddPoint(pump, name);
        point.bISOAlarmsOn = true;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        ASSERT_TRUE(Db().UpsertVib(point));
        // ISO 1.0, 1.0, 1.1 then 2.3 mm/s: below the warning line throughout.
        int day = 0;
        for (const float iso : {1.0f, 1.0f, 1.1f, 2.3f}) {
            AddReading(point, kMonday.addDays(day++), iso);
        }
        points.push_back(point);
    }
    const PlantSnapshot before = LoadPlant(Db(), {true, false});
    BaselineSettings settings;
    settings.measure = {MeasureKind::IsoVelocity, std::nullopt};
    settings.baselineReadings = 3;
    alarmrows::PutSetting(Db().Connection(), ToAlarmSettingRow(points[0].sItemGUID, settings));

    const PlantSnapshot plant = LoadPlant(Db(), {true, false});
    const PlantPoint& watched = *plant.FindPoint(points[0].sItemGUID);
    EXPECT_EQ(watched.status.code, StatusCode::Critical);
    EXPECT_EQ(watched.status.dateTime, kMonday.addDays(3));
    ASSERT_EQ(watched.reasons.size(), 2u);
    EXPECT_EQ(watched.reasons[0].source, AlarmReason::Source::Baseline);
    EXPECT_EQ(watched.reasons[1].source, AlarmReason::Source::Change);
    EXPECT_EQ(plant.machines[0].status.code, StatusCode::Critical);
    EXPECT_EQ(plant.status.code, StatusCode::Critical);

    const PlantPoint& plain = *plant.FindPoint(points[1].sItemGUID);
    const PlantPoint& plainBefore = *before.FindPoint(points[1].sItemGUID);
    EXPECT_EQ(plain.status.code, StatusCode::Ok);
    EXPECT_EQ(plain.status.code, plainBefore.status.code);
    EXPECT_EQ(plain.status.dateTime, plainBefore.status.dateTime);
    EXPECT_TRUE(plain.reasons.empty());
    // The status rows: the watched point's status word follows, every other cell stays.
    const std::vector<StatusTableRow> rows = StatusRowsOf(plant, {}, StatusTableOptions{});
    const std::vector<StatusTableRow> rowsBefore = StatusRowsOf(before, {}, StatusTableOptions{});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].status.code, StatusCode::Critical);
    EXPECT_EQ(rows[1].status.code, rowsBefore[1].status.code);
    ASSERT_EQ(rows[0].cells.size(), rowsBefore[0].cells.size());
    for (std::size_t i = 0; i < rows[0].cells.size(); ++i) {
        EXPECT_EQ(rows[0].cells[i].cell.text, rowsBefore[0].cells[i].cell.text);
    }
}

TEST_F(PlantStatusTest, ReasonsAndFindingsReadAsTheTreeAndTableShowThem) {
    struct ReasonCase {
        AlarmReason reason;
        QString text;
    };
    const ReasonCase reasons[] = {
        {{AlarmReason::Source::Baseline, StatusCode::Critical,
          QStringLiteral("ISO velocity 2.3 ≥ baseline + 3σ 1.2")},
         QStringLiteral("CRITICAL Statistical alarm: ISO velocity 2.3 ≥ baseline + 3σ 1.2")},
        {{AlarmReason::Source::Change, StatusCode::Warning, QStringLiteral("ISO velocity 2.2× baseline")},
         QStringLiteral("WARNING Change alarm: ISO velocity 2.2× baseline")},
        {{AlarmReason::Source::Band, StatusCode::Warning,
          QStringLiteral("Band 1 (ISO 5–20 Hz) peak 2 ≥ warning 2")},
         QStringLiteral("WARNING Band alarm: Band 1 (ISO 5–20 Hz) peak 2 ≥ warning 2")},
    };
    for (const ReasonCase& c : reasons) {
        EXPECT_EQ(AlarmReasonText(c.reason), c.text);
    }

    auto finding = [](FindingKind kind, StatusCode severity, double confidence) {
        Finding f;
        f.kind = kind;
        f.severity = severity;
        f.confidence = confidence;
        f.summary = QStringLiteral("s");
        return f;
    };
    const Finding none = finding(FindingKind::NoFinding, StatusCode::Ok, 1);
    const Finding bearing = finding(FindingKind::BearingDefect, StatusCode::Critical, 0.9);
    const Finding impacting = finding(FindingKind::Impacting, StatusCode::Warning, 0.55);
    const Finding noted = finding(FindingKind::Unbalance, StatusCode::Ok, 0.8);
    struct FindingsCase {
        std::vector<Finding> findings;
        QString cell;
        StatusCode severity;
        QString tip;
    };
    const FindingsCase cases[] = {
        {{none}, QStringLiteral("No finding"), StatusCode::Ok, QStringLiteral("No finding")},
        {{bearing, impacting},
         QStringLiteral("Bearing defect, Impacting"),
         StatusCode::Critical,
         QStringLiteral("Bearing defect - CRITICAL (90 %): s\nImpacting - WARNING (55 %): s")},
        {{impacting, impacting},
         QStringLiteral("Impacting"),
         StatusCode::Warning,
         QStringLiteral("Impacting - WARNING (55 %): s\nImpacting - WARNING (55 %): s")},
        {{}, QStringLiteral("No finding"), StatusCode::Ok, QStringLiteral("No finding")},
        // A finding only noted names itself uncoloured; beside an alarming one the cell leaves it out.
        {{noted}, QStringLiteral("Unbalance"), StatusCode::Ok, QStringLiteral("Unbalance - OK (80 %): s")},
        {{bearing, noted},
         QStringLiteral("Bearing defect"),
         StatusCode::Critical,
         QStringLiteral("Bearing defect - CRITICAL (90 %): s\nUnbalance - OK (80 %): s")},
    };
    for (const FindingsCase& c : cases) {
        SCOPED_TRACE(c.cell.toStdString());
        EXPECT_EQ(FindingsCellText(c.findings), c.cell);
        EXPECT_EQ(FindingsSeverity(c.findings), c.severity);
        EXPECT_EQ(FindingsTip(c.findings), c.tip);
    }
    // The kinds' captions follow the language.
    QStringList texts = UiTextTable::Snapshot();
    for (int i = UiTextCount; i < UiTextAllCount; ++i) {
        texts << EnglishDefaultText(i);
    }
    texts[text::added::BearingDefect] = QStringLiteral("Lagerschaden");
    ASSERT_TRUE(UiTextTable::Replace(texts));
    EXPECT_EQ(FindingsCellText({bearing}), QStringLiteral("Lagerschaden"));
    UiTextTable::ResetToDefaults();
}

// The desktop's diagnosis of a stored reading and its point's bands, through the app layer.
TEST_F(PlantStatusTest, TheDesktopDiagnosesAReadingAndReadsAPointsBands) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddPoint(pump, QStringLiteral("NDE"));
    const CVibReading reading = ToneReading(point.sItemGUID, kMonday, 4.0);
    ASSERT_TRUE(Db().UpsertVibReading(reading));
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    const std::optional<ReadingDiagnosis> diagnosis =
        LoadReadingDiagnosis(*app, processor, analyzer, reading.sItemGUID);
    ASSERT_TRUE(diagnosis);
    EXPECT_EQ(FindingsCellText(diagnosis->findings), QStringLiteral("Unbalance"));
    EXPECT_FALSE(LoadReadingDiagnosis(*app, processor, analyzer, MakeItemGuid()));

    EXPECT_TRUE(LoadPointSpectralBands(*app, point.sItemGUID).empty());
    SpectralBand band;
    band.from = 0.5;
    band.to = 1.5;
    band.orders = true;
    band.warning = 2;
    band.critical = 4;
    SpectralBandRow unknown = ToSpectralBandRow(point.sItemGUID, band);
    unknown.spectrum = QStringLiteral("acoustic");
    alarmrows::PutBands(Db().Connection(), point.sItemGUID,
                        {ToSpectralBandRow(point.sItemGUID, band), unknown});
    const std::vector<SpectralBand> bands = LoadPointSpectralBands(*app, point.sItemGUID);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_TRUE(bands[0].orders);
    EXPECT_DOUBLE_EQ(bands[0].to, 1.5);
}

} // namespace
} // namespace vantor::testing
