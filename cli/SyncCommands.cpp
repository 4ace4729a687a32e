// sync from-meter, sync to-meter: the synchronisation run against the meter in its cradle (or on
// the port given), its progress texts on standard error, then the exception e-mails. Ctrl+C is
// the Abort button.
#include "app/RouteSchedule.h"
#include "app/RouteSelection.h"
#include "app/Startup.h"
#include "app/SyncRunSettings.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/EmailSettings.h"
#include "cli/ExitCode.h"
#include "device/ReadingUpload.h"
#include "device/RouteDownload.h"
#include "device/SyncSession.h"
#include "device/SyncWorker.h"
#include "store/MainConnection.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>

namespace vantor::cli {
namespace {

// Checked for a pending Ctrl+C while the worker runs.
constexpr std::chrono::milliseconds kInterruptPoll{100};

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

struct SyncCommandOptions {
    std::string port;
    std::string deviceName;
    std::string dateFix;
    int retries = 0;
    std::string route;
    int silenceMs = static_cast<int>(kReadSilence.count());
    int announceMs = static_cast<int>(kUploadAnnouncePause.count());
};

// The prompter's answers from the options; false with a message when one cannot be read.
bool SetAnswers(const SyncCommandOptions& options, ConsoleAnswers& answers) {
    answers.retries = options.retries;
    if (!options.deviceName.empty()) {
        answers.name = QString::fromStdString(options.deviceName);
    }
    if (options.dateFix.empty() || options.dateFix == "cancel") {
        return true;
    }
    const QDateTime fix =
        QDateTime::fromString(QString::fromStdString(options.dateFix), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!fix.isValid()) {
        PrintLine(stderr, QStringLiteral("--date-fix: expected \"YYYY-MM-DD HH:MM:SS\" or cancel"));
        return false;
    }
    answers.dateFix = fix;
    return true;
}

int ExitCodeOf(int result) {
    if (result == 0) {
        return kDone;
    }
    return result == kSyncAborted ? kCancelled : kFailed;
}

int RunSync(CommandContext& context, const SyncCommandOptions& options, bool fromMeter) {
    if (!SetAnswers(options, context.answers)) {
        return kUsage;
    }
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    QString routeGuid;
    if (!fromMeter) {
        if (!AnyRouteExists(*app.MainConnection(), app.UserPrompter())) {
            return kFailed;
        }
        routeGuid = FindRouteGuid(*app.MainConnection(), QString::fromStdString(options.route));
        if (routeGuid.isEmpty()) {
            PrintLine(stderr, QStringLiteral("No route named %1").arg(QString::fromStdString(options.route)));
            return kUsage;
        }
        // The checks of the route choice: machines without points leave the route, an empty route
        // cannot be downloaded.
        if (!AcceptRouteChoice(*app.MainConnection(), {routeGuid, QString::fromStdString(options.route)},
                               app.UserPrompter())) {
            return kFailed;
        }
    }
    SyncSettings settings = MakeSyncSettings(app, fromMeter, routeGuid, QString::fromStdString(options.port));
    settings.linkTimings.readSilence = std::chrono::milliseconds(options.silenceMs);
    settings.linkTimings.speedSwitchPause = std::min(kSpeedSwitchPause, settings.linkTimings.readSilence);
    settings.announcePause = std::chrono::milliseconds(options.announceMs);

    SyncSession session(fromMeter);
    session.Open();
    SyncWorker worker(settings, app.UserPrompter(), SyncAbortEvent(), SyncDoneEvent());
    worker.OnProgress([](const QString& text) { PrintLine(stderr, text); });

    interrupted = 0;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    worker.Start();
    while (!SyncDoneEvent().Wait(kInterruptPoll)) {
        if (interrupted && !session.StopRequested()) {
            session.RequestStop(true);
            PrintLine(stderr, session.AbortButtonText());
        }
    }
    worker.Join();
    std::signal(SIGINT, previous);
    session.PollClose();

    // Which route points the run measured and which it missed.
    if (fromMeter) {
        if (const QString missed =
                MissedRoutePointsText(*app.MainConnection(), worker.Outcome().measuredPoints);
            !missed.isEmpty()) {
            PrintLine(stderr, missed);
        }
    }
    // The exception e-mails follow every run: readings stored before a failure or an abort count.
    RunExceptionEmails(app, app.UserPrompter());
    return ExitCodeOf(worker.Outcome().result);
}

void AddSharedOptions(CLI::App* command, SyncCommandOptions& options) {
    command->add_option(
        "--port", options.port,
        "Serial device of the meter (default: the MeterPort setting, else every cradle port found)");
    command->add_option("--device-name", options.deviceName, "Name given to a meter not seen before");
    command->add_option("--date-fix", options.dateFix,
                        "Date-time for a reading whose stored date is impossible (\"YYYY-MM-DD HH:MM:SS\"), "
                        "or cancel to skip such readings");
    command->add_option("--retries", options.retries, "Retry answers when no cradle or meter is found")
        ->check(CLI::NonNegativeNumber);
    // Lines that answer faster than the cradle (the emulator) may be read with a shorter silence.
    command->add_option("--silence-ms", options.silenceMs, "Silence that ends a reply, in milliseconds")
        ->check(CLI::Range(10, 10000))
        ->group("");
    // The pause after the meter's count of readings, shortened alike for the emulator.
    command
        ->add_option("--announce-ms", options.announceMs, "Pause before the first reading, in milliseconds")
        ->check(CLI::Range(0, 10000))
        ->group("");
}

} // namespace

void AddSyncCommands(CLI::App& cli, CommandContext& context) {
    auto* sync = cli.add_subcommand("sync", "Synchronise with the meter in its cradle");
    sync->require_subcommand(1);
    auto options = std::make_shared<SyncCommandOptions>();

    auto* from = sync->add_subcommand("from-meter", "Upload the meter's new readings");
    AddSharedOptions(from, *options);
    from->callback([&context, options] { context.status = RunSync(context, *options, true); });

    auto* to =
        sync->add_subcommand("to-meter", "Upload the meter's new readings, then download a route to it");
    AddSharedOptions(to, *options);
    to->add_option("--route", options->route, "The route to download: its name or GUID")->required();
    to->callback([&context, options] { context.status = RunSync(context, *options, false); });
}

} // namespace vantor::cli
