#pragma once
// The bearings a point watches, read from the bearing library with their fault factors.

#include "analysis/FaultFamilies.h"

#include <QString>

#include <vector>

namespace vantor {

class CBearingStore;

// The point's bearings in their order, each with its factors; an assignment whose bearing is gone
// is passed over.
std::vector<BearingAtPoint> LoadBearingsAtPoint(CBearingStore& store, const QString& point);

} // namespace vantor
