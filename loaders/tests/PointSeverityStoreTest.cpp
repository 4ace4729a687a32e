// A point switched to ISO 20816-3 over a small database, beside a point left on its documented alarm
// that stays exactly as it was, and the standard's suggestions from a point's stored readings.
#include "loaders/PointSeverityStore.h"
#include "analysis/Diagnosis.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SeverityZones.h"
#include "analysis/SignalProcessor.h"
#include "loaders/PointAlarmsQuery.h"

#include "store/AlarmRecords.h"
#include "store/tests/StoreFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace vantor {
namespace {

constexpr auto kRigid = Support::Rigid;

class PointSeverityTest : public testing::StoreFixture {
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
    std::vector<AlarmedStatusRow> Table() { return BuildAlarmedStatusTable(*db, {}, processor, analyzer); }

    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
};

TEST_F(PointSeverityTest, APointOnTheStandardShowsItsZoneAndTheOthersStayAsTheyWere) {
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CVib zoned = AddPoint(fan.sItemGUID, QStringLiteral("DE"), {1.0f, 1.1f, 3.1f});
    const CVib left = AddPoint(fan.sItemGUID, QStringLiteral("NDE"), {1.0f, 1.1f, 3.1f});
    const std::vector<AlarmedStatusRow> before = Table();

    StorePointStandard(*db, zoned.sItemGUID, {SeverityStandard::Iso20816_3, 2, kRigid});
    const std::vector<AlarmedStatusRow> after = Table();
    ASSERT_EQ(after.size(), 2U);
    // 3.1 mm/s is below the documented warning of 4.5 but in zone C of group 2 rigid.
    EXPECT_EQ(after[0].alarms.documented.code, StatusCode::Ok);
    EXPECT_EQ(after[0].row.status.code, StatusCode::Warning);
    ASSERT_TRUE(after[0].alarms.zone);
    EXPECT_EQ(after[0].alarms.zone->verdict.zone, Zone::C);
    ASSERT_EQ(after[0].alarms.reasons.size(), 1U);
    EXPECT_EQ(after[0].alarms.reasons[0].source, AlarmReason::Source::Zone);
    EXPECT_EQ(after[0].alarms.reasons[0].text,
              QStringLiteral("ISO 20816-3 zone C (velocity 3.10 mm/s, B/C 2.8 mm/s)"));
    EXPECT_EQ(LatestPointZone(*db, zoned)->verdict.zone, Zone::C);

    // The point left on its documented alarm: the same row, status, reasons and no zone.
    for (const std::vector<AlarmedStatusRow>* table : {&before, &after}) {
        const AlarmedStatusRow& row = (*table)[1];
        EXPECT_EQ(row.row.status.code, StatusCode::Ok);
        EXPECT_EQ(row.row.status.dateTime, before[1].row.status.dateTime);
        EXPECT_FALSE(row.alarms.hasSettings);
        EXPECT_FALSE(row.alarms.zone);
        EXPECT_TRUE(row.alarms.reasons.empty());
    }
    EXPECT_FALSE(LatestPointZone(*db, left));

    // Back on the documented alarm, the point is as before.
    StorePointStandard(*db, zoned.sItemGUID, {});
    const std::vector<AlarmedStatusRow> back = Table();
    EXPECT_EQ(back[0].row.status.code, before[0].row.status.code);
    EXPECT_FALSE(back[0].alarms.hasSettings);
    EXPECT_FALSE(alarmrows::SeverityOf(db->Connection(), zoned.sItemGUID));
}

TEST_F(PointSeverityTest, SuggestionsNeedABaselineOfIsoReadings) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib none = AddPoint(pump.sItemGUID, QStringLiteral("Empty"), {});
    const CVib two = AddPoint(pump.sItemGUID, QStringLiteral("Two"), {1.0f, 1.0f});
    float noValue;
    const std::uint32_t bits = kNoValueBits;
    std::memcpy(&noValue, &bits, sizeof noValue);
    const CVib four = AddPoint(pump.sItemGUID, QStringLiteral("Four"), {1.0f, noValue, 1.2f, 1.4f, 9.0f});

    EXPECT_TRUE(SuggestPointAlarms(*db, none, 2, kRigid, 6)
                    .outcome.refusal.contains(QLatin1String("no ISO velocity")));
    EXPECT_TRUE(
        SuggestPointAlarms(*db, two, 2, kRigid, 6).outcome.refusal.contains(QLatin1String("at least 3")));
    EXPECT_TRUE(
        SuggestPointAlarms(*db, four, 3, kRigid, 6).outcome.refusal.contains(QLatin1String("group 3")));

    // The first three usable readings (the no-value marker passed over): mean 1.2.
    const PointSuggestion s = SuggestPointAlarms(*db, four, 2, kRigid, 3);
    ASSERT_TRUE(s.outcome.suggestion) << s.outcome.refusal.toStdString();
    EXPECT_NEAR(s.outcome.suggestion->baselineMms, 1.2, 1e-6);
    EXPECT_NEAR(s.outcome.suggestion->alarmMms, 1.2 + 0.25 * 2.8, 1e-6);
    EXPECT_NEAR(s.outcome.suggestion->tripMms, 1.25 * 4.5, 1e-9);
}

} // namespace
} // namespace vantor
