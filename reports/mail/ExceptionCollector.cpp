#include "reports/mail/ExceptionCollector.h"

#include "analysis/AlarmStatus.h"

namespace vantor {
namespace {

struct MeasureSource {
    MeasureKind kind;
    bool usesBduLimits;
};

// The five reported measures in report order, with the measure kind their value is formatted as.
constexpr std::array<MeasureSource, kExceptionMeasureCount> kSources = {{
    {MeasureKind::IsoVelocity, false},
    {MeasureKind::BearingNoise, true},
    {MeasureKind::VaBand1, false},
    {MeasureKind::VaBand2, false},
    {MeasureKind::VaBand3, false},
}};

} // namespace

ExceptionStatus ExceptionStatusOf(float value, float warning, float critical) {
    if (value >= warning && !(value >= critical)) {
        return ExceptionStatus::Warning;
    }
    if (value >= critical) {
        return ExceptionStatus::Critical;
    }
    return ExceptionStatus::None;
}

bool MakePointException(const CVib& point, const VibReadingValues& reading, const MeasureFormat& format,
                        PointException& entry) {
    entry = PointException{point.sName, reading.ctDateTaken, {}};
    bool any = false;
    for (int i = 0; i < kExceptionMeasureCount; ++i) {
        const MeasureSource& source = kSources[static_cast<std::size_t>(i)];
        const float value = MeasureValue(reading, source.kind);
        if (IsNoValue(value)) {
            continue;
        }
        const bool alarmsOn = source.usesBduLimits ? point.bBDUAlarmsOn : point.bISOAlarmsOn;
        if (!alarmsOn) {
            continue;
        }
        const ExceptionStatus status =
            source.usesBduLimits ? ExceptionStatusOf(value, point.fBDUWarning, point.fBDUCritical)
                                 : ExceptionStatusOf(value, point.fISOWarningMMS, point.fISOCriticalMMS);
        if (status == ExceptionStatus::None) {
            continue;
        }
        entry.measures[static_cast<std::size_t>(i)] = {FormatMeasure(source.kind, value, format), status};
        any = true;
    }
    return any;
}

void CollectException(ExceptionList& list, const ExceptionCollectOptions& options, const CMachine& machine,
                      const CVib& point, const CVibReading& reading) {
    if (!options.emailExceptionsOnUpload || machine.sEMails.isEmpty()) {
        return;
    }
    PointException entry;
    if (!MakePointException(point, reading, options.format, entry)) {
        return;
    }
    list.Add(machine.sItemGUID, machine.sName, machine.sEMails, std::move(entry));
}

} // namespace vantor
