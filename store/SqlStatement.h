#pragma once
// A prepared statement of the record access layer, whatever engine runs it. Values are bound by
// position (from 0) and rows are read one at a time; the SQLite and PostgreSQL connections each
// implement it on their driver's own handle.

#include <QByteArray>
#include <QString>

#include <optional>

namespace vantor {

class SqlStatement {
public:
    virtual ~SqlStatement() = default;

    virtual void BindNull(int index) = 0;
    virtual void BindText(int index, const QString& value) = 0;
    virtual void BindDouble(int index, double value) = 0;
    virtual void BindInteger(int index, qint64 value) = 0;
    virtual void BindBlob(int index, const QByteArray& value) = 0;

    // Runs to the next row: true when a row is there, false when done. Throws DatabaseError.
    virtual bool Step() = 0;
    // Ready for the next run: results released, parameters cleared.
    virtual void Reset() = 0;
    // Runs a statement that returns no rows and resets it. While its connection defers writes, an
    // engine that can sends it without waiting for its outcome; a failure is then raised by a later
    // statement or when the deferral is flushed.
    virtual void Send();

    virtual int ColumnCount() const = 0;
    virtual QString ColumnName(int column) const = 0;
    virtual bool IsNull(int column) const = 0;
    virtual bool IsText(int column) const = 0;
    virtual QString ColumnText(int column) const = 0;
    virtual double ColumnDouble(int column) const = 0;
    virtual qint64 ColumnInteger(int column) const = 0;
    virtual QByteArray ColumnBlob(int column) const = 0;
};

// Resets a statement when the scope that runs it ends, after its rows were read or when reading
// them threw, so that it is ready for its next run.
class StatementReset {
public:
    explicit StatementReset(SqlStatement& statement) : statement_(statement) {}
    ~StatementReset() { statement_.Reset(); }
    StatementReset(const StatementReset&) = delete;
    StatementReset& operator=(const StatementReset&) = delete;

private:
    SqlStatement& statement_;
};

// Runs a statement that returns no rows and resets it, also when it throws.
inline void RunOnce(SqlStatement& statement) {
    const StatementReset reset(statement);
    statement.Step();
}

// The first column of the statement's first row (a COUNT, a MAX, a counter) and resets it, also
// when it throws; nothing when it gives no row or NULL.
inline std::optional<qint64> FirstInteger(SqlStatement& statement) {
    const StatementReset reset(statement);
    if (!statement.Step() || statement.IsNull(0)) {
        return std::nullopt;
    }
    return statement.ColumnInteger(0);
}

inline void SqlStatement::Send() {
    RunOnce(*this);
}

} // namespace vantor
