#pragma once
// Whole-database copies: a backup of every table into a new file, the check a copy passes before
// it may replace anything, and the copy of every table of one database into another (the
// local and the remote database) in one transaction.

#include <QString>
#include <QStringList>

namespace vantor {

class SqlConnection;

// Writes a consistent copy of the open database into `backupFile` (SQLite's VACUUM INTO, into a
// file beside it first). The copy must pass CheckDatabaseFile before it replaces a file of that
// name; a failed backup leaves nothing new behind. False with `error` set on failure.
bool BackupDatabase(SqlConnection& source, const QString& backupFile, QString& error);

// True when the file is an SQLite database that passes its integrity check and holds the tables
// of this system's schema.
bool CheckDatabaseFile(const QString& file, QString& error);

// Copies every table of the database file `sourceFile` into the database of `target`, in one
// transaction on the target: rows replace the target's rows of the same key (sItemGUID; readings
// also by point and date taken; e-mail addresses by address), others are added. A table the
// target lacks is created as the source has it. Nothing is kept on failure.
bool CopyEveryTable(SqlConnection& target, const QString& sourceFile, QString& error);

// The tables of a database file and their row counts, "table<TAB>count", sorted by table.
QStringList TableRowCounts(const QString& file);

} // namespace vantor
