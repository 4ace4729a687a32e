#pragma once
// "Update Run Speed": a route reading's run speed corrected after it was taken. The new speed goes
// into the reading row (fCurrentRunSpeedHz) and its decoded signals, the ISO and band values are
// recomputed from the ISO spectrum, and the row and the signal cache file are written back. The
// run speed the reading was taken with (fOriginalRunSpeedHz) stays as it is.

#include "analysis/RunSpeedChange.h"
#include "records/Records.h"

#include <QString>

namespace vantor {

class CMainConnection;
class Prompter;
class SignalProcessor;

enum class RunSpeedOutcome {
    Updated,
    Declined,    // the user answered No: nothing changed
    LoadFailed,  // no such reading, or its signals cannot be loaded
    SaveFailed,  // the row could not be written
    CacheFailed, // the row was written, the cache file could not be (it was removed instead)
};

struct RunSpeedResult {
    RunSpeedOutcome outcome = RunSpeedOutcome::LoadFailed;
    CVibReading reading; // the row as it is now stored (after an update, the new values)
};

// Asks "Are you sure you want to UPDATE the Run Speed?"; on Yes updates the reading.
RunSpeedResult UpdateRunSpeed(CMainConnection& db, SignalProcessor& processor, Prompter& prompter,
                              const QString& readingGuid, float newRunSpeedHz);

} // namespace vantor
