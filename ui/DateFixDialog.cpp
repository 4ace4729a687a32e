#include "ui/DateFixDialog.h"

#include "ui/DialogButtons.h"

#include <QDialogButtonBox>

#include <QDateTimeEdit>
#include <QLabel>
#include <QVBoxLayout>

namespace vantor {
namespace {

// The dates a user may enter anywhere in the program.
const QDateTime kEarliest(QDate(1900, 1, 1), QTime(0, 0));
const QDateTime kLatest(QDate(2079, 6, 6), QTime(0, 0));

} // namespace

DateFixDialog::DateFixDialog(const DateFixRequest& request, QWidget* parent)
    : QDialog(parent), edit_(new QDateTimeEdit(this)) {
    setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(request.text, this);
    label->setWordWrap(true);
    layout->addWidget(label);

    edit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    edit_->setCalendarPopup(true);
    edit_->setDateTimeRange(kEarliest, kLatest);
    const QDateTime initial =
        request.initial.isValid() && request.initial >= kEarliest && request.initial <= kLatest
            ? request.initial
            : QDateTime::currentDateTime();
    edit_->setDateTime(initial);
    layout->addWidget(edit_);
    layout->addWidget(MakeOkCancelButtons(this));
}

QDateTime DateFixDialog::DateTime() const {
    return edit_->dateTime();
}

} // namespace vantor
