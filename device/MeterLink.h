#pragma once
// The PC side of the serial connection to the meter's cradle: opening and configuring the port,
// locked byte-level send and receive, the line-speed switch and the discovery of the meter.
//
// One link per synchronisation run. Every send and every receive holds the link lock for the
// duration of the system call only; the lock is not held across a command/reply exchange.

#include "device/MeterResults.h"
#include "store/Records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

namespace vantor {

class Prompter;

// A read returns empty after this much silence on the line; the reply collection relies on it.
inline constexpr std::chrono::milliseconds kReadSilence{1000};
// Pause after telling the meter to change speed, before the port is reopened at the new speed.
inline constexpr std::chrono::milliseconds kSpeedSwitchPause{1000};
// At most this many cradle ports are tried.
inline constexpr int kMaxCradlePorts = 100;

// Delays of the link; tests shorten them.
struct LinkTimings {
    std::chrono::milliseconds readSilence = kReadSilence;
    std::chrono::milliseconds speedSwitchPause = kSpeedSwitchPause;
};

// How an attempt to open and configure a port ended.
enum class PortOpenResult {
    Opened,
    OpenFailed,   // no such device, busy, ...: the port is skipped
    AccessDenied, // the device exists but this account may not open it: skipped, the user is told
    ConfigFailed, // opened, but a line setting was refused: the search ends
};

class CMeterLink {
public:
    static constexpr int kSlowBaud = 9600;
    static constexpr int kFastBaud = 57600;

    // `prompter` receives the explanation when a cradle port cannot be opened for lack of
    // permission; it may be null.
    explicit CMeterLink(Prompter* prompter = nullptr, LinkTimings timings = {});
    ~CMeterLink();
    CMeterLink(const CMeterLink&) = delete;
    CMeterLink& operator=(const CMeterLink&) = delete;

    // Restricts discovery to one port (a device path, or a name under /dev); empty means the
    // cradle ports found on the USB bus.
    void UsePort(const QString& port);
    // Replaces the USB enumeration that lists the cradle ports (device paths, in trial order).
    void SetPortLister(std::function<QStringList()> lister);

    // Discovery and identification. On 0 the link is open at 57600 baud and `device`'s GUID, serial
    // number and wireless address, `version` and `number` hold the meter's GetInfo answer. Otherwise
    // the link is closed and the result is kNoCradleFound or kNoMeterFound.
    int FindMeter(CDevice& device, QString& version, int& number);

    // Closes any open port, then opens `devicePath` exclusively and applies the line settings at
    // the current speed.
    PortOpenResult Open(const QString& devicePath);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    int CurrentBaud() const { return currentBaud_; }
    void SetCurrentBaud(int baud) { currentBaud_ = baud; }
    const LinkTimings& Timings() const { return timings_; }

    // Sends the text as Latin-1 bytes (characters outside it become '?'), with a carriage return
    // when asked. Result 0; compare `written` with `toWrite`.
    int WriteText(const QString& text, bool addCarriageReturn, std::uint32_t& toWrite,
                  std::uint32_t& written);
    // The same for bytes.
    int WriteBytes(QByteArray bytes, bool addCarriageReturn, std::uint32_t& toWrite, std::uint32_t& written);
    // One read of at most `count` bytes; returns 0 with `read` = 0 after the silence time-out.
    int ReadBytes(char* buffer, std::uint32_t count, std::uint32_t& read);
    // Drops whatever is waiting to be sent, then whatever has been received and not yet read.
    void DiscardQueues();
    // Tells the meter to change speed: discards the queues and sends "CMD*SETCOMBAUD=<rate>".
    // 0 when every byte was written, else -1. No reply is read.
    int SetComBaud(int rate);

private:
    bool Configure();

    Prompter* prompter_;
    LinkTimings timings_;
    QString explicitPort_;
    std::function<QStringList()> listPorts_;
    std::mutex lock_;
    int currentBaud_ = kSlowBaud;
    int fd_ = -1;
};

} // namespace vantor
