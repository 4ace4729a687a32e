#include "app/RunSpeedUpdate.h"

#include "analysis/Measures.h"
#include "analysis/ViewTexts.h"
#include "loaders/SignalLoader.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"

namespace vantor {

RunSpeedResult UpdateRunSpeed(CMainConnection& db, SignalProcessor& processor, Prompter& prompter,
                              const QString& readingGuid, float newRunSpeedHz) {
    RunSpeedResult result;
    if (!db.GetVibReading(readingGuid, result.reading)) {
        return result;
    }
    if (!prompter.AskYesNo(UiText(text::UpdateRunSpeedQuestion))) {
        result.outcome = RunSpeedOutcome::Declined;
        return result;
    }
    ReadingSignals decoded;
    if (!LoadReadingSignals(db, processor, result.reading, decoded)) {
        result.outcome = RunSpeedOutcome::LoadFailed;
        return result;
    }
    CVibReading updated = result.reading;
    ApplyRunSpeed(decoded, newRunSpeedHz);
    updated.fCurrentRunSpeedHz = newRunSpeedHz;
    RecomputeOveralls(updated, decoded);
    if (!db.UpsertVibReading(updated)) {
        result.outcome = RunSpeedOutcome::SaveFailed;
        return result;
    }
    result.reading = updated;
    const QString dataFolder = db.Context().dataFolder;
    if (!SaveReadingSignals(dataFolder, readingGuid, decoded)) {
        // A stale cache would bring the old run speed back; without one the next load decodes the
        // row, which now carries the new one.
        DeleteSignalCache(dataFolder, readingGuid);
        result.outcome = RunSpeedOutcome::CacheFailed;
        return result;
    }
    result.outcome = RunSpeedOutcome::Updated;
    return result;
}

} // namespace vantor
