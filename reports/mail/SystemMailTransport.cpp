#include "reports/mail/SystemMailTransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantor {
namespace {

// Tries "<stem>.eml", then "<stem>-2.eml" and on, so no message overwrites another.
constexpr int kMostNameAttempts = 1000;

} // namespace

QString OutboxFolder(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("Outbox"));
}

SystemMailTransport::SystemMailTransport(SystemMailOptions options)
    : options_(std::move(options)), desktop_(options_.programSearchPath) {}

bool SystemMailTransport::Present() const {
    return options_.smtp.Configured() || desktop_.Available();
}

std::uint32_t SystemMailTransport::Open() {
    lastError_.clear();
    if (!options_.smtp.Configured()) {
        return 0;
    }
    const int code = InitialiseSmtp();
    if (code != 0) {
        lastError_ = QStringLiteral("libcurl could not be initialised (%1)").arg(code);
    }
    return static_cast<std::uint32_t>(code);
}

bool SystemMailTransport::OpenStore() {
    const QString& folder = options_.outboxFolder;
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) {
        lastError_ = QStringLiteral("The folder %1 cannot be written").arg(folder);
        return false;
    }
    return true;
}

std::optional<QString> SystemMailTransport::CreateMessage(const MailMessage& message, MailDelivery delivery) {
    QByteArray attachment;
    if (!message.attachmentPath.isEmpty()) {
        QFile file(message.attachmentPath);
        if (!file.open(QIODevice::ReadOnly)) {
            lastError_ = QStringLiteral("The attachment %1 cannot be read").arg(message.attachmentPath);
            return std::nullopt;
        }
        attachment = file.readAll();
    }
    // The From header keeps a display name the user gave; without one it is the envelope sender.
    QString from = options_.smtp.from.trimmed();
    if (from.isEmpty() && options_.smtp.Configured()) {
        from = SenderAddress(options_.smtp);
    }
    MimeEnvelope envelope = options_.envelope(from);
    envelope.draft = delivery == MailDelivery::Display || !options_.smtp.Configured();
    const QByteArray bytes = ComposeMimeMessage(message, attachment, envelope);

    const QString stem =
        envelope.date.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QLatin1Char(' ') +
        (message.attachmentPath.isEmpty() ? QStringLiteral("message")
                                          : QFileInfo(message.attachmentPath).completeBaseName());
    const QDir outbox(options_.outboxFolder);
    for (int attempt = 1; attempt <= kMostNameAttempts; ++attempt) {
        const QString name = attempt == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(attempt);
        const QString path = outbox.filePath(name + QStringLiteral(".eml"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists()) {
                continue;
            }
            break;
        }
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            file.close();
            file.remove();
            break;
        }
        return path;
    }
    lastError_ = QStringLiteral("The message cannot be written in %1").arg(options_.outboxFolder);
    return std::nullopt;
}

bool SystemMailTransport::Deliver(const QString& location, const MailMessage& message,
                                  MailDelivery delivery) {
    if (delivery == MailDelivery::Send && options_.smtp.Configured()) {
        QFile file(location);
        if (!file.open(QIODevice::ReadOnly)) {
            lastError_ = QStringLiteral("The message %1 cannot be read").arg(location);
            return false;
        }
        const SmtpOutcome outcome =
            SendSmtp(options_.smtp, SplitRecipients(message.to), file.readAll(), options_.smtpOptions);
        if (!outcome.Ok()) {
            lastError_ = outcome.error;
        }
        return outcome.Ok();
    }
    if (!desktop_.Show(location, message)) {
        lastError_ = QStringLiteral("No desktop mail program could be started");
        return false;
    }
    return true;
}

} // namespace vantor
