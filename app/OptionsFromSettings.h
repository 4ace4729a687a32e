#pragma once
// The plain option structures of the libraries below the application (measure formatting, the
// exception e-mails, the mail transport), formed from the settings record in one place for the
// command line and the desktop program alike.

#include "analysis/MeasureFormat.h"
#include "analysis/StatusTable.h"
#include "app/CAppData.h"
#include "reports/mail/ExceptionCollector.h"
#include "reports/mail/ExceptionSender.h"
#include "reports/mail/SystemMailTransport.h"

namespace vantor {

// Units and decimals of the user's settings.
MeasureFormat MeasureFormatOf(const CSettings& settings);
// The status table's three chosen columns, words or values, and their formatting.
StatusTableOptions StatusTableOptionsOf(const CSettings& settings);
// The mail server of the settings with the given password; plain logins are allowed when
// "SmtpAllowPlainAuth" names this server's host.
SmtpSettings SmtpSettingsOf(const CSettings& settings, const QString& password);
// The stored mail password (empty when none is stored, or no login is configured).
QString StoredSmtpPassword(const CAppData& app);
ExceptionCollectOptions ExceptionCollectOptionsOf(const CSettings& settings);
ExceptionSendOptions ExceptionSendOptionsOf(const CAppData& app);
// The product transport: the Outbox in the data folder and the configured server with its stored
// password.
SystemMailOptions SystemMailOptionsOf(const CAppData& app);

} // namespace vantor
