// import and export of the data exchange file.
#include "app/DataFileTransfer.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleProgress.h"
#include "cli/ExitCode.h"
#include "texts/UiText.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vantor::cli {
namespace {

int StatusOf(DataFileOutcome outcome, Prompter& prompter) {
    switch (outcome) {
    case DataFileOutcome::Done:
        return kDone;
    case DataFileOutcome::Cancelled:
        return kCancelled;
    case DataFileOutcome::Busy:
        prompter.ShowMessage(QStringLiteral("Another import, export or synchronisation is running."));
        return kFailed;
    case DataFileOutcome::ConnectionLost: // shown, and the local database is in use
    case DataFileOutcome::Failed:
    case DataFileOutcome::Unopened:
        break;
    }
    return kFailed;
}

QDateTime ParseDateTime(const std::string& text) {
    return QDateTime::fromString(QString::fromStdString(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

void AddDataFileCommands(CLI::App& cli, CommandContext& context) {
    auto* import = cli.add_subcommand("import", "Read a data file into the database");
    auto importPath = std::make_shared<std::string>();
    auto yes = std::make_shared<bool>(false);
    import->add_option("file", *importPath, "The data file")->required();
    import->add_flag("--yes", *yes, "Replace matching records without asking");
    import->callback([&context, importPath, yes] {
        CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        context.status = kFailed;
        return;
    }
    const DataFileTransfer transfer = ImportDataFileInto(app, QString::fromStdString(*importPath), *yes,
                                                         [] { return std::make_unique<ConsoleProgress>(); });
    context.status = StatusOf(transfer.outcome, context.UserPrompter());
});

auto* exportCommand = cli.add_subcommand("export", "Write the database, or chosen machines, to a data file");
auto exportPath = std::make_shared<std::string>();
auto machines = std::make_shared<std::vector<std::string>>();
auto latest = std::make_shared<bool>(false);
auto all = std::make_shared<bool>(false);
auto between = std::make_shared<std::vector<std::string>>();
exportCommand->add_option("file", *exportPath, "The data file to write")->required();
exportCommand->add_option("--machine", *machines, "Export only this machine (GUID); repeatable");
auto* latestFlag = exportCommand->add_flag("--latest", *latest, "Only the newest reading of each point");
auto* allFlag = exportCommand->add_flag("--all", *all, "Every reading (the default)");
auto* betweenOption =
    exportCommand
        ->add_option("--between", *between,
                     "Readings taken from START to END, both included (\"YYYY-MM-DD HH:MM:SS\")")
            -> expected(2);
latestFlag->excludes(allFlag)->excludes(betweenOption);
allFlag->excludes(betweenOption);
// Every option variable is held by the callback, so it lives as long as the command.
exportCommand->callback([&context, exportPath, machines, latest, all, between] {
    MachineSelection selection;
    if (!between->empty()) {
        selection.span = ReadingSpan::Between;
        selection.start = ParseDateTime(between->at(0));
        selection.end = ParseDateTime(between->at(1));
        if (!selection.start.isValid() || !selection.end.isValid()) {
            throw CLI::ValidationError("--between", "dates are written \"YYYY-MM-DD HH:MM:SS\"");
        }
    } else if (*latest) {
        selection.span = ReadingSpan::LatestOnly;
    }
    if (machines->empty() && selection.span != ReadingSpan::All) {
        throw CLI::ValidationError("--latest/--between", "need at least one --machine");
    }
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        context.status = kFailed;
        return;
    }
    const QString path = WithDataFileExtension(QString::fromStdString(*exportPath), app.dataFileExtension);
    for (const std::string& guid : *machines) {
        selection.machines << QString::fromStdString(guid);
    }
    const DataFileOutcome outcome =
        ExportDataFileFrom(app, path, selection, [] { return std::make_unique<ConsoleProgress>(); }).outcome;
    context.status = StatusOf(outcome, context.UserPrompter());
});
} // namespace vantor::cli

} // namespace vantor::cli
