#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace vantor {
namespace {

// A second launch sends the path as UTF-8 ended by a NUL (which no path contains); the running
// instance answers one byte.
constexpr char kPathEnd = '\0';
constexpr char kWindowTookIt = '1';
constexpr char kNoWindow = '0';
// A request longer than this is not a path; the connection is dropped.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), path_(SocketPath(name)), lock_(path_ + QStringLiteral(".lock")) {
    // The running instance may run for weeks: its lock never goes stale by age, only by the death
    // of its owner.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_) {
        server_->close();
        lock_.unlock();
    }
}

QString SingleInstance::SocketPath(const QString& name) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty()) {
        return QDir(folder).filePath(name);
    }
    // The shared temporary folder: the user's id keeps two users' instances apart.
#ifdef Q_OS_UNIX
    return QDir(QDir::tempPath()).filePath(QStringLiteral("%1-%2").arg(name).arg(::getuid()));
#else
    return QDir(QDir::tempPath()).filePath(name);
#endif
}

bool SingleInstance::Claim() {
    if (server_) {
        return true;
    }
    if (!lock_.tryLock(0)) {
        return false;
    }
    // Whatever socket is left at the path belongs to a process that no longer holds the lock.
    QLocalServer::removeServer(path_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    // Should listening fail, this process still runs alone; later launches are told no window
    // was found rather than starting a second instance.
    server_->listen(path_);
    return true;
}

void SingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const qint64 end = socket->peek(kMaxRequestBytes).indexOf(kPathEnd);
            if (end < 0) {
                if (socket->bytesAvailable() >= kMaxRequestBytes) {
                    socket->abort();
                }
                return;
            }
            const QString path = QString::fromUtf8(socket->read(end));
            socket->read(1);
            socket->write(QByteArray(1, windowReady_ ? kWindowTookIt : kNoWindow));
            socket->flush();
            socket->disconnectFromServer();
            if (!windowReady_) {
                return;
            }
            emit ActivationRequested();
            if (!path.isEmpty()) {
                emit DataFileReceived(path);
            }
        });
    }
}

bool SingleInstance::Forward(const QString& name, const QString& dataFile,
                             std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(SocketPath(name));
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    socket.write(dataFile.toUtf8() + kPathEnd);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    return socket.read(1).at(0) == kWindowTookIt;
}

} // namespace vantor
