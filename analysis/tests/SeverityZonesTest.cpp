// The ISO 20816-3 zone table checked cell by cell against a copy written out here, and by the
// relations its values keep (so one mistyped cell fails twice); the zone of a value at and around
// every boundary; displacement only for slowly running machines, the more restrictive quantity
// deciding; and the ALARM and TRIP rule.
#include "analysis/SeverityZones.h"
#include "analysis/Diagnosis.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/PointAlarms.h"
#include "analysis/PointSeverity.h"
#include "analysis/SignalProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace vantor {
namespace {

constexpr auto kV = SeverityQuantity::Velocity;
constexpr auto kD = SeverityQuantity::Displacement;
constexpr auto kRigid = Support::Rigid;
constexpr auto kFlexible = Support::Flexible;

struct Cell {
    int group;
    Support support;
    SeverityQuantity quantity;
    double ab, bc, cd;
    const char* table;
};

// Typed again from the standard's Annex A, independently of the program's table.
constexpr Cell kExpected[] = {
    {1, kRigid, kV, 2.3, 4.5, 7.1, "Table A.1"}, {1, kFlexible, kV, 3.5, 7.1, 11.0, "Table A.1"},
    {1, kRigid, kD, 29, 57, 90, "Table A.1"},    {1, kFlexible, kD, 45, 90, 140, "Table A.1"},
    {2, kRigid, kV, 1.4, 2.8, 4.5, "Table A.2"}, {2, kFlexible, kV, 2.3, 4.5, 7.1, "Table A.2"},
    {2, kRigid, kD, 22, 45, 71, "Table A.2"},    {2, kFlexible, kD, 37, 71, 113, "Table A.2"},
};

TEST(SeverityZones, EveryCellIsTheStandardsValue) {
    ASSERT_EQ(std::size(kExpected), kIso20816Zones.size());
    for (const Cell& c : kExpected) {
        SCOPED_TRACE(::testing::Message()
                     << "group " << c.group << " " << SupportName(c.support).toStdString() << " "
                     << SeverityQuantityName(c.quantity).toStdString());
        const std::optional<ZoneBoundaries> b = Iso20816Boundaries(c.group, c.support, c.quantity);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->ab, c.ab);
        EXPECT_EQ(b->bc, c.bc);
        EXPECT_EQ(b->cd, c.cd);
        EXPECT_TRUE(Iso20816Source(c.group, c.support).endsWith(QLatin1String(c.table)));
    }
    // Nothing outside the two groups.
    for (const int group : {0, 3, 4}) {
        EXPECT_FALSE(Iso20816Boundaries(group, kRigid, kV)) << group;
    }
}

TEST(SeverityZones, TheTableKeepsTheStandardsRelations) {
    for (const SeverityZoneRow& row : kIso20816Zones) {
        SCOPED_TRACE(row.source);
        const ZoneBoundaries& b = row.boundaries;
        // Each boundary about 4 dB to 6 dB above the one below: B/C ≈ 2 × A/B, C/D ≈ 1.6 × B/C.
        EXPECT_GE(b.bc / b.ab, 1.9);
        EXPECT_LE(b.bc / b.ab, 2.05);
        EXPECT_GE(b.cd / b.bc, 1.5);
        EXPECT_LE(b.cd / b.bc, 1.65);
        // A flexible support's B/C is the rigid support's C/D.
        const Support other = row.support == kRigid ? kFlexible : kRigid;
        const ZoneBoundaries pair = *Iso20816Boundaries(row.group, other, row.quantity);
        EXPECT_EQ(row.support == kRigid ? b.cd : pair.cd, row.support == kRigid ? pair.bc : b.bc);
        // Displacement is the velocity at 12.5 Hz (group 1) or 10 Hz (group 2), within the rounding
        // of the printed values: d = v / (2π f).
        if (row.quantity == kD) {
            const ZoneBoundaries v = *Iso20816Boundaries(row.group, row.support, kV);
            const double f = row.group == 1 ? 12.5 : 10.0;
            for (const auto& [d, vel] :
                 std::initializer_list<std::pair<double, double>>{{b.ab, v.ab}, {b.bc, v.bc}, {b.cd, v.cd}}) {
                EXPECT_NEAR(d, vel * 1000.0 / (2 * std::numbers::pi * f), 0.02 * d) << d;
            }
        }
    }
    // Group 1 rigid and group 2 flexible share their velocity boundaries.
    EXPECT_EQ(*Iso20816Boundaries(1, kRigid, kV), *Iso20816Boundaries(2, kFlexible, kV));
    // The velocity B/C and C/D are the documented ISO 10816-3 levels of the same group and foundation.
    for (const int group : {1, 2}) {
        for (const int foundation : {0, 1}) {
            const ZoneBoundaries v = *Iso20816Boundaries(group, foundation == 0 ? kRigid : kFlexible, kV);
            const IsoLimits documented = *IsoLimitsForGroup(group, foundation);
            EXPECT_EQ(static_cast<float>(v.bc), documented.warningMms);
            EXPECT_EQ(static_cast<float>(v.cd), documented.criticalMms);
        }
    }
}

