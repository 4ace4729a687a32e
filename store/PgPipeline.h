#pragma once
// Writes sent to a PostgreSQL server without waiting for each one's outcome (libpq's pipeline
// mode), for bulk work such as a data file import: a statement costs the server's time only, not a
// round trip. The outcomes are collected when anything else is about to use the connection (a
// statement with rows, a transaction's end, Qt's driver) and at least every kPipelineDepth writes.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace vantor {

class DatabaseError;

// The error of a failed call on the connection, with whether the connection itself is gone.
DatabaseError PgError(pg_conn* connection, const pg_result* result);

// Writes sent before their outcomes are collected; bounds what the client and the server hold for
// each other, so neither waits on a full socket.
inline constexpr int kPipelineDepth = 256;

class PgPipeline {
public:
    explicit PgPipeline(pg_conn* connection) : connection_(connection) {}
    ~PgPipeline();
    PgPipeline(const PgPipeline&) = delete;
    PgPipeline& operator=(const PgPipeline&) = delete;

    // While enabled, Send() pipelines; otherwise callers run their statements as usual.
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_ && connection_ != nullptr; }

    struct Parameter {
        std::optional<QByteArray> value;
        bool binary = false;
    };
    // Sends one run of the prepared statement `name`. Throws DatabaseError when it cannot be sent
    // or an earlier write has failed.
    void Send(const QByteArray& name, const std::vector<Parameter>& parameters);

    // Collects the outcomes of everything sent and leaves pipeline mode. Never throws: the first
    // failure is kept for RaiseFailure().
    void Drain();
    // Drain(), then throws DatabaseError for the first failed write since the last call.
    void Collect();
    // Drain(), logging and forgetting a failure: for a scope that ends by an error of its own.
    void Finish();

private:
    pg_conn* connection_;
    bool enabled_ = false;
    bool active_ = false;
    int pending_ = 0;
    std::optional<QString> failure_;
    bool lost_ = false;
};

} // namespace vantor
