#include "cli/CommandContext.h"

namespace vantor::cli {

Prompter& CommandContext::UserPrompter() {
    if (!prompter_) {
        prompter_ = std::make_unique<ConsolePrompter>(answers);
    }
    return *prompter_;
}

CAppData& CommandContext::App() {
    if (!app_) {
        app_ = std::make_unique<CAppData>(UserPrompter());
        app_->ReadSettings();
    }
    return *app_;
}

} // namespace vantor::cli
