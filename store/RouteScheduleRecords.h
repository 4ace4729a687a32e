#pragma once
// A route's measuring schedule (tblRouteSchedules): the interval in days and an optional start
// date. A route without a row has the default interval and no start date.

#include "store/SqlConnection.h"

#include <QDate>
#include <QHash>
#include <QString>

namespace vantor {

inline constexpr int kDefaultRouteIntervalDays = 30;

struct RouteScheduleRow {
    QString routeGuid;
    int intervalDays = kDefaultRouteIntervalDays;
    QDate startDate; // invalid: none
};

// Throw DatabaseError when a statement cannot run.
namespace schedulerows {

// Every stored schedule, by route GUID.
QHash<QString, RouteScheduleRow> All(SqlConnection& connection);
// The route's schedule (the default when it has no row).
RouteScheduleRow Of(SqlConnection& connection, const QString& routeGuid);
// Replaces the route's row.
void Put(SqlConnection& connection, const RouteScheduleRow& row);

} // namespace schedulerows
} // namespace vantor
