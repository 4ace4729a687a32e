#pragma once
// Runs the exception e-mails of this process's list on the command line, as the synchronisation
// commands do after a run, with the progress texts on standard error.

#include "app/CAppData.h"
#include "app/OptionsFromSettings.h"
#include "reports/mail/ExceptionCollector.h"
#include "reports/mail/ExceptionSender.h"
#include "reports/mail/SystemMailTransport.h"

namespace vantor::cli {

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
