// settings list | get NAME | set NAME VALUE: the user's settings record. The settings live in the
// user's profile and are read at process start, so these commands need no database.
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"

#include <cstdio>
#include <string>

namespace vantor::cli {
namespace {

void Print(std::FILE* stream, const QString& line) {
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
}

int List(CAppData& app) {
    // A listing ends up in terminals and logs: the mail password is shown only when asked for by
    // name ("settings get SmtpPassword").
    static const QString secret = QStringLiteral("SmtpPassword");
    for (const auto& [name, value] : ListSettingValues(app.settings)) {
        const bool hidden = name == secret && !value.isEmpty();
        Print(stdout, name + QLatin1Char('\t') + (hidden ? QStringLiteral("********") : value));
    }
    return kDone;
}

int Get(CAppData& app, const QString& name) {
    const auto value = SettingValue(app.settings, name);
    if (!value) {
        Print(stderr, QStringLiteral("Unknown setting: %1").arg(name));
        return kUsage;
    }
    Print(stdout, *value);
    return kDone;
}

int Set(CAppData& app, const QString& name, const QString& value) {
    switch (SetSettingValue(app.settings, name, value)) {
    case SettingUpdate::UnknownName:
        Print(stderr, QStringLiteral("Unknown setting: %1").arg(name));
        return kUsage;
    case SettingUpdate::NotANumber:
        Print(stderr, QStringLiteral("%1 takes a whole number, not \"%2\"").arg(name, value));
        return kUsage;
    case SettingUpdate::Done:
        break;
    }
    if (!app.WriteSettings()) {
        Print(
            stderr,
            QStringLiteral("Could not store the settings in %1").arg(SettingsStore(app.edition).FilePath()));
        return kFailed;
    }
    return kDone;
}

} // namespace

void AddSettingsCommands(CLI::App& cli, CommandContext& context) {
    auto* settings = cli.add_subcommand("settings", "Show or change the user's settings");
    settings->require_subcommand(1);

    auto* list = settings->add_subcommand("list", "Print every stored value as name<TAB>value");
    list->callback([&context] { context.status = List(context.App()); });

    auto name = std::make_shared<std::string>();
    auto value = std::make_shared<std::string>();
    auto* get = settings->add_subcommand("get", "Print one value");
    get->add_option("name", *name, "Value name, e.g. \"DP mms\" or RemoteFolderPath1")->required();
    get->callback([&context, name] { context.status = Get(context.App(), QString::fromStdString(*name)); });

    auto* set = settings->add_subcommand("set", "Change one value and store the settings at once");
    set->add_option("name", *name, "Value name")->required();
    set->add_option("value", *value, "New value (whole number or text)")->required();
    set->callback([&context, name, value] {
        context.status = Set(context.App(), QString::fromStdString(*name), QString::fromStdString(*value));
    });
}

} // namespace vantor::cli
