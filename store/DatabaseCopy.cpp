#include "store/DatabaseCopy.h"

#include "store/Log.h"
#include "store/SqlConnection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>
#include <map>

namespace vantor {
namespace {

// The tables every database of this system holds.
const QStringList& SchemaTables() {
    static const QStringList tables{QStringLiteral("tblMachines"),        QStringLiteral("tblVibs"),
                                    QStringLiteral("tblVibReadings"),     QStringLiteral("tblLubes"),
                                    QStringLiteral("tblLubeReadings"),    QStringLiteral("tblRoutes"),
                                    QStringLiteral("tblRouteItems"),      QStringLiteral("tblDevices"),
                                    QStringLiteral("tblOffRouteReadings")};
    return tables;
}

QString Quoted(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString Literal(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

bool Run(QSqlQuery& query, const QString& sql, QString& error) {
    if (!query.exec(sql)) {
        error = query.lastError().text();
        qCWarning(lcStore, "%s: %s", qUtf8Printable(sql), qUtf8Printable(error));
        return false;
    }
    return true;
}

QStringList Tables(QSqlQuery& query, const QString& schema) {
    QStringList tables;
    if (query.exec(QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                  "'sqlite_%' ORDER BY name")
                       .arg(schema))) {
        while (query.next()) {
            tables << query.value(0).toString();
        }
    }
    return tables;
}

QStringList Columns(QSqlQuery& query, const QString& schema, const QString& table) {
    QStringList columns;
    if (query.exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, Quoted(table)))) {
        while (query.next()) {
            columns << query.value(1).toString();
        }
    }
    return columns;
}

// The rows of the added tables without a GUID of their own: one per reading, one per point, one per
// point and measure, one per point and band number.
const std::map<QString, QStringList>& AddedTableKeys() {
    static const std::map<QString, QStringList> keys = {
        {QStringLiteral("tblReadingIndices"), {QStringLiteral("sReadingGUID")}},
        {QStringLiteral("tblVibEnvelopeBands"), {QStringLiteral("sVibGUID")}},
        {QStringLiteral("tblPointAlarmSettings"), {QStringLiteral("sVibGUID"), QStringLiteral("sMeasure")}},
        {QStringLiteral("tblPointSpectralBands"), {QStringLiteral("sVibGUID"), QStringLiteral("iBand")}},
    };
    return keys;
}

// The columns that identify a row of a table besides its GUID: a reading is the same reading when
// its point and date taken match, an off-route reading when its date matches. A row of an added
// table replaces the target's row of the same reading, point, measure or band, so a setting is
// never held twice.
QList<QStringList> NaturalKeys(const QString& table, const QStringList& columns) {
    QList<QStringList> keys;
    for (const QString& key : {QStringLiteral("sItemGUID"), QStringLiteral("sEmailAddress")}) {
        if (columns.contains(key)) {
            keys << QStringList{key};
        }
    }
    if (table == QLatin1String("tblVibReadings") || table == QLatin1String("tblLubeReadings")) {
        keys << QStringList{QStringLiteral("sParentGUID"), QStringLiteral("ctDateTaken")};
    } else if (table == QLatin1String("tblOffRouteReadings")) {
        keys << QStringList{QStringLiteral("ctDateTaken")};
    }
    const auto added = AddedTableKeys().find(table);
    if (added != AddedTableKeys().end() &&
        std::all_of(added->second.begin(), added->second.end(),
                    [&columns](const QString& column) { return columns.contains(column); })) {
        keys << added->second;
    }
    return keys;
}

// A connection for reading a database file that leaves its journal mode as it is; closed and
// unregistered when it goes away.
class ReadingConnection {
public:
    explicit ReadingConnection(const QString& file)
        : name_(QStringLiteral("vantor-read-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        open_ = QFileInfo(file).isFile() && db.open();
        if (!open_) {
            error_ = db.lastError().text();
        }
    }
    ~ReadingConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    ReadingConnection(const ReadingConnection&) = delete;
    ReadingConnection& operator=(const ReadingConnection&) = delete;

    bool IsOpen() const { return open_; }
    QString Error() const { return error_; }
    QSqlDatabase Database() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
    bool open_ = false;
    QString error_;
};

} // namespace

bool CheckDatabaseFile(const QString& file, QString& error) {
    if (!QFileInfo(file).isFile()) {
        error = QStringLiteral("%1 does not exist").arg(file);
        return false;
    }
    const ReadingConnection connection(file);
    if (!connection.IsOpen()) {
        error = connection.Error();
        return false;
    }
    QSqlQuery query(connection.Database());
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next() ||
        query.value(0).toString() != QLatin1String("ok")) {
        error = QStringLiteral("%1 is damaged").arg(file);
        return false;
    }
    const QStringList tables = Tables(query, QStringLiteral("main"));
    for (const QString& table : SchemaTables()) {
        if (!tables.contains(table)) {
            error = QStringLiteral("%1 is not a database of this program (no %2)").arg(file, table);
            return false;
        }
    }
    return true;
}

