// email test TO | exceptions: the exception e-mail's mail transport from the command line.
#include "app/Startup.h"
#include "app/TestMessage.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/EmailSettings.h"
#include "cli/ExitCode.h"
#include "texts/UiText.h"

#include <cstdio>
#include <string>

namespace vantor::cli {
namespace {

// A short message through the configured transport: sent when the settings ask for sending and a
// server is configured, otherwise shown in the desktop's mail program.
int RunTestMessage(CAppData& app, Prompter& prompter, const QString& to) {
    ConsoleMailProgress progress;
    const TestMessageResult result = SendTestMessage(app, app.settings, to, prompter, progress);
    if (!result.delivered) {
        if (!result.detail.isEmpty()) {
            PrintLine(stderr, result.detail);
        }
        return kFailed;
    }
    PrintLine(stdout, (result.sent ? QStringLiteral("Sent: %1") : QStringLiteral("Opened for review: %1"))
                          .arg(result.location));
    return kDone;
}

} // namespace

void AddEmailCommands(CLI::App& cli, CommandContext& context) {
    auto* email = cli.add_subcommand("email", "Send e-mail through the configured mail transport");
    email->require_subcommand(1);

    auto to = std::make_shared<std::string>();
    auto* test =
        email->add_subcommand("test", "Send a short test message to an address (\";\" separates several)");
    test->add_option("to", *to, "Recipient address or addresses")->required();
    test->callback([&context, to] {
        CAppData& app = context.App();
        if (!RunHeadlessStartup(app)) {
            context.status = kFailed;
            return;
        }
        context.status = RunTestMessage(app, context.UserPrompter(), QString::fromStdString(*to));
    });

    auto* exceptions = email->add_subcommand(
        "exceptions",
        "Prepare one exception e-mail per machine in this process's exception list. The list is "
        "filled by a synchronisation run in the same process, so on its own this command finds it "
        "empty and sends nothing");
    exceptions->callback([&context] {
        CAppData& app = context.App();
        if (!RunHeadlessStartup(app)) {
            context.status = kFailed;
            return;
        }
        const auto groups = ProcessExceptionList().Groups();
        if (groups.empty()) {
            PrintLine(stdout,
                      QStringLiteral("The exception list is empty: it is filled by a synchronisation run in "
                                     "this process."));
        }
        context.status = RunExceptionEmails(app, context.UserPrompter());
        if (context.status == kDone && !groups.empty()) {
            PrintLine(stdout, QStringLiteral("Exception e-mails prepared: %1").arg(groups.size()));
        }
    });
}

} // namespace vantor::cli
