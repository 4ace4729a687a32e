#include "cli/ProgramMain.h"

#include "platform/Version.h"

#include "cli/ExitCode.h"
#include "store/SqlConnection.h"

#include <QLoggingCategory>
#include <QStringList>

#include <string>
#include <vector>

namespace vantor::cli {
namespace {

constexpr const char* kDescription =
    "Route-based condition monitoring: data store, meter and reports from the command line.";

} // namespace

std::string_view CommandWord(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--log") {
            ++i;
        } else if (!word.starts_with('-')) {
            return word;
        }
    }
    return {};
}

bool RegistersCommand(std::span<const CommandGroup> groups, std::string_view word) {
    if (word.empty()) {
        return false;
    }
    CLI::App cli{kDescription, "vantor"};
    CommandContext context;
    for (const CommandGroup add : groups) {
        add(cli, context);
    }
    try {
        return cli.get_subcommand(std::string(word)) != nullptr;
    } catch (const CLI::OptionNotFound&) {
        return false;
    }
}

int RunProgram(int argc, char** argv, std::span<const CommandGroup> groups) {
    CLI::App cli{kDescription, "vantor"};
    cli.set_version_flag("--version", "vantor " + ProgramVersion().toStdString());
    cli.require_subcommand(1);
    // Each --log switches on every level of a category (or a pattern such as "vantor.device.*");
    // the log goes to standard error. QT_LOGGING_RULES works as well.
    // The program's own categories stay quiet unless asked for, so standard error carries exactly
    // the messages the user is shown; stored values a reader leaves out are among those messages.
    QStringList logRules{QStringLiteral("vantor.*=false"),
                         QStringLiteral("vantor.stored-values.warning=true")};
    QLoggingCategory::setFilterRules(logRules.join(QLatin1Char('\n')));
    std::vector<std::string> logCategories;
    cli.add_option("--log", logCategories,
                   "Log a category on standard error, e.g. vantor.device.link (every byte on the serial "
                   "line), vantor.device.sync, vantor.store, vantor.reports.smtp; repeatable")
        ->each([&logRules](const std::string& category) {
            logRules << QStringLiteral("%1=true").arg(QString::fromStdString(category));
            QLoggingCategory::setFilterRules(logRules.join(QLatin1Char('\n')));
        });

    CommandContext context;
    for (const CommandGroup add : groups) {
        add(cli, context);
    }
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = cli.exit(error);
        return status == 0 ? kDone : kUsage;
    } catch (const DatabaseError& error) {
        context.UserPrompter().ShowMessage(QString::fromStdString(error.what()));
        return kFailed;
    }
    return context.status;
}

} // namespace vantor::cli
