#pragma once
// What differs between the two engines the record access layer runs on: SQLite (the local file and
// the shared folder) and PostgreSQL (a server). Queries are written once, in the bracketed form
// with `?` marks; the dialect turns them into the engine's own form and names the column types,
// the row identity and how a write transaction begins.

#include "store/RecordFields.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vantor {

enum class SqlEngine { Sqlite, Postgres };

class SqlDialect {
public:
    static const SqlDialect& Of(SqlEngine engine);

    SqlEngine Engine() const { return engine_; }
    // "SQLite" or "PostgreSQL".
    QString Name() const;

    // The statement in the engine's form. For PostgreSQL: bracketed names become quoted names
    // ([sName] -> "sName"), `?` marks become numbered ($1, $2, ...) and the row identity `rowid`
    // becomes the table's identity column. SQLite takes the text as it is.
    QString Translate(const QString& sql) const;
    // Only the bracketed names quoted for the engine, for statements run through Qt Sql, which
    // binds its own `?` marks.
    QString QuoteNames(const QString& sql) const;

    // The declared type of a column kind: TEXT(255)/varchar(255), REAL/real (single precision),
    // BOOLEAN/boolean, INTEGER/integer, DATETIME/timestamp, BLOB/bytea.
    QString TypeOf(ColumnType type) const;

    // The column that identifies a row for editing it in place (SQLite's own rowid; on
    // PostgreSQL an identity column every table gets when it is created).
    QString RowId() const;

    // CREATE TABLE with the columns (bare names with their kinds) in order, plus the row identity
    // column the engine needs; the statement is already in the engine's form.
    QString CreateTable(const QString& table,
                        const std::vector<std::pair<QString, ColumnType>>& columns) const;

    // Appended to a query without ORDER BY so rows come in the order they were added, as SQLite
    // returns them (empty for SQLite).
    QString InsertionOrder() const;

    // Statements run right after a write transaction began. On PostgreSQL every writer first takes
    // one transaction-scoped advisory lock, so writers take turns as SQLite's writers do: order
    // numbers counted and the rows written inside one transaction never collide with another
    // program's.
    QStringList AfterBeginWrite() const;

private:
    explicit SqlDialect(SqlEngine engine) : engine_(engine) {}
    SqlEngine engine_;
};

// The name the database's catalogue knows a table by: PostgreSQL folds unquoted names to lower
// case, so tblMachines is "tblmachines" there.
QString CatalogTableName(const QSqlDatabase& db, const QString& table);

// The key of the advisory lock the server's writers share ("VANTOR" in ASCII).
inline constexpr qint64 kServerWriteLockKey = 0x56414E544F52;

} // namespace vantor
