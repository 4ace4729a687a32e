#include "ui/sync/SelectRouteDialog.h"

#include "store/SqlConnection.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"

#include "platform/Prompter.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr int kGuidRole = Qt::UserRole;

} // namespace

CSelectRouteDialog::CSelectRouteDialog(CMainConnection& db, Prompter& prompter, const QString& held,
                                       QWidget* parent)
    : QDialog(parent), db_(db), prompter_(prompter), tree_(new QTreeWidget(this)) {
    setWindowTitle(UiText(text::SelectRouteTitle));
    tree_->setObjectName(QStringLiteral("RouteTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    auto* root = new QTreeWidgetItem(tree_, QStringList{UiText(text::ListOfRoutes)});
    QTreeWidgetItem* selected = nullptr;
    std::vector<CRoute> routes;
    try {
        routes = db_.ListRoutes();
    } catch (const DatabaseError& error) {
        prompter_.ShowMessage(QString::fromStdString(error.what()));
    }
    for (const CRoute& route : routes) {
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
    bool accepted = false;
    try {
        accepted = AcceptRouteChoice(db_, choice_, prompter_);
    } catch (const DatabaseError& error) {
        prompter_.ShowMessage(QString::fromStdString(error.what()));
    }
    if (accepted) {
        QDialog::accept();
    }
}

} // namespace vantor
