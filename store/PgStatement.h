#pragma once
// A prepared statement on the PostgreSQL connection behind Qt's QPSQL driver (its libpq handle).
// Values travel as bound parameters: text for everything but raw captures, which go as binary. A
// run fetches its whole result at once; rows are then read from it one at a time.

#include "store/PgPipeline.h"
#include "store/SqlStatement.h"

#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace vantor {

class PgStatement final : public SqlStatement {
public:
    // Prepares `sql` (already in PostgreSQL's form, $1 marks) under `name`; throws DatabaseError
    // when the server refuses it or cannot be reached. Writes sent through `pipeline` are collected
    // before this statement runs.
    PgStatement(pg_conn* connection, PgPipeline& pipeline, QString name, const QString& sql);
    ~PgStatement() override;
    PgStatement(const PgStatement&) = delete;
    PgStatement& operator=(const PgStatement&) = delete;

    void BindNull(int index) override;
    void BindText(int index, const QString& value) override;
    void BindDouble(int index, double value) override;
    void BindInteger(int index, qint64 value) override;
    void BindBlob(int index, const QByteArray& value) override;

    bool Step() override;
    // Pipelined while the connection defers its writes.
    void Send() override;
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
    using Parameter = PgPipeline::Parameter;
    Parameter& At(int index);
    QByteArray Raw(int column) const;

    pg_conn* connection_;
    PgPipeline& pipeline_;
    QByteArray name_;
    std::vector<Parameter> parameters_;
    pg_result* result_ = nullptr;
    int row_ = -1;
    int rows_ = 0;
};

} // namespace vantor
