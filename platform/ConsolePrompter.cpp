#include "platform/ConsolePrompter.h"

#include <unistd.h>

#include <array>
#include <utility>

namespace vantor {

ConsolePrompter::ConsolePrompter(ConsoleAnswers answers, std::FILE* messages, std::FILE* input)
    : answers_(std::move(answers)), messages_(messages), input_(input) {}

void ConsolePrompter::WriteLine(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), messages_);
    std::fflush(messages_);
}

void ConsolePrompter::ShowMessage(const QString& text) {
    WriteLine(text);
}

bool ConsolePrompter::AskYesNo(const QString& text) {
    WriteLine(text);
    if (answers_.yesNo) {
        return *answers_.yesNo;
    }
    if (input_ == nullptr) {
        return false;
    }
    const bool interactive = isatty(fileno(input_)) != 0;
    if (interactive) {
        std::fputs("[y/N] ", messages_);
        std::fflush(messages_);
    }
    std::array<char, 64> line{};
    if (std::fgets(line.data(), static_cast<int>(line.size()), input_) == nullptr) {
        return false;
    }
    const QString answer = QString::fromLocal8Bit(line.data()).trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

bool ConsolePrompter::AskRetryCancel(const QString& text) {
    WriteLine(text);
    if (retriesGiven_ < answers_.retries) {
        ++retriesGiven_;
        return true;
    }
    return false;
}

std::optional<QString> ConsolePrompter::PromptName(const NameRequest& request) {
    // A refused name would be refused again: the same preset answer is never offered twice.
    if (request.attempt > 0 || !answers_.name) {
        return std::nullopt;
    }
    return answers_.name;
}

std::optional<QDateTime> ConsolePrompter::PromptDateFix(const DateFixRequest& request) {
    if (request.attempt > 0 || !answers_.dateFix) {
        return std::nullopt;
    }
    return answers_.dateFix;
}

} // namespace vantor
