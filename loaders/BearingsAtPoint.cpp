#include "loaders/BearingsAtPoint.h"

#include "store/BearingStore.h"

namespace vantor {

std::vector<BearingAtPoint> LoadBearingsAtPoint(CBearingStore& store, const QString& point) {
    std::vector<BearingAtPoint> bearings;
    for (const CPointBearing& assignment : store.ListPointBearings(point)) {
        CBearing bearing;
        if (!store.GetBearing(assignment.sBearingGUID, bearing)) {
            continue;
        }
        bearings.push_back({assignment.sItemGUID, bearing.sItemGUID, bearing.sDesignation,
                            assignment.sLocation, FactorsOf(bearing),
                            assignment.fSpeedRatio > 0 ? assignment.fSpeedRatio : 1.0});
    }
    return bearings;
}

} // namespace vantor
