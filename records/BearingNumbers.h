#pragma once
// The numbers of a credible bearing: its geometry or its published factors. The store's checks
// (store/BearingChecks.h) add the texts; the analysis relies on these.

#include "records/Bearings.h"

#include <QString>

#include <optional>

namespace vantor {

// Limits of a credible bearing.
inline constexpr int kFewestRollingElements = 3;
inline constexpr int kMostRollingElements = 200;
inline constexpr double kContactAngleLimitDeg = 90.0;
inline constexpr double kLargestFactor = 1000.0;

// The message refusing the geometry, or none when it is credible: Z from 3 to 200, 0 < d < D,
// 0 <= φ < 90°, Z elements of diameter d fitting side by side on the pitch circle, and a ball spin
// below 1000 orders (D/2d, so d above D/2000).
std::optional<QString> CheckGeometry(const BearingGeometry& geometry);
// The message refusing published factors, or none: each finite, above 0 and below 1000, the cage
// slower than the shaft (FTF < 1).
std::optional<QString> CheckFactors(const BearingFactors& factors);

// The message refusing a bearing record's numbers as its columns hold them: its geometry, or its
// published factors when it has none.
std::optional<QString> CheckBearingNumbers(const CBearing& bearing);

} // namespace vantor
