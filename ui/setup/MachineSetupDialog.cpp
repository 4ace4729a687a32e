#include "ui/setup/MachineSetupDialog.h"

#include "app/CatalogueEditor.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"
#include "ui/setup/EditorFields.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

CMachineSetupDialog::CMachineSetupDialog(CatalogueEditor& editor, Prompter& prompter, const CMachine& machine,
                                         const QString& before, QWidget* parent)
    : QDialog(parent), editor_(editor), prompter_(prompter), machine_(machine), before_(before),
      address_(new QLineEdit(this)), addresses_(new QListWidget(this)) {
    setWindowTitle(UiText(text::MachineSetupTitle));
    auto* form = new QFormLayout;
    names_ = new NameFields(form, machine.sName, machine.sVMName, machine.sItemGUID.isEmpty());

    address_->setObjectName(QStringLiteral("Address"));
    addresses_->setObjectName(QStringLiteral("Addresses"));
    addresses_->addItems(SplitAddresses(machine.sEMails));
    auto* add = new QPushButton(UiText(text::AddCommand), this);
    auto* removeSelected = new QPushButton(UiText(text::RemoveSelectedFromList), this);
    auto* removeAll = new QPushButton(UiText(text::RemoveAllFromList), this);
    add->setObjectName(QStringLiteral("AddAddress"));
    connect(add, &QPushButton::clicked, this, &CMachineSetupDialog::AddAddress);
    connect(address_, &QLineEdit::returnPressed, this, &CMachineSetupDialog::AddAddress);
    connect(removeSelected, &QPushButton::clicked, this, &CMachineSetupDialog::RemoveSelectedAddress);
    connect(removeAll, &QPushButton::clicked, this, &CMachineSetupDialog::RemoveAllAddresses);

    auto* mail = new QGroupBox(UiText(text::ExceptionAddressesTitle), this);
    auto* grid = new QGridLayout(mail);
    grid->addWidget(new QLabel(UiText(text::EmailAddressLabel), mail), 0, 0);
    grid->addWidget(address_, 0, 1);
    grid->addWidget(add, 0, 2);
    grid->addWidget(addresses_, 1, 0, 1, 3);
    auto* removeRow = new QHBoxLayout;
    removeRow->addWidget(removeSelected);
    removeRow->addWidget(removeAll);
    removeRow->addStretch();
    grid->addLayout(removeRow, 2, 0, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mail);
    layout->addWidget(MakeOkCancelButtons(this));
    resize(520, 420);
    names_->NameEdit()->setFocus(Qt::OtherFocusReason);
}

QStringList CMachineSetupDialog::Addresses() const {
    return ListedTexts(*addresses_);
}

void CMachineSetupDialog::AddAddress() {
    AddTypedAddress(*addresses_, *address_, prompter_);
}

void CMachineSetupDialog::RemoveSelectedAddress() {
    qDeleteAll(addresses_->selectedItems());
}

void CMachineSetupDialog::RemoveAllAddresses() {
    addresses_->clear();
}

void CMachineSetupDialog::accept() {
    CMachine machine = machine_;
    machine.sName = names_->Name();
    machine.sVMName = names_->MeterName();
    if (const std::optional<QString> guid = editor_.SaveMachine(machine, Addresses(), before_)) {
        saved_ = *guid;
        QDialog::accept();
    }
}

} // namespace vantor
