#pragma once
// The checks that keep absurd bearings out of the library, shared by every path that writes one
// (the editor, `bearing add`, the bearing spreadsheet) and by the readers that hand stored bearings
// to the analysis. Records are judged as stored, in their float columns.

#include "records/BearingNumbers.h"

#include <QString>

#include <optional>

namespace vantor {

inline constexpr int kBearingTextLimit = 50;   // designation, maker, location
inline constexpr double kMostSpeedRatio = 100; // a bearing's shaft against the point's run speed

// The message refusing a bearing record: its designation (1 to 50 characters), maker (at most 50)
// and source, none with a control character (tab, NUL, ESC...), then its numbers. The texts are
// judged as given; callers trim them first.
std::optional<QString> CheckBearing(const CBearing& bearing);
// The message refusing an assignment: a location of 1 to 50 characters without control
// characters, a speed ratio above 0 and at most 100 as its float column holds it.
std::optional<QString> CheckPointBearing(const CPointBearing& assignment);

} // namespace vantor
