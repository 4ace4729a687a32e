#include "loaders/IndicesStore.h"

#include "analysis/Log.h"
#include "store/DerivedRecords.h"
#include "store/MainConnection.h"
#include "store/SqlConnection.h"

namespace vantor {

bool RecordReadingIndices(SqlConnection& connection, const CVibReading& reading, EnvelopeAnalyzer& analyzer) {
    try {
        const std::optional<EnvelopeBandRow> band = derived::GetEnvelopeBand(connection, reading.sParentGUID);
        derived::PutReadingIndices(connection,
                                   ToRow(reading.sItemGUID, ComputeReadingIndices(reading, analyzer, band)));
        return true;
    } catch (const DatabaseError& error) {
        qCWarning(lcAnalysis) << "The indices of reading" << reading.sItemGUID
                              << "were not stored:" << error.what();
        return false;
    }
}

int RecordMissingReadingIndices(CMainConnection& db, EnvelopeAnalyzer& analyzer) {
    int stored = 0;
    try {
        SqlConnection::Batch batch(db.Connection());
        for (const QString& guid : derived::ReadingsWithoutIndices(db.Connection())) {
            CVibReading reading;
            if (!guid.isEmpty() && db.GetVibReading(guid, reading) &&
                RecordReadingIndices(db.Connection(), reading, analyzer)) {
                ++stored;
            }
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcAnalysis) << "The indices of imported readings were not all stored:" << error.what();
    }
    return stored;
}

std::optional<ReadingIndices> ReadingIndicesOf(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                               const QString& readingGuid) {
    CVibReading reading;
    if (readingGuid.isEmpty() || !db.GetVibReading(readingGuid, reading)) {
        return std::nullopt;
    }
    return ReadingIndicesOf(db, analyzer, reading);
}

std::optional<ReadingIndices> ReadingIndicesOf(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                               const CVibReading& reading) {
    const QString& readingGuid = reading.sItemGUID;
    const std::optional<EnvelopeBandRow> band =
        derived::GetEnvelopeBand(db.Connection(), reading.sParentGUID);
    ReadingIndicesRow stored;
    if (derived::GetReadingIndices(db.Connection(), readingGuid, stored) &&
        IndicesAreCurrent(stored, reading, band)) {
        return FromRow(stored);
    }
    const ReadingIndices indices = ComputeReadingIndices(reading, analyzer, band);
    derived::PutReadingIndices(db.Connection(), ToRow(readingGuid, indices));
    return indices;
}

std::map<QString, ReadingIndices> PointReadingIndices(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                                      const QString& pointGuid,
                                                      const std::vector<CVibReading>& readings) {
    const std::optional<EnvelopeBandRow> band = derived::GetEnvelopeBand(db.Connection(), pointGuid);
    const std::map<QString, ReadingIndicesRow> stored =
        derived::ReadingIndicesOfPoint(db.Connection(), pointGuid);
    std::map<QString, ReadingIndices> indices;
    SqlConnection::Batch batch(db.Connection());
    for (const CVibReading& reading : readings) {
        const auto found = stored.find(reading.sItemGUID);
        if (found != stored.end() && IndicesAreCurrent(found->second, reading, band)) {
            indices.emplace(reading.sItemGUID, FromRow(found->second));
            continue;
        }
        ReadingIndices computed = ComputeReadingIndices(reading, analyzer, band);
        derived::PutReadingIndices(db.Connection(), ToRow(reading.sItemGUID, computed));
        indices.emplace(reading.sItemGUID, std::move(computed));
    }
    return indices;
}

} // namespace vantor
