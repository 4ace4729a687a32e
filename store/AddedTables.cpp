#include "store/AddedTables.h"

#include "store/Log.h"

#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace vantor {
namespace {

// One row per reading: the indices of the Total and the ISO channel (NULL where a channel could not
// be decoded or a ratio has no value), the envelope band of the gE overall and the gE overall
// itself. iMethod numbers the way they were computed, so a later method can recompute old rows.
constexpr std::array kTables = {
    AddedTable{
        kReadingIndicesTable,
        "sReadingGUID VARCHAR(255), iMethod INTEGER, "
        "fTotalRMS DOUBLE PRECISION, fTotalPeak DOUBLE PRECISION, fTotalPeakToPeak DOUBLE PRECISION, "
        "fTotalCrest DOUBLE PRECISION, fTotalKurtosis DOUBLE PRECISION, fTotalSkewness DOUBLE PRECISION, "
        "fISORMS DOUBLE PRECISION, fISOPeak DOUBLE PRECISION, fISOPeakToPeak DOUBLE PRECISION, "
        "fISOCrest DOUBLE PRECISION, fISOKurtosis DOUBLE PRECISION, fISOSkewness DOUBLE PRECISION, "
        "fEnvelopeLowHz DOUBLE PRECISION, fEnvelopeHighHz DOUBLE PRECISION, fGeOverall DOUBLE PRECISION",
        "CREATE INDEX ixReadingIndicesReading ON tblReadingIndices (sReadingGUID)"},
    // A point's own envelope band; a point without a row uses the default band.
    AddedTable{kVibEnvelopeBandsTable,
               "sVibGUID VARCHAR(255), fLowHz DOUBLE PRECISION, fHighHz DOUBLE PRECISION",
               "CREATE INDEX ixVibEnvelopeBandsVib ON tblVibEnvelopeBands (sVibGUID)"},
};

} // namespace

std::span<const AddedTable> AddedTables() {
    return kTables;
}

QStringList CreateAddedTableStatements(const AddedTable& table) {
    QStringList statements{
        QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(table.name), QLatin1String(table.columns))};
    if (table.index != nullptr) {
        statements << QLatin1String(table.index);
    }
    return statements;
}

bool EnsureAddedTables(QSqlDatabase db) {
    return EnsureAddedTables(db, kTables);
}

bool EnsureAddedTables(QSqlDatabase db, std::span<const AddedTable> tables) {
    const QStringList present = db.tables();
    QStringList statements;
    for (const AddedTable& table : tables) {
        if (!present.contains(QLatin1String(table.name), Qt::CaseInsensitive)) {
            statements << CreateAddedTableStatements(table);
        }
    }
    if (statements.isEmpty()) {
        return true;
    }
    const bool outer = db.transaction();
    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            qCWarning(lcStore) << "Cannot add a table:" << query.lastError().text();
            if (outer) {
                db.rollback();
            }
            return false;
        }
    }
    if (outer && !db.commit()) {
        qCWarning(lcStore) << "Cannot add the tables:" << db.lastError().text();
        return false;
    }
    return true;
}

} // namespace vantor
