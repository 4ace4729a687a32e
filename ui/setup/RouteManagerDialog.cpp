#include "ui/setup/RouteManagerDialog.h"

#include "app/RecordLists.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"
#include "ui/setup/EditableList.h"
#include "ui/setup/ManagerDialogLayout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

bool RunRouteManager(CAppData& app, QWidget* parent) {
    if (!app.MainConnection()) {
        return false;
    }
    CRouteManagerDialog dialog(app, parent);
    dialog.exec();
    return dialog.Changed();
}

CSelectMachinesDialog::CSelectMachinesDialog(CAppData& app, bool several, QWidget* parent)
    : QDialog(parent), prompter_(app.UserPrompter()), list_(new QListWidget(this)) {
    setWindowTitle(UiText(text::SelectMachine));
    list_->setSelectionMode(several ? QAbstractItemView::ExtendedSelection
                                    : QAbstractItemView::SingleSelection);
    for (const CMachine& machine : ListMachinesShown(app).value_or(std::vector<CMachine>{})) {
        auto* item = new QListWidgetItem(machine.sName, list_);
        item->setData(Qt::UserRole, machine.sItemGUID);
    }
    connect(list_, &QListWidget::itemDoubleClicked, this, &CSelectMachinesDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(MakeOkCancelButtons(this));
    resize(360, 420);
}

QStringList CSelectMachinesDialog::Chosen() const {
    QStringList guids;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected()) {
            guids << list_->item(row)->data(Qt::UserRole).toString();
        }
    }
    return guids;
}

void CSelectMachinesDialog::accept() {
    if (Chosen().isEmpty()) {
        prompter_.ShowMessage(UiText(text::PleaseMakeSelection));
        return;
    }
    QDialog::accept();
}

CRouteManagerDialog::CRouteManagerDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), app_(app), editor_(*app.MainConnection(), app.UserPrompter()),
      routes_(new EditableList(UiText(text::ListOfRoutes), {UiText(text::RouteLabel)}, false, this)),
      items_(new EditableList(UiText(text::MachinesOfRoute),
                              {UiText(text::OrderColumn), UiText(text::MachineName), UiText(text::VibPoints)},
                              false, this)) {
    setWindowTitle(UiText(text::RouteManagerTitle));
    routes_->setObjectName(QStringLiteral("Routes"));
    items_->setObjectName(QStringLiteral("RouteItems"));
    // A route has no place among routes to insert at: new routes go last.
    routes_->Button(QStringLiteral("Insert"))->hide();
    routes_->List()->ContextMenu()->actions().at(1)->setVisible(false);

    connect(routes_, &EditableList::addRequested, this, &CRouteManagerDialog::AddRoute);
    connect(routes_, &EditableList::editRequested, this, &CRouteManagerDialog::RenameRoute);
    connect(routes_, &EditableList::deleteRequested, this, &CRouteManagerDialog::DeleteRoute);
    connect(routes_->List(), &QTreeWidget::itemSelectionChanged, this, [this] { FillItems(); });
    connect(items_, &EditableList::addRequested, this, [this] { AddItems(); });
    connect(items_, &EditableList::insertRequested, this, [this](const QString& g) { AddItems(g); });
    connect(items_, &EditableList::editRequested, this, &CRouteManagerDialog::ReplaceItem);
    connect(items_, &EditableList::deleteRequested, this, &CRouteManagerDialog::RemoveItem);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(items_, 1);
    auto* tip = new QLabel(UiText(text::RightClickListTip), right);
    tip->setWordWrap(true);
    rightLayout->addWidget(tip);
    SetManagerLayout(*this, routes_, right);
    resize(860, 520);
    FillRoutes();
}

QString CRouteManagerDialog::SelectedRoute() const {
    return routes_->List()->SelectedGuid();
}

