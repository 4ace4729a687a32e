// schedule, due, compliance, events, ack, note, recommendations, diagnosis-record: the follow-up of
// alarms that needs neither mail nor widgets.
#include "app/AlarmEvents.h"
#include "app/FollowUpNotes.h"
#include "app/Recommendations.h"
#include "app/RouteSchedule.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/FollowUpOutput.h"
#include "cli/WithDatabase.h"
#include "store/MainConnection.h"
#include "store/RecordFields.h"
#include "texts/UiText.h"

#include <QJsonArray>

#include <memory>
#include <string>
#include <vector>

namespace vantor::cli {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A day from an option, "YYYY-MM-DD"; today when the option is empty.
std::optional<QDate> DayOption(const std::string& text, const QDate& fallback) {
    if (text.empty()) {
        return fallback;
    }
    const QDate date = QDate::fromString(Q(text), Qt::ISODate);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

int Refused(CommandContext& context, const QString& message) {
    if (message.isEmpty()) {
        return kDone;
    }
    context.UserPrompter().ShowMessage(message);
    return kFailed;
}

void AddScheduleCommand(CLI::App& cli, CommandContext& context) {
    auto route = std::make_shared<std::string>();
    auto interval = std::make_shared<int>(0);
    auto start = std::make_shared<std::string>();
    auto* command = cli.add_subcommand(
        "schedule", "A route's measuring interval and start date (all routes' without a route)");
    command->add_option("route", *route, "The route's name or GUID");
    auto* intervalOption =
        command->add_option("--interval", *interval, "Days between measurements (default 30)");
    command->add_option("--start", *start, "The first due date of points never measured, YYYY-MM-DD");
    command->callback([&context, route, interval, start, intervalOption] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            if (route->empty()) {
                const QHash<QString, RouteScheduleRow> schedules = schedulerows::All(db.Connection());
                for (const CRoute& each : db.ListRoutes()) {
                    const RouteScheduleRow schedule = schedules.value(
                        each.sItemGUID, RouteScheduleRow{each.sItemGUID, kDefaultRouteIntervalDays, {}});
                    PrintLine(stdout,
                              QStringList{each.sItemGUID, each.sName, QString::number(schedule.intervalDays),
                                          schedule.startDate.toString(Qt::ISODate)}
                                  .join(QLatin1Char('\t')));
                }
                return static_cast<int>(kDone);
            }
            std::optional<QDate> startDate;
            if (!start->empty()) {
                startDate = QDate::fromString(Q(*start), Qt::ISODate);
            }
            return Refused(
                context,
                SetRouteSchedule(db, Q(*route),
                                 intervalOption->count() > 0 ? std::optional<int>(*interval) : std::nullopt,
                                 startDate));
        });
    });
}

void AddDueCommand(CLI::App& cli, CommandContext& context) {
    auto route = std::make_shared<std::string>();
    auto days = std::make_shared<int>(kSoonDueDays);
    auto on = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    auto* command = cli.add_subcommand("due", "Route points overdue or due within the coming days");
    command->add_option("--route", *route, "Only this route (name or GUID)");
    command->add_option("--days", *days, "Also the points due within this many days (default 7)");
    command->add_option("--on", *on, "The day to judge on, YYYY-MM-DD (default today)");
    command->add_flag("--json", *json, "Print a JSON array");
    command->callback([&context, route, days, on, json] {
        const std::optional<QDate> today = DayOption(*on, QDate::currentDate());
        if (!today || *days < 0) {
            context.UserPrompter().ShowMessage(
                QStringLiteral("due: --on takes YYYY-MM-DD, --days 0 or more"));
            context.status = kUsage;
            return;
        }
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            if (!route->empty() && RouteGuidOf(db, Q(*route)).isEmpty()) {
                return Refused(context, QStringLiteral("No route %1").arg(Q(*route)));
            }
            PrintDuePoints(stdout, DuePoints(db, *today, *days, Q(*route)), *json);
            return static_cast<int>(kDone);
        });
    });
}

