#pragma once
// The vibration status table: one row per vibration point, machines and points in their order,
// with the latest reading's date, the point status and up to three chosen measure cells.

#include "analysis/AlarmStatus.h"
#include "analysis/MeasureFormat.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

namespace vantor {

struct StatusTableOptions {
    // Measure kind of each column ("VibStatusColumn1" .. 3); -1 (or any non-kind) leaves it empty.
    std::array<int, 3> columns = {0, 1, 2};
    bool valuesOn = true; // "Status as Values"
    MeasureFormat format;
};

struct StatusTableCell {
    MeasureKind kind = MeasureKind::IsoVelocity;
    StatusCell cell;
};

struct StatusTableRow {
    QString machineName;
    QString pointName;
    QDateTime latestDate; // invalid without a reading
    DatedStatus status;
    std::vector<StatusTableCell> cells; // the non-empty columns, in column order
};

// The row of one point with its latest reading (none without a reading).
StatusTableRow MakeStatusTableRow(const QString& machineName, const CVib& point, const CVibReading* latest,
                                  const StatusTableOptions& options);

} // namespace vantor
