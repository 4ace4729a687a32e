#include "store/DerivedRecords.h"

#include "store/Log.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

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

QSqlQuery Run(SqlConnection& connection, const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection.Database());
    if (!query.prepare(sql)) {
        qCWarning(lcStore) << "Cannot prepare" << sql << query.lastError().text();
        throw DatabaseError(query.lastError().text());
    }
    for (int i = 0; i < values.size(); ++i) {
        query.bindValue(i, values[i]);
    }
    if (!query.exec()) {
        qCWarning(lcStore) << "Cannot run" << sql << query.lastError().text();
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
    QSqlQuery query = Run(connection,
                          QStringLiteral("SELECT %1 FROM tblReadingIndices WHERE sReadingGUID = ?")
                              .arg(QLatin1String(kIndicesColumns)),
                          {readingGuid});
    if (!query.next()) {
        return false;
    }
    out = ReadIndices(query);
    return true;
}

std::map<QString, ReadingIndicesRow> ReadingIndicesOfPoint(SqlConnection& connection,
                                                           const QString& pointGuid) {
    QSqlQuery query = Run(connection,
                          QStringLiteral("SELECT %1 FROM tblReadingIndices WHERE sReadingGUID IN "
                                         "(SELECT sItemGUID FROM tblVibReadings WHERE sParentGUID = ?)")
                              .arg(QLatin1String(kIndicesColumns)),
                          {pointGuid});
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
    Run(connection,
        QStringLiteral(
            "INSERT INTO tblReadingIndices (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(QLatin1String(kIndicesColumns)),
        values);
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The indices of %1 could not be stored").arg(row.readingGuid));
    }
}

void DeleteReadingIndices(SqlConnection& connection, const QString& readingGuid) {
    Run(connection, QStringLiteral("DELETE FROM tblReadingIndices WHERE sReadingGUID = ?"), {readingGuid});
}

QStringList ReadingsWithoutIndices(SqlConnection& connection) {
    QSqlQuery query =
        Run(connection,
            QStringLiteral("SELECT sItemGUID FROM tblVibReadings WHERE sItemGUID NOT IN "
                           "(SELECT sReadingGUID FROM tblReadingIndices WHERE sReadingGUID IS NOT NULL)"),
            {});
    QStringList guids;
    while (query.next()) {
        guids << query.value(0).toString();
    }
    return guids;
}

std::optional<EnvelopeBandRow> GetEnvelopeBand(SqlConnection& connection, const QString& pointGuid) {
    QSqlQuery query =
        Run(connection, QStringLiteral("SELECT fLowHz, fHighHz FROM tblVibEnvelopeBands WHERE sVibGUID = ?"),
            {pointGuid});
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
    Run(connection, QStringLiteral("DELETE FROM tblVibEnvelopeBands WHERE sVibGUID = ?"), {pointGuid});
    if (band) {
        Run(connection,
            QStringLiteral("INSERT INTO tblVibEnvelopeBands (sVibGUID, fLowHz, fHighHz) VALUES (?, ?, ?)"),
            {pointGuid, band->lowHz, band->highHz});
    }
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The envelope band of %1 could not be stored").arg(pointGuid));
    }
}

} // namespace vantor::derived
