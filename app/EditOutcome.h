#pragma once
// How a list editor's command ended, for the dialog that refills its list and for the command line
// that turns it into an exit status; and the record lookup every such command starts with.

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

// The record with this GUID, fetched through `get` (a record access call taking the GUID and the
// record to fill). An empty GUID, a missing record or a database error shows "Error loading
// record, please try again" and gives nothing.
template <class R, class Get> std::optional<R> LoadForEdit(const QString& guid, Prompter& prompter, Get get) {
    R record;
    bool loaded = false;
    try {
        loaded = !guid.isEmpty() && get(guid, record);
    } catch (const DatabaseError&) {
        loaded = false;
    }
    if (!loaded) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return std::nullopt;
    }
    return record;
}

} // namespace vantor
