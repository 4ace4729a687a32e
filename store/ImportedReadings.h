#pragma once
// Readings that came from a file of another instrument rather than from the meter. They live in
// tblVibReadings like every reading; this table marks them, keyed by the reading's GUID, with what
// was imported. The table is created when the first reading is imported; a database without it
// has no imported readings.

#include <QDateTime>
#include <QString>

#include "store/StoreQuery.h"

#include <optional>
#include <span>

namespace vantor {

class SqlConnection;
class CMainConnection;
struct CVibReading;

inline constexpr auto kImportedReadingsTable = "tblImportedReadings";

struct ImportedReadingMark {
    QString readingGuid;   // [sItemGUID], the reading in tblVibReadings
    QString sourceFile;    // [sSourceFile], the file's name
    QString format;        // [sFormat]: "uff58", "wav" or "csv"
    QString channel;       // [sChannel]: "total" or "iso", the channel that holds the samples
    QString unit;          // [sUnit]: the unit of the file's values ("g", "mm/s", "inch/s")
    int samplesInFile = 0; // [iSamplesInFile]
    int samplesUsed = 0;   // [iSamplesUsed], the largest power of two not above it
    QDateTime imported;    // [ctImported]
};

// This module's statements (gathered by AllStoreQueries()).
std::span<const StoreQuery> ImportedReadingQueries();

// Creates the table when it is missing. Throws DatabaseError when it cannot.
void EnsureImportedReadingsTable(SqlConnection& connection);
// Adds (or replaces) the mark of a reading; creates the table first. Throws DatabaseError.
void MarkImportedReading(SqlConnection& connection, const ImportedReadingMark& mark);
// The mark of a reading; nullopt for a reading from the meter or a database without the table.
std::optional<ImportedReadingMark> FindImportedReading(SqlConnection& connection, const QString& readingGuid);
enum class ImportedReadingStore {
    Stored,
    PointHasReadingThen, // the point already had a reading at that date-time: nothing was stored
};
// Stores a reading made from another instrument's file together with its mark, as one step: the
// check that its point has no reading at that date-time and both inserts run in one write
// transaction (SQLite's write lock, the server writers' advisory lock), so of two imports of one
// point and date at once, also from two computers on one server, one is stored and the other is
// told; a mark is never stored without its reading. Throws DatabaseError (nothing stored).
ImportedReadingStore StoreImportedReading(CMainConnection& db, const CVibReading& reading,
                                          const ImportedReadingMark& mark);
// Removes the mark of a deleted reading (nothing when there is none). Throws DatabaseError.
void ForgetImportedReading(SqlConnection& connection, const QString& readingGuid);

} // namespace vantor
