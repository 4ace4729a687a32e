#include "reports/mail/MimeMessage.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>

namespace vantor {
namespace {

constexpr qsizetype kBase64LineLength = 76;
// UTF-8 bytes per encoded word: 39 bytes give a word of 64 characters, so even the first line,
// behind "Subject: ", stays within 76.
constexpr qsizetype kEncodedWordBytes = 39;

bool IsPlainAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            return false;
        }
    }
    return true;
}

// A header value on one line: CR and LF would start a new header.
QString OneLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

void AppendBase64Lines(QByteArray& out, const QByteArray& data) {
    const QByteArray encoded = data.toBase64();
    for (qsizetype i = 0; i < encoded.size(); i += kBase64LineLength) {
        out += encoded.mid(i, kBase64LineLength);
        out += "\r\n";
    }
}

QByteArray DateHeader(const QDateTime& date) {
    const QDateTime local = date.isValid() ? date : QDateTime::currentDateTime();
    const int offsetMinutes = local.offsetFromUtc() / 60;
    const int magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    const QString zone = QStringLiteral("%1%2%3")
                             .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
                             .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
    return (QLocale::c().toString(local, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) + zone).toLatin1();
}

// The attachment's name parameters: a quoted ASCII name, or the RFC 2231 form for any other name.
QByteArray NameParameter(const char* parameter, const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[\\x20-\\x7E]*$"));
    if (plain.match(name).hasMatch() && !name.contains(QLatin1Char('"')) &&
        !name.contains(QLatin1Char('\\'))) {
        return QByteArray(parameter) + "=\"" + name.toLatin1() + "\"";
    }
    return QByteArray(parameter) + "*=UTF-8''" + name.toUtf8().toPercentEncoding();
}

} // namespace

MimeEnvelope FreshEnvelope(const QString& from) {
    MimeEnvelope envelope;
    envelope.from = from;
    envelope.date = QDateTime::currentDateTime();
    QString host = QSysInfo::machineHostName();
    if (host.isEmpty()) {
        host = QStringLiteral("localhost");
    }
    envelope.messageId = QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@') + host;
    envelope.boundary = QStringLiteral("=_") + QUuid::createUuid().toString(QUuid::Id128);
    return envelope;
}

QStringList SplitRecipients(const QString& to) {
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    QStringList recipients;
    for (const QString& part : to.split(separators)) {
        const QString address = OneLine(part).trimmed();
        if (!address.isEmpty()) {
            recipients << address;
        }
    }
    return recipients;
}

QByteArray EncodeHeaderText(const QString& text) {
    const QString line = OneLine(text);
    if (IsPlainAscii(line)) {
        return line.toLatin1();
    }
    // Encoded words are cut between characters, never inside one character's UTF-8 bytes.
    QByteArray out;
    QByteArray chunk;
    const auto flush = [&] {
        if (chunk.isEmpty()) {
            return;
        }
        if (!out.isEmpty()) {
            out += "\r\n ";
        }
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const qsizetype length = (line[i].isHighSurrogate() && i + 1 < line.size()) ? 2 : 1;
        const QByteArray bytes = line.mid(i, length).toUtf8();
        if (chunk.size() + bytes.size() > kEncodedWordBytes) {
            flush();
        }
        chunk += bytes;
        i += length - 1;
    }
    flush();
    return out;
}

QByteArray ComposeMimeMessage(const MailMessage& message, const QByteArray& attachment,
                              const MimeEnvelope& envelope) {
    const QByteArray boundary = envelope.boundary.toLatin1();
    QByteArray out;
    if (!envelope.from.isEmpty()) {
        out += "From: " + OneLine(envelope.from).toUtf8() + "\r\n";
    }
    out += "To: " + SplitRecipients(message.to).join(QStringLiteral(", ")).toUtf8() + "\r\n";
    out += "Subject: " + EncodeHeaderText(message.subject) + "\r\n";
    out += "Date: " + DateHeader(envelope.date) + "\r\n";
    out += "Message-ID: <" + OneLine(envelope.messageId).toLatin1() + ">\r\n";
    if (envelope.draft) {
        out += "X-Unsent: 1\r\n";
    }
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n";
    out += "\r\n";
    out += "This is a multi-part message in MIME format.\r\n";

    out += "\r\n--" + boundary + "\r\n";
    out += "Content-Type: text/html; charset=utf-8\r\n";
    out += "Content-Transfer-Encoding: base64\r\n\r\n";
    AppendBase64Lines(out, message.htmlBody.toUtf8());

    if (!message.attachmentPath.isEmpty()) {
        const QString name = QFileInfo(message.attachmentPath).fileName();
        const bool csv = name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
        out += "\r\n--" + boundary + "\r\n";
        out += csv ? QByteArray("Content-Type: text/csv; charset=windows-1252; ")
                   : QByteArray("Content-Type: application/octet-stream; ");
        out += NameParameter("name", name) + "\r\n";
        out += "Content-Disposition: attachment; " + NameParameter("filename", name) + "\r\n";
        out += "Content-Transfer-Encoding: base64\r\n\r\n";
        AppendBase64Lines(out, attachment);
    }
    out += "\r\n--" + boundary + "--\r\n";
    return out;
}

} // namespace vantor
