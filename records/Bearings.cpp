#include "records/Bearings.h"

namespace vantor {

std::optional<BearingGeometry> GeometryOf(const CBearing& bearing) {
    if (bearing.iRollingElements <= 0) {
        return std::nullopt;
    }
    return BearingGeometry{bearing.iRollingElements, bearing.fRollingElementDiameterMM,
                           bearing.fPitchDiameterMM, bearing.fContactAngleDeg};
}

} // namespace vantor
