#include "store/ImportedReadings.h"

#include "store/Log.h"
#include "store/MainConnection.h"
#include "store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <array>

namespace vantor {
namespace {

constexpr auto kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";

bool TableExists(SqlConnection& connection) {
    return connection.Database().tables().contains(QLatin1String(kImportedReadingsTable),
                                                   Qt::CaseInsensitive);
}

// The statements of this module, by name (see StoreQuery.h); %1 is the table.
enum Q : std::size_t { kInsertMark, kMarkOf, kDeleteMark, kQueryCount };

const std::array<StoreQuery, kQueryCount>& Queries() {
    static const QString table = QLatin1String(kImportedReadingsTable);
    static const std::array<StoreQuery, kQueryCount> queries = {{
        {"imported readings: mark",
         QStringLiteral("INSERT INTO %1 ([sItemGUID], [sSourceFile], [sFormat], [sChannel], [sUnit], "
                        "[iSamplesInFile], [iSamplesUsed], [ctImported]) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
             .arg(table)},
        {"imported readings: mark of a reading",
         QStringLiteral("SELECT [sItemGUID], [sSourceFile], [sFormat], [sChannel], [sUnit], "
                        "[iSamplesInFile], [iSamplesUsed], [ctImported] FROM %1 WHERE [sItemGUID] = ?")
             .arg(table)},
        {"imported readings: forget a mark",
         QStringLiteral("DELETE FROM %1 WHERE [sItemGUID] = ?").arg(table)},
    }};
    return queries;
}

QSqlQuery Prepared(SqlConnection& connection, Q which) {
    const StoreQuery& statement = Queries()[which];
    QSqlQuery query(connection.Database());
    if (!query.prepare(connection.Dialect().QuoteNames(statement.sql))) {
        const QString text =
            QStringLiteral("%1: %2").arg(QLatin1String(statement.name), query.lastError().text());
        qCWarning(lcStore) << "Imported readings:" << text;
        throw DatabaseError(text);
    }
    return query;
}

void Run(QSqlQuery& query, const char* what) {
    if (!query.exec()) {
        const QString text = QStringLiteral("%1: %2").arg(QLatin1String(what), query.lastError().text());
        qCWarning(lcStore) << "Imported readings:" << text;
        throw DatabaseError(text);
    }
}

} // namespace

std::span<const StoreQuery> ImportedReadingQueries() {
    return Queries();
}

void EnsureImportedReadingsTable(SqlConnection& connection) {
    if (TableExists(connection)) {
        return;
    }
    // Run directly, not prepared: the server cannot prepare a CREATE TABLE.
    QSqlQuery query(connection.Database());
    const QString create = connection.Dialect().QuoteNames(
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ([sItemGUID] VARCHAR(255) NOT NULL PRIMARY KEY, "
                       "[sSourceFile] VARCHAR(255), [sFormat] VARCHAR(16), [sChannel] VARCHAR(16), "
                       "[sUnit] VARCHAR(16), [iSamplesInFile] INTEGER, [iSamplesUsed] INTEGER, "
                       "[ctImported] VARCHAR(19))")
            .arg(QLatin1String(kImportedReadingsTable)));
    if (!query.exec(create)) {
        const QString text = QStringLiteral("CREATE TABLE: %1").arg(query.lastError().text());
        qCWarning(lcStore) << "Imported readings:" << text;
        throw DatabaseError(text);
    }
}

void MarkImportedReading(SqlConnection& connection, const ImportedReadingMark& mark) {
    EnsureImportedReadingsTable(connection);
    ForgetImportedReading(connection, mark.readingGuid);
    QSqlQuery query = Prepared(connection, kInsertMark);
    query.addBindValue(mark.readingGuid);
    query.addBindValue(mark.sourceFile.left(255));
    query.addBindValue(mark.format);
    query.addBindValue(mark.channel);
    query.addBindValue(mark.unit);
    query.addBindValue(mark.samplesInFile);
    query.addBindValue(mark.samplesUsed);
    query.addBindValue(mark.imported.toString(QLatin1String(kDateTimeFormat)));
    Run(query, "INSERT");
}

std::optional<ImportedReadingMark> FindImportedReading(SqlConnection& connection,
                                                       const QString& readingGuid) {
    if (readingGuid.isEmpty() || !TableExists(connection)) {
        return std::nullopt;
    }
    QSqlQuery query = Prepared(connection, kMarkOf);
    query.addBindValue(readingGuid);
    Run(query, "SELECT");
    if (!query.next()) {
        return std::nullopt;
    }
    ImportedReadingMark mark;
    mark.readingGuid = query.value(0).toString();
    mark.sourceFile = query.value(1).toString();
    mark.format = query.value(2).toString();
    mark.channel = query.value(3).toString();
    mark.unit = query.value(4).toString();
    mark.samplesInFile = query.value(5).toInt();
    mark.samplesUsed = query.value(6).toInt();
    mark.imported = QDateTime::fromString(query.value(7).toString(), QLatin1String(kDateTimeFormat));
    return mark;
}

void ForgetImportedReading(SqlConnection& connection, const QString& readingGuid) {
    if (readingGuid.isEmpty() || !TableExists(connection)) {
        return;
    }
    QSqlQuery query = Prepared(connection, kDeleteMark);
    query.addBindValue(readingGuid);
    Run(query, "DELETE");
}

ImportedReadingStore StoreImportedReading(CMainConnection& db, const CVibReading& reading,
                                          const ImportedReadingMark& mark) {
    SqlConnection& connection = db.Connection();
    SqlConnection::Transaction transaction(connection);
    if (!transaction.Active()) {
        throw DatabaseError(QStringLiteral("cannot begin a write: %1").arg(connection.LastError()));
    }
    // Counted under the writers' lock: a reading another import committed meanwhile is seen here.
    if (db.CountVibReadings(reading.sParentGUID, reading.ctDateTaken, reading.ctDateTaken) > 0) {
        return ImportedReadingStore::PointHasReadingThen;
    }
    if (!db.UpsertVibReading(reading)) {
        throw DatabaseError(QStringLiteral("the reading could not be stored"));
    }
    MarkImportedReading(connection, mark);
    if (!transaction.Commit()) {
        throw DatabaseError(
            QStringLiteral("the reading could not be stored: %1").arg(connection.LastError()));
    }
    return ImportedReadingStore::Stored;
}

} // namespace vantor
