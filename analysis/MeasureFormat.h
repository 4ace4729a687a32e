#pragma once
// Text of a measured value for tables, reports and e-mails, in the current units with the
// decimals the user chose.

#include "analysis/DisplayUnits.h"
#include "analysis/Measures.h"

#include <QString>

namespace vantor {

// The display choices a formatted value depends on (the settings "DP g", "DP mms", "DP InchS" and
// the unit choice). Defaults are those of a fresh profile.
struct MeasureFormat {
    DisplayUnits units;
    int decimalsG = 1;
    int decimalsMms = 3;
    int decimalsInchS = 3;
};

// Velocities (kinds 0, 4, 5, 6) in the amplitude unit with "DP mms" or "DP InchS" decimals;
// acceleration with "DP g" decimals; BDU with none; displacement in the amplitude unit with none.
// A decimals setting outside 0..4 means 5. Empty for an unknown kind.
QString FormatMeasure(MeasureKind kind, float value, const MeasureFormat& format);
// The decimals FormatMeasure writes for a kind (0 for an unknown kind).
int MeasureDecimals(MeasureKind kind, const MeasureFormat& format);

} // namespace vantor
