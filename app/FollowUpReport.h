#pragma once
// The report's sections of the follow-up, after the documented ones and the findings: "Events and
// recommendations" (the chosen machines' new events, the acknowledgement trail of their events and
// their open recommendations), "Notes" (the notes on the chosen machines and their points, oldest
// first) and "Route compliance" over the last 90 days before the report date, once a route has its
// own schedule or the chosen machines have events or notes. A section with nothing to
// show is left out, so a database without any of this gives the report exactly as before.

#include "reports/document/ReportDocument.h"

#include <QDate>
#include <QLocale>
#include <QStringList>

#include <vector>

namespace vantor {

class CMainConnection;

// Appends the sections for the machines (GUIDs). Never throws: a database failure is logged and
// leaves the sections out.
void AddFollowUpSections(CMainConnection& db, const QStringList& machineGuids, const QDate& reportDate,
                         std::vector<ReportBlock>& blocks);

} // namespace vantor