bool BackupDatabase(SqlConnection& source, const QString& backupFile, QString& error) {
    const QString partial =
        backupFile + QStringLiteral(".partial-") + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    QSqlQuery query(source.Database());
    // VACUUM INTO writes one consistent snapshot into a new file, whatever the journal mode.
    if (!Run(query, QStringLiteral("VACUUM INTO %1").arg(Literal(partial)), error)) {
        QFile::remove(partial);
        return false;
    }
    query.finish();
    if (!CheckDatabaseFile(partial, error)) {
        QFile::remove(partial);
        return false;
    }
    QFile::remove(backupFile);
    if (!QFile::rename(partial, backupFile)) {
        error = QStringLiteral("cannot write %1").arg(backupFile);
        QFile::remove(partial);
        return false;
    }
    return true;
}

bool CopyEveryTable(SqlConnection& target, const QString& sourceFile, QString& error) {
    if (!CheckDatabaseFile(sourceFile, error)) {
        return false;
    }
    QSqlQuery query(target.Database());
    if (!Run(query, QStringLiteral("ATTACH DATABASE %1 AS source").arg(Literal(sourceFile)), error)) {
        return false;
    }
    bool ok = true;
    {
        SqlConnection::Transaction transaction(target);
        const QStringList targetTables = Tables(query, QStringLiteral("main"));
        for (const QString& table : Tables(query, QStringLiteral("source"))) {
            if (!ok) {
                break;
            }
            if (!targetTables.contains(table)) {
                // A table only the source knows (added by a newer program): created as it is there.
                QSqlQuery sql(target.Database());
                ok = sql.exec(QStringLiteral("SELECT sql FROM source.sqlite_master WHERE type = 'table' AND "
                                             "name = %1")
                                  .arg(Literal(table))) &&
                     sql.next() && Run(query, sql.value(0).toString(), error);
                if (!ok) {
                    break;
                }
            }
            const QStringList targetColumns = Columns(query, QStringLiteral("main"), table);
            QStringList columns;
            for (const QString& column : Columns(query, QStringLiteral("source"), table)) {
                if (targetColumns.contains(column)) {
                    columns << Quoted(column);
                }
            }
            if (columns.isEmpty()) {
                continue;
            }
            const QString list = columns.join(QStringLiteral(", "));
            const QString t = Quoted(table);
            for (const QStringList& key : NaturalKeys(table, targetColumns)) {
                QStringList match;
                for (const QString& column : key) {
                    match << QStringLiteral("s.%1 IS main.%2.%1").arg(Quoted(column), t);
                }
                ok =
                    ok && Run(query,
                              QStringLiteral("DELETE FROM main.%1 WHERE EXISTS (SELECT 1 FROM source.%1 AS s "
                                             "WHERE %2)")
                                  .arg(t, match.join(QStringLiteral(" AND "))),
                              error);
            }
            // A table without a key (none so far) gets only the rows it does not hold yet.
            const QString rows =
                NaturalKeys(table, targetColumns).isEmpty()
                    ? QStringLiteral("SELECT %1 FROM source.%2 EXCEPT SELECT %1 FROM main.%2")
                    : QStringLiteral("SELECT %1 FROM source.%2");
            ok =
                ok && Run(query, QStringLiteral("INSERT INTO main.%2 (%1) ").arg(list, t) + rows.arg(list, t),
                          error);
        }
        ok = ok && transaction.Commit();
    }
    query.finish();
    QSqlQuery detach(target.Database());
    detach.exec(QStringLiteral("DETACH DATABASE source"));
    return ok;
}

QStringList TableRowCounts(const QString& file) {
    const ReadingConnection connection(file);
    QStringList counts;
    if (!connection.IsOpen()) {
        return counts;
    }
    QSqlQuery query(connection.Database());
    for (const QString& table : Tables(query, QStringLiteral("main"))) {
        QSqlQuery count(connection.Database());
        if (count.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(Quoted(table))) && count.next()) {
            counts << QStringLiteral("%1\t%2").arg(table).arg(count.value(0).toLongLong());
        }
    }
    return counts;
}

} // namespace vantor
