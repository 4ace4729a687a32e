#include "analysis/SeverityZones.h"

#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

QString Boundary(double value) {
    return TextNumber(value, 'g', 4);
}

QString Value(float value) {
    return TextNumber(static_cast<double>(value), 'f', 2);
}

// The boundary a zone was reached at ("B/C 2.8"), or in zone A the next one up ("A/B 1.4").
QString BoundaryText(Zone zone, const ZoneBoundaries& b) {
    switch (zone) {
    case Zone::A:
    case Zone::B:
        return zone == Zone::A ? UiText(text::added::ZoneBelowAB).arg(Boundary(b.ab))
                               : QStringLiteral("A/B %1").arg(Boundary(b.ab));
    case Zone::C:
        return QStringLiteral("B/C %1").arg(Boundary(b.bc));
    case Zone::D:
        return QStringLiteral("C/D %1").arg(Boundary(b.cd));
    }
    return {};
}

} // namespace

QString SeverityStandardName(SeverityStandard standard) {
    return standard == SeverityStandard::Iso20816_3 ? QStringLiteral("iso20816-3")
                                                    : QStringLiteral("iso10816-3");
}

std::optional<SeverityStandard> SeverityStandardNamed(const QString& name) {
    for (const SeverityStandard standard : {SeverityStandard::Iso10816_3, SeverityStandard::Iso20816_3}) {
        if (name.compare(SeverityStandardName(standard), Qt::CaseInsensitive) == 0) {
            return standard;
        }
    }
    return std::nullopt;
}

QString SeverityStandardCaption(SeverityStandard standard) {
    return standard == SeverityStandard::Iso20816_3 ? QStringLiteral("ISO 20816-3")
                                                    : QStringLiteral("ISO 10816-3");
}

QString SupportName(Support support) {
    return support == Support::Flexible ? QStringLiteral("flexible") : QStringLiteral("rigid");
}

std::optional<Support> SupportNamed(const QString& name) {
    for (const Support support : {Support::Rigid, Support::Flexible}) {
        if (name.compare(SupportName(support), Qt::CaseInsensitive) == 0) {
            return support;
        }
    }
    return std::nullopt;
}

QString SeverityQuantityName(SeverityQuantity quantity) {
    return quantity == SeverityQuantity::Displacement ? QStringLiteral("displacement")
                                                      : QStringLiteral("velocity");
}

QString SeverityQuantityUnit(SeverityQuantity quantity) {
    return quantity == SeverityQuantity::Displacement ? QStringLiteral("µm") : QStringLiteral("mm/s");
}

QString ZoneName(Zone zone) {
    return QString(QLatin1Char(static_cast<char>('A' + static_cast<int>(zone))));
}

std::optional<ZoneBoundaries> Iso20816Boundaries(int group, Support support, SeverityQuantity quantity) {
    for (const SeverityZoneRow& row : kIso20816Zones) {
        if (row.group == group && row.support == support && row.quantity == quantity) {
            return row.boundaries;
        }
    }
    return std::nullopt;
}

QString Iso20816Source(int group, Support support) {
    for (const SeverityZoneRow& row : kIso20816Zones) {
        if (row.group == group && row.support == support) {
            return QLatin1String(row.source);
        }
    }
    return {};
}

Zone ZoneOf(float value, const ZoneBoundaries& b) {
    if (value >= static_cast<float>(b.cd)) {
        return Zone::D;
    }
    if (value >= static_cast<float>(b.bc)) {
        return Zone::C;
    }
    return value >= static_cast<float>(b.ab) ? Zone::B : Zone::A;
}

std::optional<ZoneVerdict> JudgeZone(const ZoneInput& input) {
    const std::optional<ZoneBoundaries> velocity =
        Iso20816Boundaries(input.group, input.support, SeverityQuantity::Velocity);
    const std::optional<ZoneBoundaries> displacement =
        Iso20816Boundaries(input.group, input.support, SeverityQuantity::Displacement);
    if (!velocity || !displacement) {
        return std::nullopt;
    }
    ZoneVerdict verdict;
    verdict.velocityBoundaries = *velocity;
    verdict.displacementBoundaries = *displacement;
    if (input.velocityMms) {
        verdict.velocity = ZoneOf(*input.velocityMms, *velocity);
    }
    const bool slow = input.runSpeedHz > 0 && input.runSpeedHz * 60.0 < SeverityRules::kDisplacementBelowRpm;
    if (slow && input.displacementMicrons) {
        verdict.displacement = ZoneOf(*input.displacementMicrons, *displacement);
    }
    if (!verdict.velocity && !verdict.displacement) {
        return std::nullopt;
    }
    // The more restrictive quantity decides; velocity where both give the same zone.
    if (verdict.velocity && (!verdict.displacement || *verdict.velocity >= *verdict.displacement)) {
        verdict.zone = *verdict.velocity;
        verdict.decidedBy = SeverityQuantity::Velocity;
    } else {
        verdict.zone = *verdict.displacement;
        verdict.decidedBy = SeverityQuantity::Displacement;
    }
    return verdict;
}

QString ZoneVerdictText(const ZoneVerdict& verdict, const ZoneInput& input) {
    const bool byVelocity = verdict.decidedBy == SeverityQuantity::Velocity;
    const float value = byVelocity ? input.velocityMms.value_or(0) : input.displacementMicrons.value_or(0);
    const QString unit = SeverityQuantityUnit(verdict.decidedBy);
    return UiText(text::added::ZoneVerdict)
        .arg(ZoneName(verdict.zone),
             UiText(byVelocity ? text::added::ZoneByVelocity : text::added::ZoneByDisplacement), Value(value),
             unit,
             BoundaryText(verdict.zone,
                          byVelocity ? verdict.velocityBoundaries : verdict.displacementBoundaries));
}

SuggestionOutcome SuggestAlarmLevels(std::span<const double> baselineMms, const ZoneBoundaries& velocity) {
    SuggestionOutcome outcome;
    if (baselineMms.size() < static_cast<std::size_t>(SeverityRules::kFewestBaselineReadings)) {
        outcome.refusal = QStringLiteral("The baseline has %1 ISO velocity readings; at least %2 are needed")
                              .arg(baselineMms.size())
                              .arg(SeverityRules::kFewestBaselineReadings);
        return outcome;
    }
    if (std::any_of(baselineMms.begin(), baselineMms.end(),
                    [](double v) { return !std::isfinite(v) || v < 0; })) {
        outcome.refusal =
            QStringLiteral("The baseline holds a velocity that is not a finite value of 0 or more");
        return outcome;
    }
    AlarmSuggestion s;
    s.readings = static_cast<int>(baselineMms.size());
    double sum = 0;
    for (const double v : baselineMms) {
        sum += v;
    }
    s.baselineMms = sum / static_cast<double>(baselineMms.size());
    const double alarm = s.baselineMms + SeverityRules::kAlarmShareOfBc * velocity.bc;
    const double cap = SeverityRules::kAlarmCapOfBc * velocity.bc;
    s.alarmCapped = alarm > cap;
    s.alarmMms = std::min(alarm, cap);
    s.tripMms = SeverityRules::kTripOfCd * velocity.cd;
    outcome.suggestion = s;
    return outcome;
}

} // namespace vantor
