#pragma once
// The four fault frequencies of a rolling-element bearing as orders of shaft speed, from its
// geometry or as its maker publishes them, and the checks that keep absurd bearings out.

#include "store/BearingRecords.h"

#include <QString>

#include <optional>

namespace vantor {

struct BearingGeometry {
    int rollingElements = 0;      // Z
    double elementDiameterMM = 0; // d
    double pitchDiameterMM = 0;   // D
    double contactAngleDeg = 0;   // φ
};

// Orders of shaft speed (outer ring stationary, inner ring turning with the shaft).
struct BearingFactors {
    double ftf = 0;  // fundamental train (cage)
    double bsf = 0;  // ball (rolling element) spin
    double bpfo = 0; // ball pass, outer race
    double bpfi = 0; // ball pass, inner race
};

// Limits of a credible bearing.
inline constexpr int kFewestRollingElements = 3;
inline constexpr int kMostRollingElements = 200;
inline constexpr double kContactAngleLimitDeg = 90.0;
inline constexpr double kLargestFactor = 1000.0;

// The message refusing the geometry, or none when it is credible: Z from 3 to 200, 0 < d < D,
// 0 <= φ < 90°, and Z elements of diameter d fitting side by side on the pitch circle.
std::optional<QString> CheckGeometry(const BearingGeometry& geometry);
// The message refusing published factors, or none: each finite, above 0 and below 1000, the cage
// slower than the shaft (FTF < 1).
std::optional<QString> CheckFactors(const BearingFactors& factors);

// The factors of a geometry that passed CheckGeometry.
BearingFactors FactorsFromGeometry(const BearingGeometry& geometry);

// A stored bearing's geometry (none when it is described by its factors).
std::optional<BearingGeometry> GeometryOf(const CBearing& bearing);
// A stored bearing's factors: from its geometry when it has one, else its published factors.
BearingFactors FactorsOf(const CBearing& bearing);
// The message refusing a bearing record (its geometry, or its factors when it has none).
std::optional<QString> CheckBearing(const CBearing& bearing);

} // namespace vantor
