// A point's status with the new alarms over a small database: a trend that doubles below the ISO
// warning raises the change alarm with its reason, a baseline too short leaves the documented
// status, and every point without the new settings keeps its documented row exactly.
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/PointAlarms.h"
#include "analysis/SignalProcessor.h"

#include "loaders/PointAlarmsQuery.h"
#include "loaders/StatusTableQuery.h"
#include "store/AlarmRecords.h"
#include "store/tests/StoreFixture.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

class PointAlarmsTest : public testing::StoreFixture {
protected:
    CVib AddPoint(const QString& machine, const QString& name, std::initializer_list<float> isoValues) {
        CVib point = AddVib(machine, name);
        point.bISOAlarmsOn = true;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        EXPECT_TRUE(db->UpsertVib(point));
        int day = 1;
        for (const float value : isoValues) {
            CVibReading reading = AddReading(point.sItemGUID, testing::At(day++, 9, 0));
            reading.fISOMMS = value;
            EXPECT_TRUE(db->UpsertVibReading(reading));
        }
        return point;
    }
    void Set(const CVib& point, BaselineSettings settings) {
        alarmrows::PutSetting(db->Connection(), ToAlarmSettingRow(point.sItemGUID, settings));
    }
    PointAlarmStatus Evaluate(const CVib& point) {
        return EvaluatePointAlarms(*db, processor, analyzer, point);
    }

    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
};

BaselineSettings IsoSettings(int baselineReadings) {
    BaselineSettings s;
    s.measure = {MeasureKind::IsoVelocity, std::nullopt};
    s.baselineReadings = baselineReadings;
    return s;
}

TEST_F(PointAlarmsTest, ATrendThatDoublesBelowTheWarningRaisesTheChangeAlarm) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddPoint(pump.sItemGUID, QStringLiteral("NDE"), {1.0f, 1.0f, 1.1f, 2.3f});
    EXPECT_EQ(Evaluate(point).combined.code, StatusCode::Ok);

    Set(point, IsoSettings(0));
    PointAlarmStatus status = Evaluate(point);
    EXPECT_EQ(status.documented.code, StatusCode::Ok);
    EXPECT_EQ(status.combined.code, StatusCode::Warning);
    EXPECT_EQ(status.combined.dateTime, testing::At(4, 9, 0));
    ASSERT_EQ(status.reasons.size(), 1U);
    EXPECT_EQ(status.reasons[0].source, AlarmReason::Source::Change);
    EXPECT_EQ(status.reasons[0].text, QStringLiteral("ISO velocity 2.1× previous"));

    // A baseline of the first three readings: 2.3 is far above mean + 3σ and 2.2× the mean.
    Set(point, IsoSettings(3));
    status = Evaluate(point);
    EXPECT_EQ(status.combined.code, StatusCode::Critical);
    ASSERT_EQ(status.reasons.size(), 2U);
    EXPECT_EQ(status.reasons[0].source, AlarmReason::Source::Baseline);
    EXPECT_EQ(status.reasons[0].code, StatusCode::Critical);
    EXPECT_EQ(status.reasons[1].text, QStringLiteral("ISO velocity 2.2× baseline"));
}

TEST_F(PointAlarmsTest, ABaselineTooShortFallsBackToTheDocumentedStatus) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddPoint(pump.sItemGUID, QStringLiteral("NDE"), {1.0f, 5.0f});
    Set(point, IsoSettings(6));
    const PointAlarmStatus status = Evaluate(point);
    EXPECT_TRUE(status.hasSettings);
    EXPECT_EQ(status.combined.code, StatusCode::Warning); // 5.0 ≥ the ISO warning of 4.5
    EXPECT_EQ(status.combined.dateTime, status.documented.dateTime);
    EXPECT_TRUE(status.reasons.empty());
    ASSERT_EQ(status.notes.size(), 1U);
    EXPECT_TRUE(status.notes[0].contains(QStringLiteral("fewer than 3"))) << status.notes[0].toStdString();
}

TEST_F(PointAlarmsTest, PointsWithoutTheNewSettingsKeepTheirDocumentedRows) {
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    AddPoint(fan.sItemGUID, QStringLiteral("Motor"), {2.0f, 5.0f, 8.0f});
    AddPoint(fan.sItemGUID, QStringLiteral("Shaft"), {});
    const CVib watched = AddPoint(pump.sItemGUID, QStringLiteral("NDE"), {1.0f, 1.0f, 1.0f, 3.0f});
    AddPoint(pump.sItemGUID, QStringLiteral("DE"), {1.0f, 3.0f});
    StatusTableOptions options;
    options.columns = {0, 1, 2};
    const std::vector<StatusTableRow> before = BuildVibStatusTable(*db, options);

    Set(watched, IsoSettings(3));
    const std::vector<AlarmedStatusRow> after = BuildAlarmedStatusTable(*db, options, processor, analyzer);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool isWatched = after[i].pointGuid == watched.sItemGUID;
        EXPECT_EQ(after[i].row.pointName, before[i].pointName);
        EXPECT_EQ(after[i].row.latestDate, before[i].latestDate);
        EXPECT_EQ(after[i].alarms.hasSettings, isWatched) << i;
        ASSERT_EQ(after[i].row.cells.size(), before[i].cells.size());
        for (std::size_t c = 0; c < before[i].cells.size(); ++c) {
            EXPECT_EQ(after[i].row.cells[c].cell.text, before[i].cells[c].cell.text);
        }
        if (isWatched) {
            EXPECT_EQ(before[i].status.code, StatusCode::Ok);
            EXPECT_EQ(after[i].row.status.code, StatusCode::Critical);
        } else {
            EXPECT_EQ(after[i].row.status.code, before[i].status.code) << i;
            EXPECT_EQ(after[i].row.status.dateTime, before[i].status.dateTime) << i;
            EXPECT_TRUE(after[i].alarms.reasons.empty()) << i;
        }
    }
    // The DE point doubled too (3.0 after 1.0), but without settings it stays as documented.
    EXPECT_EQ(after.back().row.status.code, StatusCode::Ok);
}

} // namespace
} // namespace vantor
