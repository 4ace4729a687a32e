#pragma once
// Prompter for the command line: every message goes to standard error, one per line, exactly as
// given; answers come from the command's options, and a Yes/No question without a preset answer is
// asked on the terminal.

#include "platform/Prompter.h"

#include <cstdio>
#include <optional>

namespace vantor {

struct ConsoleAnswers {
    std::optional<bool> yesNo;        // preset answer to every Yes/No question
    int retries = 0;                  // Retry answers before Cancel
    std::optional<QString> name;      // answer to the name prompt
    std::optional<QDateTime> dateFix; // answer to the date-fix prompt (empty = cancel)
};

class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(ConsoleAnswers answers, std::FILE* messages = stderr, std::FILE* input = stdin);

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    bool AskRetryCancel(const QString& text) override;
    std::optional<QString> PromptName(const NameRequest& request) override;
    std::optional<QDateTime> PromptDateFix(const DateFixRequest& request) override;

private:
    void WriteLine(const QString& text);

    ConsoleAnswers answers_;
    std::FILE* messages_;
    std::FILE* input_;
    int retriesGiven_ = 0;
};

} // namespace vantor
