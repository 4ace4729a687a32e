#include "ui/common/NameDialog.h"

#include "ui/common/DialogButtons.h"

#include <QDialogButtonBox>

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vantor {

NameDialog::NameDialog(const NameRequest& request, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(request.initial, this)) {
    setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(this);
    if (!request.label.isEmpty()) {
        layout->addWidget(new QLabel(request.label, this));
    }
    edit_->selectAll();
    layout->addWidget(edit_);
    layout->addWidget(MakeOkCancelButtons(this));
}

QString NameDialog::Name() const {
    return edit_->text();
}

} // namespace vantor
