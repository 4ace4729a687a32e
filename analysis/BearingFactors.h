#pragma once
// The four fault frequencies of a rolling-element bearing as orders of shaft speed, from its
// geometry or as its maker publishes them. The checks that keep absurd bearings out live with the
// store (store/BearingChecks.h).

#include "records/Bearings.h"

namespace vantor {

// The factors of a geometry that passed CheckGeometry.
BearingFactors FactorsFromGeometry(const BearingGeometry& geometry);

// A stored bearing's factors: from its geometry when it has one, else its published factors.
BearingFactors FactorsOf(const CBearing& bearing);

} // namespace vantor
