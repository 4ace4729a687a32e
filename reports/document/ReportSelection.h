#pragma once
// Which readings and measures of a point a report shows: the reporting period applied to the
// point's readings, and the exception rule that keeps only the measures at or above their warning.

#include "analysis/Measures.h"
#include "reports/document/ReportOptions.h"
#include "store/Records.h"

#include <vector>

namespace vantor {

// The readings (oldest first) the period keeps: the newest one, those between the start and the
// end (both ends included), or all. Kept in their order.
std::vector<CVibReading> ReadingsInPeriod(std::vector<CVibReading> oldestFirst, const ReportOptions& options);

// Whether a measure of a point is reported. A manual report reports every measure. An exception
// report reports ISO velocity and the VA bands when the point's ISO alarms are on and the newest
// kept reading's value is at or above the ISO warning, bearing noise when the bearing alarms are on
// and its value is at or above the bearing warning, and never acceleration or displacement. The
// meter's no-value marker is never an exception.
bool MeasureReported(ReportType type, const CVib& point, const CVibReading* newestKept, MeasureKind measure);

} // namespace vantor
