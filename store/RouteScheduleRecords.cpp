#include "store/RouteScheduleRecords.h"

#include "store/FollowUpTables.h"

namespace vantor::schedulerows {
namespace {

RouteScheduleRow Read(const QSqlQuery& query) {
    RouteScheduleRow row;
    row.routeGuid = query.value(0).toString();
    row.intervalDays = query.value(1).isNull() ? kDefaultRouteIntervalDays : query.value(1).toInt();
    row.startDate = QDate::fromString(query.value(2).toString(), Qt::ISODate);
    return row;
}

} // namespace

QHash<QString, RouteScheduleRow> All(SqlConnection& connection) {
    QSqlQuery query = followup::Run(
        connection, QStringLiteral("SELECT sItemGUID, iIntervalDays, sStartDate FROM tblRouteSchedules"));
    QHash<QString, RouteScheduleRow> rows;
    while (query.next()) {
        RouteScheduleRow row = Read(query);
        rows.insert(row.routeGuid, row);
    }
    return rows;
}

RouteScheduleRow Of(SqlConnection& connection, const QString& routeGuid) {
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral(
            "SELECT sItemGUID, iIntervalDays, sStartDate FROM tblRouteSchedules WHERE sItemGUID = ?"),
        {routeGuid});
    if (query.next()) {
        return Read(query);
    }
    return RouteScheduleRow{routeGuid, kDefaultRouteIntervalDays, {}};
}

void Put(SqlConnection& connection, const RouteScheduleRow& row) {
    SqlConnection::Transaction transaction(connection);
    followup::Run(connection, QStringLiteral("DELETE FROM tblRouteSchedules WHERE sItemGUID = ?"),
                  {row.routeGuid});
    followup::Run(
        connection,
        QStringLiteral(
            "INSERT INTO tblRouteSchedules (sItemGUID, iIntervalDays, sStartDate) VALUES (?, ?, ?)"),
        {row.routeGuid, row.intervalDays,
         row.startDate.isValid() ? row.startDate.toString(Qt::ISODate) : QString()});
    if (!transaction.Commit()) {
        throw DatabaseError(
            QStringLiteral("The schedule of route %1 could not be stored").arg(row.routeGuid));
    }
}

} // namespace vantor::schedulerows
