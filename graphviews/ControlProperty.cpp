#include "graphviews/ControlProperty.h"

#include <QMetaProperty>
#include <QObject>
#include <QWidget>

#include <cmath>
#include <limits>

namespace vantor {
namespace {

template <typename T> std::optional<QVariant> Integral(const QString& text) {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    if (!ok || number < static_cast<qlonglong>(std::numeric_limits<T>::min()) ||
        number > static_cast<qlonglong>(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return QVariant::fromValue(static_cast<T>(number));
}

std::optional<double> Real(const QString& text) {
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

std::optional<QVariant> Converted(const QString& text, QMetaType type) {
    switch (type.id()) {
    case QMetaType::Bool: {
        const QString word = text.trimmed().toLower();
        if (word == QLatin1String("true")) {
            return QVariant(true);
        }
        if (word == QLatin1String("false")) {
            return QVariant(false);
        }
        if (const std::optional<double> number = Real(text)) {
            return QVariant(*number != 0.0);
        }
        return std::nullopt;
    }
    case QMetaType::Short:
        return Integral<short>(text);
    case QMetaType::Int:
        return Integral<int>(text);
    case QMetaType::Long:
        return Integral<long>(text);
    case QMetaType::Float:
        if (const std::optional<double> number = Real(text)) {
            return QVariant(static_cast<float>(*number));
        }
        return std::nullopt;
    case QMetaType::Double:
        if (const std::optional<double> number = Real(text)) {
            return QVariant(*number);
        }
        return std::nullopt;
    case QMetaType::QString:
        return QVariant(text);
    default:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<PropertyValue> ParsePropertyValue(const QMetaObject& control, const QString& name,
                                                const QString& text, PropertyTextError* error) {
    const int index = control.indexOfProperty(name.toLatin1().constData());
    if (index < QWidget::staticMetaObject.propertyCount() || !control.property(index).isWritable()) {
        if (error != nullptr) {
            *error = PropertyTextError::UnknownName;
        }
        return std::nullopt;
    }
    std::optional<QVariant> value = Converted(text, control.property(index).metaType());
    if (!value) {
        if (error != nullptr) {
            *error = PropertyTextError::BadValue;
        }
        return std::nullopt;
    }
    return PropertyValue{name, std::move(*value)};
}

bool WriteProperty(QObject& control, const PropertyValue& property) {
    return control.setProperty(property.name.toLatin1().constData(), property.value);
}

} // namespace vantor
