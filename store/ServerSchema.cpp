#include "store/ServerSchema.h"

#include "store/AddedSchema.h"
#include "store/Log.h"
#include "store/Schema.h"

#include <QLoggingCategory>
#include <QSqlQuery>

#include <functional>
#include <vector>

namespace vantor {
namespace {

const QString kVersionTable = QStringLiteral("tblSchemaVersion");

// The steps that take a schema from version n - 1 to version n, for n = 1, 2, ..., each run inside
// the transaction that records it.
// Version 1: the documented tables with their lookup indexes.
// Version 2: the added tables (bearings, indices, envelope bands, alarm settings and bands, imported
// readings); a version-1 server that gained some of them on opening keeps those and their rows.
// Version 3: the per-point severity standard (tblPointSeverityStandard).
// Version 4: the follow-up tables (route schedules, alarm events and levels, acknowledgements,
// notes, recommendations), made by the same idempotent step.
// Version 5: the online sensors' tables (tblSensors, tblOnlineOveralls), by the same step.
std::vector<std::function<void(SqlConnection&)>> UpgradeSteps() {
    return {
        [](SqlConnection& connection) {
            for (const QString& statement : DocumentedSchemaStatements(connection.Dialect())) {
                connection.Execute(statement);
            }
        },
        [](SqlConnection& connection) { CreateMissingAddedTables(connection); },
        [](SqlConnection& connection) { CreateMissingAddedTables(connection); },
        [](SqlConnection& connection) { CreateMissingAddedTables(connection); },
        [](SqlConnection& connection) { CreateMissingAddedTables(connection); },
    };
}

bool HasVersionTable(SqlConnection& connection) {
    return connection.Database().tables().contains(kVersionTable, Qt::CaseInsensitive);
}

} // namespace

int ServerSchemaVersion(SqlConnection& connection) {
    if (!connection.IsOpen()) {
        throw DatabaseError(QStringLiteral("the database is not open"), DatabaseError::Kind::Unavailable);
    }
    if (!HasVersionTable(connection)) {
        if (connection.Lost()) {
            throw DatabaseError(QStringLiteral("the server connection is lost"),
                                DatabaseError::Kind::Unavailable);
        }
        return 0;
    }
    SqlStatement& statement =
        connection.Prepared(QStringLiteral("SELECT MAX([iVersion]) FROM tblSchemaVersion"));
    return static_cast<int>(FirstInteger(statement).value_or(0));
}

SchemaInit InitServerSchema(SqlConnection& connection, QString* error) {
    auto fail = [error](const QString& text) {
        qCWarning(lcStore, "server schema: %s", qUtf8Printable(text));
        if (error != nullptr) {
            *error = text;
        }
        return SchemaInit::Failed;
    };
    try {
        SqlConnection::Transaction transaction(connection);
        // Read under the writers' lock, so two programs initialising at once do it once.
        const int version = ServerSchemaVersion(connection);
        const auto steps = UpgradeSteps();
        if (version > static_cast<int>(steps.size())) {
            return SchemaInit::Newer;
        }
        if (version == static_cast<int>(steps.size())) {
            return SchemaInit::Current;
        }
        if (version == 0 && !connection.Database().tables().isEmpty() &&
            connection.Database().tables().contains(QStringLiteral("tblMachines"), Qt::CaseInsensitive)) {
            return fail(QStringLiteral("the database holds tables of another program version without a "
                                       "schema version; it is left alone"));
        }
        if (version == 0) {
            connection.Execute(
                QStringLiteral("CREATE TABLE tblSchemaVersion ([iVersion] integer, [ctApplied] %1)")
                    .arg(connection.Dialect().TypeOf(ColumnType::DateTime)));
        }
        for (int next = version + 1; next <= static_cast<int>(steps.size()); ++next) {
            steps[static_cast<size_t>(next - 1)](connection);
            SqlStatement& record = connection.Prepared(
                QStringLiteral("INSERT INTO tblSchemaVersion ([iVersion], [ctApplied]) VALUES (?, ?)"));
            record.BindInteger(0, next);
            record.BindText(1, SqlDateTimeText(QDateTime::currentDateTime()));
            RunOnce(record);
        }
        if (!transaction.Commit()) {
            return fail(QStringLiteral("the schema could not be committed: %1").arg(connection.LastError()));
        }
        return version == 0 ? SchemaInit::Created : SchemaInit::Upgraded;
    } catch (const DatabaseError& e) {
        return fail(QString::fromUtf8(e.what()));
    }
}

} // namespace vantor
