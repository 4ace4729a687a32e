#include "ui/setup/RouteManagerDialog.h"

#include "app/CAppData.h"
#include "app/Database.h"
#include "app/RecordLists.h"
#include "app/RouteSchedule.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"
#include "ui/common/Log.h"
#include "ui/setup/EditableList.h"
#include "ui/setup/ManagerDialogLayout.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {

namespace {

// Interval limits the schedule accepts (as SetRouteSchedule checks them).
constexpr int kLongestIntervalDays = 3650;

// "12 of 14 due measurements on time (85.7 %)", or "nothing due"; the percentage with one decimal
// as `vantor compliance` prints it.
QString ComplianceText(const ComplianceCount& count) {
    const std::optional<double> percent = count.Percent();
    if (!percent) {
        return UiText(text::added::RouteNothingDue);
    }
    return UiText(text::added::RouteComplianceLine)
        .arg(count.onTime)
        .arg(count.due)
        .arg(QLocale().toString(*percent, 'f', 1));
}

} // namespace

bool RunRouteManager(CAppData& app, QWidget* parent) {
    if (!DatabaseOpen(app)) {
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
    : QDialog(parent), app_(app), editor_(Database(app), app.UserPrompter()),
      routes_(new EditableList(UiText(text::ListOfRoutes),
                               {UiText(text::RouteLabel), UiText(text::added::ReportIntervalDays),
                                UiText(text::added::RouteComplianceColumn).arg(kDefaultCompliancePeriodDays)},
                               false, this)),
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
    rightLayout->addWidget(BuildScheduleRow(right));
    auto* tip = new QLabel(UiText(text::RightClickListTip), right);
    tip->setWordWrap(true);
    rightLayout->addWidget(tip);
    // The routes' list wide enough for its interval and compliance columns.
    constexpr int kRoutesWidth = 400;
    routes_->setMinimumWidth(kRoutesWidth);
    SetManagerLayout(*this, routes_, right);
    resize(860, 520);
    FillRoutes();
}

QWidget* CRouteManagerDialog::BuildScheduleRow(QWidget* parent) {
    auto* row = new QWidget(parent);
    interval_ = new QSpinBox(row);
    interval_->setObjectName(QStringLiteral("RouteInterval"));
    interval_->setRange(1, kLongestIntervalDays);
    interval_->setValue(kDefaultRouteIntervalDays);
    startOn_ = new QCheckBox(UiText(text::added::RouteStartDate), row);
    startOn_->setObjectName(QStringLiteral("RouteStartOn"));
    start_ = new QDateEdit(QDate::currentDate(), row);
    start_->setObjectName(QStringLiteral("RouteStart"));
    start_->setCalendarPopup(true);
    start_->setEnabled(false);
    connect(startOn_, &QCheckBox::toggled, start_, &QWidget::setEnabled);
    apply_ = new QPushButton(UiText(text::added::RouteApplySchedule), row);
    apply_->setObjectName(QStringLiteral("RouteApplySchedule"));
    connect(apply_, &QPushButton::clicked, this, [this] { ApplySchedule(); });
    compliance_ = new QLabel(row);
    compliance_->setObjectName(QStringLiteral("RouteCompliance"));
    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel(UiText(text::added::ReportIntervalDays), row));
    fields->addWidget(interval_);
    fields->addSpacing(12);
    fields->addWidget(startOn_);
    fields->addWidget(start_);
    fields->addStretch(1);
    fields->addWidget(apply_);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(fields);
    layout->addWidget(compliance_);
    return row;
}

void CRouteManagerDialog::FillSchedule() {
    const QString route = SelectedRoute();
    for (QWidget* field : std::initializer_list<QWidget*>{interval_, startOn_, apply_}) {
        field->setEnabled(!route.isEmpty());
    }
    if (route.isEmpty()) {
        compliance_->clear();
        return;
    }
    RouteScheduleRow schedule{route, kDefaultRouteIntervalDays, {}};
    try {
        schedule = RouteScheduleOf(Database(app_), route);
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the route's schedule could not be read:" << error.what();
    }
    interval_->setValue(schedule.intervalDays);
    startOn_->setChecked(schedule.startDate.isValid());
    start_->setEnabled(schedule.startDate.isValid());
    start_->setDate(schedule.startDate.isValid() ? schedule.startDate : QDate::currentDate());
    const auto found = std::find_if(complianceByRoute_.routes.begin(), complianceByRoute_.routes.end(),
                                    [&](const RouteCompliance& each) { return each.routeGuid == route; });
    compliance_->setText(found == complianceByRoute_.routes.end()
                             ? QString()
                             : QStringLiteral("%1: %2").arg(
                                   UiText(text::added::ReportCompliance).arg(kDefaultCompliancePeriodDays),
                                   ComplianceText(found->count)));
}

bool CRouteManagerDialog::ApplySchedule() {
    const QString route = SelectedRoute();
    if (route.isEmpty()) {
        return false;
    }
    try {
        const QString refusal =
            ReplaceRouteSchedule(Database(app_), route, interval_->value(),
                                 startOn_->isChecked() ? std::optional<QDate>(start_->date()) : std::nullopt);
        if (!refusal.isEmpty()) {
            app_.UserPrompter().ShowMessage(refusal);
            return false;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the route's schedule could not be stored:" << error.what();
        app_.UserPrompter().ShowMessage(UiText(text::ErrorSavingRecord));
        return false;
    }
    changed_ = true;
    FillRoutes(route);
    return true;
}

QString CRouteManagerDialog::SelectedRoute() const {
    return routes_->List()->SelectedGuid();
}

void CRouteManagerDialog::FillRoutes(const QString& select) {
    // The compliance over the last 90 days up to today, as `vantor compliance` counts it by default.
    const QDate today = QDate::currentDate();
    complianceByRoute_ = {};
    try {
        complianceByRoute_ =
            ComplianceOver(Database(app_), today.addDays(-kDefaultCompliancePeriodDays), today);
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the routes' compliance could not be worked out:" << error.what();
    }
    std::vector<RecordList::Row> rows;
    for (const CRoute& route : ListRoutesShown(app_).value_or(std::vector<CRoute>{})) {
        QString interval = QString::number(kDefaultRouteIntervalDays);
        QString compliance;
        for (const RouteCompliance& each : complianceByRoute_.routes) {
            if (each.routeGuid == route.sItemGUID) {
                interval = QString::number(each.intervalDays);
                const std::optional<double> percent = each.count.Percent();
                compliance = percent ? QStringLiteral("%1 %").arg(QLocale().toString(*percent, 'f', 1))
                                     : UiText(text::added::RouteNothingDue);
            }
        }
        rows.push_back({{route.sName, interval, compliance}, route.sItemGUID});
    }
    const QString keep = select.isEmpty() ? SelectedRoute() : select;
    routes_->List()->SetRows(rows);
    for (int column = 0; column < routes_->List()->columnCount(); ++column) {
        routes_->List()->resizeColumnToContents(column);
    }
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
    FillSchedule();
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
