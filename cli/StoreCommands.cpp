// init, list and emails.
#include "cli/CommandContext.h"
#include "cli/Commands.h"

#include <string>
#include <vector>

namespace vantor::cli {

void AddStoreCommands(CLI::App& cli, CommandContext& context) {
    auto* init =
        cli.add_subcommand("init", "Create the data root's folders, the empty database and the template");
    init->callback([&context] { context.status = RunInit(context.App()); });

    auto* list = cli.add_subcommand("list", "List rows in their documented order");
    auto options = std::make_shared<std::pair<std::string, std::string>>();
    auto json = std::make_shared<bool>(false);
    list->add_option("what", options->first, "What to list")
        ->required()
        ->check(CLI::IsMember(std::vector<std::string>(std::begin(kListables), std::end(kListables))));
    list->add_option("--parent", options->second,
                     "Only the children of this GUID (points, readings, route items)");
    list->add_flag("--json", *json, "Print one JSON array of row objects");
    list->callback([&context, options, json] {
        context.status = RunList(context.App(), {QString::fromStdString(options->first),
                                                 QString::fromStdString(options->second), *json});
    });

    auto* emails = cli.add_subcommand("emails", "Edit the exception e-mail address list");
    emails->require_subcommand(1);
    auto address = std::make_shared<std::string>();
    auto* add = emails->add_subcommand("add", "Add an address (once)");
    add->add_option("address", *address)->required();
    add->callback([&context, address] {
        context.status = RunEmailAdd(context.App(), QString::fromStdString(*address));
    });
    auto* remove = emails->add_subcommand("remove", "Remove an address");
    remove->add_option("address", *address)->required();
    remove->callback([&context, address] {
        context.status = RunEmailRemove(context.App(), QString::fromStdString(*address));
    });
}

} // namespace vantor::cli
