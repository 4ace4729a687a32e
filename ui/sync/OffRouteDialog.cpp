#include "ui/sync/OffRouteDialog.h"

#include "texts/UiText.h"
#include "ui/common/RecordList.h"
#include "ui/common/SelectVibPointDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

COffRouteDialog::COffRouteDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), app_(app), readings_(app), list_(new RecordList(readings_.Headers(), this)) {
    setWindowTitle(UiText(text::OffRouteReadingsTitle));
    list_->setObjectName(QStringLiteral("OffRouteList"));
    delete_ = list_->AddCommand(UiText(text::DeleteCommand));
    moveTo_ = list_->AddCommand(UiText(text::MoveTo) + QStringLiteral("..."));
    connect(delete_, &QAction::triggered, this, &COffRouteDialog::DeleteSelected);
    connect(moveTo_, &QAction::triggered, this, &COffRouteDialog::MoveSelected);

    // The same commands as buttons, enabled while a reading is selected.
    auto* buttons = new QDialogButtonBox(this);
    moveToButton_ = buttons->addButton(moveTo_->text(), QDialogButtonBox::ActionRole);
    moveToButton_->setObjectName(QStringLiteral("MoveToButton"));
    deleteButton_ = buttons->addButton(delete_->text(), QDialogButtonBox::ActionRole);
    deleteButton_->setObjectName(QStringLiteral("DeleteButton"));
    connect(moveToButton_, &QPushButton::clicked, this, &COffRouteDialog::MoveSelected);
    connect(deleteButton_, &QPushButton::clicked, this, &COffRouteDialog::DeleteSelected);
    QPushButton* exit = buttons->addButton(UiText(text::Exit), QDialogButtonBox::RejectRole);
    exit->setObjectName(QStringLiteral("ExitButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(640, 360);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &COffRouteDialog::UpdateButtons);

    opened_ = readings_.Open();
    if (!opened_) {
        // Closes as soon as the dialog runs.
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    Fill();
}

void COffRouteDialog::Fill() {
    std::vector<RecordList::Row> rows;
    rows.reserve(readings_.Rows().size());
    for (const OffRouteRow& row : readings_.Rows()) {
        rows.push_back({{row.date, row.iso, row.bearingNoise, row.total, row.displacement}, row.guid});
    }
    list_->SetRows(rows);
    UpdateButtons();
}

void COffRouteDialog::UpdateButtons() {
    const bool selected = !list_->SelectedGuid().isEmpty();
    moveToButton_->setEnabled(selected);
    deleteButton_->setEnabled(selected);
}

void COffRouteDialog::DeleteSelected() {
    const QString guid = list_->SelectedGuid();
    if (guid.isEmpty()) {
        return;
    }
    readings_.Delete(guid);
    Fill();
}

void COffRouteDialog::MoveSelected() {
    const QString guid = list_->SelectedGuid();
    if (guid.isEmpty()) {
        return;
    }
    bool chosen = false;
    readings_.MoveTo(guid, [this, &chosen]() -> std::optional<QString> {
        CSelectVibPointDialog dialog(app_, this);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        chosen = true;
        return dialog.PointGuid();
    });
    Fill();
    if (chosen) {
        emit machinesChanged();
    }
}

} // namespace vantor
