#include "store/LatestReadings.h"

#include "store/MainConnection.h"
#include "store/RecordFields.h"

#include <QSqlRecord>

namespace vantor {
namespace {

// The record's non-binary fields that the table has, as "r.[name]" for the select list, with the
// field each result column fills.
template <class R> struct ValueColumns {
    QStringList select;
    std::vector<const Field<R>*> fields;
};

template <class R> ValueColumns<R> ValueColumnsOf(SqlConnection& connection, const QString& table) {
    const QSqlRecord present = connection.Database().record(CatalogTableName(connection.Database(), table));
    ValueColumns<R> columns;
    for (const Field<R>& field : FieldsOf<R>()) {
        if (field.Type() == ColumnType::Binary || present.indexOf(QLatin1String(field.name)) < 0) {
            continue;
        }
        columns.select << QStringLiteral("r.[%1]").arg(QLatin1String(field.name));
        columns.fields.push_back(&field);
    }
    return columns;
}

// For every row of `pointTable`, the newest row of `readingTable` whose parent it is; the index on
// (sParentGUID, ctDateTaken) makes each lookup one index seek.
template <class R>
QHash<QString, R> LatestByParent(CMainConnection& db, const QString& pointTable,
                                 const QString& readingTable) {
    QHash<QString, R> latest;
    SqlConnection& connection = db.Connection();
    if (!connection.IsOpen()) {
        return latest;
    }
    const ValueColumns<R> columns = ValueColumnsOf<R>(connection, readingTable);
    if (columns.fields.empty()) {
        return latest;
    }
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 p JOIN %3 r ON r.rowid = (SELECT x.rowid FROM %3 x WHERE "
                       "x.[sParentGUID] = p.[sItemGUID] ORDER BY x.[ctDateTaken] DESC, x.rowid DESC LIMIT 1)")
            .arg(columns.select.join(QLatin1Char(',')), pointTable, readingTable);
    SqlStatement& statement = connection.Prepared(sql);
    const StatementReset reset(statement);
    while (statement.Step()) {
        R reading;
        for (int column = 0; column < static_cast<int>(columns.fields.size()); ++column) {
            ReadField(statement, column, reading, *columns.fields[static_cast<std::size_t>(column)]);
        }
        const QString parent = reading.sParentGUID;
        latest.insert(parent, std::move(reading));
    }
    return latest;
}

} // namespace

QHash<QString, CVibReading> LatestVibReadingsByPoint(CMainConnection& db) {
    return LatestByParent<CVibReading>(db, QStringLiteral("tblVibs"), QStringLiteral("tblVibReadings"));
}

QHash<QString, CLubeReading> LatestLubeReadingsByPoint(CMainConnection& db) {
    return LatestByParent<CLubeReading>(db, QStringLiteral("tblLubes"), QStringLiteral("tblLubeReadings"));
}

int CountOffRouteReadings(CMainConnection& db) {
    SqlConnection& connection = db.Connection();
    const QString table = QStringLiteral("tblOffRouteReadings");
    if (!connection.IsOpen() || !connection.Database().tables().contains(table, Qt::CaseInsensitive)) {
        return 0;
    }
    SqlStatement& statement = connection.Prepared(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    return static_cast<int>(FirstInteger(statement).value_or(0));
}

} // namespace vantor
