#include "analysis/RunSpeedUpdate.h"

#include "analysis/Measures.h"
#include "analysis/ReadingDecode.h"
#include "analysis/SignalCache.h"
#include "analysis/ViewTexts.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"

namespace vantor {

float RunSpeedFromCursor(double displayedFrequency, float frequencyFactor) {
    return static_cast<float>(displayedFrequency / static_cast<double>(frequencyFactor));
}

void ApplyRunSpeed(ReadingSignals& decoded, float newRunSpeedHz) {
    decoded.runSpeedHz = newRunSpeedHz;
    // A fresh decode of the row derives the ISO low cut-off from the run speed; the rewritten cache
    // file holds what such a decode gives.
    decoded.iso.lowCutoffHz = LowCutoffOf(Channel::Iso, newRunSpeedHz);
}

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
    if (!LoadReadingSignals(db, processor, readingGuid, decoded)) {
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
