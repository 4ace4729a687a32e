#pragma once
// Date-times are stored as text "YYYY-MM-DD HH:MM:SS" (local time, whole seconds).

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vantor {

inline constexpr const char* kSqlDateTimeFormat = "yyyy-MM-dd HH:mm:ss";
QString SqlDateTimeText(const QDateTime& value);
QDateTime DateTimeFromSql(const QVariant& value);

} // namespace vantor
