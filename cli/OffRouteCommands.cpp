// offroute move, offroute delete: the off-route readings' commands.
#include "app/OffRouteReadings.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/EditStatus.h"

#include <memory>
#include <string>

namespace vantor::cli {
namespace {

struct OffRouteOptions {
    std::string guid;
    std::string point;
    bool yes = false;
};

// Runs `edit` on the opened list; a data root or database that cannot be opened fails the command.
template <class Edit> int WithList(CommandContext& context, Edit edit) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    OffRouteReadingList list(app);
    if (!list.Open()) {
        return kFailed;
    }
    return StatusOf(edit(list));
}

} // namespace

void AddOffRouteCommands(CLI::App& cli, CommandContext& context) {
    auto* offroute = cli.add_subcommand("offroute", "Move or delete readings taken on the Off Route points");
    offroute->require_subcommand(1);
    auto options = std::make_shared<OffRouteOptions>();

    auto* move = offroute->add_subcommand("move", "Store an off-route reading under a vibration point");
    move->add_option("guid", options->guid, "The off-route reading")->required();
    move->add_option("--to", options->point, "The vibration point that receives it")->required();
    move->callback([&context, options] {
        const QString point = QString::fromStdString(options->point);
        context.status = WithList(context, [&](OffRouteReadingList& list) {
            return list.MoveTo(QString::fromStdString(options->guid),
                               [point] { return std::optional<QString>(point); });
        });
    });

    auto* remove = offroute->add_subcommand("delete", "Delete an off-route reading (asks first)");
    remove->add_option("guid", options->guid, "The off-route reading")->required();
    remove->add_flag("--yes", options->yes, "Answer Yes to the question");
    remove->callback([&context, options] {
        if (options->yes) {
            context.answers.yesNo = true;
        }
        context.status = WithList(context, [&](OffRouteReadingList& list) {
            return list.Delete(QString::fromStdString(options->guid));
        });
    });
}

} // namespace vantor::cli
