#include "cli/EmailSettings.h"

#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"

#include <cstdio>

namespace vantor::cli {

void ConsoleMailProgress::Show(const QString& text, int position) {
    (void)position;
    if (text != last_) {
        PrintLine(stderr, text);
        last_ = text;
    }
}

int RunExceptionEmails(CAppData& app, Prompter& prompter) {
    const std::vector<MachineExceptions> groups = ProcessExceptionList().Groups();
    SystemMailTransport transport(SystemMailOptionsOf(app));
    ConsoleMailProgress progress;
    switch (SendExceptionEmails(groups, ExceptionSendOptionsOf(app), transport, prompter, progress)) {
    case ExceptionSendOutcome::Off:
    case ExceptionSendOutcome::Done:
        return kDone;
    case ExceptionSendOutcome::NoMailClient:
        return kFailed;
    case ExceptionSendOutcome::Failed:
        if (const QString detail = transport.LastError(); !detail.isEmpty()) {
            PrintLine(stderr, detail);
        }
        return kFailed;
    }
    return kFailed;
}

} // namespace vantor::cli
