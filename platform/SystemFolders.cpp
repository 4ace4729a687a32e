#include "platform/SystemFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace vantor {
namespace {

QString FromEnvironmentOr(const char* variable, QStandardPaths::StandardLocation fallback) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty()) {
        return QDir::cleanPath(QDir(value).absolutePath());
    }
    return QStandardPaths::writableLocation(fallback);
}

} // namespace

QString CommonAppDataFolder() {
    return FromEnvironmentOr(kCommonAppDataVariable, QStandardPaths::GenericDataLocation);
}

QString UserAppDataFolder() {
    return FromEnvironmentOr(kUserAppDataVariable, QStandardPaths::GenericConfigLocation);
}

} // namespace vantor
