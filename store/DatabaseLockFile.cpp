#include "store/DatabaseLockFile.h"

#include "store/Log.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

constexpr const char* kTimeFormat = "yyyy-MM-dd HH:mm:ss";
constexpr std::chrono::milliseconds kLockRetryPause{50};

// Only one thread of this process changes a lock file at a time; the byte-range lock keeps the
// other processes out.
std::mutex& ProcessWideMutex() {
    static std::mutex mutex;
    return mutex;
}

bool ProcessRunning(qint64 pid) {
    if (pid <= 0) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

QString Clean(QString name) {
    for (QChar& c : name) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            c = QLatin1Char(' ');
        }
    }
    return name.trimmed();
}

bool SameComputer(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// An open, exclusively (or shared-) locked lock file. The lock belongs to the open file, so it goes
// when the descriptor is closed.
class LockedFile {
public:
    ~LockedFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    LockedFile() = default;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    enum class Result { Locked, Missing, Failed };

    // Opens and locks the file at `path`. A file replaced or removed by another program while this
    // one waited for the lock is opened again, so the lock always covers the file at the path.
    Result Lock(const QByteArray& path, bool write) {
        const auto deadline = std::chrono::steady_clock::now() + kLockWaitLimit;
        for (;;) {
            fd_ = ::open(path.constData(), (write ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC, 0660);
            if (fd_ < 0) {
                return errno == ENOENT ? Result::Missing : Result::Failed;
            }
            struct flock range {};
            range.l_type = write ? F_WRLCK : F_RDLCK;
            range.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
            const int command = F_OFD_SETLK;
#else
            const int command = F_SETLK;
#endif
            while (::fcntl(fd_, command, &range) != 0) {
                if ((errno != EAGAIN && errno != EACCES && errno != EINTR) ||
                    std::chrono::steady_clock::now() >= deadline) {
                    qCWarning(lcStore) << "cannot lock" << path << std::strerror(errno);
                    return Result::Failed;
                }
                std::this_thread::sleep_for(kLockRetryPause);
            }
            struct stat held {};
            struct stat named {};
            if (::fstat(fd_, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                return Result::Locked;
            }
            ::close(fd_);
            fd_ = -1;
            if (std::chrono::steady_clock::now() >= deadline) {
                return Result::Failed;
            }
        }
    }

    std::optional<QByteArray> ReadAll() const {
        QByteArray text;
        char buffer[4096];
        off_t offset = 0;
        for (;;) {
            const ssize_t n = ::pread(fd_, buffer, sizeof buffer, offset);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return std::nullopt;
            }
            if (n == 0) {
                return text;
            }
            text.append(buffer, static_cast<qsizetype>(n));
            offset += n;
        }
    }

    int Descriptor() const {
        return fd_;
    }

private:
    int fd_ = -1;
};

bool WriteFully(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += n;
    }
    return true;
}

// Replaces the file at `path` with `bytes`: written beside it, flushed to the server, renamed over
// it. The lock file keeps the permissions of the file it replaces.
bool Replace(const QByteArray& path, const QByteArray& bytes, int lockedFd) {
    const QByteArray temporary =
        path + ".tmp-" + QUuid::createUuid().toString(QUuid::Id128).left(12).toLatin1();
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0660);
    if (fd < 0) {
        return false;
    }
    struct stat held {};
    if (::fstat(lockedFd, &held) == 0) {
        ::fchmod(fd, held.st_mode & 07777);
    }
    const bool written = WriteFully(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), path.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

} // namespace

QString ThisComputerName() {
    const QString overridden = Clean(qEnvironmentVariable("VANTOR_COMPUTER_NAME"));
    if (!overridden.isEmpty()) {
        return overridden;
    }
    const QString host = Clean(QSysInfo::machineHostName());
    return host.isEmpty() ? QStringLiteral("localhost") : host;
}

QString LockFilePathFor(const QString& databaseFile) {
    const QFileInfo info(databaseFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".ldb"));
}

