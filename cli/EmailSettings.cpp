#include "cli/EmailSettings.h"

#include "cli/ExitCode.h"

#include <cstdio>

namespace vantor::cli {

MeasureFormat MeasureFormatOf(const CSettings& settings) {
    MeasureFormat format;
    format.units = DisplayUnits::FromSettings(settings.xAxisUnits, settings.yAxisUnits);
    format.decimalsG = settings.dpG;
    format.decimalsMms = settings.dpMms;
    format.decimalsInchS = settings.dpInchS;
    return format;
}

SmtpSettings SmtpSettingsOf(const CSettings& settings) {
    return SmtpSettings{settings.smtpHost, settings.smtpPort,     settings.smtpSecurity,
                        settings.smtpUser, settings.smtpPassword, settings.smtpFrom};
}

ExceptionCollectOptions ExceptionCollectOptionsOf(const CSettings& settings) {
    return ExceptionCollectOptions{settings.emailExceptionsOnUpload != 0, MeasureFormatOf(settings)};
}

ExceptionSendOptions ExceptionSendOptionsOf(const CAppData& app) {
    const CSettings& settings = app.settings;
    ExceptionSendOptions options;
    options.emailExceptionsOnUpload = settings.emailExceptionsOnUpload != 0;
    options.autoSend = settings.autoSendEmailExceptionsOnUpload == 1;
    options.dataFolder = app.folders.dataFolder;
    options.editionTitle = app.edition.title;
    options.labels = MakeExceptionEmailLabels({settings.band1Name, settings.band2Name, settings.band3Name},
                                              MeasureFormatOf(settings).units);
    return options;
}

SystemMailOptions SystemMailOptionsOf(const CAppData& app) {
    SystemMailOptions options;
    options.outboxFolder = OutboxFolder(app.folders.dataFolder);
    options.smtp = SmtpSettingsOf(app.settings);
    return options;
}

void ConsoleMailProgress::Show(const QString& text, int position) {
    (void)position;
    if (text != last_) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
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
            std::fprintf(stderr, "%s\n", qUtf8Printable(detail));
        }
        return kFailed;
    }
    return kFailed;
}

} // namespace vantor::cli
