#pragma once
// The program's secrets in the user's secret store (platform/SecretStore.h): the desktop's keyring,
// else "<title>.secrets" beside the settings file, readable by its owner only. Nothing secret is
// kept in the settings file; values an older version left there are moved on reading.

#include "app/Edition.h"
#include "platform/SecretStore.h"

#include <QString>

namespace vantor {

// The name the mail server's password is kept under (and its old value name in the settings).
inline const QString kSmtpPasswordSecret = QStringLiteral("SmtpPassword");

// The secret store of an edition's user.
SecretStore UserSecrets(const Edition& edition);

// The name a server's TLS key passphrase (libpq's "sslpassword") is kept under: the server's
// address as stored in the settings, which never holds the passphrase itself.
QString ServerPassphraseSecret(const QString& storableAddress);

} // namespace vantor
