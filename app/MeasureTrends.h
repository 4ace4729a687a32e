#pragma once
// A point's trend of a waveform index, of its online sensors' values and the limits of a measure's
// baseline alarm, as the command
// line's `trend --measure` and the desktop's trend view read them. They throw DatabaseError.

#include "analysis/BaselineAlarms.h"
#include "analysis/IndexMeasures.h"

#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;

// The readings (oldest first) of the point as trend readings of the index; indices are computed
// and kept where a reading has none yet, and readings without a value are left out.
std::vector<TrendReading> PointIndexTrend(CMainConnection& db, const CVib& point,
                                          const std::vector<CVibReading>& readingsOldestFirst,
                                          IndexMeasure measure);

// The overall values the online sensors bound to the point published for a documented measure
// (ISO velocity or Total acceleration; none for the others), oldest first, in stored units: the
// trend's second series beside the readings.
std::vector<TrendReading> PointOnlineTrend(CMainConnection& db, const CVib& point, MeasureKind kind);

// The statistics and limits of the point's baseline alarm on the measure (stored units); none when
// the point has no usable baseline setting for it or its baseline has too few readings.
std::optional<BaselineStatistics> PointBaselineLimits(CMainConnection& db, const CVib& point,
                                                      const AlarmMeasure& measure);

} // namespace vantor
