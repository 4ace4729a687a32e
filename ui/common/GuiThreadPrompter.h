#pragma once
// A prompter usable from any thread: every message and question is handed to the user-interface
// thread, where the wrapped prompter shows it, and the calling thread waits for the answer. The
// synchronisation worker asks through it while the user-interface thread runs the sync dialog.

#include "platform/Prompter.h"

namespace vantor {

class GuiThreadPrompter final : public Prompter {
public:
    explicit GuiThreadPrompter(Prompter& shown) : shown_(shown) {}

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    bool AskRetryCancel(const QString& text) override;
    std::optional<QString> PromptName(const NameRequest& request) override;
    std::optional<QDateTime> PromptDateFix(const DateFixRequest& request) override;

private:
    Prompter& shown_;
};

} // namespace vantor
