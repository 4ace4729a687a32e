#include "store/PgPipeline.h"

#include "store/Log.h"
#include "store/SqlConnection.h"

#include <QLoggingCategory>

#include "store/LibPq.h"

namespace vantor {

// SQLSTATE class 08 is "connection exception"; 57P01-57P03 "operator intervention" (the server
// shutting down or not yet accepting connections). Either, or libpq no longer connected, means the
// database is gone rather than the statement refused.
DatabaseError PgError(pg_conn* connection, const pg_result* result) {
    QString text = QString::fromUtf8(result != nullptr ? LibPq().PQresultErrorMessage(result)
                                                       : LibPq().PQerrorMessage(connection))
                       .trimmed();
    if (text.isEmpty()) {
        text = QString::fromUtf8(LibPq().PQerrorMessage(connection)).trimmed();
    }
    const char* state = result != nullptr ? LibPq().PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const bool lost =
        LibPq().PQstatus(connection) != CONNECTION_OK ||
        (state != nullptr && (qstrncmp(state, "08", 2) == 0 || qstrncmp(state, "57P0", 4) == 0));
    qCWarning(lcStore, "server statement failed: %s", qUtf8Printable(text));
    return DatabaseError(text, lost ? DatabaseError::Kind::Unavailable : DatabaseError::Kind::Refused);
}

PgPipeline::~PgPipeline() {
    Drain();
}

void PgPipeline::Send(const QByteArray& name, const std::vector<Parameter>& parameters) {
    if (failure_) {
        Collect(); // the transaction is already lost: say so now rather than send more
    }
    if (!active_) {
        if (LibPq().PQenterPipelineMode(connection_) != 1) {
            throw PgError(connection_, nullptr);
        }
        active_ = true;
    }
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    values.reserve(parameters.size());
    lengths.reserve(parameters.size());
    formats.reserve(parameters.size());
    for (const Parameter& parameter : parameters) {
        values.push_back(parameter.value ? parameter.value->constData() : nullptr);
        lengths.push_back(parameter.value ? static_cast<int>(parameter.value->size()) : 0);
        formats.push_back(parameter.binary ? 1 : 0);
    }
    if (LibPq().PQsendQueryPrepared(connection_, name.constData(), static_cast<int>(values.size()),
                                    values.data(), lengths.data(), formats.data(), 0) != 1) {
        const DatabaseError error = PgError(connection_, nullptr);
        Drain();
        failure_.reset();
        throw error;
    }
    if (++pending_ >= kPipelineDepth) {
        Collect();
    }
}

void PgPipeline::Drain() {
    if (!active_) {
        return;
    }
    active_ = false;
    const int sent = pending_;
    pending_ = 0;
    auto fail = [this](const pg_result* result) {
        if (!failure_) {
            const DatabaseError error = PgError(connection_, result);
            failure_ = QString::fromStdString(error.what());
            lost_ = error.Unavailable();
        }
    };
    if (LibPq().PQpipelineSync(connection_) != 1) {
        fail(nullptr);
    } else {
        // Each write ends its results with a null; the sync point ends them all. A broken connection
        // gives nulls for ever, so they are counted.
        int nulls = 0;
        while (true) {
            PGresult* result = LibPq().PQgetResult(connection_);
            if (result == nullptr) {
                if (++nulls > sent || LibPq().PQstatus(connection_) != CONNECTION_OK) {
                    fail(nullptr);
                    break;
                }
                continue;
            }
            const ExecStatusType status = LibPq().PQresultStatus(result);
            if (status == PGRES_PIPELINE_SYNC) {
                LibPq().PQclear(result);
                break;
            }
            if (status == PGRES_FATAL_ERROR || status == PGRES_NONFATAL_ERROR) {
                fail(result);
            }
            LibPq().PQclear(result);
        }
    }
    if (LibPq().PQexitPipelineMode(connection_) != 1) {
        fail(nullptr);
    }
}

void PgPipeline::Collect() {
    Drain();
    if (failure_) {
        const QString text = *failure_;
        const bool lost = lost_;
        failure_.reset();
        lost_ = false;
        throw DatabaseError(text, lost ? DatabaseError::Kind::Unavailable : DatabaseError::Kind::Refused);
    }
}

void PgPipeline::Finish() {
    Drain();
    if (failure_) {
        qCWarning(lcStore, "pipelined writes failed and were not reported: %s", qUtf8Printable(*failure_));
        failure_.reset();
        lost_ = false;
    }
}

} // namespace vantor
