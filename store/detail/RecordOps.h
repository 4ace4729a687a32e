#pragma once
// The operations every table shares, written once over the recordset template: fetch one row,
// insert-or-update, list, count, walk-and-delete, next order value and compaction.

#include "store/DynamicRecordset.h"

#include <QLoggingCategory>

#include "store/Log.h"

namespace vantor::detail {

template <class R> struct Query {
    CRecordset<R>& recordset;
    SqlConnection& connection;
    const ColumnDiscoveryPolicy& policy;
};

template <class R> bool GetOne(Query<R> q, const QString& clause, const QVariantList& values, R& out) {
    const auto rows = q.recordset.Select(q.connection, q.policy, clause, values, 1);
    if (!rows || rows->empty()) {
        return false;
    }
    out = rows->front().record;
    return true;
}

// Updates the first row the clause finds, or adds one when it finds none.
template <class R>
bool Upsert(Query<R> q, const QString& clause, const QVariantList& values, const R& record) {
    // Bulk writes to a server do not wait for a lookup per record.
    if (q.connection.DefersWrites()) {
        return q.recordset.SendUpsert(q.connection, q.policy, clause, values, record);
    }
    const auto rows = q.recordset.Select(q.connection, q.policy, clause, values, 1);
    if (!rows) {
        return false;
    }
    if (rows->empty()) {
        q.recordset.AddNew(q.connection, record);
    } else {
        q.recordset.Update(q.connection, rows->front().rowId, record);
    }
    return true;
}

template <class R>
std::vector<R> List(Query<R> q, const QString& clause, const QVariantList& values, int limit = -1) {
    std::vector<R> records;
    if (auto rows = q.recordset.Select(q.connection, q.policy, clause, values, limit)) {
        records.reserve(rows->size());
        for (auto& row : *rows) {
            records.push_back(std::move(row.record));
        }
    }
    return records;
}

template <class R> int Count(Query<R> q, const QString& clause, const QVariantList& values) {
    const auto rows = q.recordset.Select(q.connection, q.policy, clause, values);
    return rows ? static_cast<int>(rows->size()) : 0;
}

// Walks the rows the clause finds and deletes them one by one. `before(record)` runs first for each
// row (children, cache files); when it returns false the walk stops, leaving that row and the rest,
// and the delete returns false. A refused row delete is skipped.
template <class R, class Before>
bool DeleteWalk(Query<R> q, const QString& clause, const QVariantList& values, const char* trace,
                Before before) {
    const auto rows = q.recordset.Select(q.connection, q.policy, clause, values);
    if (!rows) {
        return false;
    }
    SqlConnection::Batch batch(q.connection);
    for (const auto& row : *rows) {
        if (!before(row.record)) {
            return false;
        }
        if (q.recordset.DeleteRow(q.connection, row.rowId)) {
            qCDebug(lcStore, "**%s**: %s", trace, qUtf8Printable(row.record.sItemGUID));
        }
    }
    return true;
}

// Rewrites the rows in their current order with fOrder = 0, 1, 2, ...
template <class R> void Renumber(Query<R> q, const QString& clause, const QVariantList& values) {
    const auto rows = q.recordset.Select(q.connection, q.policy, clause, values);
    if (!rows) {
        return;
    }
    SqlConnection::Batch batch(q.connection);
    float order = 0;
    for (auto row : *rows) {
        row.record.fOrder = order;
        q.recordset.Update(q.connection, row.rowId, row.record);
        order += 1;
    }
}

// The order value for a new row of the list the clause selects; just before `before` when given
// and found.
template <class R>
float NextOrderIn(Query<R> q, const QString& listClause, const QVariantList& values, const QString& before) {
    float order = static_cast<float>(Count(q, listClause, values));
    if (!before.isEmpty()) {
        R sibling;
        if (GetOne(q, QStringLiteral("WHERE [sItemGUID] = ?"), {before}, sibling)) {
            order = sibling.fOrder - 0.1f;
        }
    }
    return order;
}

} // namespace vantor::detail
