#include "ui/common/SelectVibPointDialog.h"

#include "app/RecordLists.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"

#include <QDialogButtonBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr int kPointGuidRole = Qt::UserRole;

} // namespace

CSelectVibPointDialog::CSelectVibPointDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), prompter_(app.UserPrompter()), tree_(new QTreeWidget(this)) {
    setWindowTitle(UiText(text::SelectVibPointTitle));
    tree_->setObjectName(QStringLiteral("PointTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    for (const auto& [machine, points] : ListMachinePointsShown(app).value_or(MachinePoints{})) {
        auto* machineItem = new QTreeWidgetItem(tree_, QStringList{machine.sName});
        for (const CVib& point : points) {
            auto* pointItem = new QTreeWidgetItem(machineItem, QStringList{point.sName});
            pointItem->setData(0, kPointGuidRole, point.sItemGUID);
        }
    }
    tree_->expandAll();
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (!item->data(0, kPointGuidRole).toString().isEmpty()) {
            accept();
        }
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addWidget(MakeOkCancelButtons(this));
}

QString CSelectVibPointDialog::PointGuid() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    return item != nullptr ? item->data(0, kPointGuidRole).toString() : QString();
}

void CSelectVibPointDialog::accept() {
    if (PointGuid().isEmpty()) {
        prompter_.ShowMessage(UiText(text::PleaseMakeSelection));
        return;
    }
    QDialog::accept();
}

} // namespace vantor
