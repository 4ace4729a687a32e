#include "reports/mail/DesktopMail.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace vantor {

DesktopMail::DesktopMail(QStringList searchPath)
    : composer_(QStandardPaths::findExecutable(QStringLiteral("xdg-email"), searchPath)),
      opener_(QStandardPaths::findExecutable(QStringLiteral("xdg-open"), searchPath)) {}

bool DesktopMail::Show(const QString& emlPath, const MailMessage& message) const {
    if (!composer_.isEmpty()) {
        QStringList arguments{QStringLiteral("--utf8"), QStringLiteral("--subject"), message.subject,
                              QStringLiteral("--body"), PlainTextOfHtml(message.htmlBody)};
        if (!message.attachmentPath.isEmpty()) {
            arguments << QStringLiteral("--attach") << message.attachmentPath;
        }
        // xdg-email knows no "--": an "address" that begins with a dash would be read as an option
        // (another attachment, say), and is no address anyway.
        for (const QString& recipient : SplitRecipients(message.to)) {
            if (!recipient.startsWith(QLatin1Char('-'))) {
                arguments << recipient;
            }
        }
        if (QProcess::startDetached(composer_, arguments)) {
            return true;
        }
    }
    return !opener_.isEmpty() && QProcess::startDetached(opener_, {emlPath});
}

QString PlainTextOfHtml(const QString& html) {
    static const QRegularExpression breaks(QStringLiteral("<br\\s*/?>|</h[1-6]>|</p>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.replace(breaks, QStringLiteral("\n"));
    text.remove(tags);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.trimmed() + QLatin1Char('\n');
}

} // namespace vantor
