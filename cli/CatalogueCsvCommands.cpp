// catalogue export FILE | import FILE [--dry-run]: the machines and points as a spreadsheet.
#include "app/CatalogueCsv.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "texts/UiText.h"

#include <QFile>

#include <cstdio>
#include <memory>
#include <string>

namespace vantor::cli {
namespace {

struct CsvOptions {
    std::string file;
    bool dryRun = false;
};

int RunExport(CAppData& app, Prompter& prompter, const QString& path) {
    if (!ExportCatalogueCsvFile(*app.MainConnection(), path)) {
        prompter.ShowMessage(UiText(text::ErrorExportingData));
        return kFailed;
    }
    return kDone;
}

int RunImport(CAppData& app, Prompter& prompter, const QString& path, bool dryRun) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompter.ShowMessage(UiText(text::ErrorImportingData));
        return kFailed;
    }
    const CatalogueImportPlan plan = PlanCatalogueImport(*app.MainConnection(), file.readAll());
    for (const QString& error : plan.errors) {
        prompter.ShowMessage(error);
    }
    if (!plan.Ok()) {
        return kFailed;
    }
    if (!dryRun && !ApplyCatalogueImport(*app.MainConnection(), plan)) {
        prompter.ShowMessage(UiText(text::ErrorImportingData));
        return kFailed;
    }
    PrintLine(stdout, (dryRun ? QStringLiteral("Dry run, nothing stored. ") : QString()) + plan.Summary());
    return kDone;
}

} // namespace

void AddCatalogueCsvCommands(CLI::App& cli, CommandContext& context) {
    auto* catalogue = cli.add_subcommand("catalogue", "The machines and their points as a spreadsheet (CSV)");
    catalogue->require_subcommand(1);
    auto o = std::make_shared<CsvOptions>();

    auto* exported = catalogue->add_subcommand(
        "export", "Write every machine and point, one row per point, UTF-8 with a header row");
    exported->add_option("file", o->file, "The CSV file to write")->required();
    exported->callback([&context, o] {
        CAppData& app = context.App();
        context.status = RunHeadlessStartup(app)
                             ? RunExport(app, context.UserPrompter(), QString::fromStdString(o->file))
                             : kFailed;
    });

    auto* imported = catalogue->add_subcommand(
        "import", "Add or update machines and points from a CSV file (commas or semicolons); every row is "
                  "checked first and nothing is stored unless all pass");
    imported->add_option("file", o->file, "The CSV file to read")->required();
    imported->add_flag("--dry-run", o->dryRun, "Check the rows and print what would change; store nothing");
    imported->callback([&context, o] {
        CAppData& app = context.App();
        context.status = RunHeadlessStartup(app) ? RunImport(app, context.UserPrompter(),
                                                             QString::fromStdString(o->file), o->dryRun)
                                                 : kFailed;
    });
}

} // namespace vantor::cli
