#pragma once
// What the record access layer needs from the application around it: where the database and the
// signal cache files are, how to tell the user, and how to stop the application.

#include "store/DynamicRecordset.h"

#include <QString>

#include <functional>
#include <optional>

namespace vantor {

class Prompter;

struct StoreContext {
    QString databaseFile; // full path of the database file
    QString dataFolder;   // folder of the signal cache files
    Prompter* prompter = nullptr;
    // The security-warning routine of the start-up (shows the warning, may stop the application).
    std::function<void()> securityWarning;
    // Marks the application for shutdown.
    std::function<void()> markShuttingDown;
    ColumnDiscoveryPolicy discovery;
    SqlConnection::Journal journal = SqlConnection::Journal::WriteAhead;
    // Set when the database is on a PostgreSQL server instead of in the file; `applicationName`
    // is how the server's session list shows this program.
    std::optional<ServerAddress> server;
    QString applicationName;
};

// The connection the context names: the server when it names one, else the database file.
inline SqlConnection ConnectionFor(const StoreContext& context) {
    if (context.server) {
        return SqlConnection(*context.server, context.applicationName);
    }
    return SqlConnection(context.databaseFile, SqlConnection::Mode::Existing, context.journal);
}

// Codes of the lists that NextOrder and RenumberOrder work on.
enum class ItemKind : int {
    Machines = 1,
    VibPoints = 2,
    LubePoints = 3,
    Routes = 4,
    RouteItems = 5,
    Meters = 8,
};

} // namespace vantor
