#include "device/MeterLink.h"
#include "device/Log.h"

#include "device/CradlePorts.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

namespace vantor {
namespace {

// Serial traffic for the log, byte for byte: printable Latin-1 as it is, every other byte as \xHH.
QString TrafficText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && byte != '\\') {
            text += QLatin1Char(c);
        } else {
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
        }
    }
    return QStringLiteral("[%1] %2").arg(bytes.size()).arg(text);
}

} // namespace

namespace {

// Modem-control and queue requests a pseudo-terminal or a simple driver does not implement are
// answered with these; they are not configuration failures.
bool Unsupported(int error) {
    return error == ENOTTY || error == EINVAL;
}

bool SpeedOf(int baud, speed_t& speed) {
    switch (baud) {
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    default:
        return false;
    }
}

// VTIME counts tenths of a second; at least one tenth so that a read never returns at once.
cc_t SilenceTenths(std::chrono::milliseconds silence) {
    const auto tenths = (silence.count() + 50) / 100;
    return static_cast<cc_t>(std::clamp<long long>(tenths, 1, 255));
}

} // namespace

CMeterLink::CMeterLink(Prompter* prompter, LinkTimings timings)
    : prompter_(prompter), timings_(timings), listPorts_(CradlePorts) {}

CMeterLink::~CMeterLink() {
    Close();
}

void CMeterLink::UsePort(const QString& port) {
    explicitPort_ = port;
}

void CMeterLink::SetPortLister(std::function<QStringList()> lister) {
    listPorts_ = std::move(lister);
}

PortOpenResult CMeterLink::Open(const QString& devicePath) {
    Close();
    const QByteArray path = devicePath.toLocal8Bit();
    // Opened without waiting for carrier; reads and writes are made blocking again below.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES || errno == EPERM ? PortOpenResult::AccessDenied : PortOpenResult::OpenFailed;
    }
    if (::ioctl(fd, TIOCEXCL) != 0 && !Unsupported(errno)) {
        // Another process holds the port exclusively: the same as a refused open.
        ::close(fd);
        return PortOpenResult::OpenFailed;
    }
    std::lock_guard guard(lock_);
    fd_ = fd;
    return Configure() ? PortOpenResult::Opened : PortOpenResult::ConfigFailed;
}

bool CMeterLink::Configure() {
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return false;
    }
    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0) {
        return false;
    }
    speed_t speed{};
    if (!SpeedOf(currentBaud_, speed)) {
        return false;
    }
    // Binary 8N1: no parity checking, no character translation or stripping, no software or
    // hardware flow control, no hang-up on close.
    ::cfmakeraw(&settings);
    settings.c_iflag &= ~static_cast<tcflag_t>(INPCK | ISTRIP | IXON | IXOFF | IXANY | IGNPAR | PARMRK);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    // A read returns what has arrived, or nothing after the silence time-out.
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = SilenceTenths(timings_.readSilence);
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0) {
        return false;
    }
    if (::tcsetattr(fd_, TCSANOW, &settings) != 0) {
        return false;
    }
    // DTR and RTS held off.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd_, TIOCMBIC, &lines) != 0 && !Unsupported(errno)) {
        return false;
    }
    // Linux serial drivers size their queues themselves; there is no request to set a queue size.
    return true;
}

void CMeterLink::Close() {
    std::lock_guard guard(lock_);
    if (fd_ < 0) {
        return;
    }
    // Give up exclusivity explicitly: the flag lives on the terminal, which stays in use when
    // another process (a pseudo-terminal's owner) keeps it open.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

int CMeterLink::WriteText(const QString& text, bool addCarriageReturn, std::uint32_t& toWrite,
                          std::uint32_t& written) {
    return WriteBytes(text.toLatin1(), addCarriageReturn, toWrite, written);
}

int CMeterLink::WriteBytes(QByteArray bytes, bool addCarriageReturn, std::uint32_t& toWrite,
                           std::uint32_t& written) {
    if (addCarriageReturn) {
        bytes.append('\r');
    }
    toWrite = static_cast<std::uint32_t>(bytes.size());
    written = 0;
    std::lock_guard guard(lock_);
    if (fd_ < 0) {
        return 0;
    }
    // Write time-out: 1 ms per byte plus the silence time. The descriptor is made non-blocking for
    // the write so that a stalled line cannot hold the caller beyond it.
    const auto limit =
        std::chrono::steady_clock::now() + timings_.readSilence + std::chrono::milliseconds(bytes.size());
    const int flags = ::fcntl(fd_, F_GETFL);
    ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    while (written < toWrite) {
        const ssize_t n = ::write(fd_, bytes.constData() + written, toWrite - written);
        if (n > 0) {
            written += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd waitFor{fd_, POLLOUT, 0};
        ::poll(&waitFor, 1, static_cast<int>(left.count()));
    }
    ::fcntl(fd_, F_SETFL, flags);
    qCDebug(lcLink).noquote() << "sent" << TrafficText(bytes.left(static_cast<qsizetype>(written)));
    return 0;
}

int CMeterLink::ReadBytes(char* buffer, std::uint32_t count, std::uint32_t& read) {
    read = 0;
    std::lock_guard guard(lock_);
    if (fd_ < 0 || count == 0) {
        return 0;
    }
    ssize_t n = 0;
    do {
        n = ::read(fd_, buffer, count);
    } while (n < 0 && errno == EINTR);
    if (n > 0) {
        read = static_cast<std::uint32_t>(n);
        qCDebug(lcLink).noquote() << "received" << TrafficText(QByteArray(buffer, n));
    }
    return 0;
}

void CMeterLink::DiscardQueues() {
    std::lock_guard guard(lock_);
    if (fd_ >= 0) {
        ::tcflush(fd_, TCOFLUSH);
        ::tcflush(fd_, TCIFLUSH);
    }
}

int CMeterLink::SetComBaud(int rate) {
    DiscardQueues();
    std::uint32_t toWrite = 0;
    std::uint32_t written = 0;
    WriteText(QStringLiteral("CMD*SETCOMBAUD=%1").arg(rate), true, toWrite, written);
    return written == toWrite ? 0 : -1;
}

} // namespace vantor
