#pragma once
// The meter's side of the command protocol: takes one received command line and produces the
// meter's reply, keeping the meter's state and applying the scenario's faults. It knows nothing of
// terminals; MeterEmulator feeds it from a line.

#include "tools/meter-sim/MeterState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace vantor::sim {

enum class FaultKind {
    Error,                 // "ERROR" instead of "OK"; the command has no effect
    NoOk,                  // the reply lacks "OK"
    NoEcho,                // the reply lacks the echo of the command
    Silence,               // no reply at all; the command has no effect
    Garbage,               // random bytes instead of the reply; the command has no effect
    ShortIsoCapture,       // GETMP: the ISO capture lacks `bytes` bytes
    ShortTotalCapture,     // GETMP: the total capture lacks `bytes` bytes
    MissingHeaderKey,      // GETMP: header field `key` is left out
    UnterminatedHeaderKey, // GETMP: header field `key` lacks its "<"
    HangUp,                // the reply is sent, then the meter drops off the line for good
};

struct Fault {
    QString command = QStringLiteral("*"); // keyword after "CMD*" (e.g. "INFO", "GETMP"), or "*"
    FaultKind kind = FaultKind::Error;
    int skip = 0;   // matching commands answered normally before the fault starts
    int times = -1; // how many matching commands it affects; -1 for all
    int bytes = 1;  // missing capture bytes, or the number of garbage bytes
    QString key;    // header key without " = ", e.g. "Calc BDU"
};

std::optional<FaultKind> FaultKindFromName(const QString& name);

struct LogEntry {
    QString command; // the line as received, without its carriage return
    QString note;    // why it was not answered normally, if so
};

class MeterResponder {
public:
    explicit MeterResponder(MeterState state = {}, std::vector<Fault> faults = {});

    // The reply to one command line (without its carriage return), or nothing when the meter stays
    // silent. `lineBaud` is the speed the PC's end of the line is set to (0: not known); the meter
    // does not understand commands sent at a speed other than its own.
    std::optional<QByteArray> Respond(const QByteArray& line, int lineBaud);

    const MeterState& State() const { return state_; }
    MeterState& MutableState() { return state_; }
    const std::vector<LogEntry>& Log() const { return log_; }
    QStringList Commands() const;
    // True once a hang-up fault has been applied: the line is to be closed after the reply.
    bool HungUp() const { return hungUp_; }
    // The text of a flash page as the meter would send it (the last text written there, if any).
    QString FlashPage(int page) const;
    // Makes a flash page hold this text, as if written there.
    void SetFlashPage(int page, const QString& text) { writtenPages_[page] = text; }

private:
    struct Reply {
        QByteArray echo;
        QByteArray body;
        QByteArray okTail = "OK\r\n";
        bool okBeforeBody = false;
    };
    const Fault* TakeFault(const QString& keyword);
    std::optional<Reply> Execute(const QString& keyword, const QString& argument, const QByteArray& line,
                                 const Fault* fault);

    MeterState state_;
    std::vector<Fault> faults_;
    std::vector<int> faultMatches_;
    std::vector<LogEntry> log_;
    std::map<int, QString> writtenPages_;
    unsigned garbageSeed_ = 12345;
    bool hungUp_ = false;
};

} // namespace vantor::sim
