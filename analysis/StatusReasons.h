#pragma once
// The words behind a point's status, shared by every place that shows it (the machine tree's and the
// status table's tooltips, the Findings pane, `vantor status`, the report's status section): the
// baseline, change and band alarms that stand and the alarming findings of the newest reading.

#include "analysis/Diagnosis.h"
#include "analysis/PointAlarms.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantor {

// A confidence 0..1 as a whole percentage: "85 %".
QString ConfidenceText(double confidence);

// "Bearing defect - CRITICAL (90 %): <summary>".
QString FindingLine(const Finding& finding);

// A reason of the baseline, change or band alarms as the tree's tooltip shows it:
// "CRITICAL Statistical alarm: ISO velocity 3.10 ≥ baseline + 3σ 2.95" (its status word ahead).
QString AlarmReasonText(const AlarmReason& reason);

// One line per reason, then one per alarming finding (WARNING or CRITICAL) of the newest reading.
QStringList PointStatusReasons(const std::vector<AlarmReason>& reasons,
                               const std::optional<std::vector<Finding>>& findings);

} // namespace vantor