TEST(SeverityZones, AValueAtABoundaryTakesTheHigherZone) {
    struct Case {
        int group;
        Support support;
        float mms;
        Zone zone;
    };
    const Case cases[] = {
        {2, kRigid, 0.0f, Zone::A},    {2, kRigid, 1.39f, Zone::A},     {2, kRigid, 1.4f, Zone::B},
        {2, kRigid, 2.79f, Zone::B},   {2, kRigid, 2.8f, Zone::C},      {2, kRigid, 4.49f, Zone::C},
        {2, kRigid, 4.5f, Zone::D},    {2, kFlexible, 4.5f, Zone::C},   {1, kRigid, 4.5f, Zone::C},
        {1, kFlexible, 4.5f, Zone::B}, {1, kFlexible, 10.99f, Zone::C}, {1, kFlexible, 11.0f, Zone::D},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZoneOf(c.mms, *Iso20816Boundaries(c.group, c.support, kV)), c.zone)
            << c.group << " " << SupportName(c.support).toStdString() << " " << c.mms;
    }
}

TEST(SeverityZones, DisplacementJudgesSlowMachinesAndTheMoreRestrictiveDecides) {
    struct Case {
        const char* name;
        int group;
        std::optional<float> mms;
        std::optional<float> um;
        double hz;
        std::optional<Zone> zone;
        SeverityQuantity decidedBy;
    };
    const Case cases[] = {
        {"fast: displacement not judged", 2, 1.0f, 100.0f, 25.0, Zone::A, kV},
        {"slow: displacement more restrictive", 2, 1.0f, 100.0f, 8.0, Zone::D, kD},
        {"slow: velocity more restrictive", 2, 5.0f, 30.0f, 8.0, Zone::D, kV},
        {"slow: same zone, velocity named", 1, 3.0f, 40.0f, 5.0, Zone::B, kV},
        {"slow: displacement alone", 2, std::nullopt, 50.0f, 8.0, Zone::C, kD},
        {"600 r/min is not slow", 2, 1.0f, 100.0f, 10.0, Zone::A, kV},
        {"fast without velocity", 2, std::nullopt, 50.0f, 25.0, std::nullopt, kV},
        {"group outside the table", 3, 1.0f, std::nullopt, 25.0, std::nullopt, kV},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ZoneVerdict> verdict = JudgeZone({c.group, kRigid, c.mms, c.um, c.hz});
        ASSERT_EQ(verdict.has_value(), c.zone.has_value());
        if (verdict) {
            EXPECT_EQ(verdict->zone, *c.zone);
            EXPECT_EQ(verdict->decidedBy, c.decidedBy);
        }
    }
    const ZoneInput input{2, kRigid, 3.1f, std::nullopt, 25.0};
    EXPECT_EQ(ZoneVerdictText(*JudgeZone(input), input),
              QStringLiteral("zone C (velocity 3.10 mm/s, B/C 2.8 mm/s)"));
}

