#pragma once
// A throw-away PostgreSQL cluster for the tests: initdb into a temporary folder, the server on a
// free local port and a Unix socket in that folder, stopped and removed when the test program
// ends. When the tests run as root the cluster belongs to an unprivileged account ("nobody", or
// $VANTOR_TEST_PG_USER), as the server refuses to run as root. The binaries come from
// $VANTOR_TEST_PG_BINDIR, else the newest /usr/lib/postgresql/*/bin.
//
// Local socket connections are trusted; TCP connections need the password of their role, so the
// tests can check a wrong password.

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace vantor::testing {

class PostgresCluster {
public:
    // The program's cluster, started on first use. Never null; check Ready().
    static PostgresCluster& Shared();

    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    bool Ready() const { return ready_; }
    // Why the cluster could not start (with the server's log), for a failing test's message.
    const QString& Error() const { return error_; }

    // A fresh empty database; its connection string over the socket (trusted, as the superuser).
    // Empty with Error() set when it cannot be made.
    QString CreateDatabase();
    // The connection string over TCP (127.0.0.1) for `database` as `user` with `password`.
    QString TcpAddress(const QString& database, const QString& user, const QString& password = {}) const;
    // Runs SQL as the superuser on `database` through psql; false (Error() set) when it fails.
    bool Run(const QString& database, const QString& sql);

    // Stops the server (fast shutdown, as when it is taken down for maintenance) and starts it again.
    bool Stop();
    bool Start();

    QString SocketFolder() const { return dir_.path(); }
    int Port() const { return port_; }
    static constexpr const char* kSuperuser = "vantor_test";

private:
    PostgresCluster();
    bool Launch();
    // Runs a program of the server's bin folder, as the cluster's owner; false with Error() set.
    bool Tool(const QString& program, const QStringList& arguments, int timeoutMs = 60000);

    QTemporaryDir dir_;
    QString binDir_;
    QString runAs_;
    int port_ = 0;
    int databases_ = 0;
    bool ready_ = false;
    QString error_;
};

} // namespace vantor::testing
