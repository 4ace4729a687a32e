#pragma once
// The outgoing mail server, from the settings "SmtpHost", "SmtpPort", "SmtpSecurity", "SmtpUser",
// "SmtpFrom" and "SmtpAllowPlainAuth" and the password in the user's secret store, filled by the
// caller.

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
    // The user allowed the password to go to this server over a connection without encryption
    // (security None); otherwise such a login is refused before anything is sent.
    bool allowPlainAuth = false;

    bool Configured() const { return !host.trimmed().isEmpty(); }
    // A login would send the password in clear and the user has not allowed that.
    bool RefusesPlainAuth() const {
        return !user.isEmpty() && security == static_cast<int>(SmtpSecurity::None) && !allowPlainAuth;
    }
};

} // namespace vantor
