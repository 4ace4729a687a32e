#pragma once
// The newest reading of every point in one query each, for the plant-wide status (machine tree,
// status table): only the measured values, never the raw captures, so a plant of thousands of
// points with years of readings is judged without reading its sample data.

#include "store/Records.h"

#include <QHash>
#include <QString>

namespace vantor {

class CMainConnection;

// Keyed by the point's sItemGUID; a point without readings has no entry. The raw capture fields of
// the readings are left empty. Among readings taken at the same instant the one stored last wins.
// Throws DatabaseError when the query cannot be executed; empty when the connection is closed.
QHash<QString, CVibReading> LatestVibReadingsByPoint(CMainConnection& db);
QHash<QString, CLubeReading> LatestLubeReadingsByPoint(CMainConnection& db);

// How many off-route readings wait in the database; 0 also when a database file too old to have
// their table is open.
int CountOffRouteReadings(CMainConnection& db);

} // namespace vantor
