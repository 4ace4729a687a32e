// report: the document report on the command line.
#include "cli/ReportCommands.h"
#include "cli/ConsoleOutput.h"

#include "app/ReportSetup.h"
#include "app/Startup.h"
#include "cli/ExitCode.h"
#include "graphviews/GraphLanguage.h"
#include "graphviews/ReportCharts.h"
#include "reports/document/DocumentOpener.h"
#include "reports/document/ReportTexts.h"
#include "reports/document/ReportWorker.h"
#include "texts/UiText.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

namespace vantor::cli {
namespace {

// How often the wait for the worker looks for Ctrl+C.
constexpr int kInterruptPollMs = 50;

volatile std::sig_atomic_t reportInterrupted = 0;

extern "C" void OnReportInterrupt(int) {
    reportInterrupted = 1;
}

// Ctrl+C asks the worker to stop while the report is built; the previous handler comes back after.
class InterruptCatcher {
public:
    InterruptCatcher() {
        reportInterrupted = 0;
        previous_ = std::signal(SIGINT, OnReportInterrupt);
    }
    ~InterruptCatcher() { std::signal(SIGINT, previous_); }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    void (*previous_)(int) = SIG_DFL;
};

// A bar on a terminal; elsewhere the progress text once and a line at every tenth of the work.
class ReportConsoleProgress {
public:
    ReportConsoleProgress() : terminal_(isatty(fileno(stderr)) != 0) {
        if (!terminal_) {
            PrintLine(stderr, UiText(text::CreatingReport));
        }
    }
    ~ReportConsoleProgress() {
        if (terminal_ && drawn_) {
            std::fputs("\n", stderr);
        }
    }
    ReportConsoleProgress(const ReportConsoleProgress&) = delete;
    ReportConsoleProgress& operator=(const ReportConsoleProgress&) = delete;

    void Range(int maximum) { maximum_ = maximum; }
    void Position(int position) {
        const int percent = maximum_ > 0 ? std::min(100, position * 100 / maximum_) : 100;
        if (terminal_) {
            constexpr int kWidth = 30;
            const int filled = percent * kWidth / 100;
            std::fprintf(stderr, "\r\033[K[%s%s] %d/%d %s",
                         std::string(static_cast<std::size_t>(filled), '#').c_str(),
                         std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), position,
                         maximum_, qUtf8Printable(UiText(text::CreatingReport)));
            std::fflush(stderr);
            drawn_ = true;
        } else if (percent / 10 > lastTenth_) {
            lastTenth_ = percent / 10;
            std::fprintf(stderr, "%d%% (%d/%d)\n", percent, position, maximum_);
        }
    }

private:
    bool terminal_;
    bool drawn_ = false;
    int maximum_ = 0;
    int lastTenth_ = 0;
};

} // namespace

int RunReport(CAppData& app, const CliReportOptions& options) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    ReportOptions report = options.report;
    const QStringList known = MachineNames(*app.MainConnection());
    if (options.allMachines) {
        report.machines = known;
    } else {
        for (const QString& name : report.machines) {
            if (!known.contains(name)) {
                PrintLine(stderr, QStringLiteral("No machine is named \"%1\".").arg(name));
                return kUsage;
            }
        }
    }
    if (report.machines.isEmpty()) {
        PrintLine(stderr, QStringLiteral("There is no machine to report."));
        return kFailed;
    }
    if (const std::optional<int> problem = PeriodProblem(report, app.earliestDate, app.latestDate)) {
        PrintLine(stderr, UiText(*problem));
        if (*problem != text::StartDateAfterEnd) {
            PrintLine(stderr, RepresentableRangeText(app));
        }
        return kUsage;
    }
    const QFileInfo target(options.out);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir() || !folder.isWritable() || (target.exists() && !target.isWritable())) {
        PrintLine(stderr, QStringLiteral("The report cannot be written to %1.").arg(options.out));
        return kFailed;
    }

    // A report is read by people: its dates, decimals and charts in the language its texts are in.
    UseDisplayLanguage(app.settings.language);
    GraphChartPainter charts;
    ReportWorker worker(MakeReportJob(app, report, target.absoluteFilePath()), charts);
    ReportConsoleProgress progress;
    QEventLoop loop;
    QObject::connect(&worker, &ReportWorker::ProgressRange, &loop,
                     [&progress](int maximum) { progress.Range(maximum); });
    QObject::connect(&worker, &ReportWorker::ProgressPosition, &loop,
                     [&progress](int position) { progress.Position(position); });
    QObject::connect(&worker, &ReportWorker::Finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    const InterruptCatcher catcher;
    QTimer interruptPoll;
    QObject::connect(&interruptPoll, &QTimer::timeout, &loop, [&worker] {
        if (reportInterrupted != 0 && !worker.StopRequested()) {
            worker.RequestStop();
        }
    });
    interruptPoll.start(kInterruptPollMs);
    worker.Start();
    loop.exec();
    interruptPoll.stop();

    const ReportOutcome& outcome = worker.Outcome();
    if (outcome.result == ReportOutcome::Result::Failed) {
        PrintLine(stderr, outcome.message);
        return kFailed;
    }
    PrintLine(stdout, QDir::toNativeSeparators(target.absoluteFilePath()));
    if (options.open && !OpenDocument(target.absoluteFilePath())) {
        PrintLine(stderr,
                  QStringLiteral("The report cannot be opened with %1.").arg(DocumentOpenerProgram()));
    }
    return outcome.result == ReportOutcome::Result::Cancelled ? kCancelled : kDone;
}

