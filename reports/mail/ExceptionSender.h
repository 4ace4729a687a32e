#pragma once
// Prepares one exception e-mail per machine in the list after a synchronisation run: writes the
// machine's CSV attachment to "<data folder>/Temp", builds the HTML body and hands the message to
// the mail transport, which sends it or shows it for review.

#include "reports/mail/ExceptionEmail.h"
#include "reports/mail/ExceptionList.h"
#include "reports/mail/MailSession.h"
#include "reports/mail/MailTransport.h"

#include <vector>

namespace vantor {

class Prompter;

// The settings and names the run depends on, filled by the caller.
struct ExceptionSendOptions {
    bool emailExceptionsOnUpload = true; // "EmailExceptionsOnUpload" non-zero
    bool autoSend = true;                // "AutoSendEmailExceptionsOnUpload" is 1
    QString dataFolder;
    QString editionTitle;
    ExceptionEmailLabels labels;
};

enum class ExceptionSendOutcome {
    Off,          // exception e-mails are switched off; nothing done
    NoMailClient, // no way of delivering mail; message shown
    Done,         // every e-mail (possibly none) was sent or shown
    Failed,       // a failure was shown; later e-mails were neither sent nor shown
};

// "%s - %s": the edition title and "Exception Report".
QString ExceptionSubject(const QString& editionTitle);

ExceptionSendOutcome SendExceptionEmails(const std::vector<MachineExceptions>& groups,
                                         const ExceptionSendOptions& options, MailTransport& transport,
                                         Prompter& prompter, ExceptionProgress& progress);

} // namespace vantor
