#pragma once
// A route reading's run speed corrected after it was taken: the cursor's frequency as a run speed
// and the decoded signals under the new speed (the use case that stores it: app/RunSpeedUpdate.h).

#include "analysis/ReadingSignals.h"

namespace vantor {

// The new run speed from a cursor at a displayed frequency.
float RunSpeedFromCursor(double displayedFrequency, float frequencyFactor);

// The signals after a run-speed change: the new speed and the ISO low cut-off that goes with it.
void ApplyRunSpeed(ReadingSignals& decoded, float newRunSpeedHz);

} // namespace vantor
