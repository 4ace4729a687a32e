#pragma once
// The port through which e-mails leave the program. Sending a message takes the steps a desktop
// mail program's automation takes: open the transport once per run, open the mail store, create
// the message, then send it or show it to the user for review, and close the store. Each step that
// fails has its own message for the user.

#include "reports/mail/MimeMessage.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vantor {

enum class MailDelivery {
    Send,    // sent at once, without being shown
    Display, // opened in the user's mail program for review, without waiting for it
};

class MailTransport {
public:
    // The status Open reports when the mail program runs with other rights than this program.
    static constexpr std::uint32_t kServerExecutionFailed = 0x80080005u;

    virtual ~MailTransport() = default;

    // Whether any way of delivering mail exists.
    virtual bool Present() const = 0;
    // Readies the transport; 0 on success, otherwise the failure's status number.
    virtual std::uint32_t Open() = 0;
    // Opens the store new messages are created in; false when it cannot be used.
    virtual bool OpenStore() = 0;
    // Creates a message in the store; its location, or nothing when it could not be created.
    virtual std::optional<QString> CreateMessage(const MailMessage& message, MailDelivery delivery) = 0;
    // Sends or shows a created message; false when that was refused or failed.
    virtual bool Deliver(const QString& location, const MailMessage& message, MailDelivery delivery) = 0;
    virtual void CloseStore() = 0;
    // What went wrong in the last failed step, for diagnostics; empty when nothing is known.
    virtual QString LastError() const = 0;
};

} // namespace vantor
