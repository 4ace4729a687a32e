#pragma once
// The range of run speeds a point may have and the analysis may compute with.

#include <cmath>

namespace vantor {

// The fastest running speed a point may have: 60,000 RPM, above the shaft speeds of industrial
// machinery (ISO 10816-3 rates machines of 120 to 15,000 RPM; high-speed turbo compressors run faster). It
// keeps the meter's two-decimal speed field a number the meter can take.
inline constexpr double kMaxRunSpeedHz = 1000.0;
// A run speed the analysis may compute with: finite, above 0 and at most kMaxRunSpeedHz.
inline bool IsUsableRunSpeed(double hz) {
    return std::isfinite(hz) && hz > 0 && hz <= kMaxRunSpeedHz;
}

} // namespace vantor
