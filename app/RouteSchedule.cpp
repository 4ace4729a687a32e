#include "app/RouteSchedule.h"

#include "app/Log.h"
#include "store/DerivedRecords.h"
#include "store/FollowUpTables.h"
#include "store/MainConnection.h"
#include "store/RecordFields.h"

#include <algorithm>

namespace vantor {
namespace {

// Interval limits a route's schedule accepts: a day to ten years.
constexpr int kShortestIntervalDays = 1;
constexpr int kLongestIntervalDays = 3650;

struct RoutePoint {
    CVib point;
    QString machineName;
};

struct RouteWithPoints {
    CRoute route;
    RouteScheduleRow schedule;
    std::vector<RoutePoint> points;
};

// Every route with its schedule and points, in the routes' order; a machine on a route twice gives
// its points once.
std::vector<RouteWithPoints> RoutesWithPoints(CMainConnection& db) {
    const QHash<QString, RouteScheduleRow> schedules = schedulerows::All(db.Connection());
    QHash<QString, CMachine> machines;
    for (CMachine& machine : db.ListMachines()) {
        machines.insert(machine.sItemGUID, std::move(machine));
    }
    QHash<QString, std::vector<CVib>> pointsOf;
    for (CVib& vib : db.ListVibs({})) {
        pointsOf[vib.sParentGUID].push_back(std::move(vib));
    }
    for (auto& points : pointsOf) {
        std::stable_sort(points.begin(), points.end(),
                         [](const CVib& a, const CVib& b) { return a.fOrder < b.fOrder; });
    }
    std::vector<RouteWithPoints> routes;
    for (CRoute& route : db.ListRoutes()) {
        RouteWithPoints entry{
            route,
            schedules.value(route.sItemGUID,
                            RouteScheduleRow{route.sItemGUID, kDefaultRouteIntervalDays, {}}),
            {}};
        QSet<QString> seen;
        for (const CRouteItem& item : db.ListRouteItems(route.sItemGUID)) {
            if (seen.contains(item.sMachineGUID) || !machines.contains(item.sMachineGUID)) {
                continue;
            }
            seen.insert(item.sMachineGUID);
            for (const CVib& vib : pointsOf.value(item.sMachineGUID)) {
                entry.points.push_back({vib, machines.value(item.sMachineGUID).sName});
            }
        }
        routes.push_back(std::move(entry));
    }
    return routes;
}

QDate DueDate(const RouteScheduleRow& schedule, const QDateTime& last, const QDate& today) {
    if (last.isValid()) {
        return last.date().addDays(schedule.intervalDays);
    }
    return schedule.startDate.isValid() ? schedule.startDate : today;
}

} // namespace

QString RouteGuidOf(CMainConnection& db, const QString& key) {
    for (const CRoute& route : db.ListRoutes()) {
        if (route.sItemGUID.compare(key, Qt::CaseInsensitive) == 0 || route.sName == key) {
            return route.sItemGUID;
        }
    }
    return {};
}

std::optional<double> ComplianceCount::Percent() const {
    if (due == 0) {
        return std::nullopt;
    }
    return 100.0 * onTime / due;
}

std::vector<DuePoint> DuePoints(CMainConnection& db, const QDate& today, int withinDays,
                                const QString& routeKey) {
    const QString routeGuid = routeKey.isEmpty() ? QString() : RouteGuidOf(db, routeKey);
    const QHash<QString, QDateTime> latest = derived::NewestReadingDates(db.Connection());
    std::vector<DuePoint> due;
    const QDate horizon = today.addDays(withinDays);
    for (const RouteWithPoints& route : RoutesWithPoints(db)) {
        if (!routeKey.isEmpty() && route.route.sItemGUID != routeGuid) {
            continue;
        }
        for (const RoutePoint& entry : route.points) {
            const QDateTime last = latest.value(entry.point.sItemGUID);
            const QDate date = DueDate(route.schedule, last, today);
            if (date > horizon) {
                continue;
            }
            due.push_back({route.route.sItemGUID, route.route.sName, entry.machineName, entry.point.sName,
                           entry.point.sItemGUID, last, date, static_cast<int>(date.daysTo(today))});
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DuePoint& a, const DuePoint& b) { return a.due < b.due; });
    return due;
}

namespace {

// Each route point's earliest due date over its routes, from the date of its newest reading.
template <class LastReadingDate>
QHash<QString, QDate> EarliestDueDates(CMainConnection& db, const QDate& today, LastReadingDate lastOf) {
    QHash<QString, QDate> due;
    for (const RouteWithPoints& route : RoutesWithPoints(db)) {
        for (const RoutePoint& entry : route.points) {
            const QDate date = DueDate(route.schedule, lastOf(entry.point.sItemGUID), today);
            const auto known = due.constFind(entry.point.sItemGUID);
            if (known == due.cend() || date < *known) {
                due.insert(entry.point.sItemGUID, date);
            }
        }
    }
    return due;
}

} // namespace

QHash<QString, QDate> DueDatesByPoint(CMainConnection& db, const QDate& today) {
    const QHash<QString, QDateTime> latest = derived::NewestReadingDates(db.Connection());
    return EarliestDueDates(db, today, [&latest](const QString& point) { return latest.value(point); });
}

QHash<QString, QDate> DueDatesByPoint(CMainConnection& db, const QDate& today,
                                      const QHash<QString, CVibReading>& latest) {
    return EarliestDueDates(db, today, [&latest](const QString& point) {
        const auto found = latest.constFind(point);
        return found != latest.cend() ? found->ctDateTaken : QDateTime();
    });
}

ComplianceCount CountCompliance(const std::vector<QDate>& readings, const QDate& start, int intervalDays,
                                const QDate& from, const QDate& to) {
    ComplianceCount count;
    if (intervalDays <= 0 || !from.isValid() || !to.isValid() || to < from) {
        return count;
    }
    // The last reading before the period sets the first due date.
    auto next = std::lower_bound(readings.begin(), readings.end(), from);
    QDate last;
    if (next != readings.begin()) {
        last = *(next - 1);
    }
    QDate due = last.isValid() ? last.addDays(intervalDays) : (start.isValid() ? start : from);
    while (due <= to) {
        // The newest reading after the last one counted and on or before the due date.
        QDate met;
        while (next != readings.end() && *next <= due && *next <= to) {
            met = *next++;
        }
        if (due >= from) {
            ++count.due;
            count.onTime += met.isValid() ? 1 : 0;
        }
        if (met.isValid()) {
            due = met.addDays(intervalDays);
        } else if (next != readings.end() && *next <= to && *next <= due.addDays(intervalDays)) {
            due = (*next++).addDays(intervalDays); // a late reading restarts the schedule
        } else {
            due = due.addDays(intervalDays);
        }
    }
    return count;
}

PlantCompliance ComplianceOver(CMainConnection& db, const QDate& from, const QDate& to) {
    QHash<QString, std::vector<QDate>> readings;
    QSqlQuery query = followup::Run(
        db.Connection(), QStringLiteral("SELECT [sParentGUID], [ctDateTaken] FROM tblVibReadings"));
    while (query.next()) {
        readings[query.value(0).toString()].push_back(DateTimeFromSql(query.value(1)).date());
    }
    for (auto& days : readings) {
        std::sort(days.begin(), days.end());
    }
    PlantCompliance plant;
    for (const RouteWithPoints& route : RoutesWithPoints(db)) {
        RouteCompliance row{route.route.sItemGUID,
                            route.route.sName,
                            route.schedule.intervalDays,
                            static_cast<int>(route.points.size()),
                            {}};
        for (const RoutePoint& entry : route.points) {
            const ComplianceCount count =
                CountCompliance(readings.value(entry.point.sItemGUID), route.schedule.startDate,
                                route.schedule.intervalDays, from, to);
            row.count.due += count.due;
            row.count.onTime += count.onTime;
        }
        plant.total.due += row.count.due;
        plant.total.onTime += row.count.onTime;
        plant.routes.push_back(std::move(row));
    }
    return plant;
}

QString SetRouteSchedule(CMainConnection& db, const QString& routeKey, std::optional<int> intervalDays,
                         std::optional<QDate> start) {
    const QString routeGuid = RouteGuidOf(db, routeKey);
    if (routeGuid.isEmpty()) {
        return QStringLiteral("No route %1; nothing was stored.").arg(routeKey);
    }
    if (intervalDays && (*intervalDays < kShortestIntervalDays || *intervalDays > kLongestIntervalDays)) {
        return QStringLiteral("A route's interval is %1 to %2 days; nothing was stored.")
            .arg(kShortestIntervalDays)
            .arg(kLongestIntervalDays);
    }
    if (start && !start->isValid()) {
        return QStringLiteral("The start date is not a date (YYYY-MM-DD); nothing was stored.");
    }
    RouteScheduleRow row = schedulerows::Of(db.Connection(), routeGuid);
    if (intervalDays) {
        row.intervalDays = *intervalDays;
    }
    if (start) {
        row.startDate = *start;
    }
    schedulerows::Put(db.Connection(), row);
    return {};
}

QString ReplaceRouteSchedule(CMainConnection& db, const QString& routeKey, int intervalDays,
                             std::optional<QDate> start) {
    SqlConnection::Transaction transaction(db.Connection());
    if (QString refusal = SetRouteSchedule(db, routeKey, intervalDays, start); !refusal.isEmpty()) {
        return refusal;
    }
    if (!start) {
        RouteScheduleRow row = schedulerows::Of(db.Connection(), RouteGuidOf(db, routeKey));
        if (row.startDate.isValid()) {
            row.startDate = {};
            schedulerows::Put(db.Connection(), row);
        }
    }
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("the route's schedule could not be committed"));
    }
    return {};
}

