#pragma once
// The follow-up pane docked under the main window: "Events" lists the alarm events (New,
// Acknowledged or all; filtered by machine, level and age) with Acknowledge... for the selected
// ones, and "Due points" the route points overdue or due within a week, with "Overdue only". Each
// event's acknowledgement trail is in its row's tooltip.

#include "app/AlarmEvents.h"
#include "app/RouteSchedule.h"

#include <QDockWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace vantor {

class CAppData;

class FollowUpPane : public QDockWidget {
    Q_OBJECT
public:
    explicit FollowUpPane(CAppData& app, QWidget* parent = nullptr);

    // Reads the events and due points again; the number of new events (0 without a database).
    int Refresh();
    void RefreshTexts();

    // Asks for the acknowledgement's comment; none when cancelled. Replaceable for tests.
    std::function<std::optional<QString>()> askComment;

    QTableWidget* EventsTable() const { return events_; }
    QTableWidget* DueTable() const { return due_; }
    QComboBox* StateFilter() const { return state_; }
    QCheckBox* OverdueOnly() const { return overdueOnly_; }
    // Acknowledges the selected events with a comment (asked); false when nothing was stored.
    bool AcknowledgeSelected();

signals:
    // Events were acknowledged: the tree's marks and the status bar's count change.
    void EventsChanged();

private:
    void FillEvents();
    void FillDue();

    CAppData& app_;
    QTabWidget* tabs_;
    QTableWidget* events_;
    QComboBox* state_;
    QComboBox* level_;
    QComboBox* age_;
    QLineEdit* machine_;
    QPushButton* acknowledge_;
    QTableWidget* due_;
    QCheckBox* overdueOnly_;
    std::vector<EventView> shownEvents_;
    std::vector<DuePoint> duePoints_;
};

} // namespace vantor
