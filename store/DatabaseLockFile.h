#pragma once
// Who has a database open: the lock file beside the database ("VantorV1.ldb" next to
// "VantorV1.mdb") holds one line per program that has it open,
// "COMPUTER<TAB>PID<TAB>YYYY-MM-DD HH:MM:SS" with the last heartbeat in UTC.
//
// Every change happens under an exclusive byte-range lock of the lock file and is written through a
// temporary file that replaces it, so a reader never sees half a file. A line whose heartbeat is
// older than kLockStaleAfter, or a line of this computer whose program is no longer running, is
// stale: the next program that locks the file drops it.

#include <QDateTime>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vantor {

// How often a program that holds a database open renews its line.
inline constexpr std::chrono::milliseconds kLockHeartbeatInterval{30000};
// A line not renewed for this long belongs to a program that is gone.
inline constexpr std::chrono::seconds kLockStaleAfter{120};
// How long a program waits for another one's exclusive lock of the lock file.
inline constexpr std::chrono::milliseconds kLockWaitLimit{10000};

struct LockFileLine {
    QString computer;
    qint64 pid = 0;
    QDateTime heartbeat; // UTC
};

// This computer's name in the lock file: VANTOR_COMPUTER_NAME when set, else the host name.
QString ThisComputerName();

// The lock file that belongs to a database file: the same name with ".ldb" for its extension.
QString LockFilePathFor(const QString& databaseFile);

// "Lines" of the lock file as text and back; a line that cannot be read is dropped.
std::vector<LockFileLine> ParseLockFile(const QByteArray& text);
QByteArray FormatLockFile(const std::vector<LockFileLine>& lines);

// Whether a line belongs to a program that is gone, judged at `now` from `computer`.
bool IsStale(const LockFileLine& line, const QDateTime& now, const QString& computer);

struct LockFileUsers {
    bool open = false;     // another computer has the database open
    QStringList computers; // distinct names of the other computers, in file order
    QString text;          // "User1: NAME\r\n..." or "No Users found"
};

// Formats the user list: each distinct name once as "%s%d: %s\r\n" with "User", its position and
// the name; "No Users found" when there is none.
QString UserListText(const QStringList& computers);

class DatabaseLockFile {
public:
    explicit DatabaseLockFile(const QString& databaseFile, QString computer = ThisComputerName(),
                              qint64 pid = 0 /* 0: this process */);

    const QString& Path() const { return path_; }

    // The other computers that have the database open. Stale lines are dropped on the way when the
    // file can be written; a missing lock file means nobody.
    LockFileUsers Users();

    // Adds this program's line unless another computer has a fresh line; checked and added under
    // one lock, so two computers never both get in. nullopt when the lock file could not be
    // locked or written.
    std::optional<LockFileUsers> Register();
    // Renews this program's line (adds it again if another program dropped it); false on failure.
    bool Heartbeat();
    // Removes this program's line; the file goes when no line is left.
    bool Unregister();

private:
    enum class Change { Add, Renew, Remove, Purge };
    std::optional<LockFileUsers> Update(Change change);

    QString path_;
    QString computer_;
    qint64 pid_;
};

// Holds a program's line in a database's lock file for as long as it lives: registered on
// creation, renewed from a background thread every `interval`, removed on destruction.
class DatabaseLockHolder {
public:
    // Registers; `users` tells whether another computer refused it (the holder is then not held).
    explicit DatabaseLockHolder(const QString& databaseFile,
                                std::chrono::milliseconds interval = kLockHeartbeatInterval);
    ~DatabaseLockHolder();
    DatabaseLockHolder(const DatabaseLockHolder&) = delete;
    DatabaseLockHolder& operator=(const DatabaseLockHolder&) = delete;

    // True when the line was added and is being renewed.
    bool Held() const { return held_; }
    // What registering found; nullopt when the lock file could not be used at all.
    const std::optional<LockFileUsers>& Found() const { return found_; }

private:
    void Beat(std::chrono::milliseconds interval);

    DatabaseLockFile file_;
    std::optional<LockFileUsers> found_;
    bool held_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread beat_;
};

} // namespace vantor