TEST(SeverityZones, AlarmAndTripFollowTheStandardsRule) {
    const ZoneBoundaries g2rigid = *Iso20816Boundaries(2, kRigid, kV); // B/C 2.8, C/D 4.5
    struct Case {
        const char* name;
        std::vector<double> baseline;
        double alarm; // 0: refused
        bool capped;
    };
    const Case cases[] = {
        {"baseline + 0.25 × B/C", {1.0, 1.2, 1.1}, 1.1 + 0.7, false},
        {"capped at 1.25 × B/C", {3.0, 3.0, 3.0}, 3.5, true},
        {"two readings are too few", {1.0, 1.2}, 0, false},
        {"a negative velocity is refused", {1.0, -1.0, 1.0}, 0, false},
        {"a NaN is refused", {1.0, std::nan(""), 1.0}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SuggestionOutcome outcome = SuggestAlarmLevels(c.baseline, g2rigid);
        if (c.alarm == 0) {
            EXPECT_FALSE(outcome.suggestion);
            EXPECT_FALSE(outcome.refusal.isEmpty());
            continue;
        }
        ASSERT_TRUE(outcome.suggestion) << outcome.refusal.toStdString();
        EXPECT_NEAR(outcome.suggestion->alarmMms, c.alarm, 1e-9);
        EXPECT_EQ(outcome.suggestion->alarmCapped, c.capped);
        EXPECT_NEAR(outcome.suggestion->tripMms, 1.25 * 4.5, 1e-9);
        EXPECT_EQ(outcome.suggestion->readings, static_cast<int>(c.baseline.size()));
    }
}

TEST(SeverityZones, TheDiagnosisIsStagedByThePointsStandard) {
    CVib point;
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 4.0f;
    point.fISOCriticalMMS = 9.0f;
    const DiagnosisZones documented = DiagnosisZonesOf(point, std::nullopt);
    EXPECT_EQ(documented.bc, 4.0);
    EXPECT_EQ(documented.cd, 9.0);
    const DiagnosisZones zoned = DiagnosisZonesOf(point, Iso20816Boundaries(1, kFlexible, kV));
    EXPECT_EQ(zoned.ab, 3.5);
    EXPECT_EQ(zoned.bc, 7.1);
    EXPECT_EQ(zoned.cd, 11.0);
}

TEST(SeverityZones, ABadStandardIsRefusedWithItsReason) {
    EXPECT_FALSE(CheckPointStandard(QStringLiteral("iso10816-3"), std::nullopt, {}));
    EXPECT_FALSE(CheckPointStandard(QStringLiteral("ISO20816-3"), 1, QStringLiteral("flexible")));
    for (const auto& [standard, group, support, says] :
         std::vector<std::tuple<const char*, std::optional<int>, const char*, const char*>>{
             {"iso7919", 1, "rigid", "Unknown standard"},
             {"iso20816-3", std::nullopt, "rigid", "needs the machine group"},
             {"iso20816-3", 3, "rigid", "group 3 is not in its table"},
             {"iso20816-3", 2, "soft", "rigid or flexible"}}) {
        const std::optional<QString> refused =
            CheckPointStandard(QLatin1String(standard), group, QLatin1String(support));
        ASSERT_TRUE(refused) << standard;
        EXPECT_TRUE(refused->contains(QLatin1String(says))) << refused->toStdString();
    }
    // A stored row outside the table leaves the point on its documented alarm.
    EXPECT_FALSE(
        PointStandardOf({QStringLiteral("{p}"), QStringLiteral("iso20816-3"), 4, QStringLiteral("rigid")}));
}

} // namespace
} // namespace vantor
