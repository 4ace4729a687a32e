// The plant as the main window reads it: the newest reading of every point without its captures,
// lubrication points by their bearing noise, the status rows, and the off-route count.
#include "app/PlantStatus.h"
#include "DatabaseFixture.h"
#include "store/LatestReadings.h"

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

} // namespace
} // namespace vantor::testing
