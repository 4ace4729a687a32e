#pragma once
// Rows of the added tables (see AddedTables.h): a reading's waveform indices and a point's envelope
// band. Read and written through bound parameters with plain standard SQL; a value the row does not
// have is NULL in the table and none here, never a number that looks like data.

#include "records/DerivedRows.h"
#include "store/SqlConnection.h"
#include "store/StoreQuery.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <optional>
#include <span>

namespace vantor {

// Throw DatabaseError when a query cannot be executed.
namespace derived {

// This module's statements (gathered by AllStoreQueries()).
std::span<const StoreQuery> DerivedQueries();
// Runs one listed statement, its names quoted by the connection's dialect, with its bound values;
// throws DatabaseError (logged) when it cannot run. The added tables' records share it.
QSqlQuery Run(SqlConnection& connection, const StoreQuery& statement, const QVariantList& values);
// A value, or NULL for none and for anything that is not a finite number; and back.
QVariant Nullable(const std::optional<double>& value);
std::optional<double> Optional(const QVariant& value);

bool GetReadingIndices(SqlConnection& connection, const QString& readingGuid, ReadingIndicesRow& out);
// The indices rows of every reading of a point, by reading GUID.
std::map<QString, ReadingIndicesRow> ReadingIndicesOfPoint(SqlConnection& connection,
                                                           const QString& pointGuid);
// Replaces the reading's row.
void PutReadingIndices(SqlConnection& connection, const ReadingIndicesRow& row);
void DeleteReadingIndices(SqlConnection& connection, const QString& readingGuid);
// Drops the rows of the readings an upsert of (readingGuid, pointGuid, taken) replaces: the
// reading of that GUID and the point's reading at that date-time (`taken` in the stored text form,
// empty for none). While the connection defers writes it is sent with them.
void DeleteIndicesOfReplaced(SqlConnection& connection, const QString& readingGuid, const QString& pointGuid,
                             const QString& taken);
// The GUIDs of the readings such an upsert replaces.
QStringList ReplacedReadings(SqlConnection& connection, const QString& readingGuid, const QString& pointGuid,
                             const QString& taken);
// The route readings that have no indices row yet.
QStringList ReadingsWithoutIndices(SqlConnection& connection);

// Every vibration reading's GUID by PointAndDateKey, for bulk work that looks nothing up per record.
QHash<QString, QString> ReadingsByPointAndDate(SqlConnection& connection);
QString PointAndDateKey(const QString& pointGuid, const QDateTime& taken);
// The date of each vibration point's newest reading; a point without readings has no entry.
QHash<QString, QDateTime> NewestReadingDates(SqlConnection& connection);

// A point's own envelope band; none when it uses the default.
std::optional<EnvelopeBandRow> GetEnvelopeBand(SqlConnection& connection, const QString& pointGuid);
// Sets the point's band; none returns it to the default.
void PutEnvelopeBand(SqlConnection& connection, const QString& pointGuid,
                     const std::optional<EnvelopeBandRow>& band);

} // namespace derived
} // namespace vantor
