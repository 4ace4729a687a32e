#pragma once
// The mail transport of the product: every message is written as an .eml file in the Outbox folder;
// "send" hands it to the configured SMTP server, "display" (and "send" without a server) to the
// desktop's mail program for review. Present when a server is configured or a desktop mail
// program is found.

#include "reports/mail/DesktopMail.h"
#include "reports/mail/MailTransport.h"
#include "reports/mail/SmtpClient.h"
#include "reports/mail/SmtpSettings.h"

#include <functional>

namespace vantor {

struct SystemMailOptions {
    QString outboxFolder; // "<data folder>/Outbox"
    SmtpSettings smtp;
    QStringList programSearchPath; // where the desktop mail programs are looked for; empty: PATH
    SmtpOptions smtpOptions;
    // Date, identity and boundary of each new message.
    std::function<MimeEnvelope(const QString& from)> envelope = FreshEnvelope;
};

// "<data folder>/Outbox".
QString OutboxFolder(const QString& dataFolder);

class SystemMailTransport final : public MailTransport {
public:
    explicit SystemMailTransport(SystemMailOptions options);

    bool Present() const override;
    std::uint32_t Open() override;
    bool OpenStore() override;
    std::optional<QString> CreateMessage(const MailMessage& message, MailDelivery delivery) override;
    bool Deliver(const QString& location, const MailMessage& message, MailDelivery delivery) override;
    void CloseStore() override {}
    QString LastError() const override { return lastError_; }

private:
    SystemMailOptions options_;
    DesktopMail desktop_;
    QString lastError_;
};

} // namespace vantor
