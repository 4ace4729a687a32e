#pragma once
// The recordset base of every table: it learns the table's columns from the database on its first
// open (retrying while the table shows fewer columns than expected), then binds record fields to
// those columns by name, so the physical column order of the file does not matter.

#include "store/RecordFields.h"
#include "store/Schema.h"
#include "store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantList>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace vantor {

// Column discovery tries this many times, waiting between attempts.
inline constexpr int kColumnDiscoveryAttempts = 6;
inline constexpr std::chrono::milliseconds kColumnDiscoveryRetryWait{2000};

struct ColumnDiscoveryPolicy {
    std::chrono::milliseconds retryWait = kColumnDiscoveryRetryWait;
    // Waits between attempts; tests replace it to count or shorten the waits.
    std::function<void(std::chrono::milliseconds)> wait;
};

class CDynamicRecordset {
public:
    CDynamicRecordset(QString table, int expectedColumns);
    virtual ~CDynamicRecordset() = default;

    const QString& Table() const { return table_; }
    int ExpectedColumns() const { return expectedColumns_; }
    // Column names as the database reports them, each in square brackets, in physical order.
    const QStringList& Columns() const { return columns_; }
    bool ColumnsKnown() const { return columnsKnown_; }

    // Fills the column list unless it is known already. False when the sixth attempt still finds
    // fewer columns than expected.
    bool DiscoverColumns(const QSqlDatabase& db, const ColumnDiscoveryPolicy& policy);

protected:
    // The bare column names of the discovered list.
    QStringList BareColumns() const;

private:
    QString table_;
    int expectedColumns_;
    QStringList columns_;
    bool columnsKnown_ = false;
};

// Without an order of its own, rows come in the order they were added, on either engine.
inline QString OrderedClause(const SqlConnection& connection, const QString& clause) {
    return clause.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive)
               ? clause
               : clause + connection.Dialect().InsertionOrder();
}

// A snapshot row: the record and the row's position in the table, for editing it in place.
template <class R> struct RecordRow {
    qint64 rowId = 0;
    R record;
};

// The recordset of one table. Every method runs its statement to the end before returning;
// statements are prepared once per connection and reused.
template <class R> class CRecordset : public CDynamicRecordset {
public:
    CRecordset()
        : CDynamicRecordset(QLatin1String(TableTraits<R>::name), TableTraits<R>::ExpectedColumns()) {}

    // Runs "SELECT * FROM <table> <clause>" with the values bound in order. Empty when the open fails
    // in column discovery; throws DatabaseError when the query cannot be executed.
    std::optional<std::vector<RecordRow<R>>> Select(SqlConnection& connection,
                                                    const ColumnDiscoveryPolicy& policy,
                                                    const QString& clause, const QVariantList& values,
                                                    int limit = -1);
    // Like Select, but hands each row to `visit` as it is read instead of keeping them; `visit`
    // returns false to stop. False when the open fails. `visit` must not run this same query again.
    template <class Visit>
    bool Walk(SqlConnection& connection, const ColumnDiscoveryPolicy& policy, const QString& clause,
              const QVariantList& values, Visit visit);
    // Adds a row holding the record.
    void AddNew(SqlConnection& connection, const R& record);
    // Overwrites the row at rowId with the record.
    void Update(SqlConnection& connection, qint64 rowId, const R& record);
    // Deletes one row; false when the database refused.
    bool DeleteRow(SqlConnection& connection, qint64 rowId);
    // Updates the first row (in insertion order) that "<clause>" finds, or adds one when it finds
    // none, without reading the row first: two statements sent with SqlStatement::Send, so on a
    // connection that defers its writes neither waits for the server. The clause must find the
    // record once it is written. False when the open fails in column discovery.
    bool SendUpsert(SqlConnection& connection, const ColumnDiscoveryPolicy& policy, const QString& clause,
                    const QVariantList& values, const R& record);

private:
    struct Binding {
        QString column;
        const Field<R>* field;
    };
    // The record fields bound to the discovered columns, in column order (made once).
    const std::vector<Binding>& Bindings();

    std::vector<Binding> bindings_;
    QString insertSql_;
    QString updateSql_;
    QString columnList_;
    QString markList_;
    QString setList_;
};

// ---- template implementation ----------------------------------------------------------------------

template <class R>
template <class Visit>
bool CRecordset<R>::Walk(SqlConnection& connection, const ColumnDiscoveryPolicy& policy,
                         const QString& clause, const QVariantList& values, Visit visit) {
    if (!connection.IsOpen() || !DiscoverColumns(connection.Database(), policy)) {
        return false;
    }
    SqlStatement& statement =
        connection.Prepared(QStringLiteral("SELECT rowid AS [vantor_rowid], * FROM %1 %2")
                                .arg(Table(), OrderedClause(connection, clause)));
    for (int i = 0; i < values.size(); ++i) {
        BindValue(statement, i, values[i]);
    }
    // Result columns are mapped to record fields by name when the first row arrives (a lookup that
    // finds nothing, the common case of an upsert, pays nothing for it).
    std::vector<std::pair<int, const Field<R>*>> map;
    bool mapped = false;
    const StatementReset reset(statement);
    while (statement.Step()) {
        if (!mapped) {
            for (int column = 1; column < statement.ColumnCount(); ++column) {
                const QString name = statement.ColumnName(column);
                for (const auto& field : FieldsOf<R>()) {
                    if (name.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0) {
                        map.emplace_back(column, &field);
                        break;
                    }
                }
            }
            mapped = true;
        }
        RecordRow<R> row;
        row.rowId = statement.ColumnInteger(0);
        for (const auto& [column, field] : map) {
            ReadField(statement, column, row.record, *field);
        }
        if (!visit(std::move(row))) {
            break;
        }
    }
    return true;
}

