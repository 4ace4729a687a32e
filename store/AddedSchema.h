#pragma once
// Every table beyond the documented ten, in one list: the bearing library and its assignments, the
// waveform indices, the envelope bands, the statistical alarm settings, the spectral alarm bands
// and the marks of imported readings. The server schema creates them in one versioned step, the
// whole-database copy carries their rows, and a database opened without them gains them.

#include <QStringList>

namespace vantor {

class SqlConnection;

// The names of the added tables, in the order they are copied.
QStringList AddedSchemaTables();

// Creates every added table the database lacks (a new bearing library with its starter bearings),
// inside the caller's transaction or in one of its own. Throws DatabaseError when one cannot be
// created; tables already present keep their rows.
void CreateMissingAddedTables(SqlConnection& connection);

} // namespace vantor
