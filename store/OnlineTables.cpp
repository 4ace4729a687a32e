#include "store/OnlineTables.h"

#include "store/FollowUpTables.h"
#include "store/RecordFields.h"

#include <array>

namespace vantor {
namespace {

constexpr std::array kTables = {
    // One row per sensor (sItemGUID is the sensor's id in the topics) with the point it measures
    // and, while the next waveform is due whatever its interval, the moment its ISO velocity
    // crossed a level (empty otherwise).
    AddedTable{kSensorsTable, "sItemGUID TEXT, sVibGUID TEXT, sAdded TEXT, sWaveformDue TEXT",
               "CREATE INDEX ixSensorsItem ON tblSensors (sItemGUID)"},
    // Overall values as the sensors publish them (NULL where a value was not sent), with the level
    // the ISO velocity was judged at against the point's limits.
    AddedTable{kOnlineOverallsTable,
               "sItemGUID TEXT, sSensorID TEXT, sVibGUID TEXT, sTaken TEXT, fIsoMMS DOUBLE PRECISION, "
               "fTotalG DOUBLE PRECISION, fTemperatureC DOUBLE PRECISION, iLevel INTEGER",
               "CREATE INDEX ixOnlineOverallsSensor ON tblOnlineOveralls (sSensorID, sTaken)"},
};

constexpr const char* kOverallColumns =
    "sItemGUID, sSensorID, sVibGUID, sTaken, fIsoMMS, fTotalG, fTemperatureC, iLevel";

QVariant Optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Double));
}

std::optional<double> OptionalOf(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

QDateTime MomentOf(const QVariant& value) {
    return QDateTime::fromString(value.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

OnlineOverallRow ReadOverall(const QSqlQuery& query) {
    return {query.value(0).toString(),  query.value(1).toString(),  query.value(2).toString(),
            MomentOf(query.value(3)),   OptionalOf(query.value(4)), OptionalOf(query.value(5)),
            OptionalOf(query.value(6)), query.value(7).toInt()};
}

} // namespace

std::span<const AddedTable> OnlineTables() {
    return kTables;
}

bool EnsureOnlineTables(SqlConnection& connection) {
    return EnsureAddedTables(connection.Database(), kTables);
}

QString OnlineMomentText(const QDateTime& moment) {
    return moment.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

namespace onlinerows {

void PutSensor(SqlConnection& connection, const SensorRow& row) {
    SqlConnection::Transaction transaction(connection);
    followup::Run(connection, QStringLiteral("DELETE FROM tblSensors WHERE sItemGUID = ?"), {row.sensorId});
    followup::Run(connection,
                  QStringLiteral("INSERT INTO tblSensors (sItemGUID, sVibGUID, sAdded) VALUES (?, ?, ?)"),
                  {row.sensorId, row.pointGuid, SqlDateTimeText(row.added)});
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("the sensor could not be stored: %1").arg(connection.LastError()));
    }
}

bool RemoveSensor(SqlConnection& connection, const QString& sensorId) {
    QSqlQuery query =
        followup::Run(connection, QStringLiteral("DELETE FROM tblSensors WHERE sItemGUID = ?"), {sensorId});
    return query.numRowsAffected() > 0;
}

void SetWaveformDue(SqlConnection& connection, const QString& sensorId, const QDateTime& crossed) {
    followup::Run(connection, QStringLiteral("UPDATE tblSensors SET sWaveformDue = ? WHERE sItemGUID = ?"),
                  {crossed.isValid() ? OnlineMomentText(crossed) : QString(), sensorId});
}

bool WaveformDue(SqlConnection& connection, const QString& sensorId) {
    QSqlQuery query = followup::Run(
        connection, QStringLiteral("SELECT sWaveformDue FROM tblSensors WHERE sItemGUID = ?"), {sensorId});
    return query.next() && !query.value(0).toString().isEmpty();
}

std::vector<SensorRow> Sensors(SqlConnection& connection) {
    QSqlQuery query = followup::Run(
        connection, QStringLiteral("SELECT sItemGUID, sVibGUID, sAdded FROM tblSensors ORDER BY sItemGUID"));
    std::vector<SensorRow> rows;
    while (query.next()) {
        rows.push_back(
            {query.value(0).toString(), query.value(1).toString(), DateTimeFromSql(query.value(2))});
    }
    return rows;
}

std::optional<SensorRow> SensorOf(SqlConnection& connection, const QString& sensorId) {
    QSqlQuery query = followup::Run(
        connection, QStringLiteral("SELECT sItemGUID, sVibGUID, sAdded FROM tblSensors WHERE sItemGUID = ?"),
        {sensorId});
    if (!query.next()) {
        return std::nullopt;
    }
    return SensorRow{query.value(0).toString(), query.value(1).toString(), DateTimeFromSql(query.value(2))};
}

bool HasOverallNear(SqlConnection& connection, const QString& sensorId, const QDateTime& taken,
                    qint64 intervalSeconds) {
    QSqlQuery query =
        intervalSeconds <= 0
            ? followup::Run(
                  connection,
                  QStringLiteral("SELECT COUNT(*) FROM tblOnlineOveralls WHERE sSensorID = ? AND sTaken = ?"),
                  {sensorId, OnlineMomentText(taken)})
            : followup::Run(connection,
                            QStringLiteral("SELECT COUNT(*) FROM tblOnlineOveralls WHERE sSensorID = ? AND "
                                           "sTaken > ? AND sTaken < ?"),
                            {sensorId, OnlineMomentText(taken.addSecs(-intervalSeconds)),
                             OnlineMomentText(taken.addSecs(intervalSeconds))});
    return query.next() && query.value(0).toLongLong() > 0;
}

void InsertOverall(SqlConnection& connection, const OnlineOverallRow& row) {
    followup::Run(connection,
                  QStringLiteral("INSERT INTO tblOnlineOveralls (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(QLatin1String(kOverallColumns)),
                  {row.guid, row.sensorId, row.pointGuid, OnlineMomentText(row.taken), Optional(row.isoMms),
                   Optional(row.totalG), Optional(row.temperatureC), row.level});
}

std::vector<OnlineOverallRow> Overalls(SqlConnection& connection, const QString& sensorId) {
    QSqlQuery query =
        sensorId.isEmpty()
            ? followup::Run(connection,
                            QStringLiteral("SELECT %1 FROM tblOnlineOveralls ORDER BY sSensorID, sTaken")
                                .arg(QLatin1String(kOverallColumns)))
            : followup::Run(
                  connection,
                  QStringLiteral("SELECT %1 FROM tblOnlineOveralls WHERE sSensorID = ? ORDER BY sTaken")
                      .arg(QLatin1String(kOverallColumns)),
                  {sensorId});
    std::vector<OnlineOverallRow> rows;
    while (query.next()) {
        rows.push_back(ReadOverall(query));
    }
    return rows;
}

std::optional<OnlineOverallRow> LatestOverall(SqlConnection& connection, const QString& sensorId) {
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral("SELECT %1 FROM tblOnlineOveralls WHERE sSensorID = ? ORDER BY sTaken DESC LIMIT 1")
            .arg(QLatin1String(kOverallColumns)),
        {sensorId});
    if (!query.next()) {
        return std::nullopt;
    }
    return ReadOverall(query);
}

} // namespace onlinerows
} // namespace vantor
