#include "records/BearingNumbers.h"

#include <QLocale>

#include <cmath>
#include <numbers>
#include <utility>

namespace vantor {
namespace {

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
    if (!std::isfinite(g.elementDiameterMM) || g.elementDiameterMM <= 0.0) {
        return QStringLiteral("the rolling-element diameter must be a finite number above 0");
    }
    if (!std::isfinite(g.pitchDiameterMM)) {
        return QStringLiteral("the pitch diameter must be a finite number");
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
    // The ball spin BSF = D/(2d)·(1 − g²) stays below D/(2d); a ball that small against its pitch
    // circle would spin past every factor a bearing table lists.
    if (g.pitchDiameterMM / (2.0 * g.elementDiameterMM) >= kLargestFactor) {
        return QStringLiteral("a rolling element of %1 mm is too small for a pitch diameter of %2 mm "
                              "(the ball spin would reach %3 orders)")
            .arg(Number(g.elementDiameterMM), Number(g.pitchDiameterMM))
            .arg(kLargestFactor);
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

std::optional<QString> CheckBearingNumbers(const CBearing& bearing) {
    if (const auto geometry = GeometryOf(bearing)) {
        return CheckGeometry(*geometry);
    }
    return CheckFactors({bearing.fFTF, bearing.fBSF, bearing.fBPFO, bearing.fBPFI});
}

} // namespace vantor
