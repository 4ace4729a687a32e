#pragma once
// What the fuzz targets do with a waveform a reader accepted: build the reading from it as an
// import does, when it is short enough to keep each run fast.

#include "analysis/SignalProcessor.h"
#include "interchange/ImportedReading.h"
#include "interchange/WaveformSources.h"

#include <cstddef>

namespace vantor::fuzz {

inline constexpr std::size_t kLongestBuilt = 4096;

inline void BuildIfShort(const SourceWaveform& source, Channel channel) {
    if (!source.Ok() || source.waveform.samples.size() > kLongestBuilt) {
        return;
    }
    static SignalProcessor processor;
    BuildImportedReading(source.waveform, channel, source.runSpeedHz.value_or(25.0f), processor);
}

} // namespace vantor::fuzz
