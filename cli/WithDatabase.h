#pragma once
// Runs a command's work on the opened main database: a start-up that fails, or a database error
// while the work runs, gives its message and exit status 1.

#include "app/CAppData.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"

namespace vantor::cli {

template <class Work> int WithDatabase(CommandContext& context, Work work) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    try {
        return work(*app.MainConnection());
    } catch (const DatabaseError& error) {
        context.UserPrompter().ShowMessage(
            QStringLiteral("%1 (%2)").arg(UiText(text::ErrorSavingRecord), QString::fromUtf8(error.what())));
        return static_cast<int>(kFailed);
    }
}

} // namespace vantor::cli
