#include "store/Schema.h"

#include "store/SqlConnection.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace vantor {

QString SqlTypeOf(ColumnType type) {
    return SqlDialect::Of(SqlEngine::Sqlite).TypeOf(type);
}

QStringList DocumentedSchemaStatements(const SqlDialect& dialect) {
    QStringList statements = {
        CreateTableStatement<CMachine>(dialect),
        CreateTableStatement<CVib>(dialect),
        CreateTableStatement<CLube>(dialect),
        CreateTableStatement<CVibReading>(dialect),
        CreateTableStatement<CLubeReading>(dialect),
        CreateTableStatement<CRoute>(dialect),
        CreateTableStatement<CRouteItem>(dialect),
        CreateTableStatement<CDevice>(dialect),
        CreateTableStatement<COffRouteReading>(dialect),
        CreateTableStatement<CEmailAddress>(dialect),
        // Lookups by key, parent and natural key; the tables stay plain (no constraints), as rows
        // written by other programs may break any rule an index would enforce.
        QStringLiteral("CREATE INDEX ixMachinesGuid ON tblMachines ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixVibsGuid ON tblVibs ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixVibsParent ON tblVibs ([sParentGUID], [fOrder])"),
        QStringLiteral("CREATE INDEX ixLubesGuid ON tblLubes ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixLubesParent ON tblLubes ([sParentGUID], [fOrder])"),
        QStringLiteral("CREATE INDEX ixVibReadingsGuid ON tblVibReadings ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixVibReadingsParent ON tblVibReadings ([sParentGUID], [ctDateTaken])"),
        QStringLiteral("CREATE INDEX ixLubeReadingsGuid ON tblLubeReadings ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixLubeReadingsParent ON tblLubeReadings ([sParentGUID], [ctDateTaken])"),
        QStringLiteral("CREATE INDEX ixRoutesGuid ON tblRoutes ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixRouteItemsGuid ON tblRouteItems ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixRouteItemsParent ON tblRouteItems ([sParentGUID], [fOrder])"),
        QStringLiteral("CREATE INDEX ixRouteItemsMachine ON tblRouteItems ([sMachineGUID])"),
        QStringLiteral("CREATE INDEX ixDevicesGuid ON tblDevices ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixOffRouteGuid ON tblOffRouteReadings ([sItemGUID])"),
        QStringLiteral("CREATE INDEX ixOffRouteDate ON tblOffRouteReadings ([ctDateTaken])"),
    };
    for (QString& statement : statements) {
        statement = dialect.Translate(statement);
    }
    return statements;
}

bool CreateEmptyDatabase(const QString& path, QString* error) {
    if (QFileInfo::exists(path)) {
        if (error != nullptr) {
            *error = QStringLiteral("%1 already exists").arg(path);
        }
        return false;
    }
    const QStringList statements = DocumentedSchemaStatements(SqlDialect::Of(SqlEngine::Sqlite));

    SqlConnection connection(path, SqlConnection::Mode::Create);
    if (!connection.Open()) {
        if (error != nullptr) {
            *error = connection.LastError();
        }
        return false;
    }
    bool ok = true;
    {
        SqlConnection::Batch batch(connection);
        QSqlQuery query(connection.Database());
        for (const QString& statement : statements) {
            if (!query.exec(statement)) {
                ok = false;
                if (error != nullptr) {
                    *error = query.lastError().text();
                }
                break;
            }
        }
    }
    connection.Close();
    if (!ok) {
        QFile::remove(path);
    }
    return ok;
}

} // namespace vantor
