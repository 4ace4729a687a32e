#pragma once
// A reading's waveform indices and gE overall in the indices table. They are computed when a reading
// is stored (upload, data-file import, signal import: RecordReadingIndices is the hook) and, for
// readings stored before, the first time they are needed.

#include "analysis/ReadingIndices.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;
class SqlConnection;

// Computes and stores the indices of a stored route reading (in its point's band). False (logged)
// when they cannot be stored; never throws.
bool RecordReadingIndices(SqlConnection& connection, const CVibReading& reading, EnvelopeAnalyzer& analyzer);

// Computes and stores the indices of every route reading that has none yet (after a data-file
// import), in one transaction; returns how many were stored. Never throws.
int RecordMissingReadingIndices(CMainConnection& db, EnvelopeAnalyzer& analyzer);

// The stored indices of a route reading, computed and stored first when missing or stale. None when
// the reading does not exist. Throws DatabaseError.
std::optional<ReadingIndices> ReadingIndicesOf(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                               const QString& readingGuid);

// The same for a reading whose row is already loaded.
std::optional<ReadingIndices> ReadingIndicesOf(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                               const CVibReading& reading);

// The indices of a point's readings (the rows as listed), by reading GUID; missing or stale ones are
// computed and stored in one transaction. Throws DatabaseError.
std::map<QString, ReadingIndices> PointReadingIndices(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                                      const QString& pointGuid,
                                                      const std::vector<CVibReading>& readings);

} // namespace vantor
