#pragma once
// The spectrum a reading view shows for a measure: which channel, which lines, in which units, with
// "Varovud OVO" peak consolidation applied when it is switched on.

#include "analysis/DisplayUnits.h"
#include "analysis/Measures.h"
#include "analysis/ReadingSignals.h"

#include <optional>
#include <vector>

namespace vantor {

struct DisplayedSpectrum {
    MeasureKind kind = MeasureKind::IsoVelocity;
    std::vector<double> lines; // the whole channel's lines; those outside `range` as the copy left them
    LineRange range;           // the lines the view shows
    float lineSpacingHz = 0;
    float frequencyFactor = 1;

    // Displayed frequency of line i: i × spacing × frequency factor, in single precision.
    float FrequencyOf(std::int32_t line) const {
        return static_cast<float>(line) * lineSpacingHz * frequencyFactor;
    }
};

// ISO velocity: the ISO spectrum × amplitude factor over the low cut-off (truncated) to the last
// line. VA band b: the same copy over the band's lines. Acceleration: the Total spectrum (g, never
// converted) over all its lines. With consolidate, ConsolidatePeaks runs on the copy over the range.
// None for a measure without a spectrum (bearing noise, displacement).
std::optional<DisplayedSpectrum> MakeDisplayedSpectrum(const ReadingSignals& decoded, MeasureKind kind,
                                                       const DisplayUnits& units, bool consolidate);

} // namespace vantor
