#include "ui/window/FollowUpPane.h"

#include "app/CAppData.h"
#include "app/Database.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/Log.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace vantor {
namespace {

// The age filter's choices in days (0: any age).
constexpr std::array kAgeDays = {0, 1, 7, 30};

QTableWidget* MakeTable(QWidget* parent, const QString& name) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QTableWidgetItem* Cell(const QString& text, const QString& tip = {}) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(tip.isEmpty() ? text : tip);
    return item;
}

QColor Colour(StatusCode code) {
    const Rgb rgb = StatusColour(code);
    return {rgb.red, rgb.green, rgb.blue};
}

// The pane opens this tall at most (a quarter of a 768 px window less the dock's title), so the plant
// and its views keep the window; the user drags it taller. Only the size hint is capped: the
// window's minimum size stays as it was.
constexpr int kOpeningHeight = 170;

class PaneTabs : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    QSize sizeHint() const override {
        QSize hint = QTabWidget::sizeHint();
        hint.setHeight(std::min(hint.height(), kOpeningHeight));
        return hint;
    }
};

} // namespace

FollowUpPane::FollowUpPane(CAppData& app, QWidget* parent) : QDockWidget(parent), app_(app) {
    setObjectName(QStringLiteral("FollowUpPane"));
    tabs_ = new PaneTabs(this);

    auto* eventsPage = new QWidget(tabs_);
    state_ = new QComboBox(eventsPage);
    state_->setObjectName(QStringLiteral("EventState"));
    level_ = new QComboBox(eventsPage);
    level_->setObjectName(QStringLiteral("EventLevel"));
    age_ = new QComboBox(eventsPage);
    age_->setObjectName(QStringLiteral("EventAge"));
    machine_ = new QLineEdit(eventsPage);
    machine_->setObjectName(QStringLiteral("EventMachine"));
    machine_->setClearButtonEnabled(true);
    acknowledge_ = new QPushButton(eventsPage);
    acknowledge_->setObjectName(QStringLiteral("Acknowledge"));
    events_ = MakeTable(eventsPage, QStringLiteral("EventsTable"));
    auto* filters = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{state_, level_, age_, machine_}) {
        filters->addWidget(widget);
    }
    filters->addStretch(1);
    filters->addWidget(acknowledge_);
    auto* eventsLayout = new QVBoxLayout(eventsPage);
    eventsLayout->addLayout(filters);
    eventsLayout->addWidget(events_);
    tabs_->addTab(eventsPage, QString());

    auto* duePage = new QWidget(tabs_);
    overdueOnly_ = new QCheckBox(duePage);
    overdueOnly_->setObjectName(QStringLiteral("OverdueOnly"));
    due_ = MakeTable(duePage, QStringLiteral("DueTable"));
    auto* dueLayout = new QVBoxLayout(duePage);
    dueLayout->addWidget(overdueOnly_);
    dueLayout->addWidget(due_);
    tabs_->addTab(duePage, QString());
    setWidget(tabs_);

    askComment = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getMultiLineText(this, UiText(text::added::EventsAcknowledge),
                                                            UiText(text::added::EventsComment), {}, &ok);
        return ok ? std::optional<QString>(text) : std::nullopt;
    };
    RefreshTexts();
    for (QComboBox* box : {state_, level_, age_}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    }
    connect(machine_, &QLineEdit::textChanged, this, [this] { FillEvents(); });
    connect(overdueOnly_, &QCheckBox::toggled, this, [this] { FillDue(); });
    connect(acknowledge_, &QPushButton::clicked, this, [this] { AcknowledgeSelected(); });
}

void FollowUpPane::RefreshTexts() {
    using namespace text::added;
    setWindowTitle(UiText(EventsPaneTitle));
    tabs_->setTabText(0, UiText(EventsPaneTitle));
    tabs_->setTabText(1, UiText(text::added::DuePoints));
    const QSignalBlocker quietState(state_);
    const QSignalBlocker quietLevel(level_);
    const QSignalBlocker quietAge(age_);
    const int state = std::max(0, state_->currentIndex());
    const int level = std::max(0, level_->currentIndex());
    const int age = std::max(0, age_->currentIndex());
    state_->clear();
    state_->addItems({UiText(EventsNew), UiText(EventsAcknowledged), UiText(EventsAll)});
    state_->setCurrentIndex(state);
    level_->clear();
    level_->addItems(
        {UiText(EventsAnyLevel), StatusText(StatusCode::Warning), StatusText(StatusCode::Critical)});
    level_->setCurrentIndex(level);
    age_->clear();
    for (const int days : kAgeDays) {
        age_->addItem(days == 0 ? UiText(EventsAnyAge) : UiText(EventsLastDays).arg(days));
    }
    age_->setCurrentIndex(age);
    machine_->setPlaceholderText(UiText(EventsMachine));
    acknowledge_->setText(UiText(EventsAcknowledge));
    overdueOnly_->setText(UiText(text::added::OverdueOnly));
    events_->setColumnCount(7);
    events_->setHorizontalHeaderLabels({UiText(EventsTime), UiText(EventsLevel), UiText(EventsMachine),
                                        UiText(EventsPoint), UiText(EventsSource), UiText(EventsState),
                                        UiText(EventsReason)});
    due_->setColumnCount(5);
    due_->setHorizontalHeaderLabels({UiText(EventsMachine), UiText(EventsPoint), UiText(LastReading),
                                     UiText(DueColumn), UiText(DaysLate)});
}

