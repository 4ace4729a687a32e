#pragma once
// What the desktop shows and edits of a point's severity standard: the standard for the point
// set-up (read and stored, each database failure turned into its message), the ALARM and TRIP the
// standard proposes from the point's baseline, and the line that names a point's zone in the status
// table's tooltip, the Findings pane and the report.

#include "analysis/PointSeverity.h"

#include <QString>

#include <optional>

namespace vantor {

class CMainConnection;
class Prompter;

// The point's standard (the documented alarm for a new point, an empty GUID); none after
// "Error loading record, please try again" (logged).
std::optional<PointStandard> LoadSeverityStandard(CMainConnection& db, Prompter& prompter,
                                                  const QString& pointGuid);
// Stores it; false after "Error saving record" (logged).
bool SaveSeverityStandard(CMainConnection& db, Prompter& prompter, const QString& pointGuid,
                          const PointStandard& standard);
// The levels ISO 20816-3 proposes for the point's group and support from its first readings (as
// many as the statistical alarm's baseline); none after the refusal's message (no ISO readings,
// too few) or a database failure. Nothing is stored.
std::optional<AlarmSuggestion> SuggestSeverityLevels(CMainConnection& db, Prompter& prompter,
                                                     const CVib& point, int group, Support support);

// "Severity by ISO 20816-3 group 2, rigid: zone C (velocity 3.10 mm/s, B/C 2.8 mm/s)".
QString SeverityZoneLine(const PointZone& zone);

} // namespace vantor
