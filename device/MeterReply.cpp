#include "device/MeterReply.h"

#include "device/MeterLink.h"

namespace vantor {

bool SendCommand(CMeterLink& link, const QString& command) {
    link.DiscardQueues();
    std::uint32_t toWrite = 0;
    std::uint32_t written = 0;
    link.WriteText(command, true, toWrite, written);
    return written == toWrite;
}

QString CollectReply(CMeterLink& link, const ReplyByteHook& onByte) {
    QString reply;
    for (;;) {
        char byte = 0;
        std::uint32_t read = 0;
        link.ReadBytes(&byte, 1, read);
        if (read == 0) {
            return reply;
        }
        const auto value = static_cast<unsigned char>(byte);
        if (value != 0) {
            reply.append(QChar(value));
        }
        if (onByte) {
            onByte(value, reply);
        }
    }
}

int CheckReply(const QString& reply, const QString& command, const ExchangeCodes& codes) {
    if (reply.contains(QLatin1String("ERROR"))) {
        return codes.error;
    }
    if (!reply.contains(QLatin1String("OK"))) {
        return codes.noOk;
    }
    if (!reply.contains(command)) {
        return codes.noEcho;
    }
    return 0;
}

int Exchange(CMeterLink& link, const QString& command, const ExchangeCodes& codes, QString& reply,
             const ReplyByteHook& onByte) {
    if (!SendCommand(link, command)) {
        return codes.notWritten;
    }
    reply = CollectReply(link, onByte);
    // The echo is looked for as the meter received it: the Latin-1 form of the command.
    return CheckReply(reply, QString::fromLatin1(command.toLatin1()), codes);
}

bool MarkerWatch::Seen(const QString& replyText) {
    if (seen_) {
        return true;
    }
    // A new occurrence can only end within the text added since the last call.
    const qsizetype from = std::max<qsizetype>(0, checkedUpTo_ - marker_.size() + 1);
    seen_ = replyText.indexOf(marker_, from) >= 0;
    checkedUpTo_ = replyText.size();
    return seen_;
}

} // namespace vantor
