#pragma once
// A point's spectral alarm bands as a spectrum graph marks them: each band's edges and its warning
// level in the shown spectrum's display units, at most as many as the graph control has frequency
// bands.

#include "analysis/DisplayUnits.h"
#include "analysis/Measures.h"
#include "analysis/SpectralBands.h"

#include <optional>
#include <span>
#include <vector>

namespace vantor {

// The graph control has four frequency bands.
inline constexpr int kMostDrawnAlarmBands = 4;

// One band in the shown spectrum's displayed units.
struct AlarmBandMark {
    double low = 0;   // frequency
    double high = 0;  // frequency
    double level = 0; // the warning limit, in the spectrum's amplitude
    friend bool operator==(const AlarmBandMark&, const AlarmBandMark&) = default;
};

// The bands on the `shown` spectrum, in the point's order and at most kMostDrawnAlarmBands of them:
// ranges in orders reckoned at the reading's run speed (a band in orders is left out without one),
// frequencies in the display unit, levels in the displayed amplitude (the ISO limits are mm/s RMS as
// stored; Total g and envelope gE as they are).
std::vector<AlarmBandMark> AlarmBandMarks(std::span<const SpectralBand> bands, BandSpectrum shown,
                                          double runSpeedHz, const DisplayUnits& units);

// The spectrum whose bands a spectrum of this measure shows: the ISO velocity spectrum its ISO
// bands, the acceleration (Total) spectrum its Total bands; none for the other measures' spectra.
std::optional<BandSpectrum> AlarmBandSpectrumOf(MeasureKind kind);

} // namespace vantor
