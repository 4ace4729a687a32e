#include "ui/sync/SelectRouteDialog.h"

#include "app/RecordLists.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr int kGuidRole = Qt::UserRole;

} // namespace

CSelectRouteDialog::CSelectRouteDialog(CAppData& app, const QString& held, QWidget* parent)
    : QDialog(parent), app_(app), tree_(new QTreeWidget(this)) {
    setWindowTitle(UiText(text::SelectRouteTitle));
    tree_->setObjectName(QStringLiteral("RouteTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    auto* root = new QTreeWidgetItem(tree_, QStringList{UiText(text::ListOfRoutes)});
    QTreeWidgetItem* selected = nullptr;
    for (const CRoute& route : ListRoutesShown(app_).value_or(std::vector<CRoute>{})) {
        auto* item = new QTreeWidgetItem(root, QStringList{route.sName});
        item->setData(0, kGuidRole, route.sItemGUID);
        if (selected == nullptr && !held.isEmpty() && route.sItemGUID == held) {
            selected = item;
        }
    }
    tree_->expandAll();
    if (selected == nullptr) {
        selected = root->childCount() > 0 ? root->child(0) : root;
    }

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { SelectionChanged(current); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (!item->data(0, kGuidRole).toString().isEmpty()) {
            accept();
        }
    });
    tree_->setCurrentItem(selected);
    SelectionChanged(selected);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addWidget(MakeOkCancelButtons(this));
    // Wide enough for the whole title in the window frame (the frame adds its buttons beside it).
    constexpr int kTitleFrameAllowance = 140;
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + kTitleFrameAllowance);
}

void CSelectRouteDialog::SelectionChanged(QTreeWidgetItem* item) {
    const QString guid = item != nullptr ? item->data(0, kGuidRole).toString() : QString();
    choice_ = guid.isEmpty() ? RouteChoice{} : RouteChoice{guid, item->text(0)};
}

void CSelectRouteDialog::accept() {
    if (AcceptRouteChoice(app_, choice_)) {
        QDialog::accept();
    }
}

} // namespace vantor
