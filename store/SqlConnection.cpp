#include "store/SqlConnection.h"

#include "store/Log.h"
#include "store/PgPipeline.h"
#include "store/PgStatement.h"
#include "store/SqliteStatement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUuid>

#include <array>
#include <stdexcept>

#include "store/LibPq.h"

namespace vantor {
namespace {

// How long a statement waits for another connection's write lock before it fails.
constexpr int kBusyTimeoutMs = 10000;

// The server's notices ("relation already exists, skipping") go to the log, not to standard error.
void LogNotice(void*, const char* message) {
    qCDebug(lcStore, "server: %s", message);
}

// Prepared statements are planned for their values every time: a generic plan made while a table
// was small (ORDER BY the row identity with a LIMIT) walks the whole table for every lookup of a
// new row once it has grown, which turns a bulk import quadratic.
constexpr const char* kCustomPlans = "SET plan_cache_mode TO force_custom_plan";

pg_conn* ServerHandle(const QSqlDatabase& db) {
    const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0)) {
        return nullptr;
    }
    return *static_cast<pg_conn* const*>(handle.constData());
}

} // namespace

SqlConnection::SqlConnection(QString path, Mode mode, Journal journal)
    : path_(std::move(path)), mode_(mode), journal_(journal),
      name_(QStringLiteral("vantor-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

SqlConnection::SqlConnection(ServerAddress server, QString applicationName)
    : path_(server.Describe()), server_(std::move(server)), applicationName_(std::move(applicationName)),
      engine_(SqlEngine::Postgres), mode_(Mode::Existing), journal_(Journal::WriteAhead),
      name_(QStringLiteral("vantor-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

SqlConnection::~SqlConnection() {
    Close();
    QSqlDatabase::removeDatabase(name_);
}

bool SqlConnection::Open() {
    Close();
    if (server_) {
        return OpenServer();
    }
    if (mode_ == Mode::Existing && !QFileInfo(path_).isFile()) {
        lastError_ = QStringLiteral("%1 does not exist").arg(path_);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::contains(name_)
                          ? QSqlDatabase::database(name_, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        lastError_ = db.lastError().text();
        return false;
    }
    QSqlQuery pragma(db);
    const QString journal =
        journal_ == Journal::WriteAhead ? QStringLiteral("WAL") : QStringLiteral("DELETE");
    // A file that is not a database fails here, not at the first query.
    if (!pragma.exec(QStringLiteral("PRAGMA journal_mode=%1").arg(journal))) {
        lastError_ = pragma.lastError().text();
        pragma.finish();
        db.close();
        return false;
    }
    pragma.finish();
    // With write-ahead logging, NORMAL keeps the file consistent after a crash and spares an fsync
    // per transaction; the last transactions before a power loss may be lost.
    if (journal_ == Journal::WriteAhead) {
        pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        pragma.finish();
    }
    return true;
}

bool SqlConnection::OpenServer() {
    QSqlDatabase db = QSqlDatabase::contains(name_)
                          ? QSqlDatabase::database(name_, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    if (!db.isValid()) {
        lastError_ = QStringLiteral("the PostgreSQL driver of Qt Sql (QPSQL) is not installed");
        qCWarning(lcStore, "%s", qUtf8Printable(lastError_));
        return false;
    }
    ServerAddress address = *server_;
    if (address.Option(QStringLiteral("application_name")).isEmpty()) {
        const QString program =
            applicationName_.isEmpty() ? QCoreApplication::applicationName() : applicationName_;
        address.SetOption(QStringLiteral("application_name"), QStringLiteral("%1 on %2 (%3)")
                                                                  .arg(program, QSysInfo::machineHostName())
                                                                  .arg(QCoreApplication::applicationPid()));
    }
    if (address.Option(QStringLiteral("connect_timeout")).isEmpty()) {
        address.SetOption(QStringLiteral("connect_timeout"), QString::number(kServerConnectTimeoutSeconds));
    }
    // Host, database, user and password through the driver's fields; every other libpq option
    // (TLS, time-outs, service) as it is.
    db.setHostName(address.Option(QStringLiteral("host")));
    db.setDatabaseName(address.Option(QStringLiteral("dbname")));
    db.setUserName(address.Option(QStringLiteral("user")));
    db.setPassword(address.Option(QStringLiteral("password")));
    const QString port = address.Option(QStringLiteral("port"));
    db.setPort(port.isEmpty() ? -1 : port.toInt());
    QStringList options;
    for (const auto& [key, value] : address.Options()) {
        if (key != QLatin1String("host") && key != QLatin1String("dbname") && key != QLatin1String("user") &&
            key != QLatin1String("password") && key != QLatin1String("port")) {
            options << key + QLatin1Char('=') + QuotedConnectionValue(value);
        }
    }
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        lastError_ = db.lastError().databaseText().trimmed();
        if (lastError_.isEmpty()) {
            lastError_ = db.lastError().text();
        }
        qCWarning(lcStore, "cannot connect to %s: %s", qUtf8Printable(path_), qUtf8Printable(lastError_));
        return false;
    }
    pg_conn* handle = ServerHandle(db);
    if (handle == nullptr) {
        lastError_ = QStringLiteral("the PostgreSQL driver gives no connection handle");
        db.close();
        return false;
    }
    LibPq().PQsetNoticeProcessor(handle, LogNotice, nullptr);
    // Dates travel as "YYYY-MM-DD HH:MM:SS" both ways, as in the local file.
    LibPq().PQclear(LibPq().PQexec(handle, "SET DateStyle TO ISO, YMD"));
    LibPq().PQclear(LibPq().PQexec(handle, "SET client_encoding TO 'UTF8'"));
    LibPq().PQclear(LibPq().PQexec(handle, kCustomPlans));
    return true;
}

bool SqlConnection::Lost() const {
    if (!server_ || !QSqlDatabase::contains(name_)) {
        return false;
    }
    const QSqlDatabase db = QSqlDatabase::database(name_, false);
    pg_conn* handle = db.isOpen() ? ServerHandle(db) : nullptr;
    return handle != nullptr && LibPq().PQstatus(handle) != CONNECTION_OK;
}

void SqlConnection::Close() {
    if (pipeline_) {
        pipeline_->Finish();
    }
    statements_.clear();
    pipeline_.reset();
    if (QSqlDatabase::contains(name_)) {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isOpen()) {
            db.close();
        }
    }
    batchDepth_ = 0;
}

bool SqlConnection::IsOpen() const {
    return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

QSqlDatabase SqlConnection::Database() const {
    DrainWrites();
    return QSqlDatabase::database(name_, false);
}

void SqlConnection::DrainWrites() const {
    if (pipeline_) {
        pipeline_->Drain();
    }
}

// Bulk writes run the same few statements thousands of times: planning each run anew costs the
// server more than running it. Their plans are kept, and kept to index lookups, since a plan made
// while a table is still small would otherwise scan it whole.
void SqlConnection::PlanForBulk(bool bulk) {
    pg_conn* handle = IsOpen() ? ServerHandle(Database()) : nullptr;
    if (handle == nullptr) {
        return;
    }
    static constexpr std::array<const char*, 2> kBulk{"SET plan_cache_mode TO auto",
                                                      "SET enable_seqscan TO off"};
    static constexpr std::array<const char*, 2> kSingle{kCustomPlans, "RESET enable_seqscan"};
    for (const char* setting : bulk ? kBulk : kSingle) {
        LibPq().PQclear(LibPq().PQexec(handle, setting));
    }
}

bool SqlConnection::DefersWrites() const {
    return deferDepth_ > 0 && pipeline_ && pipeline_->Enabled();
}

SqlConnection::DeferredWrites::DeferredWrites(SqlConnection& connection) : connection_(connection) {
    if (connection_.deferDepth_++ == 0 && connection_.server_) {
        if (!connection_.pipeline_) {
            connection_.pipeline_ = std::make_unique<PgPipeline>(
                connection_.IsOpen() ? ServerHandle(QSqlDatabase::database(connection_.name_, false))
                                     : nullptr);
        }
        connection_.pipeline_->SetEnabled(true);
        connection_.PlanForBulk(true);
    }
}

SqlConnection::DeferredWrites::~DeferredWrites() {
    if (--connection_.deferDepth_ == 0 && connection_.pipeline_) {
        connection_.pipeline_->Finish();
        connection_.pipeline_->SetEnabled(false);
        connection_.PlanForBulk(false);
    }
}

void SqlConnection::DeferredWrites::Flush() {
    if (connection_.pipeline_) {
        connection_.pipeline_->Collect();
    }
}

bool SqlConnection::Begin(Batch::Intent intent) {
    QSqlDatabase db = Database();
    if (intent == Batch::Intent::Read) {
        return db.transaction();
    }
    if (engine_ == SqlEngine::Sqlite) {
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            lastError_ = begin.lastError().text();
            qCWarning(lcStore, "cannot begin a write transaction: %s", qUtf8Printable(lastError_));
            return false;
        }
        return true;
    }
    if (!db.transaction()) {
        lastError_ = db.lastError().text();
        qCWarning(lcStore, "cannot begin a write transaction: %s", qUtf8Printable(lastError_));
        return false;
    }
    // The server's writers take their turn one at a time, as SQLite's write lock makes them.
    for (const QString& statement : Dialect().AfterBeginWrite()) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            lastError_ = query.lastError().text();
            qCWarning(lcStore, "cannot begin a write: %s", qUtf8Printable(lastError_));
            db.rollback();
            return false;
        }
    }
    return true;
}

SqlConnection::Batch::Batch(SqlConnection& connection, Intent intent) : connection_(connection) {
    if (connection_.batchDepth_++ == 0 && connection_.IsOpen()) {
        began_ = connection_.Begin(intent);
    }
}

SqlConnection::Batch::~Batch() {
    if (connection_.batchDepth_ > 0 && --connection_.batchDepth_ == 0 && began_) {
        QSqlDatabase db = connection_.Database();
        if (!db.commit()) {
            db.rollback();
        }
    }
}

SqlConnection::Transaction::Transaction(SqlConnection& connection) : connection_(connection) {
    outermost_ = connection_.batchDepth_++ == 0;
    if (outermost_ && connection_.IsOpen()) {
        began_ = connection_.Begin(Batch::Intent::Write);
    }
}

SqlConnection::Transaction::~Transaction() {
    if (connection_.batchDepth_ > 0) {
        --connection_.batchDepth_;
    }
    if (began_ && !done_) {
        connection_.Database().rollback();
    }
}

bool SqlConnection::Transaction::Commit() {
    if (!outermost_) {
        return true;
    }
    if (!began_ || done_) {
        return false;
    }
    done_ = true;
    QSqlDatabase db = connection_.Database();
    if (!db.commit()) {
        db.rollback();
        return false;
    }
    return true;
}

SqlStatement& SqlConnection::Prepared(const QString& sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        std::unique_ptr<SqlStatement> statement;
        if (server_) {
            pg_conn* handle = IsOpen() ? ServerHandle(Database()) : nullptr;
            if (!pipeline_) {
                pipeline_ = std::make_unique<PgPipeline>(handle);
            }
            statement = std::make_unique<PgStatement>(handle, *pipeline_,
                                                      QStringLiteral("vantor_%1").arg(statements_.size() + 1),
                                                      Dialect().Translate(sql));
        } else {
            sqlite3* handle = nullptr;
            const QVariant driverHandle = Database().driver()->handle();
            if (IsOpen() && driverHandle.isValid() && qstrcmp(driverHandle.typeName(), "sqlite3*") == 0) {
                handle = *static_cast<sqlite3* const*>(driverHandle.constData());
            }
            statement = std::make_unique<SqliteStatement>(handle, sql);
        }
        found = statements_.emplace(sql, std::move(statement)).first;
    }
    return *found->second;
}

void SqlConnection::Execute(const QString& sql) {
    if (!IsOpen()) {
        throw DatabaseError(QStringLiteral("the database is not open"), DatabaseError::Kind::Unavailable);
    }
    QSqlQuery query(Database());
    if (!query.exec(Dialect().Translate(sql))) {
        throw DatabaseError(query.lastError().text(),
                            Lost() ? DatabaseError::Kind::Unavailable : DatabaseError::Kind::Refused);
    }
}

} // namespace vantor
