#include "app/OptionsFromSettings.h"

#include "app/Log.h"
#include "app/Secrets.h"
#include "app/TypedSettings.h"

namespace vantor {

MeasureFormat MeasureFormatOf(const CSettings& settings) {
    MeasureFormat format;
    format.units = DisplayUnitsOf(settings);
    format.decimalsG = settings.dpG;
    format.decimalsMms = settings.dpMms;
    format.decimalsInchS = settings.dpInchS;
    return format;
}

StatusTableOptions StatusTableOptionsOf(const CSettings& settings) {
    StatusTableOptions options;
    options.columns = {settings.vibStatusColumn1, settings.vibStatusColumn2, settings.vibStatusColumn3};
    options.valuesOn = StatusValuesOn(settings);
    options.format = MeasureFormatOf(settings);
    return options;
}

SmtpSettings SmtpSettingsOf(const CSettings& settings, const QString& password) {
    SmtpSettings smtp{settings.smtpHost, settings.smtpPort, static_cast<int>(SmtpSecurityOf(settings)),
                      settings.smtpUser, password,          settings.smtpFrom};
    const QString allowed = settings.smtpAllowPlainAuth.trimmed();
    smtp.allowPlainAuth =
        !allowed.isEmpty() && allowed.compare(smtp.host.trimmed(), Qt::CaseInsensitive) == 0;
    return smtp;
}

QString StoredSmtpPassword(const CAppData& app) {
    // The store is asked only when a login is configured.
    if (app.settings.smtpHost.trimmed().isEmpty() || app.settings.smtpUser.isEmpty()) {
        return {};
    }
    QString error;
    const auto password = UserSecrets(app.edition).Read(kSmtpPasswordSecret, &error);
    if (!error.isEmpty()) {
        qCWarning(lcApp, "the mail password cannot be read: %s", qUtf8Printable(error));
    }
    return password.value_or(QString());
}

ExceptionCollectOptions ExceptionCollectOptionsOf(const CSettings& settings) {
    return ExceptionCollectOptions{EmailExceptionsOnUpload(settings), MeasureFormatOf(settings)};
}

ExceptionSendOptions ExceptionSendOptionsOf(const CAppData& app) {
    const CSettings& settings = app.settings;
    ExceptionSendOptions options;
    options.emailExceptionsOnUpload = EmailExceptionsOnUpload(settings);
    options.autoSend = AutoSendExceptions(settings);
    options.dataFolder = app.folders.dataFolder;
    options.editionTitle = app.edition.title;
    options.labels = MakeExceptionEmailLabels({settings.band1Name, settings.band2Name, settings.band3Name},
                                              MeasureFormatOf(settings).units);
    return options;
}

SystemMailOptions SystemMailOptionsOf(const CAppData& app) {
    SystemMailOptions options;
    options.outboxFolder = OutboxFolder(app.folders.dataFolder);
    options.smtp = SmtpSettingsOf(app.settings, StoredSmtpPassword(app));
    return options;
}

} // namespace vantor
