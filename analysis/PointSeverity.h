#pragma once
// A point's severity standard and what it says: the documented ISO alarm (the default, a point
// without a row of its own) or ISO 20816-3 with the point's machine group and support; the zone of
// the point's latest reading under that standard, and the ALARM and TRIP levels the standard's rule
// proposes from a baseline of the point's readings.

#include "analysis/AlarmStatus.h"
#include "analysis/SeverityZones.h"
#include "records/AlarmRows.h"
#include "records/Records.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace vantor {

struct PointStandard {
    SeverityStandard standard = SeverityStandard::Iso10816_3;
    int group = 0; // ISO 20816-3: 1 or 2
    Support support = Support::Rigid;
    friend bool operator==(const PointStandard&, const PointStandard&) = default;
};

// What is wrong with a standard, group and support given by a user, as a message; none when the
// standard's table has them (the documented alarm takes neither).
std::optional<QString> CheckPointStandard(const QString& standard, std::optional<int> group,
                                          const QString& support);
// The stored row as a standard; none for a row that names no known standard or a group or support
// outside its table (such a point is judged by its documented alarm).
std::optional<PointStandard> PointStandardOf(const PointSeverityRow& row);
PointSeverityRow ToSeverityRow(const QString& pointGuid, const PointStandard& standard);
// "ISO 20816-3 group 2, rigid"; "ISO 10816-3 (documented alarm)".
QString PointStandardText(const PointStandard& standard);

// The zone of one reading under ISO 20816-3: its ISO velocity and, for a machine running below
// 600 r/min (the reading's run speed, else the point's), its displacement; a no-value marker or a
// non-finite value is left out. None on the documented alarm or without a value to judge.
struct PointZone {
    PointStandard standard;
    ZoneInput input;
    ZoneVerdict verdict;
    QDateTime dateTime; // the reading's
    QString text;       // "zone C (velocity 3.10 mm/s, B/C 2.8 mm/s)"
};
std::optional<PointZone> ReadingZone(const PointStandard& standard, const CVib& point,
                                     const VibReadingValues& reading);

// The status a zone stands for: A and B OK (B acceptable for unrestricted long-term operation),
// C WARNING (not for long-term operation), D CRITICAL (severe enough to damage the machine); the
// standard's evaluation zones read as the documented status words.
StatusCode ZoneStatus(Zone zone);

// ALARM and TRIP for the point by the standard's rule from the mean ISO velocity of its first
// `baselineReadings` readings that have one (a no-value marker or non-finite value is passed over).
// Refused with a message for a group or support outside the table, a point without ISO readings or a
// baseline of fewer than three. `readings` are the point's, oldest first.
struct PointSuggestion {
    SuggestionOutcome outcome;
    ZoneBoundaries velocity;
};
PointSuggestion SuggestPointAlarms(const CVib& point, const std::vector<CVibReading>& readings, int group,
                                   Support support, int baselineReadings);

} // namespace vantor
