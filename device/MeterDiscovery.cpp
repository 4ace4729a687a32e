// Discovery and identification of the meter: every cradle port in turn, first at 9600 baud, then
// switched to 57600.
#include "device/CradlePorts.h"
#include "device/MeterCommands.h"
#include "device/MeterLink.h"
#include "platform/Prompter.h"

#include <thread>

namespace vantor {
namespace {

constexpr int kAttentionAttempts = 2;
constexpr int kGetInfoAttempts = 4;

bool AttentionAnswered(CMeterLink& link) {
    for (int attempt = 0; attempt < kAttentionAttempts; ++attempt) {
        if (Attention(link) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int CMeterLink::FindMeter(CDevice& device, QString& version, int& number) {
    QStringList ports = explicitPort_.isEmpty() ? listPorts_() : QStringList{PortDevicePath(explicitPort_)};
    if (ports.size() > kMaxCradlePorts) {
        ports.resize(kMaxCradlePorts);
    }
    if (ports.isEmpty()) {
        Close();
        return kNoCradleFound;
    }

    // Belongs to the whole search: once one port has been switched, later ports are tried at
    // their first speed only.
    bool switched = false;
    bool lastOpenFailed = true; // also when no open was attempted
    bool identified = false;
    bool stop = false;
    for (const QString& port : ports) {
        currentBaud_ = kSlowBaud;
        for (;;) {
            const PortOpenResult opened = Open(port);
            if (opened == PortOpenResult::OpenFailed || opened == PortOpenResult::AccessDenied) {
                lastOpenFailed = true;
                if (opened == PortOpenResult::AccessDenied && prompter_ != nullptr) {
                    prompter_->ShowMessage(SerialAccessDeniedMessage(port));
                }
                break;
            }
            lastOpenFailed = false;
            if (opened == PortOpenResult::ConfigFailed) {
                stop = true;
                break;
            }

            if (AttentionAnswered(*this)) {
                if (!switched) {
                    switched = true;
                    currentBaud_ = kFastBaud;
                    SetComBaud(kFastBaud);
                    std::this_thread::sleep_for(timings_.speedSwitchPause);
                    continue; // reopen the same port at the new speed
                }
                MeterInfo info;
                for (int attempt = 0; attempt < kGetInfoAttempts && !identified; ++attempt) {
                    identified = GetInfo(*this, info) == 0;
                }
                if (identified) {
                    device.sItemGUID = info.guid;
                    device.sSN = info.serial;
                    device.sBTAddress = info.btAddress;
                    version = info.version;
                    number = info.number;
                    stop = true;
                }
                break;
            }
            if (!switched) {
                // The meter may still be at the fast speed from an earlier run.
                switched = true;
                currentBaud_ = kFastBaud;
                continue;
            }
            break;
        }
        if (stop) {
            break;
        }
    }

    if (identified) {
        return 0;
    }
    Close();
    return lastOpenFailed ? kNoCradleFound : kNoMeterFound;
}

} // namespace vantor
