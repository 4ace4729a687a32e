#pragma once
// Alarm events, each point's last judged level and the acknowledgement trail (tblAlarmEvents,
// tblPointAlarmLevels, tblEventAcknowledgements). Events and acknowledgements are only ever added:
// nothing here edits or deletes a trail row.

#include "store/SqlConnection.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace vantor {

struct AlarmEventRow {
    QString guid;
    QString pointGuid;
    QString readingGuid;
    QString source; // documented, baseline, change, band, diagnosis
    QString rule;   // the diagnosis rule (finding kind) when a finding raised it
    int level = 0;  // the status code: 4 WARNING, 5 CRITICAL
    QString reason;
    QDateTime raised;
};

struct AcknowledgementRow {
    QString guid;
    QString eventGuid;
    QString user;
    QString comment;
    QDateTime entered;
};

struct PointAlarmLevelRow {
    QString pointGuid;
    int level = 0;
    QString readingGuid;
    QDateTime judged;
};

struct EventFilter {
    bool newOnly = false; // without any acknowledgement
    QString pointGuid;    // empty: every point
};

struct ListedEvent {
    AlarmEventRow event;
    int acknowledgements = 0;
    QString machineName; // empty when the point is gone
    QString pointName;
};

// Throw DatabaseError when a statement cannot run.
namespace eventrows {

void Insert(SqlConnection& connection, const AlarmEventRow& row);
bool Get(SqlConnection& connection, const QString& guid, AlarmEventRow& out);
// Oldest first, each with its number of acknowledgements; one query.
std::vector<ListedEvent> List(SqlConnection& connection, const EventFilter& filter);
// The points with events nobody has acknowledged, with how many each has.
std::vector<std::pair<QString, int>> PointsWithNewEvents(SqlConnection& connection);

std::optional<PointAlarmLevelRow> LevelOf(SqlConnection& connection, const QString& pointGuid);
// Replaces the point's row.
void PutLevel(SqlConnection& connection, const PointAlarmLevelRow& row);
// The reading each point was last judged at, by point GUID.
std::vector<PointAlarmLevelRow> AllLevels(SqlConnection& connection);

void AddAcknowledgement(SqlConnection& connection, const AcknowledgementRow& row);
// The event's trail in the order entered (every event's when `eventGuid` is empty).
std::vector<AcknowledgementRow> Acknowledgements(SqlConnection& connection, const QString& eventGuid = {});

} // namespace eventrows
} // namespace vantor
