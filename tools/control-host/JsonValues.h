// Values between the host's JSON lines and the types a control's properties and methods declare.
// Booleans come as true/false or as the integers an automation host sends (-1 stays -1); dates as
// "YYYY-MM-DD HH:MM:SS"; arrays of doubles as JSON arrays of numbers.
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QMetaType>
#include <QVariant>
#include <QVariantMap>

#include <optional>

inline constexpr auto JsonDateTimeFormat = "yyyy-MM-dd HH:mm:ss";

// The JSON value as the given type; nullopt with *error set when it does not fit.
std::optional<QVariant> variantFromJson(const QJsonValue& value, QMetaType type, QString* error);

QJsonValue jsonFromVariant(const QVariant& value);

// A property bag as the container stores it: every value as JSON gives it (no conversion).
QVariantMap bagFromJson(const QJsonObject& bag);
QJsonObject jsonFromBag(const QVariantMap& bag);
