#include "analysis/StatusTable.h"

namespace vantor {

StatusTableRow MakeStatusTableRow(const QString& machineName, const CVib& point, const CVibReading* latest,
                                  const StatusTableOptions& options) {
    StatusTableRow row;
    row.machineName = machineName;
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
        row.cells.push_back({kind, MakeStatusCell(point, latest, kind, options.valuesOn, options.format)});
    }
    return row;
}

} // namespace vantor
