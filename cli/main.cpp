// vantor: the command-line program. Same data root, settings and database as the desktop program;
// messages go to standard error, machine-readable output to standard output.
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "platform/ConsolePrompter.h"
#include "store/SqlConnection.h"

#include <CLI/CLI.hpp>

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

using namespace vantor;

int main(int argc, char** argv) {
    QCoreApplication qtApp(argc, argv);
    CLI::App cli{"Route-based condition monitoring: data store, meter and reports from the command line.",
                 "vantor"};
    cli.require_subcommand(1);

    auto* init =
        cli.add_subcommand("init", "Create the data root's folders, the empty database and the template");

    auto* list = cli.add_subcommand("list", "List rows in their documented order");
    std::string what;
    std::string parent;
    bool json = false;
    list->add_option("what", what, "What to list")
        ->required()
        ->check(
            CLI::IsMember(std::vector<std::string>(std::begin(cli::kListables), std::end(cli::kListables))));
    list->add_option("--parent", parent, "Only the children of this GUID (points, readings, route items)");
    list->add_flag("--json", json, "Print one JSON array of row objects");

    auto* emails = cli.add_subcommand("emails", "Edit the exception e-mail address list");
    emails->require_subcommand(1);
    std::string address;
    auto* add = emails->add_subcommand("add", "Add an address (once)");
    add->add_option("address", address)->required();
    auto* remove = emails->add_subcommand("remove", "Remove an address");
    remove->add_option("address", address)->required();

    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = cli.exit(error);
        return status == 0 ? cli::kDone : cli::kUsage;
    }

    ConsolePrompter prompter(ConsoleAnswers{});
    CAppData app(prompter);
    try {
        if (*init) {
            return cli::RunInit(app);
        }
        if (*list) {
            return cli::RunList(app, {QString::fromStdString(what), QString::fromStdString(parent), json});
        }
        if (*add) {
            return cli::RunEmailAdd(app, QString::fromStdString(address));
        }
        if (*remove) {
            return cli::RunEmailRemove(app, QString::fromStdString(address));
        }
    } catch (const DatabaseError& error) {
        prompter.ShowMessage(QString::fromStdString(error.what()));
        return cli::kFailed;
    }
    return cli::kUsage;
}
