#include "ui/common/RecordList.h"

#include <QHeaderView>
#include <QMenu>

namespace vantor {

RecordList::RecordList(const QStringList& headers, QWidget* parent)
    : QTreeWidget(parent), menu_(new QMenu(this)) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    SetHeaders(headers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { menu_->popup(viewport()->mapToGlobal(position)); });
    connect(this, &QTreeWidget::itemSelectionChanged, this, &RecordList::UpdateCommands);
}

void RecordList::SetHeaders(const QStringList& headers) {
    setColumnCount(static_cast<int>(headers.size()) + 1);
    setHeaderLabels(QStringList(headers) << QString());
    setColumnHidden(GuidColumn(), true);
}

void RecordList::SetRows(const std::vector<Row>& rows) {
    clear();
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(this, QStringList(row.cells) << row.guid);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    for (int column = 0; column < GuidColumn(); ++column) {
        resizeColumnToContents(column);
    }
    UpdateCommands();
}

QString RecordList::SelectedGuid() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text(GuidColumn());
}

namespace {
constexpr const char* kNeedsSelection = "needsSelection";
}

QAction* RecordList::AddCommand(const QString& text, bool needsSelection) {
    QAction* action = menu_->addAction(text);
    action->setProperty(kNeedsSelection, needsSelection);
    action->setEnabled(!needsSelection || !SelectedGuid().isEmpty());
    return action;
}

void RecordList::SelectGuid(const QString& guid) {
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        if (!guid.isEmpty() && item->text(GuidColumn()) == guid) {
            setCurrentItem(item);
            item->setSelected(true);
            return;
        }
    }
}

void RecordList::UpdateCommands() {
    const bool selected = !SelectedGuid().isEmpty();
    for (QAction* action : menu_->actions()) {
        action->setEnabled(selected || !action->property(kNeedsSelection).toBool());
    }
}

} // namespace vantor
