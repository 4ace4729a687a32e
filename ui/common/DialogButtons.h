#pragma once
// The OK and Cancel buttons of the program's small dialogs, in the current language.

class QDialog;
class QDialogButtonBox;

namespace vantor {

// Buttons that accept and reject the dialog.
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog);

} // namespace vantor
