#pragma once
// The bearings a new bearing library starts with: deep-groove and roller bearings of public
// bearing test rigs, whose geometry their publishers give. Each carries a fixed GUID, so the same
// starter bearing has the same key in every database and travels between them by GUID.

#include "store/BearingRecords.h"

#include <vector>

namespace vantor {

// In library order (fOrder 0, 1, 2, ...).
std::vector<CBearing> StarterBearings();

} // namespace vantor
