#pragma once
// The desktop's keyring through libsecret (the freedesktop Secret Service on the session bus).
// Entries carry the attributes "application" and "name"; nothing here starts a bus or a service.

#include <QString>

#include <optional>

namespace vantor::keyring {

// Whether the session bus has a Secret Service running or ready to start on demand.
bool ServiceOnBus();

struct Lookup {
    std::optional<QString> secret; // nullopt: none stored (or the lookup failed)
    QString error;                 // non-empty when the keyring could not be asked
};
Lookup Find(const QString& application, const QString& name);
bool Store(const QString& application, const QString& name, const QString& secret, QString* error);
bool Clear(const QString& application, const QString& name, QString* error);

} // namespace vantor::keyring
