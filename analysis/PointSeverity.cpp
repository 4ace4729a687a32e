#include "analysis/PointSeverity.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantor {
namespace {

std::optional<float> Judged(float value) {
    if (IsNoValue(value) || !std::isfinite(value) || value < 0) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<QString> CheckPointStandard(const QString& standardName, std::optional<int> group,
                                          const QString& supportName) {
    const std::optional<SeverityStandard> standard = SeverityStandardNamed(standardName);
    if (!standard) {
        return QStringLiteral("Unknown standard \"%1\": iso10816-3 or iso20816-3").arg(standardName);
    }
    if (*standard == SeverityStandard::Iso10816_3) {
        return std::nullopt;
    }
    if (!group) {
        return QStringLiteral("ISO 20816-3 needs the machine group (1 or 2)");
    }
    if (*group < 1 || *group > kSeverityGroups) {
        return QStringLiteral("ISO 20816-3 has machine groups 1 and 2; group %1 is not in its table")
            .arg(*group);
    }
    if (!SupportNamed(supportName)) {
        return QStringLiteral("The support must be rigid or flexible, not \"%1\"").arg(supportName);
    }
    return std::nullopt;
}

std::optional<PointStandard> PointStandardOf(const PointSeverityRow& row) {
    if (CheckPointStandard(row.standard, row.group, row.support)) {
        return std::nullopt;
    }
    PointStandard standard;
    standard.standard = *SeverityStandardNamed(row.standard);
    if (standard.standard == SeverityStandard::Iso20816_3) {
        standard.group = row.group;
        standard.support = *SupportNamed(row.support);
    }
    return standard;
}

PointSeverityRow ToSeverityRow(const QString& pointGuid, const PointStandard& standard) {
    return {pointGuid, SeverityStandardName(standard.standard), standard.group,
            SupportName(standard.support)};
}

QString PointStandardText(const PointStandard& standard) {
    if (standard.standard == SeverityStandard::Iso10816_3) {
        return QStringLiteral("ISO 10816-3 (documented alarm)");
    }
    return QStringLiteral("%1 group %2, %3")
        .arg(SeverityStandardCaption(standard.standard))
        .arg(standard.group)
        .arg(SupportName(standard.support));
}

std::optional<PointZone> ReadingZone(const PointStandard& standard, const CVib& point,
                                     const VibReadingValues& reading) {
    if (standard.standard != SeverityStandard::Iso20816_3) {
        return std::nullopt;
    }
    PointZone zone;
    zone.standard = standard;
    zone.dateTime = reading.ctDateTaken;
    zone.input.group = standard.group;
    zone.input.support = standard.support;
    zone.input.velocityMms = Judged(reading.fISOMMS);
    zone.input.displacementMicrons = Judged(reading.fDisplacementMicrons);
    zone.input.runSpeedHz = reading.fCurrentRunSpeedHz > 0 && std::isfinite(reading.fCurrentRunSpeedHz)
                                ? reading.fCurrentRunSpeedHz
                                : point.fRunSpeedHz;
    const std::optional<ZoneVerdict> verdict = JudgeZone(zone.input);
    if (!verdict) {
        return std::nullopt;
    }
    zone.verdict = *verdict;
    zone.text = ZoneVerdictText(zone.verdict, zone.input);
    return zone;
}

StatusCode ZoneStatus(Zone zone) {
    switch (zone) {
    case Zone::A:
    case Zone::B:
        return StatusCode::Ok;
    case Zone::C:
        return StatusCode::Warning;
    case Zone::D:
        return StatusCode::Critical;
    }
    return StatusCode::Ok;
}

PointSuggestion SuggestPointAlarms(const CVib& point, const std::vector<CVibReading>& readings, int group,
                                   Support support, int baselineReadings) {
    PointSuggestion result;
    const std::optional<ZoneBoundaries> velocity =
        Iso20816Boundaries(group, support, SeverityQuantity::Velocity);
    if (!velocity) {
        result.outcome.refusal =
            QStringLiteral("ISO 20816-3 has machine groups 1 and 2; group %1 is not in its table").arg(group);
        return result;
    }
    result.velocity = *velocity;
    std::vector<double> baseline;
    for (const CVibReading& reading : readings) {
        if (baseline.size() >= static_cast<std::size_t>(std::max(baselineReadings, 0))) {
            break;
        }
        if (const std::optional<float> value = Judged(reading.fISOMMS)) {
            baseline.push_back(*value);
        }
    }
    if (baseline.empty()) {
        result.outcome.refusal = QStringLiteral("The point %1 has no ISO velocity readings").arg(point.sName);
        return result;
    }
    result.outcome = SuggestAlarmLevels(baseline, *velocity);
    return result;
}

} // namespace vantor
