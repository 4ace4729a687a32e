#include "analysis/RunSpeedChange.h"

#include "analysis/ReadingDecode.h"

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

} // namespace vantor