void AddReportCommands(CLI::App& cli, CommandContext& context) {
    auto* command = cli.add_subcommand("report", "Write the vibration analysis report as ODT or PDF");
    auto type = std::make_shared<std::string>();
    auto machines = std::make_shared<std::vector<std::string>>();
    auto statusTable = std::make_shared<bool>(false);
    auto findings = std::make_shared<bool>(true);
    auto envelope = std::make_shared<bool>(false);
    auto trendHistory = std::make_shared<bool>(false);
    auto graphs = std::make_shared<std::string>();
    auto period = std::make_shared<std::string>("last");
    auto start = std::make_shared<std::string>();
    auto end = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto open = std::make_shared<bool>(false);
    auto analyst = std::make_shared<std::string>();
    auto qualification = std::make_shared<std::string>();
    auto signOffDate = std::make_shared<std::string>();
    command->add_option("--type", *type, "manual or exception")
        ->required()
        ->check(CLI::IsMember({"manual", "exception"}));
    command->add_option("--machine", *machines, "A machine by name; repeatable (default: every machine)");
    command->add_flag("--status-table", *statusTable, "The latest machine status table of each machine");
    command->add_flag("--findings,!--no-findings", *findings,
                      "The findings of the automatic diagnosis after the documented sections (default on)");
    std::string graphNames;
    for (const ReportGraphInfo& info : kReportGraphs) {
        graphNames += (graphNames.empty() ? "" : ", ") + std::string(info.name);
    }
    command->add_option("--graphs", *graphs, "Comma-separated graphs or all: " + graphNames);
    command->add_flag("--envelope", *envelope,
                      "After each point's graphs, the newest reading's envelope spectrum with the fault "
                      "families of its bearings and its envelope bands");
    command->add_flag("--trend-history", *trendHistory,
                      "Trends plot every reading of the point, whatever the period");
    command->add_option("--period", *period, "last (default), all or between")
        ->check(CLI::IsMember({"last", "all", "between"}));
    command->add_option("--start", *start, "Start of --period between, \"YYYY-MM-DD HH:MM:SS\"");
    command->add_option("--end", *end, "End of --period between, \"YYYY-MM-DD HH:MM:SS\"");
    command->add_option("--out", *out, "The document to write: FILE.odt or FILE.pdf")->required();
    command->add_flag("--open", *open, "Open the document with the desktop's default program");
    command->add_option("--analyst", *analyst, "The sign-off at the report's end: the analyst's name");
    command->add_option("--qualification", *qualification, "The sign-off: the analyst's qualification");
    command->add_option("--sign-off-date", *signOffDate, "The sign-off's date, YYYY-MM-DD (default today)");
    command->callback([&context, type, machines, statusTable, findings, envelope, trendHistory, graphs,
                       period, start, end, out, open, analyst, qualification, signOffDate] {
        CliReportOptions options;
        options.report.type = *type == "exception" ? ReportType::Exception : ReportType::Manual;
        options.allMachines = machines->empty();
        for (const std::string& name : *machines) {
            options.report.machines << QString::fromStdString(name);
        }
        options.report.statusTable = *statusTable;
        options.report.findings = *findings;
        options.report.envelope = *envelope;
        options.report.trendHistory = *trendHistory;
        const QString graphList = QString::fromStdString(*graphs).trimmed();
        if (graphList == QLatin1String("all")) {
            options.report.graphs.fill(true);
        } else if (!graphList.isEmpty()) {
            for (const QString& name : graphList.split(QLatin1Char(','))) {
                const std::optional<ReportGraph> graph = ReportGraphNamed(name.trimmed());
                if (!graph) {
                    throw CLI::ValidationError("--graphs",
                                               "no graph is named " + name.trimmed().toStdString());
                }
                options.report.SetShown(*graph, true);
            }
        }
        options.report.period = *period == "all"       ? ReportPeriod::AllMeasurements
                                : *period == "between" ? ReportPeriod::BetweenDates
                                                       : ReportPeriod::LastMeasurement;
        if (options.report.period == ReportPeriod::BetweenDates) {
            options.report.start =
                QDateTime::fromString(QString::fromStdString(*start), kReportDateTimeFormat);
            options.report.end = QDateTime::fromString(QString::fromStdString(*end), kReportDateTimeFormat);
            if (!options.report.start.isValid() || !options.report.end.isValid()) {
                throw CLI::ValidationError("--start/--end",
                                           "--period between needs both, written \"YYYY-MM-DD HH:MM:SS\"");
            }
        } else if (!start->empty() || !end->empty()) {
            throw CLI::ValidationError("--start/--end", "only with --period between");
        }
        options.out = QString::fromStdString(*out);
        if (!ReportFormatOf(options.out)) {
            throw CLI::ValidationError("--out", "the report is written as FILE.odt or FILE.pdf");
        }
        options.open = *open;
        // A sign-off only when an analyst or qualification is given, as in the wizard.
        const QString who = QString::fromStdString(*analyst).trimmed();
        const QString what = QString::fromStdString(*qualification).trimmed();
        const QDate day = signOffDate->empty()
                              ? QDate::currentDate()
                              : QDate::fromString(QString::fromStdString(*signOffDate), Qt::ISODate);
        if (!day.isValid()) {
            throw CLI::ValidationError("--sign-off-date", "the date is written YYYY-MM-DD");
        }
        if (!who.isEmpty() || !what.isEmpty()) {
            options.report.signOff = ReportSignOff{who, what, day};
        } else if (!signOffDate->empty()) {
            throw CLI::ValidationError("--sign-off-date", "only with --analyst or --qualification");
        }
        context.status = RunReport(context.App(), options);
    });
}

} // namespace vantor::cli
