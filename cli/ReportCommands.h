#pragma once
// report: the document report written as ODT or PDF, headless.

#include "app/CAppData.h"
#include "cli/CommandContext.h"
#include "reports/document/ReportOptions.h"

#include <QString>

namespace vantor::cli {

struct CliReportOptions {
    ReportOptions report;
    bool allMachines = true; // no --machine given
    QString out;
    bool open = false;
};

// Builds and writes the report, the progress on standard error. Ctrl+C cancels: the document built
// so far is written and the status is 3. Unknown machine names are a usage error (2); no machine to
// report or an output that cannot be written fail (1) and leave no file.
int RunReport(CAppData& app, const CliReportOptions& options);

void AddReportCommands(CLI::App& cli, CommandContext& context); // report

} // namespace vantor::cli
