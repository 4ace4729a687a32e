#include "platform/OwnerOnlyFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

constexpr mode_t kOwnerOnlyFile = S_IRUSR | S_IWUSR;
constexpr mode_t kOwnerOnlyFolder = S_IRWXU;
constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;

bool Fail(QString* error, const QString& what, const QString& path) {
    if (error != nullptr) {
        *error = QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return false;
}

} // namespace

// The file's folder, its missing parents made as QDir makes them and the folder itself 0700.
bool EnsureFolderOf(const QString& path, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir()) {
        return true;
    }
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent)) {
        errno = EACCES;
        return Fail(error, QStringLiteral("Cannot create the folder"), parent);
    }
    if (::mkdir(QFile::encodeName(folder).constData(), kOwnerOnlyFolder) != 0 && errno != EEXIST) {
        return Fail(error, QStringLiteral("Cannot create the folder"), folder);
    }
    return true;
}

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const QByteArray& content) {
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t wrote =
            ::write(fd, content.constData() + done, static_cast<std::size_t>(content.size() - done));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += wrote;
    }
    return true;
}

} // namespace

bool EnsureOwnerOnlyFile(const QString& path, QString* error) {
    if (!EnsureFolderOf(path, error)) {
        return false;
    }
    const QByteArray name = QFile::encodeName(path);
    // O_EXCL: created here with 0600 (the umask can only narrow it), or it existed before.
    const Descriptor created(
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kOwnerOnlyFile));
    if (created.get() >= 0) {
        return true;
    }
    if (errno != EEXIST) {
        return Fail(error, QStringLiteral("Cannot create"), path);
    }
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) {
        return Fail(error, QStringLiteral("Cannot read the mode of"), path);
    }
    // A file an older version left readable by others is narrowed before it is written again.
    if ((status.st_mode & kOthersBits) != 0 && ::chmod(name.constData(), kOwnerOnlyFile) != 0) {
        return Fail(error, QStringLiteral("Cannot make private"), path);
    }
    return true;
}

bool WriteOwnerOnlyFile(const QString& path, const QByteArray& content, QString* error) {
    if (!EnsureFolderOf(path, error)) {
        return false;
    }
    QByteArray temporary = QFile::encodeName(path) + ".XXXXXX";
    // mkostemp creates the file with mode 0600.
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) {
        return Fail(error, QStringLiteral("Cannot create a file beside"), path);
    }
    const bool written = WriteAll(file.get(), content) && ::fsync(file.get()) == 0;
    const int savedErrno = errno;
    if (!file.Close() || !written) {
        ::unlink(temporary.constData());
        errno = written ? errno : savedErrno;
        return Fail(error, QStringLiteral("Cannot write"), path);
    }
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        const int renameErrno = errno;
        ::unlink(temporary.constData());
        errno = renameErrno;
        return Fail(error, QStringLiteral("Cannot replace"), path);
    }
    return true;
}

} // namespace vantor
