#include "reports/document/ReportSelection.h"

#include "analysis/AlarmStatus.h"

#include <algorithm>

namespace vantor {

std::vector<CVibReading> ReadingsInPeriod(std::vector<CVibReading> oldestFirst,
                                          const ReportOptions& options) {
    switch (options.period) {
    case ReportPeriod::LastMeasurement:
        if (oldestFirst.size() > 1) {
            oldestFirst.erase(oldestFirst.begin(), oldestFirst.end() - 1);
        }
        return oldestFirst;
    case ReportPeriod::BetweenDates:
        std::erase_if(oldestFirst, [&options](const CVibReading& reading) {
            return reading.ctDateTaken < options.start || reading.ctDateTaken > options.end;
        });
        return oldestFirst;
    case ReportPeriod::AllMeasurements:
        return oldestFirst;
    }
    return oldestFirst;
}

bool MeasureReported(ReportType type, const CVib& point, const CVibReading* newestKept, MeasureKind measure) {
    if (type == ReportType::Manual) {
        return true;
    }
    if (newestKept == nullptr) {
        return false;
    }
    switch (measure) {
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
    case MeasureKind::BearingNoise: {
        const AlarmLimits limits = LimitsFor(point, measure);
        const float value = MeasureValue(*newestKept, measure);
        return limits.alarmsOn && !IsNoValue(value) && value >= limits.warning;
    }
    case MeasureKind::Acceleration:
    case MeasureKind::Displacement:
        return false;
    }
    return false;
}

} // namespace vantor
