#pragma once
// A short message that proves the mail transport works: sent by the configured server when the
// settings ask for sending, otherwise shown in the desktop's mail program. The command line and the
// mail server settings dialog both offer it.

#include "app/CAppData.h"
#include "reports/mail/MailSession.h"

#include <QString>

#include <optional>

namespace vantor {

struct TestMessageResult {
    bool delivered = false;
    bool sent = false; // by the server, rather than shown for review
    QString location;  // the message's .eml file
    QString detail;    // the transport's last error after a failure
};

// Delivers the test message to `to` (";" separates several) with the settings and mail password
// given, which need not be stored yet (no password: the stored one). Failures show their messages
// through the prompter.
TestMessageResult SendTestMessage(const CAppData& app, const CSettings& settings, const QString& to,
                                  Prompter& prompter, ExceptionProgress& progress,
                                  const std::optional<QString>& password = std::nullopt);

} // namespace vantor
