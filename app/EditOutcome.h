#pragma once
// How a list editor's command ended, for the dialog that refills its list and for the command line
// that turns it into an exit status.

namespace vantor {

enum class EditOutcome {
    Done,     // the change is stored
    Declined, // the user said No or cancelled a prompt; nothing changed
    Failed,   // a record could not be loaded or stored; its message was shown; nothing was lost
};

} // namespace vantor
