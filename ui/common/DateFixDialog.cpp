#include "ui/common/DateFixDialog.h"

#include "ui/common/DialogButtons.h"

#include "device/DateFixCheck.h"

#include <QDialogButtonBox>

#include <QDateTimeEdit>
#include <QLabel>
#include <QVBoxLayout>

namespace vantor {
DateFixDialog::DateFixDialog(const DateFixRequest& request, QWidget* parent)
    : QDialog(parent), edit_(new QDateTimeEdit(this)) {
    setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(request.text, this);
    label->setWordWrap(true);
    layout->addWidget(label);

    edit_->setDisplayFormat(DateFixCheck::PickerFormat());
    edit_->setCalendarPopup(true);
    edit_->setDateTimeRange(DateFixCheck::Earliest(), DateFixCheck::Latest());
    edit_->setDateTime(DateFixCheck::PickerStart(request.initial));
    layout->addWidget(edit_);
    layout->addWidget(MakeOkCancelButtons(this));
}

QDateTime DateFixDialog::DateTime() const {
    return edit_->dateTime();
}

} // namespace vantor
