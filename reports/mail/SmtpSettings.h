#pragma once
// The outgoing mail server, from the settings "SmtpHost", "SmtpPort", "SmtpSecurity", "SmtpUser",
// "SmtpPassword" and "SmtpFrom", filled by the caller.

#include <QString>

namespace vantor {

enum class SmtpSecurity : int {
    None = 0,     // plain SMTP
    StartTls = 1, // SMTP upgraded with STARTTLS, required
    Tls = 2,      // SMTP over TLS from the first byte (SMTPS)
};

struct SmtpSettings {
    QString host; // empty: no server configured
    int port = 25;
    int security = 0;
    QString user; // empty: no authentication
    QString password;
    QString from; // sender address; empty: the user name when it is an address

    bool Configured() const { return !host.trimmed().isEmpty(); }
};

} // namespace vantor
