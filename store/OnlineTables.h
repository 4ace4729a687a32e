#pragma once
// The tables of online sensors, beside the documented ones and created like the other added tables
// (see AddedTables.h): which vibration point each permanently mounted sensor measures, and the
// overall values the sensors publish, thinned to at most one row per sensor per interval. Moments
// are local-time text "YYYY-MM-DD HH:MM:SS.zzz", so they sort and compare as text on every engine.

#include "store/AddedTables.h"
#include "store/SqlConnection.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace vantor {

inline constexpr const char* kSensorsTable = "tblSensors";
inline constexpr const char* kOnlineOverallsTable = "tblOnlineOveralls";

std::span<const AddedTable> OnlineTables();
// Creates the tables the database lacks (false, logged, when it cannot: a read-only file).
bool EnsureOnlineTables(SqlConnection& connection);

// A sensor bound to a vibration point.
struct SensorRow {
    QString sensorId; // as it appears in the topic
    QString pointGuid;
    QDateTime added;
};

// One stored overall message. A value the sensor did not send is empty.
struct OnlineOverallRow {
    QString guid;
    QString sensorId;
    QString pointGuid;
    QDateTime taken;
    std::optional<double> isoMms;
    std::optional<double> totalG;
    std::optional<double> temperatureC;
    int level = 0; // the status code the ISO velocity was judged at
};

// The text a moment is stored as (milliseconds kept, local time).
QString OnlineMomentText(const QDateTime& moment);

// Throw DatabaseError when a statement cannot run.
namespace onlinerows {

// Binds the sensor to the point, replacing an earlier binding of the same sensor.
void PutSensor(SqlConnection& connection, const SensorRow& row);
// False when the sensor was not bound.
bool RemoveSensor(SqlConnection& connection, const QString& sensorId);
std::vector<SensorRow> Sensors(SqlConnection& connection);
// Marks the sensor's next waveform as due whatever its interval (its ISO velocity crossed a level
// at `crossed`), or clears the mark (an invalid moment), so a restarted service keeps it.
void SetWaveformDue(SqlConnection& connection, const QString& sensorId, const QDateTime& crossed);
bool WaveformDue(SqlConnection& connection, const QString& sensorId);
std::optional<SensorRow> SensorOf(SqlConnection& connection, const QString& sensorId);

// Whether the sensor has a stored overall row closer than `intervalSeconds` to `taken` (with 0:
// one at exactly that moment). A message for which this holds is a duplicate or thinned away.
bool HasOverallNear(SqlConnection& connection, const QString& sensorId, const QDateTime& taken,
                    qint64 intervalSeconds);
void InsertOverall(SqlConnection& connection, const OnlineOverallRow& row);
// The sensor's rows oldest first (every sensor's when empty).
std::vector<OnlineOverallRow> Overalls(SqlConnection& connection, const QString& sensorId = {});
// The sensor's newest row.
std::optional<OnlineOverallRow> LatestOverall(SqlConnection& connection, const QString& sensorId);

} // namespace onlinerows
} // namespace vantor
