#pragma once
// The ten tables: names, expected column counts and the statements that create them.

#include "store/RecordFields.h"
#include "store/SqlDialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace vantor {

template <class R> struct TableTraits;

#define VANTOR_TABLE(Record, TableName)                                                                      \
    template <> struct TableTraits<Record> {                                                                 \
        static constexpr const char* name = TableName;                                                       \
        static int ExpectedColumns() { return static_cast<int>(FieldsOf<Record>().size()); }                 \
    }

VANTOR_TABLE(CMachine, "tblMachines");
VANTOR_TABLE(CVib, "tblVibs");
VANTOR_TABLE(CLube, "tblLubes");
VANTOR_TABLE(CVibReading, "tblVibReadings");
VANTOR_TABLE(CLubeReading, "tblLubeReadings");
VANTOR_TABLE(CRoute, "tblRoutes");
VANTOR_TABLE(CRouteItem, "tblRouteItems");
VANTOR_TABLE(CDevice, "tblDevices");
VANTOR_TABLE(COffRouteReading, "tblOffRouteReadings");
VANTOR_TABLE(CEmailAddress, "tblEmailAddresses");

#undef VANTOR_TABLE

// The declared SQL type of a column of the given kind in a local file ("TEXT(255)", "REAL", ...).
QString SqlTypeOf(ColumnType type);

// The CREATE TABLE statement of a record's table, columns in documented order, in the dialect's form.
template <class R>
QString CreateTableStatement(const SqlDialect& dialect = SqlDialect::Of(SqlEngine::Sqlite)) {
    std::vector<std::pair<QString, ColumnType>> columns;
    for (const auto& field : FieldsOf<R>()) {
        columns.emplace_back(QLatin1String(field.name), field.Type());
    }
    return dialect.CreateTable(QLatin1String(TableTraits<R>::name), columns);
}

// The statements that create the ten tables and their lookup indexes, in the dialect's form.
QStringList DocumentedSchemaStatements(const SqlDialect& dialect);

// Creates a new database file with the ten tables and their lookup indexes. Fails (false, with
// `error` set) when the file already exists or cannot be written; an existing file is never touched.
bool CreateEmptyDatabase(const QString& path, QString* error = nullptr);

} // namespace vantor
