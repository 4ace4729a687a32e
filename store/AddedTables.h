#pragma once
// Tables beyond the documented ten, which a database gains when it is opened without them: the
// per-reading waveform indices and the per-point envelope band. Their CREATE TABLE statements live
// here and nowhere else, in plain standard SQL (unquoted names, VARCHAR, DOUBLE PRECISION,
// INTEGER), so they run unchanged on every engine the store uses.

#include <QSqlDatabase>
#include <QStringList>

#include <span>

namespace vantor {

struct AddedTable {
    const char* name;
    const char* columns; // the column list of CREATE TABLE, in order
    const char* index;   // a lookup index's CREATE INDEX statement (or nullptr)
};

inline constexpr const char* kReadingIndicesTable = "tblReadingIndices";
inline constexpr const char* kVibEnvelopeBandsTable = "tblVibEnvelopeBands";

std::span<const AddedTable> AddedTables();

// The statements that create one added table and its index.
QStringList CreateAddedTableStatements(const AddedTable& table);

// Creates every added table the database lacks, all in one transaction. False (logged) when one
// cannot be created, for example in a read-only database; the documented tables work regardless.
bool EnsureAddedTables(QSqlDatabase db);
// The same for another module's list of added tables.
bool EnsureAddedTables(QSqlDatabase db, std::span<const AddedTable> tables);

} // namespace vantor
