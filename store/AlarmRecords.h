#pragma once
// The per-point settings of the alarms beside the documented ones, in two added tables an older
// database gains when it is opened (see AddedTables.h for how):
//   tblPointAlarmSettings  one row per point and measure: the baseline (first N readings or a date
//                          range), the σ multiples and the change ratios;
//   tblPointSpectralBands  up to eight spectral alarm bands per point, numbered from 1;
//   tblPointSeverityStandard  the standard that judges a point's severity when it is not the
//                          documented ISO alarm: its name, machine group and support.
// Plain portable SQL (TEXT, DOUBLE PRECISION, INTEGER) and bound values. A point's rows go with it.

#include "store/AddedTables.h"
#include "store/SqlConnection.h"
#include "store/StoreQuery.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace vantor {

inline constexpr const char* kPointAlarmSettingsTable = "tblPointAlarmSettings";
inline constexpr const char* kPointSpectralBandsTable = "tblPointSpectralBands";
inline constexpr const char* kPointSeverityStandardTable = "tblPointSeverityStandard";

std::span<const AddedTable> AlarmTables();
// This module's statements (gathered by AllStoreQueries()).
std::span<const StoreQuery> AlarmQueries();
// Creates the tables the database lacks (false, logged, when it cannot).
bool EnsureAlarmTables(SqlConnection& connection);

struct PointAlarmSettingRow {
    QString pointGuid;
    QString measure;          // iso, bdu, total, displacement, band1..3, crest, kurtosis, p2p, ge
    int baselineReadings = 0; // 0: none by count
    QString baselineFrom;     // "YYYY-MM-DD HH:MM:SS", empty: none by date
    QString baselineTo;
    double sigmaWarning = 0;
    double sigmaCritical = 0;
    double changeWarning = 0;
    double changeCritical = 0;
};

struct SpectralBandRow {
    QString pointGuid;
    int number = 0; // 1..8 in the point's order
    double from = 0;
    double to = 0;
    bool orders = false;
    QString spectrum; // iso, total, envelope
    double warning = 0;
    double critical = 0;
    bool rms = false; // the band's RMS, else its largest line
};

// A point judged by another standard than its documented ISO alarm; a point without a row keeps
// the documented alarm.
struct PointSeverityRow {
    QString pointGuid;
    QString standard; // "iso20816-3"
    int group = 0;    // the standard's machine group
    QString support;  // "rigid", "flexible"
};

// Throw DatabaseError when a statement cannot run.
namespace alarmrows {

std::vector<PointAlarmSettingRow> SettingsOf(SqlConnection& connection, const QString& pointGuid);
// Replaces the point's row of the row's measure.
void PutSetting(SqlConnection& connection, const PointAlarmSettingRow& row);
// False when the point had no row of that measure.
bool DeleteSetting(SqlConnection& connection, const QString& pointGuid, const QString& measure);

// The point's bands by number.
std::vector<SpectralBandRow> BandsOf(SqlConnection& connection, const QString& pointGuid);
// Replaces every band of the point, numbered 1.. in the given order, in one transaction.
void PutBands(SqlConnection& connection, const QString& pointGuid, const std::vector<SpectralBandRow>& bands);

// The point's standard; none for a point on the documented alarm.
std::optional<PointSeverityRow> SeverityOf(SqlConnection& connection, const QString& pointGuid);
// Replaces the point's row.
void PutSeverity(SqlConnection& connection, const PointSeverityRow& row);
// Back to the documented alarm; false when the point had no row.
bool DeleteSeverity(SqlConnection& connection, const QString& pointGuid);

// The GUIDs of the points that have any setting, band or standard of their own.
std::vector<QString> PointsWithAlarmRows(SqlConnection& connection);

// Removes every row of a point (when the point is deleted).
void DeletePointRows(SqlConnection& connection, const QString& pointGuid);

} // namespace alarmrows
} // namespace vantor
