#pragma once
// Stored values a reader leaves out because they fail the checks they were stored under (a file
// written by an older version, or edited by hand): each is named once per program run on the log
// category "vantor.stored-values", which the command line shows by default, so the user learns
// why a bearing, alarm setting or band is missing from a result and what to correct.

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcStoredValues)

namespace vantor {

// Logs `message` as a warning the first time `key` is reported in this process; later reports of
// the same key are dropped, so a command that reads one bad row for every point names it once.
// Safe to call from any thread.
void ReportLeftOutValue(const QString& key, const QString& message);

} // namespace vantor
