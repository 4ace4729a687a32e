#pragma once
// One e-mail as an Internet message (RFC 5322 with MIME): headers, an HTML body and an optional
// attachment, as the bytes of an .eml file and of an SMTP upload.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace vantor {

struct MailMessage {
    QString to; // addresses separated by ";" or ","
    QString subject;
    QString htmlBody;
    QString attachmentPath; // empty for none
};

// What makes each message unique; fixed by tests, fresh for every real message.
struct MimeEnvelope {
    QString from; // empty: no From header
    QDateTime date;
    QString messageId; // without angle brackets
    QString boundary;
    bool draft = false; // marks the message as unsent, for review in a mail program
};
MimeEnvelope FreshEnvelope(const QString& from);

// The recipients of a To text: split at ";" and ",", trimmed, empty entries dropped.
QStringList SplitRecipients(const QString& to);

// A header value for non-ASCII text: RFC 2047 encoded words (UTF-8, base64), ASCII unchanged.
QByteArray EncodeHeaderText(const QString& text);

// The whole message with CRLF line ends: the HTML body (UTF-8) and the attachment bytes are base64
// in lines of 76 characters. Line breaks inside header values are removed.
QByteArray ComposeMimeMessage(const MailMessage& message, const QByteArray& attachment,
                              const MimeEnvelope& envelope);

} // namespace vantor
