#include "store/ImportedReadings.h"

#include "store/Log.h"
#include "store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace vantor {
namespace {

constexpr auto kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";

bool TableExists(SqlConnection& connection) {
    return connection.Database().tables().contains(QLatin1String(kImportedReadingsTable),
                                                   Qt::CaseInsensitive);
}

void Run(QSqlQuery& query, const char* what) {
    if (!query.exec()) {
        const QString text = QStringLiteral("%1: %2").arg(QLatin1String(what), query.lastError().text());
        qCWarning(lcStore) << "Imported readings:" << text;
        throw DatabaseError(text);
    }
}

} // namespace

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
    QSqlQuery query(connection.Database());
    query.prepare(connection.Dialect().QuoteNames(
        QStringLiteral("INSERT INTO %1 ([sItemGUID], [sSourceFile], [sFormat], [sChannel], [sUnit], "
                       "[iSamplesInFile], [iSamplesUsed], [ctImported]) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(QLatin1String(kImportedReadingsTable))));
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
    QSqlQuery query(connection.Database());
    query.prepare(connection.Dialect().QuoteNames(
        QStringLiteral("SELECT [sItemGUID], [sSourceFile], [sFormat], [sChannel], [sUnit], "
                       "[iSamplesInFile], [iSamplesUsed], [ctImported] FROM %1 WHERE [sItemGUID] = ?")
            .arg(QLatin1String(kImportedReadingsTable))));
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
    QSqlQuery query(connection.Database());
    query.prepare(connection.Dialect().QuoteNames(
        QStringLiteral("DELETE FROM %1 WHERE [sItemGUID] = ?").arg(QLatin1String(kImportedReadingsTable))));
    query.addBindValue(readingGuid);
    Run(query, "DELETE");
}

} // namespace vantor
