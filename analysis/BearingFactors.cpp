#include "analysis/BearingFactors.h"

#include <QLocale>

#include <cmath>
#include <numbers>

namespace vantor {
namespace {

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

QString Number(double value) {
    return QLocale::c().toString(value, 'g', 6);
}

bool Credible(double factor) {
    return std::isfinite(factor) && factor > 0.0 && factor < kLargestFactor;
}

} // namespace

std::optional<QString> CheckGeometry(const BearingGeometry& g) {
    if (g.rollingElements < kFewestRollingElements || g.rollingElements > kMostRollingElements) {
        return QStringLiteral("the number of rolling elements must be from %1 to %2")
            .arg(kFewestRollingElements)
            .arg(kMostRollingElements);
    }
    if (!std::isfinite(g.elementDiameterMM) || !std::isfinite(g.pitchDiameterMM) ||
        g.elementDiameterMM <= 0.0) {
        return QStringLiteral("the rolling-element diameter must be above 0");
    }
    if (g.pitchDiameterMM <= g.elementDiameterMM) {
        return QStringLiteral(
                   "the pitch diameter (%1 mm) must be greater than the rolling-element diameter (%2 mm)")
            .arg(Number(g.pitchDiameterMM), Number(g.elementDiameterMM));
    }
    if (!std::isfinite(g.contactAngleDeg) || g.contactAngleDeg < 0.0 ||
        g.contactAngleDeg >= kContactAngleLimitDeg) {
        return QStringLiteral("the contact angle must be at least 0 and below 90 degrees");
    }
    // Neighbouring elements' centres lie a chord D·sin(π/Z) apart on the pitch circle; elements
    // wider than that chord would overlap.
    const double chord = g.pitchDiameterMM * std::sin(std::numbers::pi / g.rollingElements);
    if (g.elementDiameterMM > chord) {
        return QStringLiteral("%1 rolling elements of %2 mm do not fit on a pitch diameter of %3 mm")
            .arg(g.rollingElements)
            .arg(Number(g.elementDiameterMM), Number(g.pitchDiameterMM));
    }
    return std::nullopt;
}

std::optional<QString> CheckFactors(const BearingFactors& f) {
    const std::pair<const char*, double> named[] = {
        {"FTF", f.ftf}, {"BSF", f.bsf}, {"BPFO", f.bpfo}, {"BPFI", f.bpfi}};
    for (const auto& [name, value] : named) {
        if (!Credible(value)) {
            return QStringLiteral("%1 must be above 0 and below %2")
                .arg(QLatin1String(name))
                .arg(kLargestFactor);
        }
    }
    if (f.ftf >= 1.0) {
        return QStringLiteral("FTF must be below 1 (the cage turns slower than the shaft)");
    }
    return std::nullopt;
}

// The kinematic bearing frequencies for a stationary outer ring, with g = (d/D)·cos φ:
//   FTF = ½(1 − g), BPFO = Z/2·(1 − g), BPFI = Z/2·(1 + g), BSF = D/(2d)·(1 − g²)
// (T. A. Harris and M. N. Kotzalas, Rolling Bearing Analysis, 5th ed., ch. 8; R. B. Randall,
// Vibration-based Condition Monitoring, Wiley 2011, section 5.5.1). BSF is the ball's own spin;
// tables that list "2×BSF" give twice this value.
BearingFactors FactorsFromGeometry(const BearingGeometry& geometry) {
    const double g =
        geometry.elementDiameterMM / geometry.pitchDiameterMM * std::cos(Radians(geometry.contactAngleDeg));
    const double halfZ = geometry.rollingElements / 2.0;
    BearingFactors f;
    f.ftf = 0.5 * (1.0 - g);
    f.bpfo = halfZ * (1.0 - g);
    f.bpfi = halfZ * (1.0 + g);
    f.bsf = geometry.pitchDiameterMM / (2.0 * geometry.elementDiameterMM) * (1.0 - g * g);
    return f;
}

std::optional<BearingGeometry> GeometryOf(const CBearing& bearing) {
    if (bearing.iRollingElements <= 0) {
        return std::nullopt;
    }
    return BearingGeometry{bearing.iRollingElements, bearing.fRollingElementDiameterMM,
                           bearing.fPitchDiameterMM, bearing.fContactAngleDeg};
}

BearingFactors FactorsOf(const CBearing& bearing) {
    if (const auto geometry = GeometryOf(bearing)) {
        return FactorsFromGeometry(*geometry);
    }
    return {bearing.fFTF, bearing.fBSF, bearing.fBPFO, bearing.fBPFI};
}

std::optional<QString> CheckBearing(const CBearing& bearing) {
    if (bearing.sDesignation.trimmed().isEmpty()) {
        return QStringLiteral("a bearing needs its designation");
    }
    if (const auto geometry = GeometryOf(bearing)) {
        return CheckGeometry(*geometry);
    }
    return CheckFactors(FactorsOf(bearing));
}

} // namespace vantor
