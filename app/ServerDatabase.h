#pragma once
// The PostgreSQL server as the place of the database, beside the local file and the remote folder:
// testing a server with a clear reason for each failure, switching to it and back, the servers
// remembered in the settings, who is connected, and copying the whole database between the local
// file and the server. Both front ends call these.
//
// A password is never stored: it comes from ~/.pgpass, PGPASSWORD or the desktop's prompt, and
// lives only in the address held in memory. A TLS key passphrase ("sslpassword") is kept in the
// user's secret store, never in the settings, and put back into the address when connecting.

#include "app/CAppData.h"
#include "store/EngineCopy.h"
#include "store/ServerAddress.h"

#include <QDateTime>
#include <QStringList>

#include <vector>

namespace vantor {

enum class ServerProblem {
    None,
    BadAddress,    // libpq cannot read the address
    NoDriver,      // Qt's PostgreSQL driver is not installed
    Unreachable,   // no answer: unknown host, no route, time-out
    Refused,       // the host answered but nothing listens on the port
    NoPassword,    // the server wants a password and none was given
    WrongPassword, // the password (or the user) was refused
    NoDatabase,    // the server has no database of that name
    NoSchema,      // the database holds no schema of ours (run `vantor server init`)
    OlderSchema,   // an older schema; it is upgraded in place on connecting
    NewerSchema,   // made by a newer version of the program; refused
    Other,         // anything else; see the detail
};

struct ServerProbe {
    ServerProblem problem = ServerProblem::Other;
    int schemaVersion = 0;
    QString detail; // the server's or libpq's own text

    // Connecting is possible (an older schema is upgraded on the way).
    bool Usable() const { return problem == ServerProblem::None || problem == ServerProblem::OlderSchema; }
};

// What a failed connection's text from libpq means.
ServerProblem ClassifyConnectionError(const QString& text);
// Connects once, reads the schema version and closes again.
ServerProbe ProbeServer(const ServerAddress& address);
// One line for the user about the probe's result, naming the server.
QString ServerProbeMessage(const ServerProbe& probe, const ServerAddress& address);
// The message for a connection to `address` that did not open.
QString ConnectionFailureMessage(const SqlConnection& connection, const ServerAddress& address);

// Switches the program to the server: probes it, upgrades an older schema in place, opens the main
// connection, stores the address (without password) in the settings and remembers it. On failure
// the message is shown and the database in use before stays in use. False on failure.
bool UseServer(CAppData& app, const ServerAddress& address);
// At start-up: connects the server named in the settings. False, with the message shown, when it
// cannot be used (nothing falls back to the local file silently).
bool ConnectConfiguredServer(CAppData& app);
// Leaves the server for the local file and clears the setting.
bool UseLocalFileInsteadOfServer(CAppData& app);
// The address with the key passphrase kept for it put back, when the address names none.
ServerAddress WithKeptPassphrase(const CAppData& app, ServerAddress address);
// Keeps the address's key passphrase in the secret store (nothing when it has none); false (with
// `error`) when the store refused it.
bool KeepPassphrase(const CAppData& app, const ServerAddress& address, QString* error = nullptr);

// "<title> - Server Database (user@host:port/database)".
QString ServerCaption(const CAppData& app);

// The servers connected to before, newest first (at most kMaxRememberedServers).
inline constexpr int kMaxRememberedServers = 5;
QStringList RememberedServers(const CSettings& settings);
void RememberServer(CSettings& settings, const ServerAddress& address);

// Who is connected to the server's database: one row per session, from the server's own session
// list, with the program's application name.
struct ServerSession {
    QString application;
    QString user;
    QString client; // address, or "local" for a socket
    QDateTime since;
};
struct ServerStatus {
    QString engine; // "PostgreSQL 15.4 ..."
    int schemaVersion = 0;
    std::vector<TableRowCount> counts;
    std::vector<ServerSession> sessions;
};
// Throws DatabaseError when the server cannot be asked.
ServerStatus ReadServerStatus(SqlConnection& connection);

// The whole database from the local file into the server in the settings, or back; see
// CopyWholeDatabase for the outcome. `error` of the result explains a failure to connect too.
CopyResult CopyLocalFileToServer(CAppData& app, const ServerAddress& server, bool replace);
CopyResult CopyServerToLocalFile(CAppData& app, const ServerAddress& server, bool replace);

} // namespace vantor