RouteScheduleRow RouteScheduleOf(CMainConnection& db, const QString& routeGuid) {
    return schedulerows::Of(db.Connection(), routeGuid);
}

QString MissedPoints::Text() const {
    if (measured == 0) {
        return {};
    }
    QString text = QStringLiteral("%1 of %2 measured").arg(measured).arg(routePoints);
    if (!missed.isEmpty()) {
        text += QStringLiteral("; missed: ") + missed.join(QStringLiteral(", "));
    }
    return text;
}

MissedPoints MissedRoutePoints(CMainConnection& db, const QSet<QString>& measuredPointGuids) {
    MissedPoints summary;
    QSet<QString> counted;
    for (const RouteWithPoints& route : RoutesWithPoints(db)) {
        const bool touched = std::any_of(route.points.begin(), route.points.end(), [&](const RoutePoint& p) {
            return measuredPointGuids.contains(p.point.sItemGUID);
        });
        if (!touched) {
            continue;
        }
        for (const RoutePoint& entry : route.points) {
            if (counted.contains(entry.point.sItemGUID)) {
                continue;
            }
            counted.insert(entry.point.sItemGUID);
            ++summary.routePoints;
            if (measuredPointGuids.contains(entry.point.sItemGUID)) {
                ++summary.measured;
            } else {
                summary.missed << QStringLiteral("%1 %2").arg(entry.machineName, entry.point.sName);
            }
        }
    }
    return summary;
}

QString MissedRoutePointsText(CMainConnection& db, const QStringList& measuredPointGuids) {
    try {
        return MissedRoutePoints(db, QSet<QString>(measuredPointGuids.begin(), measuredPointGuids.end()))
            .Text();
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "the route points a run missed could not be listed:" << error.what();
        return {};
    }
}

} // namespace vantor
