#include "platform/testing/RecordingPrompter.h"

#include <QStringList>

namespace vantor::testing {
namespace {

template <class T> T Take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
        return fallback;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
}

} // namespace

void RecordingPrompter::ShowMessage(const QString& text) {
    records.push_back({PromptRecord::Kind::Message, text});
}

bool RecordingPrompter::AskYesNo(const QString& text) {
    records.push_back({PromptRecord::Kind::YesNo, text});
    return Take(yesNoAnswers, false);
}

bool RecordingPrompter::AskRetryCancel(const QString& text) {
    records.push_back({PromptRecord::Kind::RetryCancel, text});
    return Take(retryAnswers, false);
}

std::optional<QString> RecordingPrompter::PromptName(const NameRequest& request) {
    records.push_back({PromptRecord::Kind::Name, request.title});
    return Take(nameAnswers, std::optional<QString>{});
}

std::optional<QDateTime> RecordingPrompter::PromptDateFix(const DateFixRequest& request) {
    records.push_back({PromptRecord::Kind::DateFix, request.text});
    return Take(dateFixAnswers, std::optional<QDateTime>{});
}

QStringList RecordingPrompter::Texts() const {
    QStringList texts;
    for (const auto& record : records) {
        texts << record.text;
    }
    return texts;
}

QStringList RecordingPrompter::Messages() const {
    QStringList texts;
    for (const auto& record : records) {
        if (record.kind == PromptRecord::Kind::Message) {
            texts << record.text;
        }
    }
    return texts;
}

} // namespace vantor::testing