template <class R>
std::optional<std::vector<RecordRow<R>>>
CRecordset<R>::Select(SqlConnection& connection, const ColumnDiscoveryPolicy& policy, const QString& clause,
                      const QVariantList& values, int limit) {
    std::vector<RecordRow<R>> rows;
    // A limited select asks the database for no more rows than it keeps (a server would otherwise
    // send them all).
    QString limited = OrderedClause(connection, clause);
    QVariantList bound = values;
    if (limit >= 0) {
        limited += QStringLiteral(" LIMIT ?");
        bound << limit;
    }
    const bool opened = Walk(connection, policy, limited, bound, [&rows, limit](RecordRow<R>&& row) {
        if (limit >= 0 && static_cast<int>(rows.size()) >= limit) {
            return false;
        }
        rows.push_back(std::move(row));
        return limit < 0 || static_cast<int>(rows.size()) < limit;
    });
    if (!opened) {
        return std::nullopt;
    }
    return rows;
}

template <class R> const std::vector<typename CRecordset<R>::Binding>& CRecordset<R>::Bindings() {
    if (!bindings_.empty()) {
        return bindings_;
    }
    QStringList names;
    QStringList marks;
    QStringList sets;
    for (const QString& column : BareColumns()) {
        for (const auto& field : FieldsOf<R>()) {
            if (column.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0) {
                bindings_.push_back({column, &field});
                names << QStringLiteral("[%1]").arg(column);
                marks << QStringLiteral("?");
                sets << QStringLiteral("[%1]=?").arg(column);
                break;
            }
        }
    }
    columnList_ = names.join(QLatin1Char(','));
    markList_ = marks.join(QLatin1Char(','));
    setList_ = sets.join(QLatin1Char(','));
    insertSql_ = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(Table(), columnList_, markList_);
    updateSql_ = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(Table(), setList_);
    return bindings_;
}

template <class R> void CRecordset<R>::AddNew(SqlConnection& connection, const R& record) {
    const auto& bindings = Bindings();
    SqlStatement& statement = connection.Prepared(insertSql_);
    for (int i = 0; i < static_cast<int>(bindings.size()); ++i) {
        BindField(statement, i, record, *bindings[static_cast<size_t>(i)].field);
    }
    RunOnce(statement);
}

template <class R> void CRecordset<R>::Update(SqlConnection& connection, qint64 rowId, const R& record) {
    const auto& bindings = Bindings();
    SqlStatement& statement = connection.Prepared(updateSql_);
    const int count = static_cast<int>(bindings.size());
    for (int i = 0; i < count; ++i) {
        BindField(statement, i, record, *bindings[static_cast<size_t>(i)].field);
    }
    statement.BindInteger(count, rowId);
    RunOnce(statement);
}

template <class R>
bool CRecordset<R>::SendUpsert(SqlConnection& connection, const ColumnDiscoveryPolicy& policy,
                               const QString& clause, const QVariantList& values, const R& record) {
    // Asking Qt's driver for the columns collects the writes in flight, so it is done only once.
    if (!connection.IsOpen() || (!ColumnsKnown() && !DiscoverColumns(connection.Database(), policy))) {
        return false;
    }
    const auto& bindings = Bindings();
    const int count = static_cast<int>(bindings.size());
    // Marks are numbered in the order they stand in the text: the update's clause comes first.
    auto bind = [&](SqlStatement& statement, int fieldsFrom, int valuesFrom) {
        for (int i = 0; i < count; ++i) {
            BindField(statement, fieldsFrom + i, record, *bindings[static_cast<size_t>(i)].field);
        }
        for (int i = 0; i < values.size(); ++i) {
            BindValue(statement, valuesFrom + i, values[i]);
        }
    };
    // The update finds nothing for a new record; the insert then finds nothing either and adds it.
    // For a known record the update rewrites it, after which the insert finds it and adds nothing.
    // The rows found are gathered first and their first taken by its number: an ORDER BY with a
    // LIMIT could be planned as a walk of the whole table in row order.
    SqlStatement& update = connection.Prepared(
        QStringLiteral("WITH found AS MATERIALIZED (SELECT rowid AS first_row FROM %1 %3) "
                       "UPDATE %1 SET %2 WHERE rowid=(SELECT MIN(first_row) FROM found)")
            .arg(Table(), setList_, clause));
    bind(update, static_cast<int>(values.size()), 0);
    update.Send();
    SqlStatement& insert = connection.Prepared(
        QStringLiteral("INSERT INTO %1 (%2) SELECT %3 WHERE NOT EXISTS (SELECT 1 FROM %1 %4)")
            .arg(Table(), columnList_, markList_, clause));
    bind(insert, 0, count);
    insert.Send();
    return true;
}

template <class R> bool CRecordset<R>::DeleteRow(SqlConnection& connection, qint64 rowId) {
    SqlStatement& statement =
        connection.Prepared(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(Table()));
    statement.BindInteger(0, rowId);
    try {
        RunOnce(statement);
    } catch (const DatabaseError&) {
        return false;
    }
    return true;
}

// The recordset classes of the ten tables.
class CMachineDB final : public CRecordset<CMachine> {};
class CVibDB final : public CRecordset<CVib> {};
class CLubeDB final : public CRecordset<CLube> {};
class CVibReadingDB final : public CRecordset<CVibReading> {};
class CLubeReadingDB final : public CRecordset<CLubeReading> {};
class CRouteDB final : public CRecordset<CRoute> {};
class CRouteItemDB final : public CRecordset<CRouteItem> {};
class CDeviceDB final : public CRecordset<CDevice> {};
class COffRouteReadingDB final : public CRecordset<COffRouteReading> {};
class CEmailAddressDB final : public CRecordset<CEmailAddress> {};

} // namespace vantor
