#pragma once
// The port through which the system shows messages and asks the user questions. The desktop program
// answers with dialogs, the command line from its options, tests with a scripted fake.

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantor {

// A request for a name (a new meter's name, a new route's name...). `attempt` counts the prompts
// already refused for this request, so an answerer without a person behind it can give up.
struct NameRequest {
    QString title;
    QString label;
    QString initial;
    int attempt = 0;
};

// A request to correct the date-time of a reading whose stored date is not valid.
struct DateFixRequest {
    QString title;
    QString text;
    QDateTime initial;
    int attempt = 0;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows a message and waits until the user has seen it.
    virtual void ShowMessage(const QString& text) = 0;
    // Yes/No question; true for Yes.
    virtual bool AskYesNo(const QString& text) = 0;
    // Retry/Cancel question; true for Retry.
    virtual bool AskRetryCancel(const QString& text) = 0;
    // Single-field name prompt; empty when cancelled.
    virtual std::optional<QString> PromptName(const NameRequest& request) = 0;
    // Date-fix prompt; empty when cancelled.
    virtual std::optional<QDateTime> PromptDateFix(const DateFixRequest& request) = 0;
};

} // namespace vantor
