#include "store/EngineCopy.h"

#include "store/AddedSchema.h"
#include "store/BearingRecords.h"
#include "store/Log.h"
#include "store/StarterBearings.h"

#include <QLoggingCategory>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

namespace vantor {
namespace {

// The tables the copy covers, each with the copy of its rows.
struct TableCopy {
    QString table;
    std::function<int(SqlConnection&, SqlConnection&, const ColumnDiscoveryPolicy&)> copy;
};

// Walks the source's rows in the order they were added and adds each to the target; the number
// of rows copied, or -1 when either side's table cannot be opened.
template <class R> int CopyRows(SqlConnection& from, SqlConnection& to, const ColumnDiscoveryPolicy& policy) {
    CRecordset<R> source;
    CRecordset<R> target;
    if (!target.DiscoverColumns(to.Database(), policy)) {
        return -1;
    }
    int copied = 0;
    const bool opened = source.Walk(from, policy, {}, {}, [&](RecordRow<R>&& row) {
        target.AddNew(to, row.record);
        ++copied;
        return true;
    });
    return opened ? copied : -1;
}

template <class R> TableCopy Table() {
    return {QLatin1String(TableTraits<R>::name), &CopyRows<R>};
}

const std::vector<TableCopy>& Tables() {
    static const std::vector<TableCopy> tables = {
        Table<CMachine>(),         Table<CVib>(),          Table<CLube>(),      Table<CVibReading>(),
        Table<CLubeReading>(),     Table<CRoute>(),        Table<CRouteItem>(), Table<CDevice>(),
        Table<COffRouteReading>(), Table<CEmailAddress>(),
    };
    return tables;
}

int CountOf(SqlConnection& connection, const QString& table) {
    if (!connection.Database().tables().contains(CatalogTableName(connection.Database(), table),
                                                 Qt::CaseInsensitive)) {
        return -1;
    }
    SqlStatement& statement = connection.Prepared(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    return static_cast<int>(FirstInteger(statement).value_or(0));
}

bool HasTable(SqlConnection& connection, const QString& table) {
    return connection.Database().tables().contains(CatalogTableName(connection.Database(), table),
                                                   Qt::CaseInsensitive);
}

// Copies every row of an added table column by column: the columns both sides have, matched by
// name whatever the case each engine keeps them in (the server folds unquoted names to lower
// case), leaving out the server's own row identity. The number of rows copied.
int CopyAddedRows(SqlConnection& from, SqlConnection& to, const QString& table) {
    QSqlDatabase source = from.Database();
    QSqlDatabase target = to.Database();
    const QString sourceTable = CatalogTableName(source, table);
    const QString targetTable = CatalogTableName(target, table);
    const QSqlRecord sourceColumns = source.record(sourceTable);
    const QSqlRecord targetColumns = target.record(targetTable);
    QStringList read;
    QStringList write;
    for (int i = 0; i < sourceColumns.count(); ++i) {
        const QString name = sourceColumns.fieldName(i);
        if (name.compare(from.Dialect().RowId(), Qt::CaseInsensitive) == 0) {
            continue;
        }
        for (int j = 0; j < targetColumns.count(); ++j) {
            const QString targetName = targetColumns.fieldName(j);
            if (targetName.compare(name, Qt::CaseInsensitive) == 0 &&
                targetName.compare(to.Dialect().RowId(), Qt::CaseInsensitive) != 0) {
                read << source.driver()->escapeIdentifier(name, QSqlDriver::FieldName);
                write << target.driver()->escapeIdentifier(targetName, QSqlDriver::FieldName);
                break;
            }
        }
    }
    if (read.isEmpty()) {
        return 0;
    }
    QSqlQuery select(source);
    select.setForwardOnly(true);
    // Rows in the order they were added, where the table has the server's row identity.
    const QString order =
        sourceColumns.contains(from.Dialect().RowId()) ? from.Dialect().InsertionOrder() : QString();
    if (!select.exec(QStringLiteral("SELECT %1 FROM %2 %3")
                         .arg(read.join(QLatin1Char(',')),
                              source.driver()->escapeIdentifier(sourceTable, QSqlDriver::TableName),
                              order))) {
        throw DatabaseError(QStringLiteral("cannot read %1: %2").arg(table, select.lastError().text()));
    }
    QSqlQuery insert(target);
    const QStringList marks(write.size(), QStringLiteral("?"));
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(target.driver()->escapeIdentifier(targetTable, QSqlDriver::TableName),
                                 write.join(QLatin1Char(',')), marks.join(QLatin1Char(','))))) {
        throw DatabaseError(QStringLiteral("cannot write %1: %2").arg(table, insert.lastError().text()));
    }
    int copied = 0;
    while (select.next()) {
        for (int i = 0; i < write.size(); ++i) {
            insert.bindValue(i, select.value(i));
        }
        if (!insert.exec()) {
            throw DatabaseError(QStringLiteral("cannot write %1: %2").arg(table, insert.lastError().text()));
        }
        ++copied;
    }
    return copied;
}

// A bearing of the starter list as a new database gets it: no one's work, so a target holding only
// these holds no data of its own. Its place in the list does not count.
bool IsUnchangedStarter(const CBearing& bearing) {
    for (const CBearing& starter : StarterBearings()) {
        if (starter.sItemGUID.compare(bearing.sItemGUID, Qt::CaseInsensitive) == 0) {
            return starter.sDesignation == bearing.sDesignation && starter.sMaker == bearing.sMaker &&
                   starter.iRollingElements == bearing.iRollingElements &&
                   starter.fRollingElementDiameterMM == bearing.fRollingElementDiameterMM &&
                   starter.fPitchDiameterMM == bearing.fPitchDiameterMM &&
                   starter.fContactAngleDeg == bearing.fContactAngleDeg && starter.fFTF == bearing.fFTF &&
                   starter.fBSF == bearing.fBSF && starter.fBPFO == bearing.fBPFO &&
                   starter.fBPFI == bearing.fBPFI && starter.sSource == bearing.sSource;
        }
    }
    return false;
}

// Whether the target's copy of an added table holds rows that the copy would delete and that are
// someone's work (every row but the unchanged starter bearings).
bool HoldsOwnRows(SqlConnection& to, const QString& table, const ColumnDiscoveryPolicy& policy) {
    if (!HasTable(to, table) || CountOf(to, table) <= 0) {
        return false;
    }
    if (table != QLatin1String(TableTraits<CBearing>::name)) {
        return true;
    }
    CRecordset<CBearing> bearings;
    bool own = false;
    const bool walked = bearings.Walk(to, policy, {}, {}, [&own](RecordRow<CBearing>&& row) {
        own = !IsUnchangedStarter(row.record);
        return !own;
    });
    return own || !walked;
}

} // namespace

