// devices rename, devices delete: the known meters' commands.
#include "app/DeviceNames.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/EditStatus.h"
#include "store/Validation.h"

#include <memory>
#include <string>

namespace vantor::cli {
namespace {

struct DeviceOptions {
    std::string guid;
    std::string name;
    bool yes = false;
};

template <class Edit> int WithList(CommandContext& context, Edit edit) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    DeviceNameList list(app);
    if (!list.Open()) {
        return kFailed;
    }
    return edit(list);
}

} // namespace

void AddDeviceCommands(CLI::App& cli, CommandContext& context) {
    auto* devices = cli.add_subcommand("devices", "Rename or delete known meters");
    devices->require_subcommand(1);
    auto options = std::make_shared<DeviceOptions>();

    auto* rename = devices->add_subcommand("rename", "Give a meter a new name");
    rename->add_option("guid", options->guid, "The meter")->required();
    rename->add_option("name", options->name, "The new name")->required();
    rename->callback([&context, options] {
        const QString name = QString::fromStdString(options->name);
        context.answers.name = name;
        context.status = WithList(context, [&](DeviceNameList& list) {
            // A name the prompt would refuse is a bad argument: its message, and nothing changes.
            if (const std::optional<QString> refused = CheckPromptedName(name)) {
                context.UserPrompter().ShowMessage(*refused);
                return static_cast<int>(kUsage);
            }
            return StatusOf(list.Rename(QString::fromStdString(options->guid)));
        });
    });

    auto* remove = devices->add_subcommand("delete", "Delete a meter (asks first)");
    remove->add_option("guid", options->guid, "The meter")->required();
    remove->add_flag("--yes", options->yes, "Answer Yes to the question");
    remove->callback([&context, options] {
        if (options->yes) {
            context.answers.yesNo = true;
        }
        context.status = WithList(context, [&](DeviceNameList& list) {
            return StatusOf(list.Delete(QString::fromStdString(options->guid)));
        });
    });
}

} // namespace vantor::cli
