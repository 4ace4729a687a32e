#include "tools/meter-sim/MeterEmulator.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vantor::sim {
namespace {

constexpr int kPollMs = 50;

int BaudOf(speed_t speed) {
    switch (speed) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

bool SpeedOf(int baud, speed_t& speed) {
    for (const speed_t s : {B1200, B2400, B4800, B9600, B19200, B38400, B57600, B115200}) {
        if (BaudOf(s) == baud) {
            speed = s;
            return true;
        }
    }
    return false;
}

bool MakeRaw(int fd, int baud) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    speed_t speed{};
    if (SpeedOf(baud, speed)) {
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
    }
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

QString SystemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

MeterEmulator::MeterEmulator(int fd, int slaveFd, QString devicePath, bool pseudoTerminal,
                             MeterResponder responder)
    : fd_(fd), slaveFd_(slaveFd), devicePath_(std::move(devicePath)), pseudoTerminal_(pseudoTerminal),
      responder_(std::move(responder)) {
    thread_ = std::thread([this] { Run(); });
}

MeterEmulator::~MeterEmulator() {
    Stop();
}

std::unique_ptr<MeterEmulator> MeterEmulator::OnPseudoTerminal(MeterResponder responder, QString& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = SystemError("posix_openpt");
        return nullptr;
    }
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        error = SystemError("pseudo-terminal");
        ::close(master);
        return nullptr;
    }
    // The emulator keeps the slave open too: the terminal then survives the PC closing and
    // reopening its side, and starts raw, as a serial line does.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0 || !MakeRaw(slave, responder.State().lineSpeed)) {
        error = SystemError("pseudo-terminal slave");
        if (slave >= 0) {
            ::close(slave);
        }
        ::close(master);
        return nullptr;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<MeterEmulator>(
        new MeterEmulator(master, slave, QString::fromLocal8Bit(name), true, std::move(responder)));
}

std::unique_ptr<MeterEmulator> MeterEmulator::OnDevice(const QString& devicePath, MeterResponder responder,
                                                       QString& error) {
    const int fd = ::open(devicePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = SystemError("open");
        return nullptr;
    }
    if (!MakeRaw(fd, responder.State().lineSpeed)) {
        error = SystemError("line settings");
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<MeterEmulator>(new MeterEmulator(fd, -1, devicePath, false, std::move(responder)));
}

void MeterEmulator::OnCommand(std::function<void(const LogEntry&)> callback) {
    std::lock_guard guard(mutex_);
    onCommand_ = std::move(callback);
}

void MeterEmulator::WithResponder(const std::function<void(MeterResponder&)>& action) {
    std::lock_guard guard(mutex_);
    action(responder_);
}

MeterState MeterEmulator::State() {
    std::lock_guard guard(mutex_);
    return responder_.State();
}

QStringList MeterEmulator::Commands() {
    std::lock_guard guard(mutex_);
    return responder_.Commands();
}

void MeterEmulator::Stop() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (slaveFd_ >= 0) {
        ::close(slaveFd_);
        slaveFd_ = -1;
    }
}

int MeterEmulator::LineBaud() const {
    if (!pseudoTerminal_) {
        return 0; // a real line carries only what both ends agree on
    }
    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0 && ::tcgetattr(slaveFd_, &settings) != 0) {
        return 0;
    }
    return BaudOf(::cfgetospeed(&settings));
}

void MeterEmulator::Run() {
    QByteArray line;
    char buffer[4096];
    while (!stop_) {
        pollfd waitFor{fd_, POLLIN, 0};
        const int ready = ::poll(&waitFor, 1, kPollMs);
        if (ready <= 0 || !(waitFor.revents & POLLIN)) {
            if (ready > 0 && (waitFor.revents & (POLLHUP | POLLERR))) {
                ::usleep(kPollMs * 1000); // nobody on the other side yet
            }
            continue;
        }
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            continue;
        }
        for (ssize_t i = 0; i < n && !stop_; ++i) {
            if (buffer[i] == '\r') {
                HandleLine(line);
                line.clear();
            } else {
                line.append(buffer[i]);
            }
        }
    }
}

void MeterEmulator::HandleLine(const QByteArray& line) {
    std::optional<QByteArray> reply;
    std::function<void(const LogEntry&)> callback;
    LogEntry entry;
    int newSpeed = 0;
    bool hangUp = false;
    {
        std::lock_guard guard(mutex_);
        const int before = responder_.State().lineSpeed;
        reply = responder_.Respond(line, LineBaud());
        entry = responder_.Log().back();
        callback = onCommand_;
        hangUp = responder_.HungUp();
        if (responder_.State().lineSpeed != before) {
            newSpeed = responder_.State().lineSpeed;
        }
    }
    if (callback) {
        callback(entry);
    }
    if (reply) {
        WriteAll(*reply);
    }
    if (newSpeed != 0 && !pseudoTerminal_) {
        MakeRaw(fd_, newSpeed);
    }
    if (hangUp) {
        // Hang up once the other side has read the reply: a terminal drops unread input when it
        // hangs up.
        WaitUntilReplyRead();
        ::close(fd_);
        fd_ = -1;
        if (slaveFd_ >= 0) {
            ::close(slaveFd_);
            slaveFd_ = -1;
        }
        stop_ = true;
    }
}

void MeterEmulator::WaitUntilReplyRead() {
    if (slaveFd_ < 0) {
        ::tcdrain(fd_);
        return;
    }
    int emptyChecks = 0;
    for (int i = 0; i < 400 && emptyChecks < 5; ++i) {
        ::usleep(5000);
        int pending = 0;
        ::ioctl(slaveFd_, FIONREAD, &pending);
        emptyChecks = pending == 0 ? emptyChecks + 1 : 0;
    }
}

void MeterEmulator::WriteAll(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size() && !stop_) {
        const ssize_t n = ::write(fd_, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent));
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        }
        pollfd waitFor{fd_, POLLOUT, 0};
        ::poll(&waitFor, 1, kPollMs);
    }
}

} // namespace vantor::sim
