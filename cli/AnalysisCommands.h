#pragma once
// status and signals: the vibration status table and one reading's decoded signals.

#include "app/CAppData.h"

#include <QString>

#include <cstdio>

namespace vantor::cli {

// The vibration status table, one line per point (machine, point, latest date, point status and
// the chosen columns, tab-separated) or, with json, an array of row objects.
int RunStatus(CAppData& app, bool json, std::FILE* out = stdout);

// A reading's decoded signals (a route reading through its cache file, else an off-route reading)
// and the overall values recomputed from its ISO spectrum.
int RunSignals(CAppData& app, const QString& readingGuid, bool json, std::FILE* out = stdout);

} // namespace vantor::cli
