// The vibration status table over a small database.

#include "loaders/StatusTableQuery.h"
#include "store/tests/StoreFixture.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

class StatusTableTest : public testing::StoreFixture {};

TEST_F(StatusTableTest, RowsInOrderWithChosenColumnsAsWordsOrValues) {
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    CVib motor = AddVib(fan.sItemGUID, QStringLiteral("Motor"));
    motor.bISOAlarmsOn = true;
    motor.fISOWarningMMS = 2.8f;
    motor.fISOCriticalMMS = 4.5f;
    ASSERT_TRUE(db->UpsertVib(motor));
    AddVib(fan.sItemGUID, QStringLiteral("Shaft"));
    AddVib(pump.sItemGUID, QStringLiteral("Casing"));
    CVibReading reading = AddReading(motor.sItemGUID, testing::At(7, 9, 30));
    reading.fISOMMS = 4.5f;
    reading.fTotalG = 0.25f;
    ASSERT_TRUE(db->UpsertVibReading(reading));

    StatusTableOptions options;
    options.columns = {0, -1, 2};
    options.valuesOn = false;
    std::vector<StatusTableRow> rows = BuildVibStatusTable(*db, options);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].machineName, QStringLiteral("Fan"));
    EXPECT_EQ(rows[0].pointName, QStringLiteral("Motor"));
    EXPECT_EQ(rows[1].pointName, QStringLiteral("Shaft"));
    EXPECT_EQ(rows[2].machineName, QStringLiteral("Pump"));

    EXPECT_EQ(rows[0].latestDate, testing::At(7, 9, 30));
    EXPECT_EQ(rows[0].status.code, StatusCode::Critical);
    ASSERT_EQ(rows[0].cells.size(), 2u);
    EXPECT_EQ(rows[0].cells[0].kind, MeasureKind::IsoVelocity);
    EXPECT_EQ(rows[0].cells[0].cell.text, QStringLiteral("CRITICAL"));
    EXPECT_EQ(rows[0].cells[1].kind, MeasureKind::Acceleration);
    EXPECT_EQ(rows[0].cells[1].cell.text, QStringLiteral("NOT CONFIGURED"));

    EXPECT_FALSE(rows[1].latestDate.isValid());
    EXPECT_EQ(rows[1].status.code, StatusCode::NoReadings);
    EXPECT_EQ(rows[1].cells[0].cell.text, QStringLiteral("No Readings"));

    options.valuesOn = true;
    options.format.decimalsG = 2;
    rows = BuildVibStatusTable(*db, options);
    EXPECT_EQ(rows[0].cells[0].cell.text, QStringLiteral("4.500"));
    EXPECT_EQ(rows[0].cells[0].cell.code, StatusCode::Critical);
    EXPECT_EQ(rows[0].cells[1].cell.text, QStringLiteral("0.25"));
    EXPECT_EQ(rows[1].cells[1].cell.text, QStringLiteral("No Readings"));
}

