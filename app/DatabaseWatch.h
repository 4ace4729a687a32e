#pragma once
// Whether another program changed the open database since the desktop last looked: a number the
// engine moves on every change, read cheaply every few seconds.

#include <QtGlobal>

#include <chrono>
#include <optional>

namespace vantor {

class CMainConnection;

// How often the desktop looks for changes another program made (tests shorten it).
inline constexpr std::chrono::milliseconds kLiveRefreshInterval{3000};

// A number that differs after another program changed the database: on a database file SQLite's
// data_version (moved by every commit of another connection, never by this one's own), on a server
// the rows inserted, updated and deleted in its tables by anyone (its statistics, up to a second
// behind). None without an open connection or when the engine refuses the query (logged).
std::optional<qint64> DatabaseChangeCounter(CMainConnection& db);

} // namespace vantor
