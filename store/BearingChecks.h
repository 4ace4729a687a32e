#pragma once
// The checks that keep absurd bearings out of the library, shared by every path that writes one
// (the editor, `bearing add`, the bearing spreadsheet) and by the readers that hand stored bearings
// to the analysis. Records are judged as stored, in their float columns.

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
inline constexpr int kBearingTextLimit = 50;   // designation, maker, location
inline constexpr double kMostSpeedRatio = 100; // a bearing's shaft against the point's run speed

// The message refusing the geometry, or none when it is credible: Z from 3 to 200, 0 < d < D,
// 0 <= φ < 90°, Z elements of diameter d fitting side by side on the pitch circle, and a ball spin
// below 1000 orders (D/2d, so d above D/2000).
std::optional<QString> CheckGeometry(const BearingGeometry& geometry);
// The message refusing published factors, or none: each finite, above 0 and below 1000, the cage
// slower than the shaft (FTF < 1).
std::optional<QString> CheckFactors(const BearingFactors& factors);

// A stored bearing's geometry (none when it is described by its factors).
std::optional<BearingGeometry> GeometryOf(const CBearing& bearing);
// The message refusing a bearing record's numbers as its columns hold them: its geometry, or its
// published factors when it has none.
std::optional<QString> CheckBearingNumbers(const CBearing& bearing);
// The message refusing a bearing record: its designation (1 to 50 characters), maker (at most 50)
// and source, none with a control character (tab, NUL, ESC...), then its numbers. The texts are
// judged as given; callers trim them first.
std::optional<QString> CheckBearing(const CBearing& bearing);
// The message refusing an assignment: a location of 1 to 50 characters without control
// characters, a speed ratio above 0 and at most 100 as its float column holds it.
std::optional<QString> CheckPointBearing(const CPointBearing& assignment);

} // namespace vantor
