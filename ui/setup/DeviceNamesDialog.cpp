#include "ui/setup/DeviceNamesDialog.h"

#include "texts/UiText.h"
#include "ui/common/RecordList.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

CDeviceNamesDialog::CDeviceNamesDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), devices_(app), list_(new RecordList(DeviceNameList::Headers(), this)) {
    setWindowTitle(UiText(text::DeviceNamesTitle));
    list_->setObjectName(QStringLiteral("DeviceList"));
    rename_ = list_->AddCommand(UiText(text::EditCommand) + QStringLiteral("..."));
    delete_ = list_->AddCommand(UiText(text::DeleteCommand));
    connect(rename_, &QAction::triggered, this, &CDeviceNamesDialog::RenameSelected);
    connect(delete_, &QAction::triggered, this, &CDeviceNamesDialog::DeleteSelected);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(text::Ok));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(480, 300);

    opened_ = devices_.Open();
    if (!opened_) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    Fill();
}

void CDeviceNamesDialog::Fill() {
    std::vector<RecordList::Row> rows;
    rows.reserve(devices_.Rows().size());
    for (const DeviceRow& row : devices_.Rows()) {
        rows.push_back({{QString::number(row.order), row.name, row.serialNumber}, row.guid});
    }
    list_->SetRows(rows);
}

void CDeviceNamesDialog::RenameSelected() {
    const QString guid = list_->SelectedGuid();
    if (!guid.isEmpty()) {
        devices_.Rename(guid);
        Fill();
    }
}

void CDeviceNamesDialog::DeleteSelected() {
    const QString guid = list_->SelectedGuid();
    if (!guid.isEmpty()) {
        devices_.Delete(guid);
        Fill();
    }
}

} // namespace vantor
