#pragma once
// Scripted Prompter for tests: records every message and question in order and answers from
// queues filled by the test (an empty queue answers No / Cancel).

#include "platform/Prompter.h"

#include <deque>
#include <vector>

namespace vantor::testing {

struct PromptRecord {
    enum class Kind { Message, YesNo, RetryCancel, Name, DateFix };
    Kind kind;
    QString text;
};

class RecordingPrompter final : public Prompter {
public:
    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    bool AskRetryCancel(const QString& text) override;
    std::optional<QString> PromptName(const NameRequest& request) override;
    std::optional<QDateTime> PromptDateFix(const DateFixRequest& request) override;

    // Texts of everything shown or asked, in order.
    QStringList Texts() const;
    // Texts of the plain messages only.
    QStringList Messages() const;

    std::vector<PromptRecord> records;
    std::deque<bool> yesNoAnswers;
    std::deque<bool> retryAnswers;
    std::deque<std::optional<QString>> nameAnswers;
    std::deque<std::optional<QDateTime>> dateFixAnswers;
};

} // namespace vantor::testing
