#include "platform/ProgramData.h"

#include <QCoreApplication>
#include <QDir>

namespace vantor {

QString ProgramDataFolder() {
    const QString set = qEnvironmentVariable(kProgramDataVariable);
    if (!set.isEmpty()) {
        return QDir::cleanPath(set);
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vantor"));
}

QString ShippedLanguageFolder() {
    return ProgramDataFolder() + QStringLiteral("/Language");
}

QString UserGuideFolder() {
    return ProgramDataFolder() + QStringLiteral("/guide");
}

} // namespace vantor
