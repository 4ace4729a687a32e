#include "app/ServerDatabase.h"

#include "app/DatabaseSwitch.h"
#include "app/Log.h"
#include "app/Secrets.h"
#include "platform/Prompter.h"
#include "store/ServerSchema.h"
#include "texts/UiText.h"

#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>

namespace vantor {
namespace {

void Tell(CAppData& app, const QString& text) {
    app.UserPrompter().ShowMessage(text);
}

void Changed(CAppData& app) {
    if (app.databaseView.databaseChanged) {
        app.databaseView.databaseChanged();
    }
}

} // namespace

ServerProblem ClassifyConnectionError(const QString& text) {
    const auto has = [&text](const char* part) {
        return text.contains(QLatin1String(part), Qt::CaseInsensitive);
    };
    if (has("password authentication failed") || (has("role \"") && has("does not exist"))) {
        return ServerProblem::WrongPassword;
    }
    if (has("no password supplied") || has("password is required")) {
        return ServerProblem::NoPassword;
    }
    if (has("database \"") && has("does not exist")) {
        return ServerProblem::NoDatabase;
    }
    if (has("Connection refused") || has("No such file or directory")) {
        return ServerProblem::Refused;
    }
    if (has("could not translate host name") || has("timeout expired") || has("No route to host") ||
        has("Network is unreachable") || has("Name or service not known")) {
        return ServerProblem::Unreachable;
    }
    return ServerProblem::Other;
}

ServerProbe ProbeServer(const ServerAddress& address) {
    ServerProbe probe;
    SqlConnection connection(address);
    if (!connection.Open()) {
        probe.detail = connection.LastError();
        probe.problem = probe.detail.contains(QLatin1String("QPSQL")) ? ServerProblem::NoDriver
                                                                      : ClassifyConnectionError(probe.detail);
        return probe;
    }
    try {
        probe.schemaVersion = ServerSchemaVersion(connection);
    } catch (const DatabaseError& error) {
        probe.detail = QString::fromUtf8(error.what());
        probe.problem = ServerProblem::Other;
        return probe;
    }
    if (probe.schemaVersion == 0) {
        probe.problem = ServerProblem::NoSchema;
    } else if (probe.schemaVersion < kServerSchemaVersion) {
        probe.problem = ServerProblem::OlderSchema;
    } else if (probe.schemaVersion > kServerSchemaVersion) {
        probe.problem = ServerProblem::NewerSchema;
    } else {
        probe.problem = ServerProblem::None;
    }
    return probe;
}

QString ServerProbeMessage(const ServerProbe& probe, const ServerAddress& address) {
    const QString server = address.Describe();
    switch (probe.problem) {
    case ServerProblem::None:
        return QStringLiteral("Connected to %1 (schema version %2).").arg(server).arg(probe.schemaVersion);
    case ServerProblem::BadAddress:
        return QStringLiteral("The server address cannot be read: %1").arg(probe.detail);
    case ServerProblem::NoDriver:
        return QStringLiteral("The PostgreSQL driver of Qt is not installed (package libqt6sql6-psql).");
    case ServerProblem::Unreachable:
        return QStringLiteral("The server %1 cannot be reached: check the host name and the network.")
            .arg(server);
    case ServerProblem::Refused:
        return QStringLiteral(
                   "The server %1 refused the connection: is PostgreSQL running and listening on that "
                   "port?")
            .arg(server);
    case ServerProblem::NoPassword:
        return QStringLiteral("The server %1 asks for a password: enter it, or put it in ~/.pgpass.")
            .arg(server);
    case ServerProblem::WrongPassword:
        return QStringLiteral("The server %1 refused the user name or password.").arg(server);
    case ServerProblem::NoDatabase:
        return QStringLiteral("The server has no database %1: ask its administrator to create it.")
            .arg(address.Option(QStringLiteral("dbname")));
    case ServerProblem::NoSchema:
        return QStringLiteral("The database %1 holds no Vantor tables yet: run \"vantor server init\" first.")
            .arg(server);
    case ServerProblem::OlderSchema:
        return QStringLiteral(
                   "The database %1 has an older schema (version %2); it is upgraded to version %3 on "
                   "connecting.")
            .arg(server)
            .arg(probe.schemaVersion)
            .arg(kServerSchemaVersion);
    case ServerProblem::NewerSchema:
        return QStringLiteral(
                   "The database %1 was set up by a newer version of Vantor (schema version %2; this "
                   "program knows up to %3).")
            .arg(server)
            .arg(probe.schemaVersion)
            .arg(kServerSchemaVersion);
    case ServerProblem::Other:
        break;
    }
    return QStringLiteral("The server %1 cannot be used: %2").arg(server, probe.detail);
}

QString ConnectionFailureMessage(const SqlConnection& connection, const ServerAddress& address) {
    return ServerProbeMessage({ClassifyConnectionError(connection.LastError()), 0, connection.LastError()},
                              address);
}

bool UseServer(CAppData& app, const ServerAddress& address) {
    const ServerProbe probe = ProbeServer(address);
    if (!probe.Usable()) {
        Tell(app, ServerProbeMessage(probe, address));
        return false;
    }
    if (probe.problem == ServerProblem::OlderSchema) {
        SqlConnection upgrade(address);
        QString error;
        if (!upgrade.Open() || InitServerSchema(upgrade, &error) == SchemaInit::Failed) {
            Tell(app,
                 QStringLiteral("The schema of %1 could not be upgraded: %2").arg(address.Describe(), error));
            return false;
        }
    }
    const std::optional<ServerAddress> before = app.server;
    app.server = address;
    if (!app.OpenMainConnection()) {
        app.server = before;
        app.OpenMainConnection();
        Tell(app, QStringLiteral("The server %1 cannot be used.").arg(address.Describe()));
        return false;
    }
    app.ReleaseRemoteLock();
    if (QString error; !KeepPassphrase(app, address, &error)) {
        Tell(app, QStringLiteral("The key passphrase of %1 could not be kept; it is asked for again next "
                                 "time: %2")
                      .arg(address.Describe(), error));
    }
    app.settings.serverDatabase = address.ToStorable();
    RememberServer(app.settings, address);
    app.WriteSettings();
    Changed(app);
    return true;
}

bool ConnectConfiguredServer(CAppData& app) {
    QString error;
    auto address = ServerAddress::Parse(app.settings.serverDatabase, &error);
    if (!address) {
        Tell(app, QStringLiteral("The server address in the settings cannot be read: %1").arg(error));
        return false;
    }
    address = WithKeptPassphrase(app, *address);
    const ServerProbe probe = ProbeServer(*address);
    if (!probe.Usable()) {
        Tell(app, ServerProbeMessage(probe, *address));
        return false;
    }
    return UseServer(app, *address);
}

bool UseLocalFileInsteadOfServer(CAppData& app) {
    app.server.reset();
    app.settings.serverDatabase.clear();
    app.WriteSettings();
    return SwitchToLocal(app);
}

namespace {
const QString kPassphraseOption = QStringLiteral("sslpassword");
} // namespace

ServerAddress WithKeptPassphrase(const CAppData& app, ServerAddress address) {
    if (!address.Option(kPassphraseOption).isEmpty()) {
        return address;
    }
    QString error;
    const auto kept = UserSecrets(app.edition).Read(ServerPassphraseSecret(address.ToStorable()), &error);
    if (kept && !kept->isEmpty()) {
        address.SetOption(kPassphraseOption, *kept);
    } else if (!error.isEmpty()) {
        qCWarning(lcApp, "the key passphrase of %s cannot be read: %s", qUtf8Printable(address.Describe()),
                  qUtf8Printable(error));
    }
    return address;
}

bool KeepPassphrase(const CAppData& app, const ServerAddress& address, QString* error) {
    const QString passphrase = address.Option(kPassphraseOption);
    if (passphrase.isEmpty()) {
        return true;
    }
    return UserSecrets(app.edition).Write(ServerPassphraseSecret(address.ToStorable()), passphrase, error);
}

QString ServerCaption(const CAppData& app) {
    return QStringLiteral("%1 - Server Database (%2)")
        .arg(app.edition.title, app.server ? app.server->Describe() : QString());
}

QStringList RememberedServers(const CSettings& settings) {
    return settings.rememberedServers.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void RememberServer(CSettings& settings, const ServerAddress& address) {
    QStringList servers = RememberedServers(settings);
    const QString entry = address.ToStorable();
    servers.removeAll(entry);
    servers.prepend(entry);
    while (servers.size() > kMaxRememberedServers) {
        servers.removeLast();
    }
    settings.rememberedServers = servers.join(QLatin1Char('\n'));
}

ServerStatus ReadServerStatus(SqlConnection& connection) {
    ServerStatus status;
    status.schemaVersion = ServerSchemaVersion(connection);
    status.counts = CountRows(connection);
    SqlStatement& version = connection.Prepared(QStringLiteral("SELECT version()"));
    if (version.Step()) {
        status.engine = version.ColumnText(0);
    }
    version.Reset();
    SqlStatement& sessions = connection.Prepared(
        QStringLiteral("SELECT application_name, usename, COALESCE(CAST(client_addr AS text), 'local'), "
                       "to_char(backend_start, 'YYYY-MM-DD HH24:MI:SS') FROM pg_stat_activity "
                       "WHERE datname = current_database() AND backend_type = 'client backend' "
                       "ORDER BY backend_start"));
    const StatementReset reset(sessions);
    while (sessions.Step()) {
        status.sessions.push_back({sessions.ColumnText(0), sessions.ColumnText(1), sessions.ColumnText(2),
                                   DateTimeFromSql(sessions.ColumnText(3))});
    }
    return status;
}

namespace {

CopyResult Copy(CAppData& app, const ServerAddress& server, bool toServer, bool replace) {
    CopyResult result;
    SqlConnection file(app.folders.databaseFile, SqlConnection::Mode::Existing);
    SqlConnection remote(server, app.edition.title);
    if (!file.Open()) {
        result.error = QStringLiteral("the local database cannot be opened: %1").arg(file.LastError());
        return result;
    }
    if (!remote.Open()) {
        result.error =
            ServerProbeMessage({ClassifyConnectionError(remote.LastError()), 0, remote.LastError()}, server);
        return result;
    }
    int version = 0;
    try {
        version = ServerSchemaVersion(remote);
    } catch (const DatabaseError& error) {
        result.error = QString::fromUtf8(error.what());
        return result;
    }
    if (version != kServerSchemaVersion) {
        result.error =
            ServerProbeMessage({version == 0 ? ServerProblem::NoSchema
                                             : (version < kServerSchemaVersion ? ServerProblem::OlderSchema
                                                                               : ServerProblem::NewerSchema),
                                version,
                                {}},
                               server);
        return result;
    }
    return toServer ? CopyWholeDatabase(file, remote, replace) : CopyWholeDatabase(remote, file, replace);
}

} // namespace

CopyResult CopyLocalFileToServer(CAppData& app, const ServerAddress& server, bool replace) {
    return Copy(app, server, true, replace);
}

CopyResult CopyServerToLocalFile(CAppData& app, const ServerAddress& server, bool replace) {
    return Copy(app, server, false, replace);
}

} // namespace vantor
