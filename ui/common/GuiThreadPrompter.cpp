#include "ui/common/GuiThreadPrompter.h"

#include <QCoreApplication>
#include <QThread>

namespace vantor {
namespace {

// Runs `ask` on the application's thread and returns its answer.
template <class Ask> auto OnGuiThread(Ask ask) -> decltype(ask()) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        return ask();
    }
    decltype(ask()) answer{};
    QMetaObject::invokeMethod(
        application, [&answer, &ask] { answer = ask(); }, Qt::BlockingQueuedConnection);
    return answer;
}

} // namespace

void GuiThreadPrompter::ShowMessage(const QString& text) {
    OnGuiThread([&] {
        shown_.ShowMessage(text);
        return true;
    });
}

bool GuiThreadPrompter::AskYesNo(const QString& text) {
    return OnGuiThread([&] { return shown_.AskYesNo(text); });
}

bool GuiThreadPrompter::AskRetryCancel(const QString& text) {
    return OnGuiThread([&] { return shown_.AskRetryCancel(text); });
}

std::optional<QString> GuiThreadPrompter::PromptName(const NameRequest& request) {
    return OnGuiThread([&] { return shown_.PromptName(request); });
}

std::optional<QDateTime> GuiThreadPrompter::PromptDateFix(const DateFixRequest& request) {
    return OnGuiThread([&] { return shown_.PromptDateFix(request); });
}

} // namespace vantor
