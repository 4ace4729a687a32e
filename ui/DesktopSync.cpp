#include "ui/DesktopSync.h"

#include "app/OffRouteReadings.h"
#include "reports/ExceptionCollector.h"
#include "reports/ExceptionList.h"
#include "reports/ExceptionSender.h"
#include "reports/SystemMailTransport.h"

#include <QProgressDialog>

namespace vantor {
namespace {

// The exception e-mails' progress in a window of its own.
class DialogMailProgress final : public ExceptionProgress {
public:
    explicit DialogMailProgress(QWidget* parent) : dialog_(parent) {
        dialog_.setCancelButton(nullptr);
        dialog_.setRange(0, 100);
        dialog_.setMinimumDuration(0);
        dialog_.setAutoClose(false);
    }
    void Show(const QString& text, int position) override {
        dialog_.setLabelText(text);
        dialog_.setValue(position);
    }
    void Close() override { dialog_.close(); }

private:
    QProgressDialog dialog_;
};

} // namespace

SyncSettings MakeSyncSettings(CAppData& app, bool fromMeter, const QString& routeGuid) {
    SyncSettings settings;
    settings.fromMeter = fromMeter;
    settings.routeGuid = routeGuid;
    settings.maxDeviceVersion = CAppData::MaxDeviceVersion;
    settings.editionTitle = app.edition.title;
    settings.offRouteAssetGuid = QString::fromLatin1(CAppData::OffRouteAssetGuid);
    for (const char* guid : CAppData::OffRoutePointGuids) {
        settings.offRoutePointGuids << QString::fromLatin1(guid);
    }
    settings.store = app.MakeStoreContext();
    const ExceptionCollectOptions collect{app.settings.emailExceptionsOnUpload != 0,
                                          MeasureFormatFrom(app.settings)};
    settings.clearExceptions = [] { ProcessExceptionList().Clear(); };
    settings.collectException = [collect](const CMachine& machine, const CVib& point,
                                          const CVibReading& reading) {
        CollectException(ProcessExceptionList(), collect, machine, point, reading);
    };
    return settings;
}

void SendExceptionEmails(CAppData& app, Prompter& prompter, QWidget* parent) {
    const CSettings& s = app.settings;
    ExceptionSendOptions options;
    options.emailExceptionsOnUpload = s.emailExceptionsOnUpload != 0;
    options.autoSend = s.autoSendEmailExceptionsOnUpload == 1;
    options.dataFolder = app.folders.dataFolder;
    options.editionTitle = app.edition.title;
    options.labels =
        MakeExceptionEmailLabels({s.band1Name, s.band2Name, s.band3Name}, MeasureFormatFrom(s).units);
    SystemMailOptions mail;
    mail.outboxFolder = OutboxFolder(app.folders.dataFolder);
    mail.smtp = SmtpSettings{s.smtpHost, s.smtpPort, s.smtpSecurity, s.smtpUser, s.smtpPassword, s.smtpFrom};
    SystemMailTransport transport(mail);
    DialogMailProgress progress(parent);
    vantor::SendExceptionEmails(ProcessExceptionList().Groups(), options, transport, prompter, progress);
    progress.Close();
}

} // namespace vantor
