#pragma once
// Hands a message to the desktop's mail program for review: `xdg-email` composes a new message
// with recipients, subject, a plain-text copy of the body and the attachment; without it the .eml
// file is opened with the default handler (`xdg-open`). Neither waits for the mail program.

#include "reports/mail/MimeMessage.h"

#include <QString>
#include <QStringList>

namespace vantor {

class DesktopMail {
public:
    // Programs are looked up in `searchPath`, or in PATH when it is empty.
    explicit DesktopMail(QStringList searchPath = {});

    bool Available() const { return !composer_.isEmpty() || !opener_.isEmpty(); }
    // Starts the mail program; false when none could be started.
    bool Show(const QString& emlPath, const MailMessage& message) const;

private:
    QString composer_; // xdg-email
    QString opener_;   // xdg-open
};

// The text of an HTML body for a plain-text mail: headings, paragraphs and line breaks become line
// ends, other tags are dropped and entities decoded.
QString PlainTextOfHtml(const QString& html);

} // namespace vantor
