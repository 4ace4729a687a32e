#pragma once
// Exporting the shown reading's spectrum or waveform as CSV from a point view: the save dialog in
// the export folder, ".csv" added to a bare name, and the folder remembered after a write.
#include "analysis/SignalCsv.h"

class QWidget;

namespace vantor {

struct PointViewsState;

void ExportShownSignalCsv(QWidget* parent, PointViewsState& state, MeasureKind viewKind, CsvContent content);

} // namespace vantor
