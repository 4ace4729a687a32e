#include "loaders/StatusTableQuery.h"

#include "store/LatestReadings.h"
#include "store/MainConnection.h"

namespace vantor {

DatedStatus PointStatus(CMainConnection& db, const CVib& point) {
    // The newest reading alone: the point's whole history with its captures could be hundreds of
    // megabytes.
    CVibReading latest;
    return PointStatus(point, db.GetLatestVibReading(point.sItemGUID, latest) ? &latest : nullptr);
}

std::vector<StatusTableRow> BuildVibStatusTable(CMainConnection& db, const StatusTableOptions& options) {
    // Every point's newest reading in one query, without the raw captures the table never shows.
    const QHash<QString, CVibReading> latestByPoint = LatestVibReadingsByPoint(db);
    std::vector<StatusTableRow> rows;
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            const auto found = latestByPoint.constFind(point.sItemGUID);
            const CVibReading* latest = found == latestByPoint.cend() ? nullptr : &*found;
            rows.push_back(MakeStatusTableRow(machine.sName, point, latest, options));
        }
    }
    return rows;
}

} // namespace vantor
