#pragma once
// How a list editor's command ended, for the dialog that refills its list and for the command line
// that turns it into an exit status; and the record lookup every such command starts with.

#include "app/Log.h"
#include "platform/Prompter.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"

#include <QString>

#include <optional>

namespace vantor {

enum class EditOutcome {
    Done,     // the change is stored
    Declined, // the user said No or cancelled a prompt; nothing changed
    Failed,   // a record could not be loaded or stored; its message was shown; nothing was lost
};

// True when the check found nothing to refuse; otherwise shows its message and gives false.
inline bool Accepted(const std::optional<QString>& refusal, Prompter& prompter) {
    if (refusal) {
        prompter.ShowMessage(*refusal);
        return false;
    }
    return true;
}

// Runs `work` (a use case's database work). A database error escaping it is logged under
// vantor.app with `what` (the work and its identifiers), shows UI text `failureText` and gives
// `failed`; nothing was kept of the work's writes that its own transaction had not committed.
template <class Result, class Work>
Result Guarded(Prompter& prompter, int failureText, const QString& what, Result failed, Work work) {
    try {
        return work();
    } catch (const DatabaseError& error) {
        qCWarning(lcApp).noquote() << what << "failed:" << error.what();
        prompter.ShowMessage(UiText(failureText));
        return failed;
    }
}

// A read for a list or a view: the records, or nothing after "Error loading record, please try
// again" when the database fails.
template <class Read> auto ReadShown(Prompter& prompter, const QString& what, Read read) {
    using Records = decltype(read());
    return Guarded(prompter, text::ErrorLoadingRecord, what, std::optional<Records>{},
                   [&read] { return std::optional<Records>(read()); });
}

// The record with this GUID, fetched through `get` (a record access call taking the GUID and the
// record to fill). An empty GUID, a missing record or a database error shows "Error loading
// record, please try again" and gives nothing.
template <class R, class Get> std::optional<R> LoadForEdit(const QString& guid, Prompter& prompter, Get get) {
    R record;
    bool loaded = false;
    try {
        loaded = !guid.isEmpty() && get(guid, record);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading record" << guid << "failed:" << error.what();
        loaded = false;
    }
    if (!loaded) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return std::nullopt;
    }
    return record;
}

} // namespace vantor
