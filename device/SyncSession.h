#pragma once
// What the synchronisation dialog does, free of widgets: it marks the run in progress, names the
// direction in its title, starts the worker after a delay, turns Abort (or closing the window)
// into a stop request, and closes only once the worker has set the done event. The desktop's
// dialog drives it with two timers; the command line drives it directly.

#include "device/SyncEvents.h"

#include <QString>

#include <chrono>

namespace vantor {

// Delay between showing the dialog and starting the worker, and the period at which a stopping
// dialog looks for the worker's end.
inline constexpr std::chrono::milliseconds kSyncStartDelay{1000};
inline constexpr std::chrono::milliseconds kSyncClosePoll{1000};

class SyncSession {
public:
    explicit SyncSession(bool fromMeter, ManualResetEvent& abortEvent = SyncAbortEvent(),
                         ManualResetEvent& doneEvent = SyncDoneEvent());
    // Clears the in-progress flag if the session still holds it.
    ~SyncSession();
    SyncSession(const SyncSession&) = delete;
    SyncSession& operator=(const SyncSession&) = delete;

    // The dialog opens: the run is in progress, no worker is running yet, no stop requested.
    void Open();

    // "From Meter↑..." or "To Meter↓..."
    QString Title() const;
    QString AbortButtonText() const { return abortButtonText_; }
    bool AbortEnabled() const { return !stopRequested_; }
    // "Checking for device..."
    static QString InitialProgress();

    // The start delay has passed: false when a stop came first (the worker must not start).
    bool MayStartWorker() const { return !stopRequested_; }

    // Abort pressed (`abortClicked`), window closed, or the worker's exit message: the worker is
    // told to stop and the Abort button is disabled; only a pressed Abort shows "Aborting...".
    void RequestStop(bool abortClicked);
    bool StopRequested() const { return stopRequested_; }

    // The close poll: true (and the run no longer in progress) once the worker has ended.
    bool PollClose();

private:
    bool fromMeter_;
    ManualResetEvent& abort_;
    ManualResetEvent& done_;
    QString abortButtonText_;
    bool stopRequested_ = false;
    bool holdsInProgress_ = false;
};

} // namespace vantor
