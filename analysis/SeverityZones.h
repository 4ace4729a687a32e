#pragma once
// The evaluation zones A to D of ISO 20816-3:2022 (industrial machines above 15 kW, 120 to
// 30 000 r/min, measured on non-rotating parts) as one table of values: per machine group (1 large,
// 2 medium) and support (rigid, flexible) the zone boundaries A/B, B/C and C/D of the broad-band
// velocity (mm/s RMS) and of the displacement (µm RMS, which also judges slowly running machines).
// Beside it the judgement of a reading's zone, and the standard's rule for setting ALARM and TRIP
// from a machine's baseline. Pure values and arithmetic; nothing here reads the database.

#include <QString>

#include <array>
#include <optional>
#include <span>

namespace vantor {

// The standard that judges a point's severity: the documented ISO alarm (its own warning and
// critical levels, proposed from the ISO 10816-3 chooser) or the zones of ISO 20816-3.
enum class SeverityStandard { Iso10816_3, Iso20816_3 };
// "iso10816-3", "iso20816-3".
QString SeverityStandardName(SeverityStandard standard);
std::optional<SeverityStandard> SeverityStandardNamed(const QString& name);
// "ISO 10816-3", "ISO 20816-3".
QString SeverityStandardCaption(SeverityStandard standard);

enum class Support { Rigid, Flexible };
QString SupportName(Support support); // "rigid", "flexible"
std::optional<Support> SupportNamed(const QString& name);

enum class SeverityQuantity { Velocity, Displacement };
QString SeverityQuantityName(SeverityQuantity quantity); // "velocity", "displacement"
QString SeverityQuantityUnit(SeverityQuantity quantity); // "mm/s", "µm"

// In increasing severity.
enum class Zone { A, B, C, D };
QString ZoneName(Zone zone); // "A" .. "D"

struct ZoneBoundaries {
    double ab = 0;
    double bc = 0;
    double cd = 0;
    friend bool operator==(const ZoneBoundaries&, const ZoneBoundaries&) = default;
};

// One row of the table: a group, a support and a quantity with its three boundaries and where the
// values are printed.
struct SeverityZoneRow {
    int group;
    Support support;
    SeverityQuantity quantity;
    ZoneBoundaries boundaries;
    const char* source;
};

// ISO 20816-3:2022, Annex A (normative), "Evaluation zone boundaries": Table A.1 for group 1
// (large machines, rated power above 300 kW up to 50 MW; electrical machines with shaft height
// H ≥ 315 mm), Table A.2 for group 2 (medium machines, 15 kW up to 300 kW; electrical machines with
// 160 mm ≤ H < 315 mm). Each table gives, per support class, the r.m.s. displacement (µm) and the
// r.m.s. velocity (mm/s) at the boundaries A/B, B/C and C/D, copied here cell by cell.
inline constexpr std::array<SeverityZoneRow, 8> kIso20816Zones = {{
    {1, Support::Rigid, SeverityQuantity::Velocity, {2.3, 4.5, 7.1}, "ISO 20816-3:2022, Annex A, Table A.1"},
    {1,
     Support::Flexible,
     SeverityQuantity::Velocity,
     {3.5, 7.1, 11.0},
     "ISO 20816-3:2022, Annex A, Table A.1"},
    {1, Support::Rigid, SeverityQuantity::Displacement, {29, 57, 90}, "ISO 20816-3:2022, Annex A, Table A.1"},
    {1,
     Support::Flexible,
     SeverityQuantity::Displacement,
     {45, 90, 140},
     "ISO 20816-3:2022, Annex A, Table A.1"},
    {2, Support::Rigid, SeverityQuantity::Velocity, {1.4, 2.8, 4.5}, "ISO 20816-3:2022, Annex A, Table A.2"},
    {2,
     Support::Flexible,
     SeverityQuantity::Velocity,
     {2.3, 4.5, 7.1},
     "ISO 20816-3:2022, Annex A, Table A.2"},
    {2, Support::Rigid, SeverityQuantity::Displacement, {22, 45, 71}, "ISO 20816-3:2022, Annex A, Table A.2"},
    {2,
     Support::Flexible,
     SeverityQuantity::Displacement,
     {37, 71, 113},
     "ISO 20816-3:2022, Annex A, Table A.2"},
}};

// The rules around the table, each with its source.
struct SeverityRules {
    // The displacement boundaries judge a machine beside the velocity ones when it runs below this
    // speed; above it the velocity alone judges (ISO 20816-3:2022, Annex A, notes to Tables A.1 and
    // A.2: velocity for the higher speeds, displacement as well for slowly running machines).
    static constexpr double kDisplacementBelowRpm = 600;
    // Setting ALARM and TRIP (ISO 20816-3:2022, "Operational limits": setting of ALARMS and of
    // TRIPS, the rule of ISO 10816-3:2009, 5.3.3, carried over): ALARM at the baseline plus a
    // quarter of the B/C boundary, normally not above 1.25 × B/C; TRIP normally not above
    // 1.25 × C/D, which this program proposes.
    static constexpr double kAlarmShareOfBc = 0.25;
    static constexpr double kAlarmCapOfBc = 1.25;
    static constexpr double kTripOfCd = 1.25;
    // This program's: a baseline of fewer readings is refused (as for the statistical alarm).
    static constexpr int kFewestBaselineReadings = 3;
};

inline constexpr int kSeverityGroups = 2;

// The boundaries of a group (1 or 2), support and quantity; none outside the table.
std::optional<ZoneBoundaries> Iso20816Boundaries(int group, Support support, SeverityQuantity quantity);
// The source named for that cell ("ISO 20816-3:2022, Annex A, Table A.2"); empty outside the table.
QString Iso20816Source(int group, Support support);

// A value's zone: at or above a boundary is the higher zone, compared in single precision as the
// documented status compares a stored value with a level (so 4.5 mm/s is zone C of group 2 rigid).
Zone ZoneOf(float value, const ZoneBoundaries& boundaries);

// The zone of one reading of a point judged by ISO 20816-3.
struct ZoneInput {
    int group = 2;
    Support support = Support::Rigid;
    std::optional<float> velocityMms;         // the ISO velocity overall; none without a value
    std::optional<float> displacementMicrons; // none without a value
    double runSpeedHz = 0;                    // the reading's (or the point's) run speed
};
struct ZoneVerdict {
    Zone zone = Zone::A; // the more restrictive of the quantities that apply
    SeverityQuantity decidedBy = SeverityQuantity::Velocity;
    std::optional<Zone> velocity;
    std::optional<Zone> displacement; // only where displacement applies (slow machines)
    ZoneBoundaries velocityBoundaries;
    ZoneBoundaries displacementBoundaries;
};
// None when the group or support is outside the table or no quantity that applies has a value.
std::optional<ZoneVerdict> JudgeZone(const ZoneInput& input);
// "zone C (velocity 3.10 mm/s, B/C 2.8 mm/s)": the zone with the value that decides it and the
// boundary it reached (or the next one up in zone A).
QString ZoneVerdictText(const ZoneVerdict& verdict, const ZoneInput& input);

// ALARM and TRIP from a baseline of a point's velocity readings by the standard's rule.
struct AlarmSuggestion {
    int readings = 0;       // in the baseline
    double baselineMms = 0; // their mean
    double alarmMms = 0;    // baseline + 0.25 × B/C, at most 1.25 × B/C
    double tripMms = 0;     // 1.25 × C/D
    bool alarmCapped = false;
};
// Refused with a message for fewer than kFewestBaselineReadings values or a negative or non-finite
// one; nothing else is judged then.
struct SuggestionOutcome {
    std::optional<AlarmSuggestion> suggestion;
    QString refusal; // empty with a suggestion
};
SuggestionOutcome SuggestAlarmLevels(std::span<const double> baselineMms, const ZoneBoundaries& velocity);

} // namespace vantor
