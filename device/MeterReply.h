#pragma once
// The command/reply exchange shared by every meter command: send one command line, collect the
// reply until the line falls silent, and judge it.

#include "device/MeterResults.h"

#include <QString>

#include <functional>

namespace vantor {

class CMeterLink;

// Called for every received byte after its character has been added to the reply text (a zero
// byte adds no character). Commands with a data phase capture raw bytes here.
using ReplyByteHook = std::function<void(unsigned char byte, const QString& replyText)>;

// Discards both port queues and sends `command` with a carriage return. False when not every byte
// was written.
bool SendCommand(CMeterLink& link, const QString& command);

// Reads one byte at a time until a read returns nothing; each byte becomes the character with the
// same code. No length limit and no other end marker.
QString CollectReply(CMeterLink& link, const ReplyByteHook& onByte = {});

// Judges a reply in this order: "ERROR" anywhere, no "OK", no exact echo of `command`. 0 when none.
int CheckReply(const QString& reply, const QString& command, const ExchangeCodes& codes);

// Send, collect and check. `reply` receives the collected text.
int Exchange(CMeterLink& link, const QString& command, const ExchangeCodes& codes, QString& reply,
             const ReplyByteHook& onByte = {});

// Watches a growing reply text for a marker without searching the whole text at every byte: once
// seen, it stays seen. Feed it the text after every byte.
class MarkerWatch {
public:
    explicit MarkerWatch(QString marker) : marker_(std::move(marker)) {}
    bool Seen(const QString& replyText);

private:
    QString marker_;
    qsizetype checkedUpTo_ = 0;
    bool seen_ = false;
};

} // namespace vantor
