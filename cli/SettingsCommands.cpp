// settings list | get NAME | set NAME VALUE: the user's settings record. The settings live in the
// user's profile and are read at process start, so these commands need no database. Secrets (the
// mail password) live in the user's secret store: they are never printed, and are set from
// standard input ("set SmtpPassword -"), never from the command line, where shell history and the
// process list would keep them.
#include "app/Secrets.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace vantor::cli {
namespace {

// The settings that are secrets, with the value they follow in the listing.
struct SecretSetting {
    const QString& name;
    const char* listedAfter;
};
const SecretSetting kSecretSettings[] = {{kSmtpPasswordSecret, "SmtpUser"}};

// What stands in a listing for a secret value.
const QString kSet = QStringLiteral("set");
const QString kNotSet = QStringLiteral("not set");
// The value that makes "set" read a secret from standard input.
const QString kFromInput = QStringLiteral("-");

const SecretSetting* FindSecret(const QString& name) {
    for (const SecretSetting& secret : kSecretSettings) {
        if (secret.name == name) {
            return &secret;
        }
    }
    return nullptr;
}

QString SecretState(const CAppData& app, const QString& name) {
    QString error;
    const auto value = UserSecrets(app.edition).Read(name, &error);
    if (!error.isEmpty()) {
        PrintLine(stderr, QStringLiteral("%1 cannot be read: %2").arg(name, error));
    }
    return value && !value->isEmpty() ? kSet : kNotSet;
}

int List(CAppData& app) {
    for (const auto& [name, value] : ListSettingValues(app.settings)) {
        PrintLine(stdout, name + QLatin1Char('\t') + value);
        for (const SecretSetting& secret : kSecretSettings) {
            if (name == QLatin1String(secret.listedAfter)) {
                PrintLine(stdout, secret.name + QLatin1Char('\t') + SecretState(app, secret.name));
            }
        }
    }
    return kDone;
}

int Get(CAppData& app, const QString& name) {
    if (FindSecret(name) != nullptr) {
        PrintLine(stdout, SecretState(app, name));
        return kDone;
    }
    const auto value = SettingValue(app.settings, name);
    if (!value) {
        PrintLine(stderr, QStringLiteral("Unknown setting: %1").arg(name));
        return kUsage;
    }
    PrintLine(stdout, *value);
    return kDone;
}

// One line from standard input, without echo when a person types it at a terminal; nullopt at the
// end of the input.
std::optional<QString> ReadSecretLine(const QString& name) {
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
        std::fprintf(stderr, "%s: ", qUtf8Printable(name));
        std::fflush(stderr);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    if (!read && line.empty()) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return QString::fromStdString(line);
}

int SetSecret(CAppData& app, const QString& name, const QString& value) {
    if (value != kFromInput) {
        PrintLine(stderr,
                  QStringLiteral("%1 is never taken from the command line: run \"settings set %1 -\" and "
                                 "type it on standard input")
                      .arg(name));
        return kUsage;
    }
    const std::optional<QString> secret = ReadSecretLine(name);
    if (!secret) {
        PrintLine(stderr, QStringLiteral("No line was read from standard input; %1 is unchanged").arg(name));
        return kFailed;
    }
    const SecretStore store = UserSecrets(app.edition);
    QString error;
    const bool done = secret->isEmpty() ? store.Remove(name, &error) : store.Write(name, *secret, &error);
    if (!done) {
        PrintLine(stderr, QStringLiteral("%1 could not be stored: %2").arg(name, error));
        return kFailed;
    }
    const QString where = store.UsesKeyring() ? QStringLiteral("the keyring") : store.FallbackFile();
    PrintLine(stderr, secret->isEmpty() ? QStringLiteral("%1 removed").arg(name)
                                        : QStringLiteral("%1 stored in %2").arg(name, where));
    return kDone;
}

int Set(CAppData& app, const QString& name, const QString& value) {
    if (FindSecret(name) != nullptr) {
        return SetSecret(app, name, value);
    }
    switch (SetSettingValue(app.settings, name, value)) {
    case SettingUpdate::UnknownName:
        PrintLine(stderr, QStringLiteral("Unknown setting: %1").arg(name));
        return kUsage;
    case SettingUpdate::NotANumber:
        PrintLine(stderr, QStringLiteral("%1 takes a whole number, not \"%2\"").arg(name, value));
        return kUsage;
    case SettingUpdate::Done:
        break;
    }
    if (!app.WriteSettings()) {
        PrintLine(
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
    auto* get = settings->add_subcommand("get", "Print one value (for SmtpPassword: set or not set)");
    get->add_option("name", *name, "Value name, e.g. \"DP mms\" or RemoteFolderPath1")->required();
    get->callback([&context, name] { context.status = Get(context.App(), QString::fromStdString(*name)); });

    auto* set = settings->add_subcommand("set", "Change one value and store the settings at once");
    set->add_option("name", *name, "Value name")->required();
    set->add_option("value", *value,
                    "New value (whole number or text); for SmtpPassword \"-\", which reads it from standard "
                    "input (an empty line removes it)")
        ->required();
    set->callback([&context, name, value] {
        context.status = Set(context.App(), QString::fromStdString(*name), QString::fromStdString(*value));
    });
}

} // namespace vantor::cli
