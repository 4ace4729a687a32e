#pragma once
// A reading's waveform indices (per channel) and the gE overall of its Total channel's envelope,
// kept in the indices table. They are computed when a reading is stored (upload, data-file import,
// signal import: RecordReadingIndices is the hook) and, for readings stored before, the first time
// they are needed; a row taken in another envelope band or by an older method is computed again.

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/WaveformIndices.h"
#include "store/DerivedRecords.h"
#include "store/Records.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;
class SqlConnection;

// Numbers the way the indices are computed; rows of another method are computed again.
inline constexpr int kReadingIndicesMethod = 1;

struct ReadingIndices {
    // None for a channel whose capture could not be decoded: no zeros that look like data.
    std::optional<WaveformIndices> total;
    std::optional<WaveformIndices> iso;
    EnvelopeBand band;               // the band of the gE overall (high clipped to Fmax)
    std::optional<double> geOverall; // none without a Total channel or when the band is refused
};

// The envelope band a point asks for: its own, else the default of the channel's Fmax.
EnvelopeBand EnvelopeBandFor(const std::optional<EnvelopeBandRow>& pointBand, double fmaxHz);
// The Total channel's Fmax of a reading row.
double TotalFmaxOf(const VibReadingValues& row);

// Decodes each channel of the row on its own and takes its indices, and the envelope's gE overall
// in `band` (the point's band; the default when none).
ReadingIndices ComputeReadingIndices(const VibReadingValues& row, EnvelopeAnalyzer& analyzer,
                                     const std::optional<EnvelopeBandRow>& pointBand);

ReadingIndicesRow ToRow(const QString& readingGuid, const ReadingIndices& indices);
ReadingIndices FromRow(const ReadingIndicesRow& row);

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

// The indices of a point's readings (the rows as listed), by reading GUID; missing or stale ones are
// computed and stored in one transaction. Throws DatabaseError.
std::map<QString, ReadingIndices> PointReadingIndices(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                                      const QString& pointGuid,
                                                      const std::vector<CVibReading>& readings);

} // namespace vantor
