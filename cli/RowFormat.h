#pragma once
// How listed rows are printed: as a JSON object keyed by column name, or as one tab-separated line.
// Date-times print as "YYYY-MM-DD HH:MM:SS", binary columns as their length in bytes.

#include "store/RecordFields.h"

#include <QJsonValue>
#include <QStringList>

#include <utility>
#include <vector>

namespace vantor::cli {

// A listed row: column names with their values, in column order.
using Row = std::vector<std::pair<QString, QJsonValue>>;

// A float printed with the fewest digits that read back as the same single-precision value.
double ShortestFloat(float value);

template <class R> Row RowOf(const R& record) {
    Row row;
    for (const auto& field : FieldsOf<R>()) {
        const QString key = QLatin1String(field.name);
        std::visit(
            [&](auto member) {
                const auto& value = record.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, QString>) {
                    row.emplace_back(key, value);
                } else if constexpr (std::is_same_v<T, float>) {
                    row.emplace_back(key, ShortestFloat(value));
                } else if constexpr (std::is_same_v<T, bool>) {
                    row.emplace_back(key, value);
                } else if constexpr (std::is_same_v<T, std::int32_t>) {
                    row.emplace_back(key, static_cast<qint64>(value));
                } else if constexpr (std::is_same_v<T, QDateTime>) {
                    row.emplace_back(key,
                                     value.isValid() ? QJsonValue(SqlDateTimeText(value)) : QJsonValue());
                } else {
                    row.emplace_back(key, static_cast<qint64>(value.size()));
                }
            },
            field.member);
    }
    return row;
}

// One line per row, the column names first, cells separated by tabs (null as empty).
QString RowsAsText(const QStringList& columns, const std::vector<Row>& rows);
// One JSON array holding an object per row, keys in column order.
QByteArray RowsAsJson(const std::vector<Row>& rows);

template <class R> std::vector<Row> RowsOf(const std::vector<R>& records) {
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (const R& record : records) {
        rows.push_back(RowOf(record));
    }
    return rows;
}

template <class R> QStringList ColumnNames() {
    QStringList names;
    for (const auto& field : FieldsOf<R>()) {
        names << QLatin1String(field.name);
    }
    return names;
}

} // namespace vantor::cli
