#include "platform/testing/PostgresCluster.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QVersionNumber>

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantor::testing {
namespace {

QString FindBinDir() {
    const QString given = qEnvironmentVariable("VANTOR_TEST_PG_BINDIR");
    if (!given.isEmpty()) {
        return given;
    }
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestVersion;
    for (const QString& entry : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QVersionNumber version = QVersionNumber::fromString(entry);
        if (QFile::exists(versions.filePath(entry + QStringLiteral("/bin/initdb"))) &&
            version > bestVersion) {
            bestVersion = version;
            best = versions.filePath(entry + QStringLiteral("/bin"));
        }
    }
    return best;
}

// A TCP port on 127.0.0.1 nobody listens on right now.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return 0;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

} // namespace

PostgresCluster& PostgresCluster::Shared() {
    // Destroyed at exit, which stops the server.
    static PostgresCluster cluster;
    return cluster;
}

PostgresCluster::PostgresCluster() {
    // The socket path must stay short (about 100 characters), so the folder is made under /tmp.
    dir_ = QTemporaryDir(QStringLiteral("/tmp/vantor-pg-XXXXXX"));
    binDir_ = FindBinDir();
    if (!dir_.isValid()) {
        error_ = QStringLiteral("cannot make a temporary folder for the test cluster");
        return;
    }
    if (binDir_.isEmpty()) {
        error_ =
            QStringLiteral("PostgreSQL's server programs are not installed (apt-get install postgresql)");
        return;
    }
    if (::geteuid() == 0) {
        runAs_ = qEnvironmentVariable("VANTOR_TEST_PG_USER", QStringLiteral("nobody"));
        const passwd* owner = ::getpwnam(runAs_.toLocal8Bit().constData());
        if (owner == nullptr) {
            error_ = QStringLiteral("the tests run as root and there is no user %1 to own the test cluster")
                         .arg(runAs_);
            return;
        }
        if (::chown(QFile::encodeName(dir_.path()).constData(), owner->pw_uid, owner->pw_gid) != 0) {
            error_ = QStringLiteral("cannot give %1 to %2").arg(dir_.path(), runAs_);
            return;
        }
    }
    const QString pwfile = dir_.filePath(QStringLiteral("pw"));
    {
        QFile file(pwfile);
        file.open(QIODevice::WriteOnly);
        file.write("vantor_test_pw\n");
    }
    if (::geteuid() == 0) {
        const passwd* owner = ::getpwnam(runAs_.toLocal8Bit().constData());
        [[maybe_unused]] const int ignored =
            ::chown(QFile::encodeName(pwfile).constData(), owner->pw_uid, owner->pw_gid);
    }
    if (!Tool(QStringLiteral("initdb"),
              {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")), QStringLiteral("-U"),
               QLatin1String(kSuperuser), QStringLiteral("--pwfile=") + pwfile, QStringLiteral("-E"),
               QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("--auth-local=trust"),
               QStringLiteral("--auth-host=scram-sha-256"), QStringLiteral("--no-sync")})) {
        return;
    }
    ready_ = Launch();
}

PostgresCluster::~PostgresCluster() {
    if (QFile::exists(dir_.filePath(QStringLiteral("data/postmaster.pid")))) {
        Tool(QStringLiteral("pg_ctl"),
             {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")), QStringLiteral("-m"),
              QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    }
}

bool PostgresCluster::Tool(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(dir_.path());
    const QString path = QDir(binDir_).filePath(program);
    if (runAs_.isEmpty()) {
        process.start(path, arguments);
    } else {
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), runAs_, QStringLiteral("--"), path} + arguments);
    }
    if (!process.waitForStarted(10000)) {
        error_ = QStringLiteral("%1 did not start: %2").arg(program, process.errorString());
        return false;
    }
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error_ =
            QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()).trimmed());
        QFile log(dir_.filePath(QStringLiteral("server.log")));
        if (log.open(QIODevice::ReadOnly)) {
            error_ += QStringLiteral("\nserver log:\n") + QString::fromLocal8Bit(log.readAll().right(4000));
        }
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return true;
}

bool PostgresCluster::Launch() {
    port_ = FreePort();
    if (port_ == 0) {
        error_ = QStringLiteral("no free local port for the test cluster");
        return false;
    }
    return Start();
}

bool PostgresCluster::Stop() {
    return Tool(QStringLiteral("pg_ctl"),
                {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                 QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
}

bool PostgresCluster::Start() {
    const int port = port_;
    // No durability needed: fsync off keeps the tests quick.
    const QString options =
        QStringLiteral("-k %1 -p %2 -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off "
                       "-c full_page_writes=off -c max_connections=60")
            .arg(dir_.path())
            .arg(port);
    return Tool(QStringLiteral("pg_ctl"),
                {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                 dir_.filePath(QStringLiteral("server.log")), QStringLiteral("-o"), options,
                 QStringLiteral("-w"), QStringLiteral("start")});
}

bool PostgresCluster::Run(const QString& database, const QString& sql) {
    return Tool(QStringLiteral("psql"),
                {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                 QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), dir_.path(), QStringLiteral("-p"),
                 QString::number(port_), QStringLiteral("-U"), QLatin1String(kSuperuser),
                 QStringLiteral("-d"), database, QStringLiteral("-c"), sql});
}

QString PostgresCluster::CreateDatabase() {
    if (!ready_) {
        return {};
    }
    const QString name = QStringLiteral("vantor_%1_%2").arg(::getpid()).arg(++databases_);
    if (!Run(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(name))) {
        return {};
    }
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
        .arg(dir_.path())
        .arg(port_)
        .arg(name, QLatin1String(kSuperuser));
}

QString PostgresCluster::TcpAddress(const QString& database, const QString& user,
                                    const QString& password) const {
    QString address = QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user).arg(port_).arg(database);
    if (!password.isEmpty()) {
        address += QStringLiteral("?password=") + password;
    }
    return address;
}

} // namespace vantor::testing
