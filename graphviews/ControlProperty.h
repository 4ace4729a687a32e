#pragma once
// A control's property written by name from text, as an automation host writes it: the text is
// converted to the property's declared type, then the control's own setter runs (and may refuse
// the value through its message port). Only the control's own properties count, not those every
// widget has.

#include <QMetaObject>
#include <QString>
#include <QVariant>

#include <optional>

class QObject;

namespace vantor {

enum class PropertyTextError { UnknownName, BadValue };

struct PropertyValue {
    QString name;
    QVariant value; // of the property's type
};

// The value text converted for the named property of a control class: integers (within their
// type's range), real numbers, booleans (true, false or a number, non-zero meaning true) and texts.
// An error when the class has no such property of its own or the text does not fit its type.
std::optional<PropertyValue> ParsePropertyValue(const QMetaObject& control, const QString& name,
                                                const QString& text, PropertyTextError* error = nullptr);

// Writes through the property's setter; false only when the property cannot take the value at all.
bool WriteProperty(QObject& control, const PropertyValue& property);

} // namespace vantor
