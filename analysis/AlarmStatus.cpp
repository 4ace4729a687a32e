#include "analysis/AlarmStatus.h"

#include "texts/UiText.h"

#include <array>
#include <bit>
#include <cmath>

namespace vantor {
namespace {

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 192, 0};
constexpr Rgb kOrange{255, 160, 0};
constexpr Rgb kRed{255, 0, 0};

// Zone boundaries of ISO 10816-3:1998 per machine group: rigid, then flexible foundation.
// Groups 1 and 3 (large machines; pumps with external driver) share one row, as do groups 2 and 4
// (medium machines; pumps with integrated driver).
constexpr std::array<std::array<IsoLimits, 2>, 4> kIso10816Zones = {{
    {{{4.5f, 7.1f}, {7.1f, 11.0f}}},
    {{{2.8f, 4.5f}, {4.5f, 7.1f}}},
    {{{4.5f, 7.1f}, {7.1f, 11.0f}}},
    {{{2.8f, 4.5f}, {4.5f, 7.1f}}},
}};

} // namespace

QString StatusText(StatusCode code) {
    return UiText(text::StatusNoReadings + static_cast<int>(code));
}

Rgb StatusColour(StatusCode code) {
    switch (code) {
    case StatusCode::Ok:
        return kGreen;
    case StatusCode::Warning:
        return kOrange;
    case StatusCode::Critical:
        return kRed;
    case StatusCode::NoReadings:
    case StatusCode::NotConfigured:
    case StatusCode::InvalidData:
        break;
    }
    return kBlue;
}

StatusCode MostSevere(StatusCode a, StatusCode b) {
    return static_cast<int>(b) > static_cast<int>(a) ? b : a;
}

bool IsNoValue(float value) {
    return std::bit_cast<std::uint32_t>(value) == kNoValueBits;
}

StatusCode ClassifyValue(float value, bool alarmsOn, float warning, float critical) {
    if (IsNoValue(value)) {
        return StatusCode::NoReadings;
    }
    // A NaN would compare below every limit and read as OK; neither it nor an infinity is a
    // measurement, so both are reported as invalid data.
    if (!std::isfinite(value)) {
        return StatusCode::InvalidData;
    }
    if (!alarmsOn) {
        return StatusCode::NotConfigured;
    }
    if (!(value >= warning)) {
        return StatusCode::Ok;
    }
    if (!(value >= critical)) {
        return StatusCode::Warning;
    }
    return StatusCode::Critical;
}

AlarmLimits LimitsFor(const CVib& point, MeasureKind kind) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        return {point.bISOAlarmsOn, point.fISOWarningMMS, point.fISOCriticalMMS};
    case MeasureKind::BearingNoise:
        return {point.bBDUAlarmsOn, point.fBDUWarning, point.fBDUCritical};
    case MeasureKind::Acceleration:
    case MeasureKind::Displacement:
        break;
    }
    return {};
}

StatusCode ClassifyMeasure(const CVib& point, const VibReadingValues& reading, MeasureKind kind) {
    const AlarmLimits limits = LimitsFor(point, kind);
    return ClassifyValue(MeasureValue(reading, kind), limits.alarmsOn, limits.warning, limits.critical);
}

void Combine(DatedStatus& into, const DatedStatus& next) {
    if (static_cast<int>(next.code) > static_cast<int>(into.code)) {
        into = next;
    } else if (next.code == into.code && next.dateTime.isValid() &&
               (!into.dateTime.isValid() || next.dateTime > into.dateTime)) {
        into.dateTime = next.dateTime;
    }
}

DatedStatus PointStatus(const CVib& point, const CVibReading* latestReading) {
    DatedStatus status;
    if (latestReading == nullptr) {
        return status;
    }
    for (const MeasureKind kind : kAllMeasureKinds) {
        Combine(status, {ClassifyMeasure(point, *latestReading, kind), latestReading->ctDateTaken});
    }
    return status;
}

StatusCell MakeStatusCell(const CVib& point, const CVibReading* latestReading, MeasureKind kind,
                          bool valuesOn, const MeasureFormat& format) {
    StatusCell cell;
    if (latestReading != nullptr) {
        cell.code = ClassifyMeasure(point, *latestReading, kind);
    }
    const float value = latestReading != nullptr ? MeasureValue(*latestReading, kind) : 0.0f;
    const bool showValue = valuesOn && latestReading != nullptr && !IsNoValue(value);
    cell.text = showValue ? FormatMeasure(kind, value, format) : StatusText(cell.code);
    cell.colour = StatusColour(cell.code);
    return cell;
}

std::optional<IsoLimits> IsoLimitsForGroup(int group, int foundation) {
    if (group < 1 || group > static_cast<int>(kIso10816Zones.size()) || foundation < 0 || foundation > 1) {
        return std::nullopt;
    }
    return kIso10816Zones[static_cast<std::size_t>(group - 1)][static_cast<std::size_t>(foundation)];
}

} // namespace vantor
