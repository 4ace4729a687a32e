#include "tools/control-host/JsonValues.h"

#include <QDateTime>
#include <QJsonArray>
#include <QList>

#include <cmath>
#include <limits>

namespace {

template <typename T> std::optional<QVariant> integral(const QJsonValue& value, QString* error) {
    double number = 0;
    if (value.isBool())
        number = value.toBool() ? 1 : 0;
    else if (value.isDouble())
        number = std::nearbyint(value.toDouble()); // automation coercion rounds to the nearest
    else {
        *error = QStringLiteral("expects a number");
        return std::nullopt;
    }
    if (number < static_cast<double>(std::numeric_limits<T>::min()) ||
        number > static_cast<double>(std::numeric_limits<T>::max())) {
        *error = QStringLiteral("number out of range for %1")
                     .arg(QString::fromLatin1(QMetaType::fromType<T>().name()));
        return std::nullopt;
    }
    return QVariant::fromValue(static_cast<T>(number));
}

std::optional<double> numberOf(const QJsonValue& value, QString* error) {
    if (value.isDouble())
        return value.toDouble();
    if (value.isBool())
        return value.toBool() ? 1.0 : 0.0;
    *error = QStringLiteral("expects a number");
    return std::nullopt;
}

} // namespace

std::optional<QVariant> variantFromJson(const QJsonValue& value, QMetaType type, QString* error) {
    switch (type.id()) {
    case QMetaType::Bool:
        if (value.isBool())
            return QVariant(value.toBool());
        if (value.isDouble())
            return QVariant(value.toDouble() != 0.0);
        *error = QStringLiteral("expects a boolean");
        return std::nullopt;
    case QMetaType::Short:
        return integral<short>(value, error);
    case QMetaType::UShort:
        return integral<unsigned short>(value, error);
    case QMetaType::Int:
        return integral<int>(value, error);
    case QMetaType::UInt:
        return integral<unsigned int>(value, error);
    case QMetaType::Long:
        return integral<long>(value, error);
    case QMetaType::LongLong:
        return integral<qlonglong>(value, error);
    case QMetaType::Float:
        if (auto number = numberOf(value, error))
            return QVariant(static_cast<float>(*number));
        return std::nullopt;
    case QMetaType::Double:
        if (auto number = numberOf(value, error))
            return QVariant(*number);
        return std::nullopt;
    case QMetaType::QString:
        if (value.isString())
            return QVariant(value.toString());
        *error = QStringLiteral("expects a string");
        return std::nullopt;
    case QMetaType::QDateTime: {
        const QDateTime dateTime = QDateTime::fromString(value.toString(), QLatin1String(JsonDateTimeFormat));
        if (!value.isString() || !dateTime.isValid()) {
            *error = QStringLiteral("expects a date \"YYYY-MM-DD HH:MM:SS\"");
            return std::nullopt;
        }
        return QVariant(dateTime);
    }
    default:
        break;
    }
    if (type == QMetaType::fromType<QList<double>>()) {
        if (!value.isArray()) {
            *error = QStringLiteral("expects an array of numbers");
            return std::nullopt;
        }
        QList<double> numbers;
        for (const QJsonValue& element : value.toArray()) {
            if (!element.isDouble()) {
                *error = QStringLiteral("expects an array of numbers");
                return std::nullopt;
            }
            numbers.append(element.toDouble());
        }
        return QVariant::fromValue(numbers);
    }
    *error = QStringLiteral("cannot pass a value of type %1").arg(QString::fromLatin1(type.name()));
    return std::nullopt;
}

QJsonValue jsonFromVariant(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
    case QMetaType::Void:
        return QJsonValue::Null;
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::Float:
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QDateTime:
        return value.toDateTime().isValid() ? value.toDateTime().toString(QLatin1String(JsonDateTimeFormat))
                                            : QString();
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<QList<double>>()) {
        QJsonArray array;
        for (double number : value.value<QList<double>>())
            array.append(number);
        return array;
    }
    return QJsonValue::fromVariant(value);
}

QVariantMap bagFromJson(const QJsonObject& bag) {
    return bag.toVariantMap();
}

QJsonObject jsonFromBag(const QVariantMap& bag) {
    QJsonObject object;
    for (auto it = bag.constBegin(); it != bag.constEnd(); ++it)
        object.insert(it.key(), jsonFromVariant(it.value()));
    return object;
}
