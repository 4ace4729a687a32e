#pragma once
// The tables of the follow-up of alarms, beside the documented ones and created like the other
// added tables (see AddedTables.h): route schedules, alarm events with each point's last judged
// level, the acknowledgement trail, notes and recommendations. Every table has an sItemGUID column
// naming its row (for a schedule the route, for a point's level the point), so copies between
// databases replace a row by it and keep every other row. Dates are text: "YYYY-MM-DD" for a day,
// "YYYY-MM-DD HH:MM:SS" for a moment (local time), so they sort and compare as text on every engine.

#include "store/AddedTables.h"
#include "store/SqlConnection.h"

#include <QSqlQuery>
#include <QVariant>

#include <span>

namespace vantor {

inline constexpr const char* kRouteSchedulesTable = "tblRouteSchedules";
inline constexpr const char* kAlarmEventsTable = "tblAlarmEvents";
inline constexpr const char* kPointAlarmLevelsTable = "tblPointAlarmLevels";
inline constexpr const char* kEventAcknowledgementsTable = "tblEventAcknowledgements";
inline constexpr const char* kNotesTable = "tblNotes";
inline constexpr const char* kRecommendationsTable = "tblRecommendations";

std::span<const AddedTable> FollowUpTables();
// Creates the tables the database lacks (false, logged, when it cannot: a read-only file).
bool EnsureFollowUpTables(SqlConnection& connection);

namespace followup {

// Runs one statement with bound values; bracketed names ([sParentGUID]) are quoted for the engine,
// so the documented tables' columns can be named. Throws DatabaseError (logged).
QSqlQuery Run(SqlConnection& connection, const QString& sql, const QVariantList& values = {});

} // namespace followup
} // namespace vantor