std::vector<TableRowCount> CountRows(SqlConnection& connection) {
    std::vector<TableRowCount> counts;
    for (const TableCopy& table : Tables()) {
        counts.push_back({table.table, CountOf(connection, table.table), 0});
    }
    for (const QString& table : AddedSchemaTables()) {
        counts.push_back({table, CountOf(connection, table), 0});
    }
    return counts;
}

CopyResult CopyWholeDatabase(SqlConnection& from, SqlConnection& to, bool replace,
                             const ColumnDiscoveryPolicy& policy) {
    CopyResult result;
    try {
        SqlConnection::Transaction transaction(to);
        bool holdsData = false;
        for (const TableCopy& table : Tables()) {
            const int source = CountOf(from, table.table);
            const int target = CountOf(to, table.table);
            if (source < 0 || target < 0) {
                result.error = QStringLiteral("%1 has no table %2")
                                   .arg(source < 0 ? from.Path() : to.Path(), table.table);
                return result;
            }
            holdsData = holdsData || target > 0;
            result.counts.push_back({table.table, source, 0});
        }
        // The added tables the copy writes count too (a site's own bearings, alarm settings, ...).
        QString heldIn;
        for (const QString& table : AddedSchemaTables()) {
            if (heldIn.isEmpty() && HasTable(from, table) && HoldsOwnRows(to, table, policy)) {
                heldIn = table;
            }
        }
        if (!holdsData && !heldIn.isEmpty() && !replace) {
            result.outcome = CopyOutcome::TargetHoldsData;
            result.error = QStringLiteral("%1 already holds data (%2)").arg(to.Path(), heldIn);
            return result;
        }
        if (holdsData && !replace) {
            result.outcome = CopyOutcome::TargetHoldsData;
            result.error = QStringLiteral("%1 already holds data").arg(to.Path());
            return result;
        }
        for (const TableCopy& table : Tables()) {
            if (holdsData) {
                SqlStatement& clear = to.Prepared(QStringLiteral("DELETE FROM %1").arg(table.table));
                RunOnce(clear);
            }
            if (table.copy(from, to, policy) < 0) {
                result.error = QStringLiteral("the table %1 cannot be read or written").arg(table.table);
                return result;
            }
        }
        // The added tables the source has replace the target's (a new server's starter bearings
        // included); the target gains those it lacks first.
        CreateMissingAddedTables(to);
        for (const QString& table : AddedSchemaTables()) {
            if (!HasTable(from, table)) {
                continue;
            }
            RunOnce(to.Prepared(QStringLiteral("DELETE FROM %1").arg(table)));
            const int source = CountOf(from, table);
            CopyAddedRows(from, to, table);
            result.counts.push_back({table, source, 0});
        }
        bool same = true;
        for (TableRowCount& count : result.counts) {
            count.target = CountOf(to, count.table);
            same = same && count.target == count.source;
        }
        if (!same) {
            result.outcome = CopyOutcome::CountsDiffer;
            result.error = QStringLiteral("the copied row counts differ from the source's");
            return result;
        }
        if (!transaction.Commit()) {
            result.error = QStringLiteral("the copy could not be committed: %1").arg(to.LastError());
            return result;
        }
        result.outcome = CopyOutcome::Done;
    } catch (const DatabaseError& error) {
        qCWarning(lcStore, "database copy failed: %s", error.what());
        result.outcome = CopyOutcome::Failed;
        result.error = QString::fromUtf8(error.what());
    }
    return result;
}

} // namespace vantor
