#pragma once
// Route schedules and compliance. Each route has an interval in days (default 30) and an optional
// start date; a route point (every vibration point of the route's machines) is due at its last
// reading plus the interval, overdue after that; a point never measured is due at the route's start
// date, or at once without one.
//
// Compliance over a period counts, per route point, each due date that falls in the period and
// whether a reading came on or before it (measured on time). The schedule is followed through the
// period: a reading resets the next due date to itself plus the interval; a due date passed without
// a reading counts as missed, and the next is the late reading plus the interval (or the missed
// date plus the interval when none came within it). Compliance is on time / due.

#include "store/Records.h"
#include "store/RouteScheduleRecords.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;

// The days ahead `due` lists soon-due points for, and the period compliance covers, by default.
inline constexpr int kSoonDueDays = 7;
inline constexpr int kDefaultCompliancePeriodDays = 90;

// The route named by its GUID (any case) or its name; empty when there is none. Throws DatabaseError.
QString RouteGuidOf(CMainConnection& db, const QString& key);

struct DuePoint {
    QString routeGuid;
    QString routeName;
    QString machineName;
    QString pointName;
    QString pointGuid;
    QDateTime lastReading; // invalid: never measured
    QDate due;
    int daysLate = 0; // today - due: positive when overdue, negative the days left
    bool Overdue() const { return daysLate > 0; }
};

// The route points due on or before today + `withinDays`, most overdue first; only the route
// named (GUID or name) when `routeKey` is given. Throws DatabaseError.
std::vector<DuePoint> DuePoints(CMainConnection& db, const QDate& today, int withinDays,
                                const QString& routeKey = {});
// Each route point's earliest due date over its routes (for the status table). Throws DatabaseError.
QHash<QString, QDate> DueDatesByPoint(CMainConnection& db, const QDate& today);
// The same from each point's latest reading already read (by point GUID).
QHash<QString, QDate> DueDatesByPoint(CMainConnection& db, const QDate& today,
                                      const QHash<QString, CVibReading>& latest);

struct ComplianceCount {
    int due = 0;
    int onTime = 0;
    // on time / due in percent; none when nothing was due.
    std::optional<double> Percent() const;
    friend bool operator==(const ComplianceCount&, const ComplianceCount&) = default;
};
// One point's count over [from, to] from its reading days (ascending), its route's start date
// (invalid: none) and interval.
ComplianceCount CountCompliance(const std::vector<QDate>& readings, const QDate& start, int intervalDays,
                                const QDate& from, const QDate& to);

struct RouteCompliance {
    QString routeGuid;
    QString routeName;
    int intervalDays = kDefaultRouteIntervalDays;
    int points = 0;
    ComplianceCount count;
};
struct PlantCompliance {
    std::vector<RouteCompliance> routes; // in the routes' order
    ComplianceCount total;
};
// Throws DatabaseError.
PlantCompliance ComplianceOver(CMainConnection& db, const QDate& from, const QDate& to);

// Sets a route's interval and start date (each kept as stored when not given). The message on bad
// input (unknown route, interval outside 1..3650 days), nothing stored; empty when done.
QString SetRouteSchedule(CMainConnection& db, const QString& routeKey, std::optional<int> intervalDays,
                         std::optional<QDate> start);
// Sets a route's interval and start date as the route manager shows them: without a start date the
// stored one goes (points never measured are then due at once). The message as above.
QString ReplaceRouteSchedule(CMainConnection& db, const QString& routeKey, int intervalDays,
                             std::optional<QDate> start);
// A route's stored schedule (the default interval and no start date when none is stored). Throws
// DatabaseError.
RouteScheduleRow RouteScheduleOf(CMainConnection& db, const QString& routeGuid);

// After a From Meter run: the route points of the routes the run's readings belong to, how many
// were measured and which were not ("12 of 14 measured; missed: Pump NDE, Fan DE").
struct MissedPoints {
    int routePoints = 0;
    int measured = 0;
    QStringList missed;   // "Machine Point"
    QString Text() const; // empty when no route point was measured
};
// Throws DatabaseError.
MissedPoints MissedRoutePoints(CMainConnection& db, const QSet<QString>& measuredPointGuids);
// Its text for a run's summary; empty when nothing was measured or the database fails (logged).
QString MissedRoutePointsText(CMainConnection& db, const QStringList& measuredPointGuids);

} // namespace vantor
