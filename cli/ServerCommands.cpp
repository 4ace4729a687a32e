// server: the PostgreSQL server database. `init` sets up (or upgrades) the schema of a server's
// database, `use` and `local` switch the program to it and back (stored in the settings, as the
// desktop's choice), `status` tells the engine, schema, counts and who is connected, and the two
// copies move the whole database between the local file and the server.
#include "app/ServerDatabase.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "platform/Prompter.h"
#include "store/ServerSchema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string>

namespace vantor::cli {
namespace {

// The address given on the command line; a password in it is used for this run only.
std::optional<ServerAddress> Address(const std::string& text) {
    QString error;
    auto address = ServerAddress::Parse(QString::fromStdString(text), &error);
    if (!address) {
        PrintLine(stderr, QStringLiteral("The server address cannot be read: %1").arg(error));
    }
    return address;
}

// The server in the settings, for the commands that work on the one in use.
std::optional<ServerAddress> ConfiguredServer(CAppData& app) {
    app.ReadSettings();
    if (app.settings.serverDatabase.isEmpty()) {
        PrintLine(stderr, QStringLiteral("No server database is in use (vantor server use URL)."));
        return std::nullopt;
    }
    const auto address = Address(app.settings.serverDatabase.toStdString());
    return address ? std::optional<ServerAddress>(WithKeptPassphrase(app, *address)) : std::nullopt;
}

int Init(CAppData& app, const std::string& text) {
    const auto address = Address(text);
    if (!address) {
        return kUsage;
    }
    SqlConnection connection(*address, app.edition.title);
    if (!connection.Open()) {
        PrintLine(stderr, ConnectionFailureMessage(connection, *address));
        return kFailed;
    }
    QString error;
    switch (InitServerSchema(connection, &error)) {
    case SchemaInit::Created:
        PrintText(stdout, QStringLiteral("Created schema version %1 on %2\n")
                              .arg(kServerSchemaVersion)
                              .arg(address->Describe()));
        return kDone;
    case SchemaInit::Upgraded:
        PrintText(stdout, QStringLiteral("Upgraded %1 to schema version %2\n")
                              .arg(address->Describe())
                              .arg(kServerSchemaVersion));
        return kDone;
    case SchemaInit::Current:
        PrintText(stdout, QStringLiteral("%1 is at schema version %2\n")
                              .arg(address->Describe())
                              .arg(kServerSchemaVersion));
        return kDone;
    case SchemaInit::Newer:
        PrintLine(stderr, ServerProbeMessage(
                              {ServerProblem::NewerSchema, ServerSchemaVersion(connection), {}}, *address));
        return kFailed;
    case SchemaInit::Failed:
        break;
    }
    PrintLine(stderr,
              QStringLiteral("The schema could not be set up on %1: %2").arg(address->Describe(), error));
    return kFailed;
}

int Status(CAppData& app, bool json) {
    const auto address = ConfiguredServer(app);
    if (!address) {
        return kFailed;
    }
    SqlConnection connection(*address, app.edition.title);
    if (!connection.Open()) {
        PrintLine(stderr, ConnectionFailureMessage(connection, *address));
        return kFailed;
    }
    ServerStatus status;
    try {
        status = ReadServerStatus(connection);
    } catch (const DatabaseError& error) {
        PrintLine(stderr,
                  QStringLiteral("The server cannot be asked: %1").arg(QString::fromUtf8(error.what())));
        return kFailed;
    }
    if (json) {
        QJsonObject counts;
        for (const auto& count : status.counts) {
            counts.insert(count.table, count.source);
        }
        QJsonArray sessions;
        for (const auto& session : status.sessions) {
            sessions.append(QJsonObject{{QStringLiteral("application"), session.application},
                                        {QStringLiteral("user"), session.user},
                                        {QStringLiteral("client"), session.client},
                                        {QStringLiteral("since"), SqlDateTimeText(session.since)}});
        }
        const QJsonObject object{{QStringLiteral("server"), address->Describe()},
                                 {QStringLiteral("engine"), status.engine},
                                 {QStringLiteral("schemaVersion"), status.schemaVersion},
                                 {QStringLiteral("counts"), counts},
                                 {QStringLiteral("connected"), sessions}};
        PrintJsonLine(stdout, object);
        return kDone;
    }
    QString text = QStringLiteral("Server\t%1\nEngine\t%2\nSchema version\t%3\n")
                       .arg(address->Describe(), status.engine)
                       .arg(status.schemaVersion);
    for (const auto& count : status.counts) {
        text += QStringLiteral("%1\t%2\n").arg(count.table).arg(count.source);
    }
    for (const auto& session : status.sessions) {
        text += QStringLiteral("Connected\t%1\t%2\t%3\t%4\n")
                    .arg(session.application, session.user, session.client, SqlDateTimeText(session.since));
    }
    PrintText(stdout, text);
    return kDone;
}

int Copy(CAppData& app, bool toServer, bool replace) {
    const auto address = ConfiguredServer(app);
    if (!address || !RunLocalStartup(app)) {
        return kFailed;
    }
    const CopyResult result = toServer ? CopyLocalFileToServer(app, *address, replace)
                                       : CopyServerToLocalFile(app, *address, replace);
    if (result.outcome == CopyOutcome::TargetHoldsData) {
        PrintLine(stderr,
                  QStringLiteral("%1 already holds data; nothing was copied (--replace empties it first).")
                      .arg(toServer ? address->Describe() : QStringLiteral("The local database")));
        return kFailed;
    }
    if (result.outcome != CopyOutcome::Done) {
        PrintLine(stderr, QStringLiteral("Nothing was copied: %1").arg(result.error));
        return kFailed;
    }
    QString text;
    for (const auto& count : result.counts) {
        text += QStringLiteral("%1\t%2\n").arg(count.table).arg(count.target);
    }
    PrintText(stdout, text);
    return kDone;
}

} // namespace

void AddServerCommands(CLI::App& cli, CommandContext& context) {
    auto* server = cli.add_subcommand("server", "The PostgreSQL server database");
    server->require_subcommand(1);

    auto url = std::make_shared<std::string>();
    auto* init = server->add_subcommand("init", "Create (or upgrade) the schema in a server's database");
    init->add_option("url", *url, "libpq connection string or URL")->required();
    init->callback([&context, url] { context.status = Init(context.App(), *url); });

    auto useUrl = std::make_shared<std::string>();
    auto* use = server->add_subcommand("use", "Switch to a server database (remembered in the settings)");
    use->add_option("url", *useUrl, "libpq connection string or URL")->required();
    use->callback([&context, useUrl] {
        CAppData& app = context.App();
        const auto address = Address(*useUrl);
        if (!address) {
            context.status = kUsage;
            return;
        }
        if (address->HasPassword()) {
            PrintLine(stderr,
                      QStringLiteral(
                          "The password is used now but not stored; put it in ~/.pgpass for later runs."));
        }
        if (!RunLocalStartup(app)) {
            context.status = kFailed;
            return;
        }
        context.status = UseServer(app, *address) ? kDone : kFailed;
    });

    auto* local = server->add_subcommand("local", "Switch back to the local database file");
    local->callback([&context] {
        CAppData& app = context.App();
        if (!RunLocalStartup(app)) {
            context.status = kFailed;
            return;
        }
        context.status = UseLocalFileInsteadOfServer(app) ? kDone : kFailed;
    });

    auto json = std::make_shared<bool>(false);
    auto* status =
        server->add_subcommand("status", "Engine, schema version, row counts and who is connected");
    status->add_flag("--json", *json, "Print one JSON object");
    status->callback([&context, json] { context.status = Status(context.App(), *json); });

    auto replaceServer = std::make_shared<bool>(false);
    auto* fromLocal =
        server->add_subcommand("copy-from-local", "Copy the whole local database into the server");
    fromLocal->add_flag("--replace", *replaceServer, "Empty the server's tables first");
    fromLocal->callback(
        [&context, replaceServer] { context.status = Copy(context.App(), true, *replaceServer); });

    auto replaceLocal = std::make_shared<bool>(false);
    auto* toLocal =
        server->add_subcommand("copy-to-local", "Copy the whole server database into the local file");
    toLocal->add_flag("--replace", *replaceLocal, "Empty the local tables first");
    toLocal->callback(
        [&context, replaceLocal] { context.status = Copy(context.App(), false, *replaceLocal); });
}

} // namespace vantor::cli
