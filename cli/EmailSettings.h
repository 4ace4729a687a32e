#pragma once
// The exception e-mail's inputs taken from the application: the settings record, the folders and
// the edition, as the plain structures of the reports library. Also runs the exception e-mails of
// this process's list, as the synchronisation commands do after a run.

#include "app/CAppData.h"
#include "reports/ExceptionCollector.h"
#include "reports/ExceptionSender.h"
#include "reports/SystemMailTransport.h"

namespace vantor::cli {

MeasureFormat MeasureFormatOf(const CSettings& settings);
SmtpSettings SmtpSettingsOf(const CSettings& settings);
ExceptionCollectOptions ExceptionCollectOptionsOf(const CSettings& settings);
ExceptionSendOptions ExceptionSendOptionsOf(const CAppData& app);
// The product transport: the Outbox in the data folder and the configured server.
SystemMailOptions SystemMailOptionsOf(const CAppData& app);

// Progress texts on standard error, one line per new text.
class ConsoleMailProgress final : public ExceptionProgress {
public:
    void Show(const QString& text, int position) override;

private:
    QString last_;
};

// Sends the exception e-mails of the process's exception list; the exit status.
int RunExceptionEmails(CAppData& app, Prompter& prompter);

} // namespace vantor::cli
