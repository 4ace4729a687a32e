#include "store/EngineCopy.h"

#include "store/Log.h"

#include <QLoggingCategory>

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
    int count = 0;
    try {
        count = statement.Step() ? static_cast<int>(statement.ColumnInteger(0)) : 0;
    } catch (...) {
        statement.Reset();
        throw;
    }
    statement.Reset();
    return count;
}

} // namespace

std::vector<TableRowCount> CountRows(SqlConnection& connection) {
    std::vector<TableRowCount> counts;
    for (const TableCopy& table : Tables()) {
        counts.push_back({table.table, CountOf(connection, table.table), 0});
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