int FollowUpPane::Refresh() {
    shownEvents_.clear();
    duePoints_.clear();
    int fresh = 0;
    if (DatabaseOpen(app_)) {
        try {
            const int state = state_->currentIndex();
            std::vector<EventView> events = ListEventViews(Database(app_), {state == 0, {}});
            const int level = level_->currentIndex();
            const int days = kAgeDays[static_cast<std::size_t>(std::max(0, age_->currentIndex()))];
            const QDateTime since = QDateTime::currentDateTime().addDays(-days);
            for (EventView& view : events) {
                const bool stateOk = state != 1 || !view.IsNew();
                const bool levelOk =
                    level == 0 || view.event.level == static_cast<int>(level == 1 ? StatusCode::Warning
                                                                                  : StatusCode::Critical);
                const bool ageOk = days == 0 || view.event.raised >= since;
                if (stateOk && levelOk && ageOk) {
                    shownEvents_.push_back(std::move(view));
                }
            }
            fresh = static_cast<int>(ListEventViews(Database(app_), {true, {}}).size());
            duePoints_ = DuePoints(Database(app_), QDate::currentDate(), kSoonDueDays);
        } catch (const DatabaseError& error) {
            qCWarning(lcUi) << "the events and due points could not be read:" << error.what();
        }
    }
    FillEvents();
    FillDue();
    return fresh;
}

void FollowUpPane::FillEvents() {
    const QString machine = machine_->text().trimmed();
    events_->setRowCount(0);
    for (const EventView& view : shownEvents_) {
        if (!machine.isEmpty() && !view.machineName.contains(machine, Qt::CaseInsensitive)) {
            continue;
        }
        const int row = events_->rowCount();
        events_->insertRow(row);
        QStringList trail;
        for (const AcknowledgementRow& entry : view.trail) {
            trail
                << QStringLiteral("%1  %2: %3").arg(EventTimeText(entry.entered), entry.user, entry.comment);
        }
        const QString tip = trail.isEmpty() ? view.event.reason : trail.join(QLatin1Char('\n'));
        const StatusCode code = static_cast<StatusCode>(view.event.level);
        auto* time = Cell(EventTimeText(view.event.raised), tip);
        time->setData(Qt::UserRole, view.event.guid);
        events_->setItem(row, 0, time);
        auto* level = Cell(StatusText(code), tip);
        level->setForeground(Colour(code));
        events_->setItem(row, 1, level);
        events_->setItem(row, 2, Cell(view.machineName, tip));
        events_->setItem(row, 3, Cell(view.pointName, tip));
        events_->setItem(row, 4, Cell(EventSourceText(view.event.source), tip));
        events_->setItem(
            row, 5,
            Cell(UiText(view.IsNew() ? text::added::EventsNew : text::added::EventsAcknowledged), tip));
        events_->setItem(row, 6, Cell(view.event.reason));
    }
}

void FollowUpPane::FillDue() {
    due_->setRowCount(0);
    for (const DuePoint& point : duePoints_) {
        if (overdueOnly_->isChecked() && !point.Overdue()) {
            continue;
        }
        const int row = due_->rowCount();
        due_->insertRow(row);
        due_->setItem(row, 0, Cell(point.machineName));
        due_->setItem(row, 1, Cell(point.pointName));
        due_->setItem(row, 2,
                      Cell(point.lastReading.isValid() ? SqlDateTimeText(point.lastReading) : QString()));
        auto* date = Cell(point.due.toString(Qt::ISODate), point.routeName);
        if (point.Overdue()) {
            date->setForeground(Colour(StatusCode::Critical));
        }
        due_->setItem(row, 3, date);
        due_->setItem(row, 4, Cell(QString::number(point.daysLate)));
    }
}

bool FollowUpPane::AcknowledgeSelected() {
    QStringList guids;
    for (const QModelIndex& index : events_->selectionModel()->selectedRows()) {
        guids << events_->item(index.row(), 0)->data(Qt::UserRole).toString();
    }
    if (guids.isEmpty() || !DatabaseOpen(app_)) {
        return false;
    }
    const std::optional<QString> comment = askComment();
    if (!comment) {
        return false;
    }
    try {
        const QString refusal =
            AcknowledgeEvents(Database(app_), guids, *comment, CurrentUserName(Database(app_)));
        if (!refusal.isEmpty()) {
            app_.UserPrompter().ShowMessage(refusal);
            return false;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the acknowledgement could not be stored:" << error.what();
        app_.UserPrompter().ShowMessage(UiText(text::ErrorSavingRecord));
        return false;
    }
    Refresh();
    emit EventsChanged();
    return true;
}

} // namespace vantor
