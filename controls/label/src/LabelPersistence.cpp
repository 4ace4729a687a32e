#include "LabelPersistence.h"

#include <array>
#include <limits>
#include <variant>

namespace {

using Member = std::variant<short LabelProperties::*, int LabelProperties::*, bool LabelProperties::*,
                            QString LabelProperties::*>;

struct PersistedField {
    const char* name;
    Member member;
};

// Exchange order: the framework's stock properties first, then the control's own.
const std::array<PersistedField, 18> fields = {{
    {"BorderStyle", &LabelProperties::BorderStyle},
    {"Enabled", &LabelProperties::Enabled},
    {"BackGroundColorAlt", &LabelProperties::BackGroundColorAlt},
    {"ColorAlt", &LabelProperties::ColorAlt},
    {"BackGroundColor", &LabelProperties::BackGroundColor},
    {"Color", &LabelProperties::Color},
    {"Caption", &LabelProperties::Caption},
    {"FontName", &LabelProperties::FontName},
    {"Size", &LabelProperties::Size},
    {"UnderlineOn", &LabelProperties::UnderlineOn},
    {"BoldOn", &LabelProperties::BoldOn},
    {"ItalicOn", &LabelProperties::ItalicOn},
    {"StrikethroughOn", &LabelProperties::StrikethroughOn},
    {"Rotation", &LabelProperties::Rotation},
    {"WordWrapOn", &LabelProperties::WordWrapOn},
    {"HorizontalAlignment", &LabelProperties::HorizontalAlignment},
    {"VerticalAlignment", &LabelProperties::VerticalAlignment},
    {"BorderEffect", &LabelProperties::BorderEffect},
}};

template <typename T> T read(const QVariant& stored, const T& fallback) {
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, QString>) {
        QVariant value = stored;
        return value.convert(QMetaType::fromType<T>()) ? value.value<T>() : fallback;
    } else {
        // Whole numbers only, and only those the property's type holds: a value that would wrap
        // around is unreadable.
        bool ok = false;
        const qlonglong number = stored.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<T>::min() || number > std::numeric_limits<T>::max())
            return fallback;
        return static_cast<T>(number);
    }
}

} // namespace

QVariantMap savePersisted(const LabelProperties& properties) {
    QVariantMap bag;
    for (const PersistedField& field : fields) {
        std::visit(
            [&](auto member) {
                bag.insert(QLatin1String(field.name), QVariant::fromValue(properties.*member));
            },
            field.member);
    }
    return bag;
}

void loadPersisted(LabelProperties& properties, const QVariantMap& bag, int ambientBackground) {
    LabelProperties defaults;
    defaults.BackGroundColorAlt = ambientBackground;
    for (const PersistedField& field : fields) {
        std::visit(
            [&](auto member) {
                const auto it = bag.constFind(QLatin1String(field.name));
                properties.*member = it == bag.constEnd() ? defaults.*member : read(*it, defaults.*member);
            },
            field.member);
    }
}

QStringList persistedNames() {
    QStringList names;
    for (const PersistedField& field : fields)
        names.append(QLatin1String(field.name));
    return names;
}
