#pragma once
// The user's secrets (mail password, key passphrases), kept out of the settings file: in the
// desktop's keyring through the Secret Service (libsecret) when one answers on the session bus,
// otherwise in a file of our own that is readable by its owner only from the moment it exists.
// Each secret is named by the program (for example "SmtpPassword").

#include <QString>

#include <optional>

namespace vantor {

// "file" keeps every secret in the owner-only file even where a keyring answers (for machines
// whose keyring should not be used, and for tests).
inline constexpr const char* kSecretStoreVariable = "VANTOR_SECRET_STORE";

enum class SecretBackend {
    Auto,     // the keyring when the session bus offers a Secret Service, else the file
    FileOnly, // always the file
};

class SecretStore {
public:
    // `application` tells this program's keyring entries from others'; `fallbackFile` is the
    // owner-only file. The backend is FileOnly when kSecretStoreVariable says "file".
    SecretStore(QString application, QString fallbackFile, SecretBackend backend = SecretBackend::Auto);

    // The secret stored under `name`; nullopt when none is stored. A store that cannot be read
    // gives nullopt with `error` set.
    std::optional<QString> Read(const QString& name, QString* error = nullptr) const;
    // Stores or replaces the secret; false (with `error`) when it could not be stored.
    bool Write(const QString& name, const QString& secret, QString* error = nullptr) const;
    // Removes the secret from the keyring and the file; false (with `error`) when it stays stored.
    bool Remove(const QString& name, QString* error = nullptr) const;

    // Whether secrets go to the keyring (a Secret Service is on the session bus and the backend is
    // Auto); decided once per process.
    bool UsesKeyring() const;
    const QString& FallbackFile() const { return fallbackFile_; }

private:
    QString application_;
    QString fallbackFile_;
    SecretBackend backend_;
};

// Whether a Secret Service answers on the session bus (asked once per process, without starting a
// bus or prompting).
bool SecretServiceReachable();

} // namespace vantor