std::vector<LockFileLine> ParseLockFile(const QByteArray& text) {
    std::vector<LockFileLine> lines;
    for (const QByteArray& raw : text.split('\n')) {
        const QList<QByteArray> fields = raw.trimmed().split('\t');
        if (fields.size() != 3) {
            continue;
        }
        LockFileLine line;
        line.computer = Clean(QString::fromUtf8(fields[0]));
        bool number = false;
        line.pid = fields[1].toLongLong(&number);
        line.heartbeat = QDateTime::fromString(QString::fromLatin1(fields[2]), QLatin1String(kTimeFormat));
        line.heartbeat.setTimeSpec(Qt::UTC);
        if (!line.computer.isEmpty() && number && line.heartbeat.isValid()) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

QByteArray FormatLockFile(const std::vector<LockFileLine>& lines) {
    QByteArray text;
    for (const LockFileLine& line : lines) {
        text += Clean(line.computer).toUtf8() + '\t' + QByteArray::number(line.pid) + '\t' +
                line.heartbeat.toUTC().toString(QLatin1String(kTimeFormat)).toLatin1() + '\n';
    }
    return text;
}

bool IsStale(const LockFileLine& line, const QDateTime& now, const QString& computer) {
    // A heartbeat ahead of this clock (another computer's clock runs fast) counts as fresh.
    if (line.heartbeat.secsTo(now) > kLockStaleAfter.count()) {
        return true;
    }
    return SameComputer(line.computer, computer) && !ProcessRunning(line.pid);
}

QString UserListText(const QStringList& computers) {
    if (computers.isEmpty()) {
        return UiText(text::NoUsersFound);
    }
    QString list;
    for (int i = 0; i < computers.size(); ++i) {
        list += QString::asprintf("%s%d: %s\r\n", qUtf8Printable(UiText(text::UserLabel)), i + 1,
                                  qUtf8Printable(computers[i]));
    }
    return list;
}

DatabaseLockFile::DatabaseLockFile(const QString& databaseFile, QString computer, qint64 pid)
    : path_(LockFilePathFor(databaseFile)), computer_(Clean(std::move(computer))),
      pid_(pid != 0 ? pid : static_cast<qint64>(::getpid())) {}

LockFileUsers DatabaseLockFile::Users() {
    if (auto users = Update(Change::Purge)) {
        return *users;
    }
    // The folder cannot be written: read what is there without dropping anything.
    LockedFile file;
    LockFileUsers users;
    if (file.Lock(QFile::encodeName(path_), false) == LockedFile::Result::Locked) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const LockFileLine& line : ParseLockFile(file.ReadAll().value_or(QByteArray()))) {
            if (!IsStale(line, now, computer_) && !SameComputer(line.computer, computer_) &&
                !users.computers.contains(line.computer)) {
                users.computers << line.computer;
            }
        }
    }
    users.open = !users.computers.isEmpty();
    users.text = UserListText(users.computers);
    return users;
}

std::optional<LockFileUsers> DatabaseLockFile::Register() {
    return Update(Change::Add);
}

bool DatabaseLockFile::Heartbeat() {
    return Update(Change::Renew).has_value();
}

bool DatabaseLockFile::Unregister() {
    return Update(Change::Remove).has_value();
}

std::optional<LockFileUsers> DatabaseLockFile::Update(Change change) {
    const std::lock_guard guard(ProcessWideMutex());
    const QByteArray path = QFile::encodeName(path_);
    LockedFile file;
    // Reading and removing need no lock file where there is none; adding creates it.
    const bool create = change == Change::Add || change == Change::Renew;
    if (!create && !QFileInfo::exists(path_)) {
        LockFileUsers nobody;
        nobody.text = UserListText({});
        return nobody;
    }
    switch (file.Lock(path, true)) {
    case LockedFile::Result::Locked:
        break;
    case LockedFile::Result::Missing: {
        LockFileUsers nobody;
        nobody.text = UserListText({});
        return nobody;
    }
    case LockedFile::Result::Failed:
        return std::nullopt;
    }
    const std::optional<QByteArray> text = file.ReadAll();
    if (!text) {
        return std::nullopt;
    }
    const std::vector<LockFileLine> read = ParseLockFile(*text);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::vector<LockFileLine> kept;
    LockFileUsers users;
    bool own = false;
    for (const LockFileLine& line : read) {
        if (IsStale(line, now, computer_)) {
            continue;
        }
        const bool mine = SameComputer(line.computer, computer_) && line.pid == pid_;
        if (mine) {
            if (own || change == Change::Remove) {
                continue; // one line per program
            }
            own = true;
            kept.push_back(change == Change::Renew ? LockFileLine{computer_, pid_, now} : line);
            continue;
        }
        if (!SameComputer(line.computer, computer_) && !users.computers.contains(line.computer)) {
            users.computers << line.computer;
        }
        kept.push_back(line);
    }
    users.open = !users.computers.isEmpty();
    users.text = UserListText(users.computers);
    const bool add = (change == Change::Add && !users.open) || change == Change::Renew;
    if (add && !own) {
        kept.push_back(LockFileLine{computer_, pid_, now});
    }
    const QByteArray written = FormatLockFile(kept);
    if (written == *text && !kept.empty()) {
        return users;
    }
    if (kept.empty()) {
        // Removed while still locked: a program waiting for this file finds it gone and starts over.
        if (::unlink(path.constData()) != 0 && errno != ENOENT) {
            return std::nullopt;
        }
        return users;
    }
    if (!Replace(path, written, file.Descriptor())) {
        qCWarning(lcStore) << "cannot write" << path_;
        return std::nullopt;
    }
    return users;
}

DatabaseLockHolder::DatabaseLockHolder(const QString& databaseFile, std::chrono::milliseconds interval)
    : file_(databaseFile) {
    found_ = file_.Register();
    held_ = found_ && !found_->open;
    if (held_) {
        beat_ = std::thread([this, interval] { Beat(interval); });
    }
}

DatabaseLockHolder::~DatabaseLockHolder() {
    if (!held_) {
        return;
    }
    {
        const std::lock_guard guard(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    beat_.join();
    file_.Unregister();
}

void DatabaseLockHolder::Beat(std::chrono::milliseconds interval) {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, interval, [this] { return stopping_; })) {
        lock.unlock();
        if (!file_.Heartbeat()) {
            qCWarning(lcStore) << "cannot renew the line in" << file_.Path();
        }
        lock.lock();
    }
}

} // namespace vantor
