#pragma once
// A point's spectral alarm bands drawn by the graph control on a spectrum: its four frequency
// bands (FFTBand1FMin .. FFTBand4AlarmLevel), each band's edges and its warning level.

#include "analysis/BandMarks.h"

#include <span>

class CVantorGraphCtrl;

namespace vantor {

// Draws the marks as the control's frequency bands in place of whatever bands the view set (the VA
// bands of an ISO spectrum); with no marks nothing changes.
void ShowAlarmBands(CVantorGraphCtrl& graph, std::span<const AlarmBandMark> marks);

} // namespace vantor
