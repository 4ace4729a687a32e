#pragma once
// Readings that came from a file of another instrument rather than from the meter. They live in
// tblVibReadings like every reading; this table marks them, keyed by the reading's GUID, with what
// was imported. The table is created when the first reading is imported; a database without it
// has no imported readings.

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantor {

class SqlConnection;

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

// Creates the table when it is missing. Throws DatabaseError when it cannot.
void EnsureImportedReadingsTable(SqlConnection& connection);
// Adds (or replaces) the mark of a reading; creates the table first. Throws DatabaseError.
void MarkImportedReading(SqlConnection& connection, const ImportedReadingMark& mark);
// The mark of a reading; nullopt for a reading from the meter or a database without the table.
std::optional<ImportedReadingMark> FindImportedReading(SqlConnection& connection, const QString& readingGuid);
// Removes the mark of a deleted reading (nothing when there is none). Throws DatabaseError.
void ForgetImportedReading(SqlConnection& connection, const QString& readingGuid);

} // namespace vantor
