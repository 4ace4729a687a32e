#pragma once
// A prepared statement on the SQLite handle behind a Qt Sql connection. The record access layer's
// per-row work (lookups, inserts, updates, deletes, walks) binds and reads values through it
// directly, without the per-value conversions of the generic query interface.

#include "store/SqlStatement.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vantor {

class SqliteStatement final : public SqlStatement {
public:
    // Prepares the statement; throws DatabaseError when SQLite refuses it.
    SqliteStatement(sqlite3* db, const QString& sql);
    ~SqliteStatement() override;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 0 here.
    void BindNull(int index) override;
    void BindText(int index, const QString& value) override;
    void BindDouble(int index, double value) override;
    void BindInteger(int index, qint64 value) override;
    void BindBlob(int index, const QByteArray& value) override;

    // Runs to the next row: true when a row is there, false when done. Throws DatabaseError.
    bool Step() override;
    // Ready for the next run: results released, parameters cleared.
    void Reset() override;

    int ColumnCount() const override;
    QString ColumnName(int column) const override;
    bool IsNull(int column) const override;
    bool IsText(int column) const override;
    QString ColumnText(int column) const override;
    double ColumnDouble(int column) const override;
    qint64 ColumnInteger(int column) const override;
    QByteArray ColumnBlob(int column) const override;

private:
    void Check(int result) const;

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace vantor
