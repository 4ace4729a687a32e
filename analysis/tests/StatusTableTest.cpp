// The vibration status table over a small database.
#include "analysis/StatusTable.h"

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

} // namespace
} // namespace vantor
