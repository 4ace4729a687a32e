#pragma once
// Delivers messages through a mail transport step by step, showing each step's progress text and
// each failure's message: the transport is opened once per session, then every message gets the
// store, is created, and is sent or shown.

#include "reports/mail/MailTransport.h"

#include <QString>

namespace vantor {

class Prompter;

// A progress dialog: a text and a position from 0 to 100. The default shows nothing.
class ExceptionProgress {
public:
    virtual ~ExceptionProgress() = default;
    virtual void Show(const QString& text, int position) { (void)text, (void)position; }
    virtual void Close() {}
};

// Texts of failures that have no entry in the UI text table.
inline constexpr const char* kMailOpenFailedText = "CreateDispatch() failed w/error 0x%08lx";
inline constexpr const char* kMailStoreFailedText = "Can't get MAPI namespace";

class MailSession {
public:
    MailSession(MailTransport& transport, Prompter& prompter, ExceptionProgress& progress);
    MailSession(const MailSession&) = delete;
    MailSession& operator=(const MailSession&) = delete;

    // Creates the message and sends or shows it; false after a failure has been shown. `location`
    // receives where the message was created, when it was.
    bool Deliver(const MailMessage& message, MailDelivery delivery, QString* location = nullptr);

private:
    MailTransport& transport_;
    Prompter& prompter_;
    ExceptionProgress& progress_;
    bool opened_ = false;
};

} // namespace vantor
