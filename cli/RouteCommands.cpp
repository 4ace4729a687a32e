// route: the route manager without windows.
#include "app/RouteEditor.h"
#include "app/Startup.h"
#include "cli/CatalogueLookup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/EditStatus.h"
#include "texts/UiText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <string>
#include <vector>

namespace vantor::cli {
namespace {

struct RouteOptions {
    std::string route;
    std::string name;
    std::string item;
    std::string before;
    std::vector<std::string> machines;
    bool yes = false;
    bool json = false;
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <class Work> int WithEditor(CommandContext& context, Work work) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    RouteEditor editor(*app.MainConnection(), context.UserPrompter());
    return work(editor, *app.MainConnection());
}

// A ROUTE argument: its GUID or a name only one route carries; unknown keys pass through, so the
// editor reports them.
QString RouteArgument(CMainConnection& db, const std::string& key) {
    const QString guid = FindRouteByKey(db, Q(key));
    return guid.isEmpty() ? Q(key) : guid;
}

void PrintItems(const std::vector<RouteItemRow>& rows, bool json) {
    if (json) {
        QJsonArray array;
        for (const RouteItemRow& row : rows) {
            array.append(QJsonObject{{QStringLiteral("item"), row.itemGuid},
                                     {QStringLiteral("order"), row.order},
                                     {QStringLiteral("machine"), row.machineGuid},
                                     {QStringLiteral("name"), row.machineName},
                                     {QStringLiteral("vibPoints"), row.vibPoints}});
        }
        PrintJsonArrayLine(stdout, array);
        return;
    }
    QString text = QStringLiteral("%1\t%2\t%3\t%4\n")
                       .arg(UiText(text::OrderColumn), UiText(text::MachineName), QStringLiteral("Machine"),
                            QStringLiteral("Item"));
    for (const RouteItemRow& row : rows) {
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(row.order)
                    .arg(row.machineName, row.machineGuid, row.itemGuid);
    }
    PrintBytes(stdout, text.toUtf8());
}

} // namespace

void AddRouteCommands(CLI::App& cli, CommandContext& context) {
    auto* route = cli.add_subcommand("route", "Add, rename or delete routes and list their machines");
    route->require_subcommand(1);
    auto o = std::make_shared<RouteOptions>();

    auto* add = route->add_subcommand("add", "Add a route; prints its GUID");
    add->add_option("name", o->name, "The route's name")->required();
    add->callback([&context, o] {
        context.status = WithEditor(context, [&](RouteEditor& editor, CMainConnection&) {
            const std::optional<QString> guid = editor.AddRoute(Q(o->name));
            if (guid) {
                PrintGuid(*guid);
            }
            return guid ? kDone : kFailed;
        });
    });

    auto* rename = route->add_subcommand("rename", "Give a route a new name");
    rename->add_option("route", o->route, "The route: GUID or unique name")->required();
    rename->add_option("name", o->name, "The new name")->required();
    rename->callback([&context, o] {
        context.status = WithEditor(context, [&](RouteEditor& editor, CMainConnection& db) {
            return StatusOf(editor.RenameRoute(RouteArgument(db, o->route), Q(o->name)));
        });
    });

    auto* remove = route->add_subcommand("delete", "Delete a route and its list of machines (asks first)");
    remove->add_option("route", o->route, "The route: GUID or unique name")->required();
    remove->add_flag("--yes", o->yes, "Answer Yes to the question");
    remove->callback([&context, o] {
        if (o->yes) {
            context.answers.yesNo = true;
        }
        context.status = WithEditor(context, [&](RouteEditor& editor, CMainConnection& db) {
            return StatusOf(editor.DeleteRoute(RouteArgument(db, o->route)));
        });
    });

    auto* addMachine =
        route->add_subcommand("add-machine", "Add machines to a route; prints the new items' GUIDs");
    addMachine->add_option("route", o->route, "The route: GUID or unique name")->required();
    addMachine->add_option("machines", o->machines, "The machines: GUIDs or unique names")->required();
    addMachine->add_option("--before", o->before,
                           "Place them just before this item of the route (else last)");
    addMachine->callback([&context, o] {
        context.status = WithEditor(context, [&](RouteEditor& editor, CMainConnection& db) {
            QStringList machines;
            for (const std::string& key : o->machines) {
                const QString guid = FindMachineGuid(db, Q(key));
                machines << (guid.isEmpty() ? Q(key) : guid);
            }
            const std::optional<QStringList> items =
                editor.AddMachines(RouteArgument(db, o->route), machines, Q(o->before));
            if (!items) {
                return static_cast<int>(kFailed);
            }
            for (const QString& item : *items) {
                PrintGuid(item);
            }
            return static_cast<int>(kDone);
        });
    });

    auto* removeItem = route->add_subcommand("remove-item", "Take a machine off its route");
    removeItem->add_option("item", o->item, "The route item's GUID")->required();
    removeItem->callback([&context, o] {
        context.status = WithEditor(context, [&](RouteEditor& editor, CMainConnection&) {
            return StatusOf(editor.RemoveItem(Q(o->item)));
        });
    });

    auto* items = route->add_subcommand("items", "List a route's machines in order");
    items->add_option("route", o->route, "The route: GUID or unique name")->required();
    items->add_flag("--json", o->json, "Print one JSON array");
    items->callback([&context, o] {
        context.status = WithEditor(context, [&](RouteEditor& editor, CMainConnection& db) {
            const auto rows = editor.Items(RouteArgument(db, o->route));
            if (!rows) {
                return static_cast<int>(kFailed);
            }
            PrintItems(*rows, o->json);
            return static_cast<int>(kDone);
        });
    });
}

} // namespace vantor::cli
