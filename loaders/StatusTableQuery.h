#pragma once
// The vibration status table read from the database: every point's newest reading in one query, one
// row per point, machines and points in their order.

#include "analysis/AlarmStatus.h"
#include "analysis/StatusTable.h"

#include <vector>

namespace vantor {

class CMainConnection;

// The point's status, reading its latest reading from the database.
DatedStatus PointStatus(CMainConnection& db, const CVib& point);

std::vector<StatusTableRow> BuildVibStatusTable(CMainConnection& db, const StatusTableOptions& options);

} // namespace vantor
