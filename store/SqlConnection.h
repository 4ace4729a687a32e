#pragma once
// One SQLite connection to the database file, owned by the thread that opened it. The connection
// is closed and unregistered when the object goes away.

#include "store/SqliteStatement.h"
#include <QSqlDatabase>

#include <QSqlDatabase>
#include <QString>

#include <map>
#include <memory>
#include <stdexcept>

namespace vantor {

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
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool Open();
    void Close();
    bool IsOpen() const;
    const QString& Path() const { return path_; }
    QString LastError() const { return lastError_; }
    QSqlDatabase Database() const;

    // A statement prepared once per open connection and reused; the caller binds its values, steps
    // through it and resets it when done. Throws DatabaseError when the connection is closed or
    // the statement is refused.
    SqliteStatement& Prepared(const QString& sql);

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

    QString path_;
    Mode mode_;
    Journal journal_;
    QString name_;
    QString lastError_;
    int batchDepth_ = 0;
    std::map<QString, std::unique_ptr<SqliteStatement>> statements_;
};

// Thrown when a query cannot be executed; carries the driver's text.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

} // namespace vantor