// The table as it was built before: every point's readings newest first, the first one kept.
std::vector<StatusTableRow> TableFromEveryReading(CMainConnection& db, const StatusTableOptions& options) {
    std::vector<StatusTableRow> rows;
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            const std::vector<CVibReading> readings = db.ListVibReadingsNewestFirst(point.sItemGUID);
            const CVibReading* latest = readings.empty() ? nullptr : &readings.front();
            StatusTableRow row{machine.sName,
                               point.sName,
                               latest ? latest->ctDateTaken : QDateTime(),
                               PointStatus(point, latest),
                               {}};
            for (const int column : options.columns) {
                if (IsMeasureKind(column)) {
                    const auto kind = static_cast<MeasureKind>(column);
                    row.cells.push_back(
                        {kind, MakeStatusCell(point, latest, kind, options.valuesOn, options.format)});
                }
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

// A generated plant: points with many readings stored out of date order, points without readings,
// alarms on and off, readings with measures missing; the table from one query equals, row for
// row and cell for cell, the table from every point's full reading list.
TEST_F(StatusTableTest, OneQueryTableEqualsTheTableFromEveryReading) {
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u; // Numerical Recipes' linear congruential generator
        return (seed >> 8) % range;
    };
    for (int m = 0; m < 12; ++m) {
        const CMachine machine = AddMachine(QStringLiteral("Machine %1").arg(m));
        for (int p = 0; p < 1 + static_cast<int>(next(5)); ++p) {
            CVib point = AddVib(machine.sItemGUID, QStringLiteral("Point %1").arg(p));
            point.bISOAlarmsOn = next(2) == 0;
            point.fISOWarningMMS = 2.8f;
            point.fISOCriticalMMS = 7.1f;
            point.bBDUAlarmsOn = next(2) == 0;
            point.fBDUWarning = 10;
            point.fBDUCritical = 30;
            ASSERT_TRUE(db->UpsertVib(point));
            const int readings = static_cast<int>(next(6));
            for (int r = 0; r < readings; ++r) {
                const QDateTime taken = testing::At(1 + static_cast<int>(next(28)),
                                                    static_cast<int>(next(24)), static_cast<int>(next(60)));
                CVibReading reading = AddReading(point.sItemGUID, taken);
                reading.fISOMMS = static_cast<float>(next(100)) / 10.0f;
                reading.fBearingBDU = next(4) == 0 ? -1.0f : static_cast<float>(next(50));
                reading.fTotalG = static_cast<float>(next(300)) / 100.0f;
                ASSERT_TRUE(db->UpsertVibReading(reading));
            }
        }
    }
    for (const bool valuesOn : {false, true}) {
        StatusTableOptions options;
        options.valuesOn = valuesOn;
        options.columns = {3, 0, 1};
        const std::vector<StatusTableRow> expected = TableFromEveryReading(*db, options);
        const std::vector<StatusTableRow> rows = BuildVibStatusTable(*db, options);
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t row = 0; row < rows.size(); ++row) {
            SCOPED_TRACE(row);
            EXPECT_EQ(rows[row].machineName, expected[row].machineName);
            EXPECT_EQ(rows[row].pointName, expected[row].pointName);
            EXPECT_EQ(rows[row].latestDate, expected[row].latestDate);
            EXPECT_EQ(rows[row].status.code, expected[row].status.code);
            EXPECT_EQ(rows[row].status.dateTime, expected[row].status.dateTime);
            ASSERT_EQ(rows[row].cells.size(), expected[row].cells.size());
            for (std::size_t cell = 0; cell < rows[row].cells.size(); ++cell) {
                EXPECT_EQ(rows[row].cells[cell].kind, expected[row].cells[cell].kind);
                EXPECT_EQ(rows[row].cells[cell].cell.text, expected[row].cells[cell].cell.text);
                EXPECT_EQ(rows[row].cells[cell].cell.code, expected[row].cells[cell].cell.code);
            }
        }
    }
}

class PointStatusFromDatabaseTest : public testing::StoreFixture {};

TEST_F(PointStatusFromDatabaseTest, UsesTheLatestReadingOnly) {
    const CMachine machine = AddMachine(QStringLiteral("Fan"));
    CVib point = AddVib(machine.sItemGUID, QStringLiteral("Motor DE"));
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 4.5f;
    point.fISOCriticalMMS = 7.1f;
    ASSERT_TRUE(db->UpsertVib(point));
    EXPECT_EQ(PointStatus(*db, point).code, StatusCode::NoReadings);

    CVibReading older = AddReading(point.sItemGUID, testing::At(3));
    older.fISOMMS = 9.0f;
    ASSERT_TRUE(db->UpsertVibReading(older));
    CVibReading newer = AddReading(point.sItemGUID, testing::At(4));
    newer.fISOMMS = 1.0f;
    ASSERT_TRUE(db->UpsertVibReading(newer));
    const DatedStatus status = PointStatus(*db, point);
    EXPECT_EQ(status.code, StatusCode::Ok);
    EXPECT_EQ(status.dateTime, testing::At(4));
}

} // namespace
} // namespace vantor
