#include "app/TestMessage.h"

#include "app/OptionsFromSettings.h"
#include "app/TypedSettings.h"
#include "platform/Prompter.h"
#include "reports/mail/SystemMailTransport.h"
#include "texts/UiText.h"

namespace vantor {

TestMessageResult SendTestMessage(const CAppData& app, const CSettings& settings, const QString& to,
                                  Prompter& prompter, ExceptionProgress& progress,
                                  const std::optional<QString>& password) {
    SystemMailOptions options = SystemMailOptionsOf(app);
    options.smtp = SmtpSettingsOf(settings, password ? *password : options.smtp.password);
    SystemMailTransport transport(options);
    TestMessageResult result;
    if (!transport.Present()) {
        prompter.ShowMessage(UiText(text::MailClientUnavailable));
        return result;
    }
    const QString title = app.edition.title.toHtmlEscaped();
    const MailMessage message{
        to, QStringLiteral("%1 - Test message").arg(app.edition.title),
        QStringLiteral("<html><body><p>This is a test message from %1.</p></body></html>").arg(title),
        QString()};
    const MailDelivery delivery = AutoSendExceptions(settings) ? MailDelivery::Send : MailDelivery::Display;
    MailSession session(transport, prompter, progress);
    result.delivered = session.Deliver(message, delivery, &result.location);
    result.sent = result.delivered && delivery == MailDelivery::Send && options.smtp.Configured();
    if (!result.delivered) {
        result.detail = transport.LastError();
    }
    return result;
}

} // namespace vantor
