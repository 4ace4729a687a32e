#include "platform/testing/TempEnvironment.h"

#include "platform/ProgramData.h"
#include "platform/SecretStore.h"
#include "platform/SystemFolders.h"

#include <QDir>

namespace vantor::testing {

TempEnvironment::TempEnvironment() {
    QDir root(dir_.path());
    for (const char* sub : {"common", "user", "config", "data", "program"}) {
        root.mkpath(QString::fromLatin1(sub));
    }
    Set(kCommonAppDataVariable, CommonAppData());
    Set(kUserAppDataVariable, UserAppData());
    Set("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")));
    Set("XDG_DATA_HOME", root.filePath(QStringLiteral("data")));
    // Nothing installed with the program (language packs, guide) unless a test points here.
    Set(kProgramDataVariable, root.filePath(QStringLiteral("program")));
    // Secrets go to the owner-only file beside the settings, never into the user's keyring.
    Set(kSecretStoreVariable, QStringLiteral("file"));
}

void TempEnvironment::UseProgramData(const QString& folder) {
    Set(kProgramDataVariable, folder);
}

TempEnvironment::~TempEnvironment() {
    for (const auto& [name, value] : saved_) {
        if (value) {
            qputenv(name.constData(), *value);
        } else {
            qunsetenv(name.constData());
        }
    }
}

QString TempEnvironment::CommonAppData() const {
    return QDir(dir_.path()).filePath(QStringLiteral("common"));
}

QString TempEnvironment::UserAppData() const {
    return QDir(dir_.path()).filePath(QStringLiteral("user"));
}

void TempEnvironment::Set(const char* name, const QString& value) {
    const QByteArray key(name);
    if (!saved_.contains(key)) {
        saved_[key] =
            qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    }
    qputenv(name, value.toUtf8());
}

} // namespace vantor::testing
