#include "store/AddedSchema.h"

#include "store/AddedTables.h"
#include "store/AlarmRecords.h"
#include "store/BearingRecords.h"
#include "store/FollowUpTables.h"
#include "store/ImportedReadings.h"
#include "store/Log.h"
#include "store/OnlineTables.h"
#include "store/SqlConnection.h"

#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>

namespace vantor {
namespace {

bool HasTable(SqlConnection& connection, const QString& table) {
    return connection.Database().tables().contains(CatalogTableName(connection.Database(), table),
                                                   Qt::CaseInsensitive);
}

// The plain added tables (indices, envelope bands, alarm settings and bands), made by their own
// statements; unlike EnsureAddedTables this never begins or commits, so it runs inside the
// caller's transaction on either engine.
void CreateMissingPlainTables(SqlConnection& connection, std::span<const AddedTable> tables) {
    for (const AddedTable& table : tables) {
        if (HasTable(connection, QLatin1String(table.name))) {
            continue;
        }
        for (const QString& statement : CreateAddedTableStatements(table)) {
            QSqlQuery query(connection.Database());
            if (!query.exec(statement)) {
                const QString text = QStringLiteral("cannot create %1: %2")
                                         .arg(QLatin1String(table.name), query.lastError().text());
                qCWarning(lcStore, "%s", qUtf8Printable(text));
                throw DatabaseError(text);
            }
        }
    }
}

} // namespace

QStringList AddedSchemaTables() {
    QStringList names{QLatin1String(TableTraits<CBearing>::name),
                      QLatin1String(TableTraits<CPointBearing>::name)};
    for (const AddedTable& table : AddedTables()) {
        names << QLatin1String(table.name);
    }
    for (const AddedTable& table : AlarmTables()) {
        names << QLatin1String(table.name);
    }
    names << QLatin1String(kImportedReadingsTable);
    for (const AddedTable& table : FollowUpTables()) {
        names << QLatin1String(table.name);
    }
    for (const AddedTable& table : OnlineTables()) {
        names << QLatin1String(table.name);
    }
    return names;
}

void CreateMissingAddedTables(SqlConnection& connection) {
    SqlConnection::Transaction transaction(connection);
    if (EnsureBearingTables(connection) == TablesOutcome::Failed) {
        throw DatabaseError(QStringLiteral("cannot create the bearing tables"));
    }
    CreateMissingPlainTables(connection, AddedTables());
    CreateMissingPlainTables(connection, AlarmTables());
    EnsureImportedReadingsTable(connection);
    CreateMissingPlainTables(connection, FollowUpTables());
    CreateMissingPlainTables(connection, OnlineTables());
    if (!transaction.Commit()) {
        throw DatabaseError(
            QStringLiteral("the added tables could not be committed: %1").arg(connection.LastError()));
    }
}

} // namespace vantor
