#pragma once
// Runs a MeterResponder on a line: a new pseudo-terminal (the PC opens its slave side, the path
// the emulator reports) or an existing serial device. A background thread reads command lines,
// which end with a carriage return, and writes the replies.
//
// On a pseudo-terminal the line speed is only a setting; the emulator reads the speed the PC's
// side is set to (the slave's terminal settings, which Linux reports on the master as well) with
// every command, and a meter at another speed does not understand it. On a real device the
// emulator changes its own port's speed when the meter switches.

#include "tools/meter-sim/MeterResponder.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vantor::sim {

class MeterEmulator {
public:
    ~MeterEmulator();
    MeterEmulator(const MeterEmulator&) = delete;
    MeterEmulator& operator=(const MeterEmulator&) = delete;

    // A new pseudo-terminal; nullptr with `error` set when none can be made.
    static std::unique_ptr<MeterEmulator> OnPseudoTerminal(MeterResponder responder, QString& error);
    // An existing serial device, opened and set to the meter's speed.
    static std::unique_ptr<MeterEmulator> OnDevice(const QString& devicePath, MeterResponder responder,
                                                   QString& error);

    // The path the PC opens.
    QString DevicePath() const { return devicePath_; }

    // Called (on the emulator's thread) with every command received and its note.
    void OnCommand(std::function<void(const LogEntry&)> callback);

    // Inspect or change the meter while it runs.
    void WithResponder(const std::function<void(MeterResponder&)>& action);
    MeterState State();
    QStringList Commands();

    void Stop();

private:
    MeterEmulator(int fd, int slaveFd, QString devicePath, bool pseudoTerminal, MeterResponder responder);
    void Run();
    void HandleLine(const QByteArray& line);
    int LineBaud() const;
    void WriteAll(const QByteArray& bytes);
    void WaitUntilReplyRead();

    int fd_;
    int slaveFd_;
    QString devicePath_;
    bool pseudoTerminal_;
    std::mutex mutex_;
    MeterResponder responder_;
    std::function<void(const LogEntry&)> onCommand_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace vantor::sim
