#include "app/Secrets.h"

#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace vantor {

SecretStore UserSecrets(const Edition& edition) {
    const QFileInfo settings(SettingsStore(edition).FilePath());
    return SecretStore(edition.title, settings.dir().filePath(edition.title + QStringLiteral(".secrets")));
}

QString ServerPassphraseSecret(const QString& storableAddress) {
    return QStringLiteral("sslpassword ") + storableAddress;
}

} // namespace vantor
