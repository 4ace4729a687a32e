#pragma once
// alarms, bands, diagnose: a point's baseline and change alarm settings, its spectral alarm bands,
// and the automatic diagnosis of a reading; and the JSON the status command adds for them.

#include "analysis/Diagnosis.h"
#include "analysis/PointAlarms.h"

#include <QJsonArray>

#include <vector>

namespace vantor::cli {

// [{kind, caption, severity, severityText, confidence, summary, evidence: [{source, hz, value, unit, text}]}]
QJsonArray FindingsJson(const std::vector<Finding>& findings);
// [{source, status, statusText, text}]
QJsonArray ReasonsJson(const std::vector<AlarmReason>& reasons);

} // namespace vantor::cli
