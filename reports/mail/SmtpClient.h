#pragma once
// Sends one finished message to an SMTP server with libcurl: plain, STARTTLS or TLS, with optional
// authentication.

#include "reports/mail/SmtpSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>

namespace vantor {

// How long connecting and the whole exchange may take before the send is given up.
inline constexpr std::chrono::seconds kSmtpConnectTimeout{20};
inline constexpr std::chrono::seconds kSmtpTransferTimeout{120};

// How the connection is made, beyond the settings.
struct SmtpOptions {
    std::chrono::seconds connect = kSmtpConnectTimeout;
    std::chrono::seconds transfer = kSmtpTransferTimeout;
    // Certificate authorities (PEM file) trusted instead of the system's, for a server whose
    // certificate a private authority signed; empty: the system's store.
    QString caFile;
};

struct SmtpOutcome {
    int curlCode = 0; // 0 when the server accepted the message
    QString error;    // libcurl's description of a failure
    bool Ok() const { return curlCode == 0; }
};

// The envelope sender: "SmtpFrom" (the address inside "<...>" when it holds a display name), else the
// user name when it is an address, else <login>@<host name>.
QString SenderAddress(const SmtpSettings& settings);

// Prepares libcurl once for the process; 0 or libcurl's failure code.
int InitialiseSmtp();

// Sends the message; a login the settings refuse (the password in clear, not allowed for this
// server) fails with CURLE_LOGIN_DENIED and its message before any connection is made.
SmtpOutcome SendSmtp(const SmtpSettings& settings, const QStringList& recipients, const QByteArray& message,
                     const SmtpOptions& options = {});

} // namespace vantor
