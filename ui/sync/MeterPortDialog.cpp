#include "ui/sync/MeterPortDialog.h"

#include "texts/UiText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace vantor {
namespace {

// The entry that stands for the cradle found on the USB bus.
const QString kCradleEntry = QStringLiteral("USB");

} // namespace

CMeterPortDialog::CMeterPortDialog(const QString& current, const QString& message, QWidget* parent)
    : QDialog(parent), choice_(new QComboBox(this)) {
    setWindowTitle(message);
    choice_->setObjectName(QStringLiteral("MeterPort"));
    choice_->setEditable(true);
    choice_->addItem(kCradleEntry);
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        choice_->addItem(port.systemLocation());
    }
    if (!current.isEmpty() && choice_->findText(current) < 0) {
        choice_->addItem(current);
    }
    choice_->setCurrentText(current.isEmpty() ? kCradleEntry : current);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(UiText(text::Retry), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(UiText(text::Cancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(message, this));
    layout->addWidget(choice_);
    layout->addWidget(buttons);
}

QString CMeterPortDialog::Port() const {
    const QString text = choice_->currentText().trimmed();
    return text == kCradleEntry ? QString() : text;
}

} // namespace vantor
