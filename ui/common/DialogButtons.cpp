#include "ui/common/DialogButtons.h"

#include "texts/UiText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace vantor {

QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(text::Ok));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText(text::Cancel));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace vantor
