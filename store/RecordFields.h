#pragma once
// Column descriptors of every record: the column name and the member it binds to, in the
// documented column order. The recordsets bind by name against the columns the database reports,
// so a table whose columns sit in another physical order still binds correctly.

#include "records/DateTimeText.h"
#include "records/Records.h"
#include "store/SqlStatement.h"

#include <QVariant>

#include <span>
#include <variant>

namespace vantor {

enum class ColumnType { Text, Float, Boolean, Integer, DateTime, Binary };

template <class R> struct Field {
    const char* name;
    std::variant<QString R::*, float R::*, bool R::*, std::int32_t R::*, QDateTime R::*, QByteArray R::*>
        member;

    ColumnType Type() const { return static_cast<ColumnType>(member.index()); }
};

// The fields of a record type, in column order.
template <class R> std::span<const Field<R>> FieldsOf();

template <> std::span<const Field<CMachine>> FieldsOf<CMachine>();
template <> std::span<const Field<CVib>> FieldsOf<CVib>();
template <> std::span<const Field<CLube>> FieldsOf<CLube>();
template <> std::span<const Field<CVibReading>> FieldsOf<CVibReading>();
template <> std::span<const Field<COffRouteReading>> FieldsOf<COffRouteReading>();
template <> std::span<const Field<CLubeReading>> FieldsOf<CLubeReading>();
template <> std::span<const Field<CRoute>> FieldsOf<CRoute>();
template <> std::span<const Field<CRouteItem>> FieldsOf<CRouteItem>();
template <> std::span<const Field<CDevice>> FieldsOf<CDevice>();
template <> std::span<const Field<CEmailAddress>> FieldsOf<CEmailAddress>();

// Longest text a text column keeps.
inline constexpr int kTextColumnLimit = 255;

// Through a prepared statement: bind a record field as parameter `index`, read it from `column`.
template <class R> void BindField(SqlStatement& statement, int index, const R& record, const Field<R>& field);
template <class R>
void ReadField(const SqlStatement& statement, int column, R& record, const Field<R>& field);
// Binds a clause value (text, number, bytes or null).
void BindValue(SqlStatement& statement, int index, const QVariant& value);

// ---- implementation of the templates ------------------------------------------------------

// A stored boolean: a number, or a text such as "true" or "1" written by another program.
bool BooleanFromSql(const QVariant& value);

template <class R>
void BindField(SqlStatement& statement, int index, const R& record, const Field<R>& field) {
    std::visit(
        [&](auto member) {
            const auto& value = record.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>) {
                // Null texts are written as empty text so the NULL-key sweep never catches a live row.
                statement.BindText(index, value.left(kTextColumnLimit));
            } else if constexpr (std::is_same_v<T, float>) {
                statement.BindDouble(index, static_cast<double>(value));
            } else if constexpr (std::is_same_v<T, bool>) {
                statement.BindInteger(index, value ? 1 : 0);
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                statement.BindInteger(index, value);
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                if (value.isValid()) {
                    statement.BindText(index, SqlDateTimeText(value));
                } else {
                    statement.BindNull(index);
                }
            } else {
                statement.BindBlob(index, value);
            }
        },
        field.member);
}

template <class R>
void ReadField(const SqlStatement& statement, int column, R& record, const Field<R>& field) {
    std::visit(
        [&](auto member) {
            auto& target = record.*member;
            using T = std::decay_t<decltype(target)>;
            if (statement.IsNull(column)) {
                target = T{};
            } else if constexpr (std::is_same_v<T, QString>) {
                target = statement.ColumnText(column);
            } else if constexpr (std::is_same_v<T, float>) {
                target = static_cast<float>(statement.ColumnDouble(column));
            } else if constexpr (std::is_same_v<T, bool>) {
                target = statement.IsText(column) ? BooleanFromSql(statement.ColumnText(column))
                                                  : statement.ColumnInteger(column) != 0;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                target = static_cast<std::int32_t>(statement.ColumnInteger(column));
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                target = DateTimeFromSql(statement.ColumnText(column));
            } else {
                target = statement.ColumnBlob(column);
            }
        },
        field.member);
}

} // namespace vantor
