#pragma once
// The ten tables: names, expected column counts and the statements that create them.

#include "store/RecordFields.h"

#include <QSqlDatabase>
#include <QString>

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

// The declared SQL type of a column of the given kind ("TEXT(255)", "REAL", ...).
QString SqlTypeOf(ColumnType type);

// The CREATE TABLE statement of a record's table, columns in documented order.
template <class R> QString CreateTableStatement() {
    QStringList columns;
    for (const auto& field : FieldsOf<R>()) {
        columns << QStringLiteral("[%1] %2").arg(QLatin1String(field.name), SqlTypeOf(field.Type()));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(QLatin1String(TableTraits<R>::name), columns.join(QStringLiteral(", ")));
}

// Creates a new database file with the ten tables and their lookup indexes. Fails (false, with
// `error` set) when the file already exists or cannot be written; an existing file is never touched.
bool CreateEmptyDatabase(const QString& path, QString* error = nullptr);

} // namespace vantor
