#pragma once
// A prepared statement on the SQLite handle behind a Qt Sql connection. The record access layer's
// per-row work (lookups, inserts, updates, deletes, walks) binds and reads values through it
// directly, without the per-value conversions of the generic query interface.

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace vantor {

class SqliteStatement {
public:
    // Prepares the statement; throws DatabaseError when SQLite refuses it.
    SqliteStatement(sqlite3* db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 0 here.
    void BindNull(int index);
    void BindText(int index, const QString& value);
    void BindDouble(int index, double value);
    void BindInteger(int index, qint64 value);
    void BindBlob(int index, const QByteArray& value);

    // Runs to the next row: true when a row is there, false when done. Throws DatabaseError.
    bool Step();
    // Ready for the next run: results released, parameters cleared.
    void Reset();

    int ColumnCount() const;
    QString ColumnName(int column) const;
    bool IsNull(int column) const;
    bool IsText(int column) const;
    QString ColumnText(int column) const;
    double ColumnDouble(int column) const;
    qint64 ColumnInteger(int column) const;
    QByteArray ColumnBlob(int column) const;

private:
    void Check(int result) const;

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace vantor
