#pragma once
// The per-point settings of the alarms beside the documented ones, in two added tables an older
// database gains when it is opened (see AddedTables.h for how):
//   tblPointAlarmSettings  one row per point and measure: the baseline (first N readings or a date
//                          range), the σ multiples and the change ratios;
//   tblPointSpectralBands  up to eight spectral alarm bands per point, numbered from 1;
//   tblPointSeverityStandard  the standard that judges a point's severity when it is not the
//                          documented ISO alarm: its name, machine group and support.
// Plain portable SQL (TEXT, DOUBLE PRECISION, INTEGER) and bound values. A point's rows go with it.

#include "records/AlarmRows.h"
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
