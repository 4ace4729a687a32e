#include "analysis/BearingFactors.h"

#include <cmath>
#include <numbers>

namespace vantor {
namespace {

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

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

BearingFactors FactorsOf(const CBearing& bearing) {
    if (const auto geometry = GeometryOf(bearing)) {
        return FactorsFromGeometry(*geometry);
    }
    return {bearing.fFTF, bearing.fBSF, bearing.fBPFO, bearing.fBPFI};
}

} // namespace vantor
