// The alarm tables: gained by an older database on opening, rows replaced by point and measure,
// bands renumbered in their order, one severity standard per point, and every row removed with its
// point (and only its point).
#include "StoreFixture.h"

#include "store/AlarmRecords.h"

using namespace vantor;
using namespace vantor::testing;

using AlarmRecords = StoreFixture;

namespace {

bool HasTable(CMainConnection& db, const char* name) {
    return db.Connection().Database().tables().contains(QLatin1String(name), Qt::CaseInsensitive);
}

PointAlarmSettingRow Setting(const QString& point, const char* measure, int readings) {
    return {point, QLatin1String(measure), readings, {}, {}, 2, 3, 2, 4};
}

SpectralBandRow Band(double from, double to, const char* spectrum) {
    return {{}, 0, from, to, false, QLatin1String(spectrum), 1, 2, false};
}

} // namespace

TEST_F(AlarmRecords, AnOlderDatabaseGainsTheTablesOnOpening) {
    db->Close();
    Execute(QStringLiteral("DROP TABLE tblPointAlarmSettings"));
    Execute(QStringLiteral("DROP TABLE tblPointSpectralBands"));
    Execute(QStringLiteral("DROP TABLE tblPointSeverityStandard"));
    CMainConnection reopened(context);
    ASSERT_TRUE(reopened.Open());
    for (const AddedTable& table : AlarmTables()) {
        EXPECT_TRUE(HasTable(reopened, table.name)) << table.name;
    }
    EXPECT_TRUE(EnsureAlarmTables(reopened.Connection()));
}

TEST_F(AlarmRecords, SettingsAreReplacedByPointAndMeasure) {
    const QString point = QStringLiteral("{p}");
    alarmrows::PutSetting(db->Connection(), Setting(point, "iso", 6));
    alarmrows::PutSetting(db->Connection(), Setting(point, "kurtosis", 3));
    PointAlarmSettingRow byDates = Setting(point, "iso", 0);
    byDates.baselineFrom = QStringLiteral("2026-01-01 00:00:00");
    byDates.baselineTo = QStringLiteral("2026-02-01 00:00:00");
    byDates.changeCritical = 5.5;
    alarmrows::PutSetting(db->Connection(), byDates);

    const std::vector<PointAlarmSettingRow> rows = alarmrows::SettingsOf(db->Connection(), point);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].measure, QStringLiteral("iso"));
    EXPECT_EQ(rows[0].baselineReadings, 0);
    EXPECT_EQ(rows[0].baselineTo, byDates.baselineTo);
    EXPECT_EQ(rows[0].changeCritical, 5.5);
    EXPECT_EQ(rows[1].measure, QStringLiteral("kurtosis"));
    EXPECT_EQ(rows[1].baselineReadings, 3);

    EXPECT_TRUE(alarmrows::DeleteSetting(db->Connection(), point, QStringLiteral("iso")));
    EXPECT_FALSE(alarmrows::DeleteSetting(db->Connection(), point, QStringLiteral("iso")));
    EXPECT_EQ(alarmrows::SettingsOf(db->Connection(), point).size(), 1U);
}

TEST_F(AlarmRecords, BandsAreNumberedInTheirOrder) {
    const QString point = QStringLiteral("{p}");
    alarmrows::PutBands(db->Connection(), point,
                        {Band(10, 20, "iso"), Band(0.5, 1.5, "total"), Band(30, 60, "envelope")});
    SpectralBandRow orders = Band(0.5, 1.5, "iso");
    orders.orders = true;
    orders.rms = true;
    alarmrows::PutBands(db->Connection(), point, {Band(30, 60, "envelope"), orders});
    const std::vector<SpectralBandRow> bands = alarmrows::BandsOf(db->Connection(), point);
    ASSERT_EQ(bands.size(), 2U);
    EXPECT_EQ(bands[0].number, 1);
    EXPECT_EQ(bands[0].spectrum, QStringLiteral("envelope"));
    EXPECT_EQ(bands[1].number, 2);
    EXPECT_TRUE(bands[1].orders);
    EXPECT_TRUE(bands[1].rms);
    EXPECT_EQ(bands[1].to, 1.5);
}

TEST_F(AlarmRecords, APointHasOneSeverityStandardOrNone) {
    const QString point = QStringLiteral("{p}");
    EXPECT_FALSE(alarmrows::SeverityOf(db->Connection(), point));
    alarmrows::PutSeverity(db->Connection(),
                           {point, QStringLiteral("iso20816-3"), 1, QStringLiteral("rigid")});
    alarmrows::PutSeverity(db->Connection(),
                           {point, QStringLiteral("iso20816-3"), 2, QStringLiteral("flexible")});
    const std::optional<PointSeverityRow> row = alarmrows::SeverityOf(db->Connection(), point);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->group, 2);
    EXPECT_EQ(row->support, QStringLiteral("flexible"));
    EXPECT_EQ(alarmrows::PointsWithAlarmRows(db->Connection()), std::vector<QString>{point});

    EXPECT_TRUE(alarmrows::DeleteSeverity(db->Connection(), point));
    EXPECT_FALSE(alarmrows::DeleteSeverity(db->Connection(), point));
    EXPECT_TRUE(alarmrows::PointsWithAlarmRows(db->Connection()).empty());
}

TEST_F(AlarmRecords, GoWithTheirPointOnly) {
    const CMachine machine = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddVib(machine.sItemGUID, QStringLiteral("NDE"));
    const CVib other = AddVib(machine.sItemGUID, QStringLiteral("DE"));
    for (const CVib& vib : {point, other}) {
        alarmrows::PutSetting(db->Connection(), Setting(vib.sItemGUID, "iso", 3));
        alarmrows::PutBands(db->Connection(), vib.sItemGUID, {Band(10, 20, "iso")});
        alarmrows::PutSeverity(db->Connection(),
                               {vib.sItemGUID, QStringLiteral("iso20816-3"), 2, QStringLiteral("rigid")});
    }
    std::vector<QString> withRows = alarmrows::PointsWithAlarmRows(db->Connection());
    EXPECT_EQ(withRows.size(), 2U);

    ASSERT_TRUE(db->DeleteVib(point.sItemGUID));
    EXPECT_TRUE(alarmrows::SettingsOf(db->Connection(), point.sItemGUID).empty());
    EXPECT_TRUE(alarmrows::BandsOf(db->Connection(), point.sItemGUID).empty());
    EXPECT_FALSE(alarmrows::SeverityOf(db->Connection(), point.sItemGUID));
    EXPECT_TRUE(alarmrows::SeverityOf(db->Connection(), other.sItemGUID));
    EXPECT_EQ(alarmrows::SettingsOf(db->Connection(), other.sItemGUID).size(), 1U);

    // A whole machine takes its points' rows along.
    ASSERT_TRUE(db->DeleteMachine(machine.sItemGUID));
    EXPECT_TRUE(alarmrows::PointsWithAlarmRows(db->Connection()).empty());
}
