#pragma once
// A point's status with the alarms beside the documented ones, from the database: its settings,
// bands and standard read from their tables, its readings' indices and the latest reading's spectra
// loaded, judged by analysis/PointAlarms.h.

#include "analysis/PointAlarms.h"
#include "analysis/StatusTable.h"
#include "loaders/StatusTableQuery.h"

#include <QString>

#include <vector>

namespace vantor {

class CMainConnection;
class EnvelopeAnalyzer;
class SignalProcessor;

// The point's spectral bands in their order; a stored row refused as above is left out (logged).
// Throws DatabaseError.
std::vector<SpectralBand> PointSpectralBands(CMainConnection& db, const QString& pointGuid);

// The point's status from the database: documented status first; with settings, every reading of
// the point for the baselines (indices computed where missing), the latest reading's spectra for
// the bands and its zone under the point's severity standard. Throws DatabaseError.
PointAlarmStatus EvaluatePointAlarms(CMainConnection& db, SignalProcessor& processor,
                                     EnvelopeAnalyzer& analyzer, const CVib& point);

// The vibration status table with the new alarms: each row as BuildVibStatusTable gives it, and
// for a point with settings its status replaced by the combined one. Rows of points without
// settings are exactly the documented rows. Throws DatabaseError.
struct AlarmedStatusRow {
    StatusTableRow row;
    QString pointGuid;
    PointAlarmStatus alarms;
};
std::vector<AlarmedStatusRow> BuildAlarmedStatusTable(CMainConnection& db, const StatusTableOptions& options,
                                                      SignalProcessor& processor, EnvelopeAnalyzer& analyzer);

} // namespace vantor
