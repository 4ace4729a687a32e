#include "analysis/StatusTable.h"

#include "store/LatestReadings.h"
#include "store/MainConnection.h"

namespace vantor {

std::vector<StatusTableRow> BuildVibStatusTable(CMainConnection& db, const StatusTableOptions& options) {
    // Every point's newest reading in one query, without the raw captures the table never shows.
    const QHash<QString, CVibReading> latestByPoint = LatestVibReadingsByPoint(db);
    std::vector<StatusTableRow> rows;
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            const auto found = latestByPoint.constFind(point.sItemGUID);
            const CVibReading* latest = found == latestByPoint.cend() ? nullptr : &*found;
            StatusTableRow row;
            row.machineName = machine.sName;
            row.pointName = point.sName;
            if (latest != nullptr) {
                row.latestDate = latest->ctDateTaken;
            }
            row.status = PointStatus(point, latest);
            for (const int column : options.columns) {
                if (!IsMeasureKind(column)) {
                    continue;
                }
                const auto kind = static_cast<MeasureKind>(column);
                row.cells.push_back(
                    {kind, MakeStatusCell(point, latest, kind, options.valuesOn, options.format)});
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

} // namespace vantor
