// vantor: the command-line program. Same data root, settings and database as the desktop program;
// messages go to standard error, machine-readable output to standard output.
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/ReportCommands.h"
#include "store/SqlConnection.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace vantor;

namespace {

// Whether the command paints the graph control (`plot`, `report`): the first word that is neither an option
// nor the value of --log.
bool RunsPlot(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--log") {
            ++i;
        } else if (!word.starts_with('-')) {
            return word == "plot" || word == "report";
        }
    }
    return false;
}

// plot paints the graph control, a widget, so it needs the widget application; it never shows a
// window, so it runs offscreen unless a platform is chosen. Every other command stays headless.
std::unique_ptr<QCoreApplication> MakeQtApplication(int& argc, char** argv) {
    if (!RunsPlot(argc, argv)) {
        return std::make_unique<QCoreApplication>(argc, argv);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> qtApp = MakeQtApplication(argc, argv);
    CLI::App cli{"Route-based condition monitoring: data store, meter and reports from the command line.",
                 "vantor"};
    cli.require_subcommand(1);
    // Each --log switches on every level of a category (or a pattern such as "vantor.device.*");
    // the log goes to standard error. QT_LOGGING_RULES works as well.
    QStringList logRules;
    std::vector<std::string> logCategories;
    cli.add_option("--log", logCategories,
                   "Log a category on standard error, e.g. vantor.device.link (every byte on the serial "
                   "line), vantor.device.sync, vantor.store, vantor.reports.smtp; repeatable")
        ->each([&logRules](const std::string& category) {
            logRules << QStringLiteral("%1=true").arg(QString::fromStdString(category));
            QLoggingCategory::setFilterRules(logRules.join(QLatin1Char('\n')));
        });

    cli::CommandContext context;
    cli::AddStoreCommands(cli, context);
    cli::AddTextsCommands(cli, context);
    cli::AddSettingsCommands(cli, context);
    cli::AddAnalysisCommands(cli, context);
    cli::AddMeterCommands(cli, context);
    cli::AddDataFileCommands(cli, context);
    cli::AddSyncCommands(cli, context);
    cli::AddOffRouteCommands(cli, context);
    cli::AddDeviceCommands(cli, context);
    cli::AddEmailCommands(cli, context);
    cli::AddReadingToolCommands(cli, context);
    cli::AddRemoteCommands(cli, context);
    cli::AddServerCommands(cli, context);
    cli::AddPlotCommands(cli, context);
    cli::AddCatalogueCommands(cli, context);
    cli::AddRouteCommands(cli, context);
    cli::AddCatalogueCsvCommands(cli, context);
    cli::AddReportCommands(cli, context);

    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = cli.exit(error);
        return status == 0 ? cli::kDone : cli::kUsage;
    } catch (const DatabaseError& error) {
        context.UserPrompter().ShowMessage(QString::fromStdString(error.what()));
        return cli::kFailed;
    }
    return context.status;
}
