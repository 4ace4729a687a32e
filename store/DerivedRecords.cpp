#include "store/DerivedRecords.h"

#include "store/Log.h"
#include "store/RecordFields.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <cmath>

namespace vantor::derived {
namespace {

constexpr const char* kIndicesColumns =
    "sReadingGUID, iMethod, fTotalRMS, fTotalPeak, fTotalPeakToPeak, fTotalCrest, fTotalKurtosis, "
    "fTotalSkewness, fISORMS, fISOPeak, fISOPeakToPeak, fISOCrest, fISOKurtosis, fISOSkewness, "
    "fEnvelopeLowHz, fEnvelopeHighHz, fGeOverall";

void AppendChannel(QVariantList& values, const std::optional<ChannelIndicesRow>& channel) {
    if (!channel) {
        for (int i = 0; i < 6; ++i) {
            values << Nullable(std::nullopt);
        }
        return;
    }
    values << Nullable(channel->rms) << Nullable(channel->peak) << Nullable(channel->peakToPeak)
           << Nullable(channel->crest) << Nullable(channel->kurtosis) << Nullable(channel->skewness);
}

// The channel whose six columns start at `first`; none when its RMS is NULL.
std::optional<ChannelIndicesRow> ReadChannel(const QSqlQuery& query, int first) {
    const std::optional<double> rms = Optional(query.value(first));
    const std::optional<double> peak = Optional(query.value(first + 1));
    const std::optional<double> peakToPeak = Optional(query.value(first + 2));
    if (!rms || !peak || !peakToPeak) {
        return std::nullopt;
    }
    return ChannelIndicesRow{*rms,
                             *peak,
                             *peakToPeak,
                             Optional(query.value(first + 3)),
                             Optional(query.value(first + 4)),
                             Optional(query.value(first + 5))};
}

// The statements of this module, by name (see StoreQuery.h).
enum Q : std::size_t {
    kIndicesOfReading,
    kIndicesOfPoint,
    kInsertIndices,
    kDeleteIndices,
    kDeleteIndicesOfReplaced,
    kReadingsWithoutIndices,
    kReplacedReadings,
    kReadingKeys,
    kNewestReadingDates,
    kBandOfPoint,
    kDeleteBand,
    kInsertBand,
    kQueryCount
};

const std::array<StoreQuery, kQueryCount>& Queries() {
    static const QString columns = QLatin1String(kIndicesColumns);
    static const std::array<StoreQuery, kQueryCount> queries = {{
        {"indices: of a reading",
         QStringLiteral("SELECT %1 FROM tblReadingIndices WHERE sReadingGUID = ?").arg(columns)},
        {"indices: of a point's readings",
         QStringLiteral("SELECT %1 FROM tblReadingIndices WHERE sReadingGUID IN "
                        "(SELECT [sItemGUID] FROM tblVibReadings WHERE [sParentGUID] = ?)")
             .arg(columns)},
        {"indices: insert",
         QStringLiteral(
             "INSERT INTO tblReadingIndices (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
             .arg(columns)},
        {"indices: delete a reading's",
         QStringLiteral("DELETE FROM tblReadingIndices WHERE sReadingGUID = ?")},
        // The rows of a reading about to be replaced: the one of that GUID and the one its point
        // holds at that date-time (an upsert updates either in place).
        {"indices: delete those of a replaced reading",
         QStringLiteral(
             "DELETE FROM tblReadingIndices WHERE sReadingGUID = ? OR sReadingGUID IN "
             "(SELECT [sItemGUID] FROM tblVibReadings WHERE [sParentGUID] = ? AND [ctDateTaken] = ?)")},
        {"indices: readings without a row",
         QStringLiteral("SELECT [sItemGUID] FROM tblVibReadings WHERE [sItemGUID] NOT IN "
                        "(SELECT sReadingGUID FROM tblReadingIndices WHERE sReadingGUID IS NOT NULL)")},
        {"readings: those an upsert replaces",
         QStringLiteral("SELECT [sItemGUID] FROM tblVibReadings WHERE [sItemGUID] = ? OR "
                        "([sParentGUID] = ? AND [ctDateTaken] = ?)")},
        {"readings: keys",
         QStringLiteral("SELECT [sItemGUID], [sParentGUID], [ctDateTaken] FROM tblVibReadings")},
        // One index seek per point on (sParentGUID, ctDateTaken).
        {"readings: the newest date of every point",
         QStringLiteral("SELECT p.[sItemGUID], (SELECT MAX(r.[ctDateTaken]) FROM tblVibReadings r WHERE "
                        "r.[sParentGUID] = p.[sItemGUID]) FROM tblVibs p")},
        {"envelope band: of a point",
         QStringLiteral("SELECT fLowHz, fHighHz FROM tblVibEnvelopeBands WHERE sVibGUID = ?")},
        {"envelope band: delete", QStringLiteral("DELETE FROM tblVibEnvelopeBands WHERE sVibGUID = ?")},
        {"envelope band: insert",
         QStringLiteral("INSERT INTO tblVibEnvelopeBands (sVibGUID, fLowHz, fHighHz) VALUES (?, ?, ?)")},
    }};
    return queries;
}

const StoreQuery& Query(Q which) {
    return Queries()[which];
}

ReadingIndicesRow ReadIndices(const QSqlQuery& query) {
    ReadingIndicesRow row;
    row.readingGuid = query.value(0).toString();
    row.method = query.value(1).toInt();
    row.total = ReadChannel(query, 2);
    row.iso = ReadChannel(query, 8);
    row.envelopeLowHz = Optional(query.value(14)).value_or(0.0);
    row.envelopeHighHz = Optional(query.value(15)).value_or(0.0);
    row.geOverall = Optional(query.value(16));
    return row;
}

} // namespace

std::span<const StoreQuery> DerivedQueries() {
    return Queries();
}

QSqlQuery Run(SqlConnection& connection, const StoreQuery& statement, const QVariantList& values) {
    const QString sql = connection.Dialect().QuoteNames(statement.sql);
    QSqlQuery query(connection.Database());
    // Every caller steps forward through the rows, so the driver need not keep them.
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        qCWarning(lcStore) << "Cannot prepare" << statement.name << sql << query.lastError().text();
        throw DatabaseError(query.lastError().text());
    }
    for (int i = 0; i < values.size(); ++i) {
        query.bindValue(i, values[i]);
    }
    if (!query.exec()) {
        qCWarning(lcStore) << "Cannot run" << statement.name << sql << query.lastError().text();
        throw DatabaseError(query.lastError().text());
    }
    return query;
}

// A value, or NULL for none and for anything that is not a finite number.
QVariant Nullable(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

std::optional<double> Optional(const QVariant& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

bool GetReadingIndices(SqlConnection& connection, const QString& readingGuid, ReadingIndicesRow& out) {
    QSqlQuery query = Run(connection, Query(kIndicesOfReading), {readingGuid});
    if (!query.next()) {
        return false;
    }
    out = ReadIndices(query);
    return true;
}

std::map<QString, ReadingIndicesRow> ReadingIndicesOfPoint(SqlConnection& connection,
                                                           const QString& pointGuid) {
    QSqlQuery query = Run(connection, Query(kIndicesOfPoint), {pointGuid});
    std::map<QString, ReadingIndicesRow> rows;
    while (query.next()) {
        ReadingIndicesRow row = ReadIndices(query);
        rows.insert_or_assign(row.readingGuid, std::move(row));
    }
    return rows;
}

void PutReadingIndices(SqlConnection& connection, const ReadingIndicesRow& row) {
    SqlConnection::Transaction transaction(connection);
    DeleteReadingIndices(connection, row.readingGuid);
    QVariantList values{row.readingGuid, row.method};
    AppendChannel(values, row.total);
    AppendChannel(values, row.iso);
    values << Nullable(row.envelopeLowHz) << Nullable(row.envelopeHighHz) << Nullable(row.geOverall);
    Run(connection, Query(kInsertIndices), values);
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The indices of %1 could not be stored").arg(row.readingGuid));
    }
}

void DeleteReadingIndices(SqlConnection& connection, const QString& readingGuid) {
    Run(connection, Query(kDeleteIndices), {readingGuid});
}

void DeleteIndicesOfReplaced(SqlConnection& connection, const QString& readingGuid, const QString& pointGuid,
                             const QString& taken) {
    const StoreQuery& statement = Query(kDeleteIndicesOfReplaced);
    const QVariant takenValue = taken.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(taken);
    if (!connection.DefersWrites()) {
        Run(connection, statement, {readingGuid, pointGuid, takenValue});
        return;
    }
    // Bulk writes to a server: sent with them, without a round trip of its own.
    SqlStatement& prepared = connection.Prepared(statement.sql);
    prepared.BindText(0, readingGuid);
    prepared.BindText(1, pointGuid);
    if (taken.isEmpty()) {
        prepared.BindNull(2);
    } else {
        prepared.BindText(2, taken);
    }
    prepared.Send();
}

QStringList ReplacedReadings(SqlConnection& connection, const QString& readingGuid, const QString& pointGuid,
                             const QString& taken) {
    const QVariant takenValue = taken.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(taken);
    QSqlQuery query = Run(connection, Query(kReplacedReadings), {readingGuid, pointGuid, takenValue});
    QStringList guids;
    while (query.next()) {
        guids << query.value(0).toString();
    }
    return guids;
}

QStringList ReadingsWithoutIndices(SqlConnection& connection) {
    QSqlQuery query = Run(connection, Query(kReadingsWithoutIndices), {});
    QStringList guids;
    while (query.next()) {
        guids << query.value(0).toString();
    }
    return guids;
}

QHash<QString, QString> ReadingsByPointAndDate(SqlConnection& connection) {
    QSqlQuery query = Run(connection, Query(kReadingKeys), {});
    QHash<QString, QString> guids;
    while (query.next()) {
        guids.insert(PointAndDateKey(query.value(1).toString(), DateTimeFromSql(query.value(2))),
                     query.value(0).toString());
    }
    return guids;
}

QHash<QString, QDateTime> NewestReadingDates(SqlConnection& connection) {
    QSqlQuery query = Run(connection, Query(kNewestReadingDates), {});
    QHash<QString, QDateTime> newest;
    while (query.next()) {
        if (!query.isNull(1)) {
            newest.insert(query.value(0).toString(), DateTimeFromSql(query.value(1)));
        }
    }
    return newest;
}

QString PointAndDateKey(const QString& pointGuid, const QDateTime& taken) {
    return pointGuid + QLatin1Char('\n') + SqlDateTimeText(taken);
}

std::optional<EnvelopeBandRow> GetEnvelopeBand(SqlConnection& connection, const QString& pointGuid) {
    QSqlQuery query = Run(connection, Query(kBandOfPoint), {pointGuid});
    if (!query.next()) {
        return std::nullopt;
    }
    const std::optional<double> low = Optional(query.value(0));
    const std::optional<double> high = Optional(query.value(1));
    if (!low || !high) {
        return std::nullopt;
    }
    return EnvelopeBandRow{*low, *high};
}

void PutEnvelopeBand(SqlConnection& connection, const QString& pointGuid,
                     const std::optional<EnvelopeBandRow>& band) {
    SqlConnection::Transaction transaction(connection);
    Run(connection, Query(kDeleteBand), {pointGuid});
    if (band) {
        Run(connection, Query(kInsertBand), {pointGuid, band->lowHz, band->highHz});
    }
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The envelope band of %1 could not be stored").arg(pointGuid));
    }
}

} // namespace vantor::derived
