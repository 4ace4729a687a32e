#include "platform/SecretStore.h"

#include "platform/KeyringSecrets.h"
#include "platform/OwnerOnlyFile.h"

#include <QFile>
#include <QLockFile>

#include <map>
#include <mutex>

namespace vantor {
namespace {

using SecretMap = std::map<QString, QString>;

// How long a writer waits for another process writing the file.
constexpr int kFileLockWaitMs = 5000;

// One secret a line: the name and the secret, each in Base64, separated by a space.
QByteArray Encode(const SecretMap& secrets) {
    QByteArray text;
    for (const auto& [name, secret] : secrets) {
        text += name.toUtf8().toBase64() + ' ' + secret.toUtf8().toBase64() + '\n';
    }
    return text;
}

std::optional<SecretMap> Decode(const QByteArray& text) {
    SecretMap secrets;
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty()) {
            continue;
        }
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 2) {
            return std::nullopt;
        }
        const auto name = QByteArray::fromBase64Encoding(parts[0], QByteArray::AbortOnBase64DecodingErrors);
        const auto secret = QByteArray::fromBase64Encoding(parts[1], QByteArray::AbortOnBase64DecodingErrors);
        if (!name || !secret) {
            return std::nullopt;
        }
        secrets[QString::fromUtf8(*name)] = QString::fromUtf8(*secret);
    }
    return secrets;
}

// The file's secrets; an absent file holds none. Nullopt (with `error`) when it cannot be read.
std::optional<SecretMap> Load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists()) {
        return SecretMap{};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr) {
            *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        }
        return std::nullopt;
    }
    auto secrets = Decode(file.readAll());
    if (!secrets && error != nullptr) {
        *error = QStringLiteral("%1 is damaged; it is left as it is").arg(path);
    }
    return secrets;
}

// Reads, changes and writes the file under its lock; a damaged file is never overwritten.
template <typename Change> bool Update(const QString& path, QString* error, Change change) {
    if (!EnsureFolderOf(path, error)) {
        return false;
    }
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kFileLockWaitMs)) {
        if (error != nullptr) {
            *error = lock.error() == QLockFile::LockFailedError
                         ? QStringLiteral("%1 is being written by another program").arg(path)
                         : QStringLiteral("Cannot lock %1").arg(path);
        }
        return false;
    }
    std::optional<SecretMap> secrets = Load(path, error);
    if (!secrets) {
        return false;
    }
    if (!change(*secrets)) {
        return true; // nothing to write
    }
    return WriteOwnerOnlyFile(path, Encode(*secrets), error);
}

void SetError(QString* error, const QString& text) {
    if (error != nullptr) {
        *error = text;
    }
}

} // namespace

bool SecretServiceReachable() {
    static std::once_flag once;
    static bool reachable = false;
    std::call_once(once, [] { reachable = keyring::ServiceOnBus(); });
    return reachable;
}

SecretStore::SecretStore(QString application, QString fallbackFile, SecretBackend backend)
    : application_(std::move(application)), fallbackFile_(std::move(fallbackFile)), backend_(backend) {
    if (qEnvironmentVariable(kSecretStoreVariable) == QLatin1String("file")) {
        backend_ = SecretBackend::FileOnly;
    }
}

bool SecretStore::UsesKeyring() const {
    return backend_ == SecretBackend::Auto && SecretServiceReachable();
}

std::optional<QString> SecretStore::Read(const QString& name, QString* error) const {
    QString keyringError;
    if (UsesKeyring()) {
        keyring::Lookup found = keyring::Find(application_, name);
        if (found.secret) {
            return found.secret;
        }
        keyringError = found.error;
    }
    // The file also holds what was stored while no keyring answered.
    const std::optional<SecretMap> secrets = Load(fallbackFile_, error);
    if (secrets) {
        if (const auto it = secrets->find(name); it != secrets->end()) {
            return it->second;
        }
    }
    if (!keyringError.isEmpty()) {
        SetError(error, keyringError);
    }
    return std::nullopt;
}

bool SecretStore::Write(const QString& name, const QString& secret, QString* error) const {
    if (UsesKeyring()) {
        QString failure;
        if (!keyring::Store(application_, name, secret, &failure)) {
            SetError(error, QStringLiteral("The keyring refused to store %1: %2").arg(name, failure));
            return false;
        }
        // An older copy in the file must not outlive the one in the keyring.
        return Update(fallbackFile_, error, [&name](SecretMap& secrets) { return secrets.erase(name) != 0; });
    }
    return Update(fallbackFile_, error, [&](SecretMap& secrets) {
        secrets[name] = secret;
        return true;
    });
}

bool SecretStore::Remove(const QString& name, QString* error) const {
    if (UsesKeyring()) {
        QString failure;
        if (!keyring::Clear(application_, name, &failure)) {
            SetError(error, QStringLiteral("The keyring refused to remove %1: %2").arg(name, failure));
            return false;
        }
    }
    if (!QFile::exists(fallbackFile_)) {
        return true;
    }
    return Update(fallbackFile_, error, [&name](SecretMap& secrets) { return secrets.erase(name) != 0; });
}

} // namespace vantor
