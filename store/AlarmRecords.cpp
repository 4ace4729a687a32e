#include "store/AlarmRecords.h"

#include "store/DerivedRecords.h"

#include <QSet>
#include <QSqlQuery>

#include <array>

namespace vantor {
namespace {

constexpr std::array kTables = {
    AddedTable{kPointAlarmSettingsTable,
               "sVibGUID TEXT, sMeasure TEXT, iBaselineReadings INTEGER, sBaselineFrom TEXT, "
               "sBaselineTo TEXT, fSigmaWarning DOUBLE PRECISION, fSigmaCritical DOUBLE PRECISION, "
               "fChangeWarning DOUBLE PRECISION, fChangeCritical DOUBLE PRECISION",
               "CREATE INDEX ixPointAlarmSettingsVib ON tblPointAlarmSettings (sVibGUID)"},
    AddedTable{kPointSpectralBandsTable,
               "sVibGUID TEXT, iBand INTEGER, fFrom DOUBLE PRECISION, fTo DOUBLE PRECISION, "
               "iOrders INTEGER, sSpectrum TEXT, fWarning DOUBLE PRECISION, fCritical DOUBLE PRECISION, "
               "iRMS INTEGER",
               "CREATE INDEX ixPointSpectralBandsVib ON tblPointSpectralBands (sVibGUID)"},
    AddedTable{kPointSeverityStandardTable, "sVibGUID TEXT, sStandard TEXT, iGroup INTEGER, sSupport TEXT",
               "CREATE INDEX ixPointSeverityStandardVib ON tblPointSeverityStandard (sVibGUID)"},
};

constexpr const char* kSettingColumns =
    "sVibGUID, sMeasure, iBaselineReadings, sBaselineFrom, sBaselineTo, fSigmaWarning, fSigmaCritical, "
    "fChangeWarning, fChangeCritical";
constexpr const char* kBandColumns =
    "sVibGUID, iBand, fFrom, fTo, iOrders, sSpectrum, fWarning, fCritical, iRMS";

// The statements of this module, by name (see StoreQuery.h).
enum Q : std::size_t {
    kSettingsOfPoint,
    kInsertSetting,
    kDeleteSetting,
    kBandsOfPoint,
    kDeleteBands,
    kInsertBand,
    kPointsWithRows,
    kDeletePointSettings,
    kSeverityOfPoint,
    kInsertSeverity,
    kDeleteSeverity,
    kQueryCount
};

const std::array<StoreQuery, kQueryCount>& Queries() {
    static const QString settings = QLatin1String(kSettingColumns);
    static const QString bands = QLatin1String(kBandColumns);
    static const std::array<StoreQuery, kQueryCount> queries = {{
        {"alarm settings: of a point",
         QStringLiteral("SELECT %1 FROM tblPointAlarmSettings WHERE sVibGUID = ? ORDER BY sMeasure")
             .arg(settings)},
        {"alarm settings: insert",
         QStringLiteral("INSERT INTO tblPointAlarmSettings (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
             .arg(settings)},
        {"alarm settings: delete one",
         QStringLiteral("DELETE FROM tblPointAlarmSettings WHERE sVibGUID = ? AND sMeasure = ?")},
        {"spectral bands: of a point",
         QStringLiteral("SELECT %1 FROM tblPointSpectralBands WHERE sVibGUID = ? ORDER BY iBand").arg(bands)},
        {"spectral bands: delete a point's",
         QStringLiteral("DELETE FROM tblPointSpectralBands WHERE sVibGUID = ?")},
        {"spectral bands: insert",
         QStringLiteral("INSERT INTO tblPointSpectralBands (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
             .arg(bands)},
        {"alarm settings: points with rows",
         QStringLiteral("SELECT sVibGUID FROM tblPointAlarmSettings UNION SELECT sVibGUID FROM "
                        "tblPointSpectralBands UNION SELECT sVibGUID FROM tblPointSeverityStandard")},
        {"alarm settings: delete a point's",
         QStringLiteral("DELETE FROM tblPointAlarmSettings WHERE sVibGUID = ?")},
        {"severity standard: of a point",
         QStringLiteral("SELECT sVibGUID, sStandard, iGroup, sSupport FROM tblPointSeverityStandard "
                        "WHERE sVibGUID = ?")},
        {"severity standard: insert",
         QStringLiteral("INSERT INTO tblPointSeverityStandard (sVibGUID, sStandard, iGroup, sSupport) "
                        "VALUES (?, ?, ?, ?)")},
        {"severity standard: delete a point's",
         QStringLiteral("DELETE FROM tblPointSeverityStandard WHERE sVibGUID = ?")},
    }};
    return queries;
}

const StoreQuery& Query(Q which) {
    return Queries()[which];
}

double Number(const QVariant& value) {
    return derived::Optional(value).value_or(0.0);
}

} // namespace

std::span<const StoreQuery> AlarmQueries() {
    return Queries();
}

std::span<const AddedTable> AlarmTables() {
    return kTables;
}

bool EnsureAlarmTables(SqlConnection& connection) {
    return EnsureAddedTables(connection.Database(), kTables);
}

namespace alarmrows {

std::vector<PointAlarmSettingRow> SettingsOf(SqlConnection& connection, const QString& pointGuid) {
    QSqlQuery query = derived::Run(connection, Query(kSettingsOfPoint), {pointGuid});
    std::vector<PointAlarmSettingRow> rows;
    while (query.next()) {
        rows.push_back({query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                        query.value(3).toString(), query.value(4).toString(), Number(query.value(5)),
                        Number(query.value(6)), Number(query.value(7)), Number(query.value(8))});
    }
    return rows;
}

void PutSetting(SqlConnection& connection, const PointAlarmSettingRow& row) {
    SqlConnection::Transaction transaction(connection);
    DeleteSetting(connection, row.pointGuid, row.measure);
    derived::Run(connection, Query(kInsertSetting),
                 {row.pointGuid, row.measure, row.baselineReadings, row.baselineFrom, row.baselineTo,
                  row.sigmaWarning, row.sigmaCritical, row.changeWarning, row.changeCritical});
    if (!transaction.Commit()) {
        throw DatabaseError(
            QStringLiteral("The alarm settings of %1 could not be stored").arg(row.pointGuid));
    }
}

bool DeleteSetting(SqlConnection& connection, const QString& pointGuid, const QString& measure) {
    const QSqlQuery query = derived::Run(connection, Query(kDeleteSetting), {pointGuid, measure});
    return query.numRowsAffected() > 0;
}

std::vector<SpectralBandRow> BandsOf(SqlConnection& connection, const QString& pointGuid) {
    QSqlQuery query = derived::Run(connection, Query(kBandsOfPoint), {pointGuid});
    std::vector<SpectralBandRow> rows;
    while (query.next()) {
        rows.push_back({query.value(0).toString(), query.value(1).toInt(), Number(query.value(2)),
                        Number(query.value(3)), query.value(4).toInt() != 0, query.value(5).toString(),
                        Number(query.value(6)), Number(query.value(7)), query.value(8).toInt() != 0});
    }
    return rows;
}

void PutBands(SqlConnection& connection, const QString& pointGuid,
              const std::vector<SpectralBandRow>& bands) {
    SqlConnection::Transaction transaction(connection);
    derived::Run(connection, Query(kDeleteBands), {pointGuid});
    int number = 1;
    for (const SpectralBandRow& band : bands) {
        derived::Run(connection, Query(kInsertBand),
                     {pointGuid, number++, band.from, band.to, band.orders ? 1 : 0, band.spectrum,
                      band.warning, band.critical, band.rms ? 1 : 0});
    }
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The spectral bands of %1 could not be stored").arg(pointGuid));
    }
}

std::optional<PointSeverityRow> SeverityOf(SqlConnection& connection, const QString& pointGuid) {
    QSqlQuery query = derived::Run(connection, Query(kSeverityOfPoint), {pointGuid});
    if (!query.next()) {
        return std::nullopt;
    }
    return PointSeverityRow{query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                            query.value(3).toString()};
}

void PutSeverity(SqlConnection& connection, const PointSeverityRow& row) {
    SqlConnection::Transaction transaction(connection);
    DeleteSeverity(connection, row.pointGuid);
    derived::Run(connection, Query(kInsertSeverity), {row.pointGuid, row.standard, row.group, row.support});
    if (!transaction.Commit()) {
        throw DatabaseError(
            QStringLiteral("The severity standard of %1 could not be stored").arg(row.pointGuid));
    }
}

bool DeleteSeverity(SqlConnection& connection, const QString& pointGuid) {
    const QSqlQuery query = derived::Run(connection, Query(kDeleteSeverity), {pointGuid});
    return query.numRowsAffected() > 0;
}

std::vector<QString> PointsWithAlarmRows(SqlConnection& connection) {
    QSqlQuery query = derived::Run(connection, Query(kPointsWithRows), {});
    std::vector<QString> guids;
    while (query.next()) {
        guids.push_back(query.value(0).toString());
    }
    return guids;
}

void DeletePointRows(SqlConnection& connection, const QString& pointGuid) {
    SqlConnection::Transaction transaction(connection);
    derived::Run(connection, Query(kDeletePointSettings), {pointGuid});
    derived::Run(connection, Query(kDeleteBands), {pointGuid});
    DeleteSeverity(connection, pointGuid);
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The alarm settings of %1 could not be removed").arg(pointGuid));
    }
}

} // namespace alarmrows
} // namespace vantor
