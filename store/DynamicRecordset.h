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

// A snapshot row: the record and the row's position in the table, for editing it in place.
template <class R> struct RecordRow {
    qint64 rowId = 0;
    R record;
};

// The recordset of one table. Every method opens, uses and closes its query before returning.
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
    // Adds a row holding the record.
    void AddNew(SqlConnection& connection, const R& record);
    // Overwrites the row at rowId with the record.
    void Update(SqlConnection& connection, qint64 rowId, const R& record);
    // Deletes one row; false when the database refused.
    bool DeleteRow(SqlConnection& connection, qint64 rowId);

private:
    struct Binding {
        QString column;
        const Field<R>* field;
    };
    std::vector<Binding> Bindings() const;
    static void Exec(QSqlQuery& query);
};

// ---- template implementation ----------------------------------------------------------------------

template <class R>
std::optional<std::vector<RecordRow<R>>>
CRecordset<R>::Select(SqlConnection& connection, const ColumnDiscoveryPolicy& policy, const QString& clause,
                      const QVariantList& values, int limit) {
    if (!connection.IsOpen() || !DiscoverColumns(connection.Database(), policy)) {
        return std::nullopt;
    }
    QSqlQuery query(connection.Database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT rowid AS [vantor_rowid], * FROM %1 %2").arg(Table(), clause));
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    Exec(query);
    // Map result columns to record fields by name, once per query.
    const QSqlRecord shape = query.record();
    std::vector<std::pair<int, const Field<R>*>> map;
    for (const auto& field : FieldsOf<R>()) {
        const int index = shape.indexOf(QLatin1String(field.name));
        if (index > 0) {
            map.emplace_back(index, &field);
        }
    }
    std::vector<RecordRow<R>> rows;
    while ((limit < 0 || static_cast<int>(rows.size()) < limit) && query.next()) {
        RecordRow<R> row;
        row.rowId = query.value(0).toLongLong();
        for (const auto& [index, field] : map) {
            FieldFromSql(row.record, *field, query.value(index));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

template <class R> std::vector<typename CRecordset<R>::Binding> CRecordset<R>::Bindings() const {
    std::vector<Binding> bindings;
    for (const QString& column : BareColumns()) {
        for (const auto& field : FieldsOf<R>()) {
            if (column.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0) {
                bindings.push_back({column, &field});
                break;
            }
        }
    }
    return bindings;
}

template <class R> void CRecordset<R>::Exec(QSqlQuery& query) {
    if (!query.exec()) {
        throw DatabaseError(query.lastError().text());
    }
}

template <class R> void CRecordset<R>::AddNew(SqlConnection& connection, const R& record) {
    const auto bindings = Bindings();
    QStringList names;
    QStringList marks;
    for (const auto& binding : bindings) {
        names << QStringLiteral("[%1]").arg(binding.column);
        marks << QStringLiteral("?");
    }
    QSqlQuery query(connection.Database());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(Table(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (const auto& binding : bindings) {
        query.addBindValue(FieldToSql(record, *binding.field));
    }
    Exec(query);
}

template <class R> void CRecordset<R>::Update(SqlConnection& connection, qint64 rowId, const R& record) {
    const auto bindings = Bindings();
    QStringList sets;
    for (const auto& binding : bindings) {
        sets << QStringLiteral("[%1]=?").arg(binding.column);
    }
    QSqlQuery query(connection.Database());
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(Table(), sets.join(QLatin1Char(','))));
    for (const auto& binding : bindings) {
        query.addBindValue(FieldToSql(record, *binding.field));
    }
    query.addBindValue(rowId);
    Exec(query);
}

template <class R> bool CRecordset<R>::DeleteRow(SqlConnection& connection, qint64 rowId) {
    QSqlQuery query(connection.Database());
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(Table()));
    query.addBindValue(rowId);
    return query.exec();
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
