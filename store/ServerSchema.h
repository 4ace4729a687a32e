#pragma once
// The schema of a server database, versioned: tblSchemaVersion holds the version the tables are
// at, and every later version of the program brings an older schema up in place, one step per
// version, each step in the transaction that records it.

#include "store/SqlConnection.h"

#include <QString>

namespace vantor {

// The schema version this program writes and reads.
inline constexpr int kServerSchemaVersion = 5;

// The version the server's tables are at: 0 when the database holds no schema of ours yet.
// Throws DatabaseError when the server cannot be asked.
int ServerSchemaVersion(SqlConnection& connection);

enum class SchemaInit {
    Created,  // the database was empty; every table was made
    Upgraded, // an older schema was brought up to this program's version
    Current,  // nothing to do
    Newer,    // the schema is newer than this program knows; left alone
    Failed,   // see the error
};

// Creates the schema in an empty database, or upgrades an older one in place, in one transaction
// (other programs wait for it). `error` tells why it failed.
SchemaInit InitServerSchema(SqlConnection& connection, QString* error = nullptr);

} // namespace vantor
