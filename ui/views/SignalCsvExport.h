#pragma once
// Exporting the shown reading's spectrum or waveform as CSV from a point view: the save dialog in
// the export folder, ".csv" added to a bare name, and the folder remembered after a write.
#include "analysis/SignalCsv.h"

class QWidget;

namespace vantor {

struct PointViewsState;

void ExportShownSignalCsv(QWidget* parent, PointViewsState& state, MeasureKind viewKind, CsvContent content);
// The same file written to `path` without asking (the Export menu's CSV); false when nothing was
// written (its message shown) or no reading is shown.
bool WriteShownSignalCsv(PointViewsState& state, MeasureKind viewKind, CsvContent content,
                         const QString& path);

} // namespace vantor
