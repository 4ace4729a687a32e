#include "store/SqlConnection.h"

#include "store/Log.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <stdexcept>

namespace vantor {
namespace {

// How long a statement waits for another connection's write lock before it fails.
constexpr int kBusyTimeoutMs = 10000;

} // namespace

SqlConnection::SqlConnection(QString path, Mode mode, Journal journal)
    : path_(std::move(path)), mode_(mode), journal_(journal),
      name_(QStringLiteral("vantor-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

SqlConnection::~SqlConnection() {
    Close();
    QSqlDatabase::removeDatabase(name_);
}

bool SqlConnection::Open() {
    Close();
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

void SqlConnection::Close() {
    statements_.clear();
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
    return QSqlDatabase::database(name_, false);
}

bool SqlConnection::Begin(Batch::Intent intent) {
    if (intent == Batch::Intent::Read) {
        return Database().transaction();
    }
    QSqlQuery begin(Database());
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        lastError_ = begin.lastError().text();
        qCWarning(lcStore, "cannot begin a write transaction: %s", qUtf8Printable(lastError_));
        return false;
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

SqliteStatement& SqlConnection::Prepared(const QString& sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        sqlite3* handle = nullptr;
        const QVariant driverHandle = Database().driver()->handle();
        if (IsOpen() && driverHandle.isValid() && qstrcmp(driverHandle.typeName(), "sqlite3*") == 0) {
            handle = *static_cast<sqlite3* const*>(driverHandle.constData());
        }
        found = statements_.emplace(sql, std::make_unique<SqliteStatement>(handle, sql)).first;
    }
    return *found->second;
}

} // namespace vantor
