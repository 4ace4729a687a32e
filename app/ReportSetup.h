#pragma once
// What the desktop and the command line hand the report worker: the document's look from the
// user's settings and folders, and the job for one output file.

#include "app/CAppData.h"
#include "reports/document/ReportWorker.h"

namespace vantor {

ReportLook MakeReportLook(const CAppData& app);
ReportJob MakeReportJob(CAppData& app, const ReportOptions& options, const QString& outputPath);
// The names of every machine, in list order.
QStringList MachineNames(CMainConnection& db);
// The range text that follows the messages of a between-dates range outside what can be stored.
QString RepresentableRangeText(const CAppData& app);

} // namespace vantor
