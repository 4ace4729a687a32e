#pragma once
// The synchronisation run: on its own thread with its own database connections, it identifies the
// meter in its cradle (naming a new one), checks its version, sets its screen and clock, uploads
// every new reading and clears its flag, and for To Meter clears the meter and downloads a route.
// It tells its progress through a callback, asks the user through the prompter, and ends on every
// path with the meter's screen restored, the connections and the port closed and the done event
// set. Whatever was stored before a failure or an abort stays.

#include "device/MeterLink.h"
#include "device/MeterResults.h"
#include "store/Records.h"
#include "store/StoreContext.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <thread>

namespace vantor {

class CMainConnection;
class ManualResetEvent;
class Prompter;

// Pause after announcing the number of readings, before the first is fetched.
inline constexpr std::chrono::milliseconds kUploadAnnouncePause{500};

struct SyncSettings {
    bool fromMeter = true;
    QString routeGuid; // To Meter: the route to download
    double maxDeviceVersion = 1.1;
    QString editionTitle; // named in the version-mismatch message
    QString offRouteAssetGuid;
    QStringList offRoutePointGuids;
    StoreContext store;
    QString port; // empty: the cradle ports found on the USB bus
    std::function<QStringList()> portLister;
    LinkTimings linkTimings;
    std::chrono::milliseconds announcePause = kUploadAnnouncePause;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // The exception collector: emptied when the run starts, offered every stored route reading.
    std::function<void()> clearExceptions;
    std::function<void(const CMachine&, const CVib&, const CVibReading&)> collectException;
    // Offered every stored route reading with the run's main connection, on the run's thread.
    std::function<void(CMainConnection&, const CVib&, const CVibReading&)> readingStored;
};

// How a run ended.
struct SyncOutcome {
    int result = 0;     // 0 or the first failing code
    QString finalText;  // "Sync Completed" or "Sync Aborted"
    QString message;    // the message shown at the end; empty when none
    int uploaded = 0;   // readings stored and cleared on the meter
    QString deviceName; // the meter's name in the meter list; empty when none was found
    // One line per stored reading whose meter run speed was out of range and not stored (also
    // shown as progress before the final text).
    QStringList runSpeedNotes;
    QStringList measuredPoints; // the route points readings were stored under, each once
};

class SyncWorker {
public:
    SyncWorker(SyncSettings settings, Prompter& prompter, ManualResetEvent& abortEvent,
               ManualResetEvent& doneEvent);
    ~SyncWorker(); // waits for the thread
    SyncWorker(const SyncWorker&) = delete;
    SyncWorker& operator=(const SyncWorker&) = delete;

    // Called on the worker's thread with every progress text.
    void OnProgress(std::function<void(const QString&)> callback) { onProgress_ = std::move(callback); }
    // Called on the worker's thread with (n, m) as the route download sends its n-th of m items.
    void OnStep(std::function<void(int, int)> callback) { onStep_ = std::move(callback); }
    // Called on the worker's thread when the run has ended, just before the done event is set.
    void OnFinished(std::function<void(const SyncOutcome&)> callback) { onFinished_ = std::move(callback); }

    // Runs on a new thread.
    void Start();
    void Join();
    // Runs on the calling thread.
    SyncOutcome Run();
    // The outcome of the last run; valid once the done event is set.
    const SyncOutcome& Outcome() const { return outcome_; }

private:
    SyncSettings settings_;
    Prompter& prompter_;
    ManualResetEvent& abort_;
    ManualResetEvent& done_;
    std::function<void(const QString&)> onProgress_;
    std::function<void(int, int)> onStep_;
    std::function<void(const SyncOutcome&)> onFinished_;
    SyncOutcome outcome_;
    std::thread thread_;
};

// "%d %s" with the singular text for 1 and the plural otherwise.
QString CountText(int count, int singular, int plural);

} // namespace vantor