void AddComplianceCommand(CLI::App& cli, CommandContext& context) {
    auto from = std::make_shared<std::string>();
    auto to = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    auto* command =
        cli.add_subcommand("compliance", "Points measured on time / points due, per route and in all");
    command->add_option("--from", *from, "First day, YYYY-MM-DD (default 90 days before --to)");
    command->add_option("--to", *to, "Last day, YYYY-MM-DD (default today)");
    command->add_flag("--json", *json, "Print one JSON object");
    command->callback([&context, from, to, json] {
        const std::optional<QDate> last = DayOption(*to, QDate::currentDate());
        const std::optional<QDate> first =
            last ? DayOption(*from, last->addDays(-kDefaultCompliancePeriodDays)) : std::nullopt;
        if (!first || !last || *last < *first) {
            context.UserPrompter().ShowMessage(
                QStringLiteral("compliance: --from and --to take YYYY-MM-DD, --from not after --to"));
            context.status = kUsage;
            return;
        }
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            PrintCompliance(stdout, ComplianceOver(db, *first, *last), *first, *last, *json);
            return static_cast<int>(kDone);
        });
    });
}

void AddEventsCommands(CLI::App& cli, CommandContext& context) {
    auto onlyNew = std::make_shared<bool>(false);
    auto point = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    auto* events = cli.add_subcommand("events", "Alarm events, oldest first, with their acknowledgements");
    events->add_flag("--new", *onlyNew, "Only events nobody has acknowledged");
    events->add_option("--point", *point, "Only this vibration point's (GUID)");
    events->add_flag("--json", *json, "Print a JSON array");
    events->callback([&context, onlyNew, point, json] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            PrintEvents(stdout, ListEventViews(db, {*onlyNew, Q(*point)}), *json);
            return static_cast<int>(kDone);
        });
    });

    auto ids = std::make_shared<std::vector<std::string>>();
    auto comment = std::make_shared<std::string>();
    auto* ack =
        cli.add_subcommand("ack", "Acknowledge alarm events with a comment (the trail keeps every entry)");
    ack->add_option("event", *ids, "The events' GUIDs")->required();
    ack->add_option("--comment", *comment, "What was seen or decided")->required();
    ack->callback([&context, ids, comment] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            QStringList guids;
            for (const std::string& id : *ids) {
                guids << Q(id);
            }
            return Refused(context, AcknowledgeEvents(db, guids, Q(*comment), CurrentUserName(db)));
        });
    });
}

void AddNoteCommands(CLI::App& cli, CommandContext& context) {
    auto* note = cli.add_subcommand("note", "Dated notes on a machine or a point");
    note->require_subcommand(1);
    auto target = std::make_shared<std::string>();
    auto text = std::make_shared<std::string>();
    auto* add = note->add_subcommand("add", "Add a note, with today's date and your name");
    add->add_option("target", *target, "The machine's or point's GUID")->required();
    add->add_option("text", *text, "The note")->required();
    add->callback([&context, target, text] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            return Refused(context, AddNote(db, Q(*target), Q(*text), CurrentUserName(db)));
        });
    });
    auto json = std::make_shared<bool>(false);
    auto of = std::make_shared<std::string>();
    auto* list = note->add_subcommand("list", "The notes, oldest first");
    list->add_option("--target", *of, "Only the notes on this machine or point (GUID)");
    list->add_flag("--json", *json, "Print a JSON array");
    list->callback([&context, json, of] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            PrintNotes(stdout, ListNotes(db, of->empty() ? QStringList() : QStringList{Q(*of)}), *json);
            return static_cast<int>(kDone);
        });
    });
}

void AddRecordCommands(CLI::App& cli, CommandContext& context) {
    auto open = std::make_shared<bool>(false);
    auto json = std::make_shared<bool>(false);
    auto* list = cli.add_subcommand("recommendations", "Recommendations, oldest first");
    list->add_flag("--open", *open, "Only those open or in progress");
    list->add_flag("--json", *json, "Print a JSON array");
    list->callback([&context, open, json] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            PrintRecommendations(stdout, db, recommendationrows::List(db.Connection(), *open), *json);
            return static_cast<int>(kDone);
        });
    });
    auto recordJson = std::make_shared<bool>(false);
    auto* record = cli.add_subcommand(
        "diagnosis-record", "Per diagnosis rule: findings, confirmed, partly and not confirmed, precision");
    record->add_flag("--json", *recordJson, "Print a JSON array");
    record->callback([&context, recordJson] {
        context.status = WithDatabase(context, [&](CMainConnection& db) {
            PrintDiagnosisRecord(stdout, DiagnosisRecord(db), *recordJson);
            return static_cast<int>(kDone);
        });
    });
}

} // namespace

void AddFollowUpCommands(CLI::App& cli, CommandContext& context) {
    AddScheduleCommand(cli, context);
    AddDueCommand(cli, context);
    AddComplianceCommand(cli, context);
    AddEventsCommands(cli, context);
    AddNoteCommands(cli, context);
    AddRecordCommands(cli, context);
}

} // namespace vantor::cli
