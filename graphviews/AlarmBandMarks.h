#pragma once
// A point's spectral alarm bands as the graph control draws them on a spectrum: its four frequency
// bands (FFTBand1FMin .. FFTBand4AlarmLevel), each band's edges and its warning level.

#include "analysis/DisplayUnits.h"
#include "analysis/SpectralBands.h"

#include <span>
#include <vector>

class CVantorGraphCtrl;

namespace vantor {

// The graph control has four frequency bands.
inline constexpr int kMostDrawnAlarmBands = 4;

// One band in the shown spectrum's displayed units.
struct AlarmBandMark {
    double low = 0;   // frequency
    double high = 0;  // frequency
    double level = 0; // the warning limit, in the spectrum's amplitude
};

// The bands on the `shown` spectrum, in the point's order and at most kMostDrawnAlarmBands of them:
// ranges in orders reckoned at the reading's run speed (a band in orders is left out without one),
// frequencies in the display unit, levels in the displayed amplitude (the ISO limits are mm/s RMS as
// stored; Total g and envelope gE as they are).
std::vector<AlarmBandMark> AlarmBandMarks(std::span<const SpectralBand> bands, BandSpectrum shown,
                                          double runSpeedHz, const DisplayUnits& units);

// Draws the marks as the control's frequency bands in place of whatever bands the view set (the VA
// bands of an ISO spectrum); with no marks nothing changes.
void ShowAlarmBands(CVantorGraphCtrl& graph, std::span<const AlarmBandMark> marks);

} // namespace vantor
