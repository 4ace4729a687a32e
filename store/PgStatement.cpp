#include "store/PgStatement.h"

#include "store/Log.h"
#include "store/SqlConnection.h"

#include <QLoggingCategory>
#include <QScopeGuard>

#include "store/LibPq.h"

namespace vantor {
namespace {

// Type identifiers of the server's text types (pg_type), read as text by the record layer.
constexpr Oid kTextOid = 25;
constexpr Oid kVarcharOid = 1043;
constexpr Oid kBpcharOid = 1042;
constexpr Oid kBoolOid = 16;
constexpr Oid kByteaOid = 17;

[[noreturn]] void Raise(pg_conn* connection, const PGresult* result) {
    throw PgError(connection, result);
}

} // namespace

PgStatement::PgStatement(pg_conn* connection, PgPipeline& pipeline, QString name, const QString& sql)
    : connection_(connection), pipeline_(pipeline), name_(name.toUtf8()) {
    if (connection_ == nullptr) {
        throw DatabaseError(QStringLiteral("the database is not open"), DatabaseError::Kind::Unavailable);
    }
    pipeline_.Collect();
    PGresult* prepared =
        LibPq().PQprepare(connection_, name_.constData(), sql.toUtf8().constData(), 0, nullptr);
    if (LibPq().PQresultStatus(prepared) != PGRES_COMMAND_OK) {
        const auto clear = qScopeGuard([prepared] { LibPq().PQclear(prepared); });
        Raise(connection_, prepared);
    }
    LibPq().PQclear(prepared);
}

// The prepared statement lives on the server as long as the session; the connection that owns this
// object ends both together.
PgStatement::~PgStatement() {
    LibPq().PQclear(result_);
}

PgStatement::Parameter& PgStatement::At(int index) {
    if (index >= static_cast<int>(parameters_.size())) {
        parameters_.resize(static_cast<size_t>(index) + 1);
    }
    return parameters_[static_cast<size_t>(index)];
}

void PgStatement::BindNull(int index) {
    At(index) = {};
}

void PgStatement::BindText(int index, const QString& value) {
    At(index) = {value.toUtf8(), false};
}

void PgStatement::BindDouble(int index, double value) {
    // Seventeen significant digits carry every double (and so every float) exactly.
    At(index) = {QByteArray::number(value, 'g', 17), false};
}

void PgStatement::BindInteger(int index, qint64 value) {
    At(index) = {QByteArray::number(value), false};
}

void PgStatement::BindBlob(int index, const QByteArray& value) {
    // An empty capture is still a value (zero bytes), never NULL.
    At(index) = {value.isNull() ? QByteArray("") : value, true};
}

void PgStatement::Send() {
    if (!pipeline_.Enabled()) {
        RunOnce(*this);
        return;
    }
    std::vector<Parameter> parameters;
    parameters.swap(parameters_);
    pipeline_.Send(name_, parameters);
}

bool PgStatement::Step() {
    if (result_ == nullptr) {
        pipeline_.Collect();
        std::vector<const char*> values;
        std::vector<int> lengths;
        std::vector<int> formats;
        for (const Parameter& parameter : parameters_) {
            values.push_back(parameter.value ? parameter.value->constData() : nullptr);
            lengths.push_back(parameter.value ? static_cast<int>(parameter.value->size()) : 0);
            formats.push_back(parameter.binary ? 1 : 0);
        }
        result_ = LibPq().PQexecPrepared(connection_, name_.constData(), static_cast<int>(values.size()),
                                         values.data(), lengths.data(), formats.data(), 0);
        const ExecStatusType status = LibPq().PQresultStatus(result_);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            PGresult* failed = result_;
            result_ = nullptr;
            parameters_.clear();
            const auto clear = qScopeGuard([failed] { LibPq().PQclear(failed); });
            Raise(connection_, failed);
        }
        rows_ = LibPq().PQntuples(result_);
        row_ = -1;
    }
    return ++row_ < rows_;
}

void PgStatement::Reset() {
    LibPq().PQclear(result_);
    result_ = nullptr;
    parameters_.clear();
    row_ = -1;
    rows_ = 0;
}

int PgStatement::ColumnCount() const {
    return result_ != nullptr ? LibPq().PQnfields(result_) : 0;
}

QString PgStatement::ColumnName(int column) const {
    return QString::fromUtf8(LibPq().PQfname(result_, column));
}

bool PgStatement::IsNull(int column) const {
    return LibPq().PQgetisnull(result_, row_, column) != 0;
}

bool PgStatement::IsText(int column) const {
    const Oid type = LibPq().PQftype(result_, column);
    return type == kTextOid || type == kVarcharOid || type == kBpcharOid;
}

QByteArray PgStatement::Raw(int column) const {
    return QByteArray::fromRawData(LibPq().PQgetvalue(result_, row_, column),
                                   LibPq().PQgetlength(result_, row_, column));
}

QString PgStatement::ColumnText(int column) const {
    return QString::fromUtf8(LibPq().PQgetvalue(result_, row_, column),
                             LibPq().PQgetlength(result_, row_, column));
}

double PgStatement::ColumnDouble(int column) const {
    return Raw(column).toDouble();
}

qint64 PgStatement::ColumnInteger(int column) const {
    if (LibPq().PQftype(result_, column) == kBoolOid) {
        return LibPq().PQgetvalue(result_, row_, column)[0] == 't' ? 1 : 0;
    }
    const QByteArray raw = Raw(column);
    bool whole = false;
    const qint64 value = raw.toLongLong(&whole);
    return whole ? value : static_cast<qint64>(raw.toDouble());
}

QByteArray PgStatement::ColumnBlob(int column) const {
    const QByteArray raw = Raw(column);
    if (LibPq().PQftype(result_, column) != kByteaOid) {
        return QByteArray(raw.constData(), raw.size());
    }
    // The server's text form of bytea: "\x" and two hex digits per byte.
    if (raw.startsWith("\\x")) {
        return QByteArray::fromHex(raw.mid(2));
    }
    size_t length = 0;
    unsigned char* bytes =
        LibPq().PQunescapeBytea(reinterpret_cast<const unsigned char*>(raw.constData()), &length);
    QByteArray value(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
    LibPq().PQfreemem(bytes);
    return value;
}

} // namespace vantor
