// recommend, recommendation close|send: recommendations and the work requests written (and mailed)
// from them. In vantor-full, as a work request may go out by mail.
#include "app/AlarmEvents.h"
#include "app/Recommendations.h"
#include "app/Startup.h"
#include "app/WorkRequest.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/WithDatabase.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

#include <memory>
#include <string>

namespace vantor::cli {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

struct SendOptions {
    bool send = false;
    bool mail = false;
    std::string folder;
};

void AddSendOptions(CLI::App* command, SendOptions& options) {
    command->add_flag("--send", options.send, "Write the work request (JSON and a CSV row) into the folder");
    command->add_flag("--mail", options.mail,
                      "Also mail it to the machine's addresses through the mail server");
    command->add_option("--folder", options.folder,
                        "The work request folder (default <data folder>/Work Requests)");
}

// Writes (and mails) the work request; the recommendation stays stored whatever fails.
int Send(CommandContext& context, const QString& guid, const SendOptions& options) {
    CAppData& app = context.App();
    const QString folder = options.folder.empty() ? DefaultWorkRequestFolder(app) : Q(options.folder);
    const WorkRequestSending sending = SendWorkRequest(app, guid, folder, options.mail);
    if (sending.written) {
        PrintLine(stdout, QStringLiteral("Work request: %1").arg(sending.jsonPath));
    }
    if (sending.mailed) {
        PrintLine(stdout, QStringLiteral("Mailed"));
    }
    if (!sending.error.isEmpty()) {
        context.UserPrompter().ShowMessage(
            QStringLiteral("The recommendation is stored; the work request failed: %1. Retry with: vantor "
                           "recommendation send %2")
                .arg(sending.error, guid));
        return kFailed;
    }
    return kDone;
}

void AddRecommendCommand(CLI::App& cli, CommandContext& context) {
    struct Options {
        std::string source;
        std::string action;
        int priority = 0;
        std::string due;
        std::string assign;
        SendOptions send;
    };
    auto o = std::make_shared<Options>();
    auto* command =
        cli.add_subcommand("recommend", "Raise a recommendation from an alarm event or a reading");
    command->add_option("source", o->source, "The alarm event's or the reading's GUID")->required();
    command->add_option("--action", o->action, "What maintenance should do")->required();
    command->add_option("--priority", o->priority, "1 (most urgent) to 4")->required();
    command->add_option("--due", o->due, "Due date, YYYY-MM-DD, today or later")->required();
    command->add_option("--assign", o->assign, "Who it is assigned to");
    AddSendOptions(command, o->send);
    command->callback([&context, o] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            const RecommendationRequest request{Q(o->source), Q(o->action), o->priority,
                                                QDate::fromString(Q(o->due), Qt::ISODate), Q(o->assign)};
            const RaisedRecommendation raised =
                RaiseRecommendation(db, request, CurrentUserName(db), QDate::currentDate());
            if (!raised.error.isEmpty()) {
                context.UserPrompter().ShowMessage(raised.error);
                return static_cast<int>(kFailed);
            }
            PrintLine(stdout, raised.row.guid);
            return o->send.send || o->send.mail ? Send(context, raised.row.guid, o->send)
                                                : static_cast<int>(kDone);
        });
    });
}

void AddRecommendationCommands(CLI::App& cli, CommandContext& context) {
    auto* group =
        cli.add_subcommand("recommendation", "Close a recommendation, or send its work request again");
    group->require_subcommand(1);

    auto id = std::make_shared<std::string>();
    auto outcome = std::make_shared<std::string>();
    auto found = std::make_shared<std::string>();
    auto* close = group->add_subcommand("close", "Close with what maintenance found");
    close->add_option("id", *id, "The recommendation's GUID")->required();
    close->add_option("--outcome", *outcome, "confirmed, partly or not-confirmed")->required();
    close->add_option("--found", *found, "What was found")->required();
    close->callback([&context, id, outcome, found] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            const QString refusal =
                CloseRecommendation(db, Q(*id), Q(*outcome), Q(*found), CurrentUserName(db));
            if (!refusal.isEmpty()) {
                context.UserPrompter().ShowMessage(refusal);
                return static_cast<int>(kFailed);
            }
            return static_cast<int>(kDone);
        });
    });

    auto sendId = std::make_shared<std::string>();
    auto options = std::make_shared<SendOptions>();
    auto* send = group->add_subcommand("send", "Write (and with --mail mail) the work request again");
    send->add_option("id", *sendId, "The recommendation's GUID")->required();
    send->add_flag("--mail", options->mail, "Also mail it to the machine's addresses");
    send->add_option("--folder", options->folder,
                     "The work request folder (default <data folder>/Work Requests)");
    send->callback([&context, sendId, options] {
        context.status =
            WithDatabase(context, [&](CMainConnection&) { return Send(context, Q(*sendId), *options); });
    });
}

} // namespace

void AddWorkRequestCommands(CLI::App& cli, CommandContext& context) {
    AddRecommendCommand(cli, context);
    AddRecommendationCommands(cli, context);
}

} // namespace vantor::cli
