#pragma once
// The output of the follow-up commands: tab-separated lines, or JSON with --json.

#include "app/AlarmEvents.h"
#include "app/FollowUpNotes.h"
#include "app/Recommendations.h"
#include "app/RouteSchedule.h"

#include <QJsonObject>

#include <cstdio>
#include <vector>

namespace vantor::cli {

// machine, point, last reading, due, days late, route; JSON adds the GUIDs and "overdue".
void PrintDuePoints(std::FILE* out, const std::vector<DuePoint>& points, bool json);
// route, interval, points, on time, due, percent; then "all"; JSON {from, to, routes: [...], total}.
void PrintCompliance(std::FILE* out, const PlantCompliance& compliance, const QDate& from, const QDate& to,
                     bool json);
// id, raised, level, source, machine, point, state (New / Acknowledged), reason; each trail entry
// indented below its event.
void PrintEvents(std::FILE* out, const std::vector<EventView>& events, bool json);
void PrintNotes(std::FILE* out, const std::vector<NoteView>& notes, bool json);
void PrintRecommendations(std::FILE* out, CMainConnection& db, const std::vector<RecommendationRow>& rows,
                          bool json);
void PrintDiagnosisRecord(std::FILE* out, const std::vector<RuleRecord>& rules, bool json);

QJsonObject RecommendationJson(const RecommendationRow& row);

} // namespace vantor::cli
