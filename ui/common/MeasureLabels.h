#pragma once
// The desktop's captions of the measures beside the documented kinds (the waveform indices), in
// the chosen language, and of every measure an alarm may watch.

#include "analysis/BaselineAlarms.h"
#include "analysis/IndexMeasures.h"

#include <QString>

namespace vantor {

// "Crest Factor", "Kurtosis", "Peak-to-Peak", "gE Overall" from the UI text table.
QString IndexMeasureLabel(IndexMeasure measure);
// A documented kind by its UI text (bands by their default labels), an index as above.
QString AlarmMeasureLabel(const AlarmMeasure& measure);

} // namespace vantor
