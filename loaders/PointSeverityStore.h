#pragma once
// A point's severity standard in its table, and what it says about the point's stored readings.

#include "analysis/PointSeverity.h"

#include <QString>

#include <optional>

namespace vantor {

class CMainConnection;

// The point's standard: the documented alarm without a usable row. Throws DatabaseError.
PointStandard LoadPointStandard(CMainConnection& db, const QString& pointGuid);
// Stores the standard (the documented alarm removes the point's row). Throws DatabaseError.
void StorePointStandard(CMainConnection& db, const QString& pointGuid, const PointStandard& standard);
// The same for the point's latest reading. Throws DatabaseError.
std::optional<PointZone> LatestPointZone(CMainConnection& db, const CVib& point);

// SuggestPointAlarms over the point's stored readings. Throws DatabaseError.
PointSuggestion SuggestPointAlarms(CMainConnection& db, const CVib& point, int group, Support support,
                                   int baselineReadings);

} // namespace vantor
