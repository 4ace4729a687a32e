// remote: the remembered remote folders, switching between the local and a remote database, and
// who has a remote database open. The choice persists in the settings, as the desktop's does.
#include "app/DatabaseSwitch.h"
#include "app/TypedSettings.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ConsoleProgress.h"
#include "cli/ExitCode.h"
#include "texts/UiText.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string>

namespace vantor::cli {
namespace {

int ListRemote(CAppData& app, bool json) {
    const CSettings& s = app.settings;
    const bool remote = RemoteDatabaseChosen(s) && !s.remoteFolders.isEmpty();
    if (json) {
        QJsonObject object{
            {QStringLiteral("inUse"), remote ? QStringLiteral("remote") : QStringLiteral("local")},
            {QStringLiteral("folder"), remote ? QJsonValue(s.remoteFolders.first()) : QJsonValue()},
            {QStringLiteral("remembered"), QJsonArray::fromStringList(s.remoteFolders)}};
        PrintJsonLine(stdout, object);
        return kDone;
    }
    QString text = remote ? UiText(text::RemoteDatabase) + QLatin1Char('\t') + s.remoteFolders.first()
                          : UiText(text::LocalDatabase);
    text += QLatin1Char('\n');
    for (int i = 0; i < s.remoteFolders.size(); ++i) {
        text += QStringLiteral("%1\t%2\n").arg(i + 1).arg(s.remoteFolders[i]);
    }
    PrintText(stdout, text);
    return kDone;
}

// Runs a switch on the local database and stores where it ended.
template <class Switch> int Switched(CAppData& app, Switch work) {
    if (!RunLocalStartup(app)) {
        return kFailed;
    }
    const bool ok = work();
    app.WriteSettings();
    return ok ? kDone : kFailed;
}

} // namespace

void AddRemoteCommands(CLI::App& cli, CommandContext& context) {
    auto* remote = cli.add_subcommand("remote", "The local and remote database");
    remote->require_subcommand(1);

    auto json = std::make_shared<bool>(false);
    auto* list = remote->add_subcommand("list", "The database in use and the remembered remote folders");
    list->add_flag("--json", *json, "Print one JSON object");
    list->callback([&context, json] { context.status = ListRemote(context.App(), *json); });

    auto folder = std::make_shared<std::string>();
    auto* open = remote->add_subcommand("open", "Remember a remote folder and switch to its database");
    open->add_option("folder", *folder)->required();
    open->callback([&context, folder] {
        CAppData& app = context.App();
        context.status =
            Switched(app, [&] { return SelectRemoteFolder(app, QString::fromStdString(*folder)) == 0; });
    });

    auto number = std::make_shared<int>(0);
    auto* use = remote->add_subcommand("use", "Switch to the remembered folder N (1 first)");
    use->add_option("n", *number)->required()->check(CLI::Range(1, CSettings::kMaxRememberedFolders));
    use->callback([&context, number] {
        CAppData& app = context.App();
        if (*number > app.settings.remoteFolders.size()) {
            throw CLI::ValidationError("n", "no remembered folder with that number");
        }
        context.status = Switched(app, [&] { return UseRememberedFolder(app, *number - 1) == 0; });
    });

    auto* local = remote->add_subcommand("local", "Switch to the local database");
    local->callback([&context] {
        CAppData& app = context.App();
        context.status = Switched(app, [&] { return SwitchToLocal(app); });
    });

    auto parent = std::make_shared<std::string>();
    auto yes = std::make_shared<bool>(false);
    auto* create =
        remote->add_subcommand("create", "Create a remote database under a folder and switch to it");
    create->add_option("parent", *parent, "The folder to create it under")->required();
    create->add_flag("--yes", *yes, "Create it without asking");
    create->callback([&context, parent, yes] {
        CAppData& app = context.App();
        const QString location = QString::fromStdString(*parent);
        context.status = Switched(app, [&] { return CreateRemoteDatabase(app, location, !*yes) == 0; });
        if (context.status == kDone) {
            PrintLine(stdout, QDir::toNativeSeparators(app.folders.currentRoot));
        }
    });

    auto* other = remote->add_subcommand(
        "export-to-other",
        "Copy the database in use into the other one (local into remote, or remote into local)");
    other->callback([&context] {
        CAppData& app = context.App();
        app.databaseView.showStatus = [](const QString& note) { PrintLine(stderr, note); };
        context.status = Switched(app, [&] {
            if (RemoteDatabaseChosen(app.settings) && SwitchToRemote(app) != 0) {
                return false;
            }
            return ExportToOtherDatabase(app, [] { return std::make_unique<ConsoleProgress>(); });
        });
    });

    auto whoFolder = std::make_shared<std::string>();
    auto* who = remote->add_subcommand("who", "The other computers that have a remote database open");
    who->add_option("folder", *whoFolder, "The remote folder (default: the one in use)");
    who->callback([&context, whoFolder] {
        CAppData& app = context.App();
        QString chosen = QString::fromStdString(*whoFolder);
        if (chosen.isEmpty() && !app.settings.remoteFolders.isEmpty()) {
            chosen = app.settings.remoteFolders.first();
        }
        if (chosen.isEmpty()) {
            throw CLI::ValidationError("folder", "no remote folder is remembered");
        }
        PrintLine(stdout, WhoHasOpen(RemoteDatabaseFile(app, chosen)).text);
        context.status = kDone;
    });
}

} // namespace vantor::cli