void CRouteManagerDialog::FillRoutes(const QString& select) {
    std::vector<RecordList::Row> rows;
    for (const CRoute& route : ListRoutesShown(app_).value_or(std::vector<CRoute>{})) {
        rows.push_back({{route.sName}, route.sItemGUID});
    }
    const QString keep = select.isEmpty() ? SelectedRoute() : select;
    routes_->List()->SetRows(rows);
    routes_->List()->SelectGuid(keep.isEmpty() ? routes_->GuidAt(0) : keep);
    FillItems();
}

void CRouteManagerDialog::FillItems(const QString& select) {
    const QString route = SelectedRoute();
    std::vector<RecordList::Row> rows;
    if (!route.isEmpty()) {
        if (const auto items = editor_.Items(route)) {
            for (const RouteItemRow& item : *items) {
                rows.push_back(
                    {{QString::number(item.order), item.machineName, QString::number(item.vibPoints)},
                     item.itemGuid});
            }
        }
    }
    items_->List()->SetRows(rows);
    items_->List()->SelectGuid(select);
    items_->Button(QStringLiteral("Add"))->setEnabled(!route.isEmpty());
}

std::optional<QString> CRouteManagerDialog::AskName(const QString& initial,
                                                    const std::function<bool(const QString&)>& store) {
    NameRequest request{UiText(text::NewRoute), UiText(text::RouteLabel), initial, 0};
    for (;; ++request.attempt) {
        const std::optional<QString> name = app_.UserPrompter().PromptName(request);
        if (!name) {
            return std::nullopt;
        }
        if (store(*name)) {
            return name;
        }
        request.initial = *name;
    }
}

void CRouteManagerDialog::AddRoute() {
    QString added;
    if (AskName({}, [this, &added](const QString& name) {
            const std::optional<QString> guid = editor_.AddRoute(name);
            added = guid.value_or(QString());
            return guid.has_value();
        })) {
        changed_ = true;
        FillRoutes(added);
    }
}

void CRouteManagerDialog::RenameRoute(const QString& guid) {
    const std::optional<CRoute> route = LoadRouteShown(app_, guid);
    if (!route) {
        return;
    }
    if (AskName(route->sName, [this, &guid](const QString& name) {
            return editor_.RenameRoute(guid, name) == EditOutcome::Done;
        })) {
        changed_ = true;
        FillRoutes(guid);
    }
}

void CRouteManagerDialog::DeleteRoute(const QString& guid) {
    if (editor_.DeleteRoute(guid) == EditOutcome::Done) {
        changed_ = true;
        FillRoutes(routes_->GuidAt(0));
    }
}

std::optional<QStringList> CRouteManagerDialog::ChooseMachines(bool several) {
    CSelectMachinesDialog chooser(app_, several, this);
    if (chooser.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return chooser.Chosen();
}

void CRouteManagerDialog::AddItems(const QString& before) {
    const QString route = SelectedRoute();
    if (route.isEmpty()) {
        app_.UserPrompter().ShowMessage(UiText(text::PleaseMakeSelection));
        return;
    }
    const std::optional<QStringList> machines = ChooseMachines(true);
    if (!machines) {
        return;
    }
    if (const auto added = editor_.AddMachines(route, *machines, before)) {
        changed_ = true;
        FillItems(added->isEmpty() ? QString() : added->back());
    }
}

void CRouteManagerDialog::ReplaceItem(const QString& item) {
    const QString route = SelectedRoute();
    const int row = items_->SelectedRow();
    const std::optional<QStringList> machines = ChooseMachines(false);
    if (!machines) {
        return;
    }
    // The new machine goes where the old one was, then the old one leaves.
    const auto added = editor_.AddMachines(route, *machines, item);
    if (added && editor_.RemoveItem(item) == EditOutcome::Done) {
        changed_ = true;
    }
    FillItems(added ? added->front() : items_->GuidAt(row));
}

void CRouteManagerDialog::RemoveItem(const QString& item) {
    const int row = items_->SelectedRow();
    if (editor_.RemoveItem(item) == EditOutcome::Done) {
        changed_ = true;
        FillItems();
        items_->List()->SelectGuid(items_->GuidAt(std::min(row, items_->List()->topLevelItemCount() - 1)));
    }
}

} // namespace vantor
