#pragma once
// One connection to the database, owned by the thread that opened it: an SQLite file, or a
// PostgreSQL server through Qt's QPSQL driver. The connection is closed and unregistered when the
// object goes away.

#include "store/ServerAddress.h"
#include "store/SqlDialect.h"
#include "store/SqlStatement.h"

#include <QSqlDatabase>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

namespace vantor {

class PgPipeline;

class SqlConnection {
public:
    enum class Mode {
        Existing, // the file must exist; it is never created by opening
        Create,   // a missing file is created
    };
    enum class Journal {
        WriteAhead, // local database
        Rollback,   // database in a shared folder (write-ahead logging does not work across machines)
    };

    explicit SqlConnection(QString path, Mode mode = Mode::Existing, Journal journal = Journal::WriteAhead);
    // A connection to a server; `applicationName` is what the server's session list shows for it
    // unless the address names one.
    explicit SqlConnection(ServerAddress server, QString applicationName = {});
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool Open();
    void Close();
    bool IsOpen() const;
    const QString& Path() const { return path_; }
    QString LastError() const { return lastError_; }
    QSqlDatabase Database() const;
    const SqlDialect& Dialect() const { return SqlDialect::Of(engine_); }
    bool IsServer() const { return engine_ == SqlEngine::Postgres; }
    const std::optional<ServerAddress>& Server() const { return server_; }
    // True when the server connection was open and has broken (the server stopped or the network
    // went); a file connection never reports it.
    bool Lost() const;

    // A statement prepared once per open connection and reused; the caller binds its values, steps
    // through it and resets it when done. The text is in the bracketed form with `?` marks; the
    // dialect turns it into the engine's. Throws DatabaseError when the connection is closed or
    // the statement is refused.
    SqlStatement& Prepared(const QString& sql);
    // Runs one statement without result rows (schema work); throws DatabaseError when refused.
    void Execute(const QString& sql);

    // Groups writes into one transaction. Batches nest: only the outermost one begins and commits.
    // A batch always commits what was written, also when the work inside stopped early, because
    // every step of the work stands on its own (a cascade that stops keeps the rows it deleted).
    class Batch {
    public:
        enum class Intent {
            Write, // takes the write lock at once, waiting for it within the busy time-out
            Read,  // a consistent view for reading only; other writers are not kept waiting
        };
        explicit Batch(SqlConnection& connection, Intent intent = Intent::Write);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SqlConnection& connection_;
        bool began_ = false;
    };

    // While it lives, statements run with SqlStatement::Send on a server connection are pipelined
    // (sent without waiting for each outcome): for bulk writes inside a batch. Flush() waits for
    // them and throws DatabaseError for the first that failed; the outermost scope's end collects
    // whatever is left without throwing (a failure then still makes the server refuse the commit).
    // Has no effect on a file connection, whose statements never wait on a network.
    class DeferredWrites {
    public:
        explicit DeferredWrites(SqlConnection& connection);
        ~DeferredWrites();
        DeferredWrites(const DeferredWrites&) = delete;
        DeferredWrites& operator=(const DeferredWrites&) = delete;
        void Flush();

    private:
        SqlConnection& connection_;
    };
    // True inside DeferredWrites on a connection that pipelines.
    bool DefersWrites() const;

    // All-or-nothing writes: everything written while it lives (nested batches included) is kept
    // only when Commit() is called; otherwise it is rolled back when it goes away. Inside an outer
    // batch it only joins it.
    class Transaction {
    public:
        explicit Transaction(SqlConnection& connection);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

        // False when the transaction could not begin or commit (nothing is then kept). Inside an
        // outer batch the outer one decides, and this answers true.
        bool Commit();
        // True when the writes are inside a transaction (this one began, or an outer batch holds
        // one); false when it could not begin, so a write now would stand alone.
        bool Active() const { return !outermost_ || began_; }

    private:
        SqlConnection& connection_;
        bool outermost_ = false;
        bool began_ = false;
        bool done_ = false;
    };

private:
    // Begins the outermost transaction. A write transaction begins immediate: SQLite calls the busy
    // handler only while a lock is being taken at the start, never for a reader that later asks
    // for the write lock (that one fails at once), so a deferred transaction that reads before it
    // writes would not wait for another writer.
    bool Begin(Batch::Intent intent);
    bool OpenServer();

    QString path_;
    std::optional<ServerAddress> server_;
    QString applicationName_;
    SqlEngine engine_ = SqlEngine::Sqlite;
    Mode mode_;
    Journal journal_;
    QString name_;
    QString lastError_;
    int batchDepth_ = 0;
    int deferDepth_ = 0;
    // Declared before the statements, which refer to it, so it outlives them.
    std::unique_ptr<PgPipeline> pipeline_;
    std::map<QString, std::unique_ptr<SqlStatement>> statements_;
    // Collects pipelined writes before anything else uses the server connection; never throws.
    void DrainWrites() const;
    // On a server: kept plans restricted to index lookups while bulk writes run, else plans made
    // for each run's values.
    void PlanForBulk(bool bulk);
};

// Thrown when a query cannot be executed; carries the driver's text, and whether the database
// itself is gone (a server connection broke) rather than the statement refused.
class DatabaseError : public std::runtime_error {
public:
    enum class Kind { Refused, Unavailable };
    explicit DatabaseError(const QString& text, Kind kind = Kind::Refused)
        : std::runtime_error(text.toStdString()), kind_(kind) {}
    bool Unavailable() const { return kind_ == Kind::Unavailable; }

private:
    Kind kind_;
};

} // namespace vantor
