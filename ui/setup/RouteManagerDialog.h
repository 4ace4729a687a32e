#pragma once
// "Route Manager": the routes (add, rename, delete) and the machines of the selected route in
// their order (add, insert before the selection, replace, remove), through the route editor. Each
// route shows its measuring interval and its compliance over the last 90 days (as the command line
// counts it); the selected route's interval and optional start date are edited under its machines.

#include "app/CAppData.h"
#include "app/RouteEditor.h"
#include "app/RouteSchedule.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace vantor {

class EditableList;

// Runs the route manager over the main window; true when anything was stored.
bool RunRouteManager(CAppData& app, QWidget* parent);

// "Select Machine": every machine, several may be chosen; OK without a choice asks for one.
class CSelectMachinesDialog : public QDialog {
    Q_OBJECT
public:
    CSelectMachinesDialog(CAppData& app, bool several, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    // The chosen machines' GUIDs in list order.
    QStringList Chosen() const;
    void accept() override;

private:
    Prompter& prompter_;
    QListWidget* list_;
};

class CRouteManagerDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRouteManagerDialog(CAppData& app, QWidget* parent = nullptr);

    bool Changed() const { return changed_; }
    EditableList* Routes() const { return routes_; }
    EditableList* Items() const { return items_; }

    void AddRoute();
    void RenameRoute(const QString& guid);
    void DeleteRoute(const QString& guid);
    // Machines chosen in the machine dialog go before the item `before`, or last.
    void AddItems(const QString& before = {});
    // The item's machine replaced by one chosen, in the same place.
    void ReplaceItem(const QString& item);
    void RemoveItem(const QString& item);
    // Stores the selected route's interval and start date as the fields show them; false when
    // refused (the reason shown) or nothing is selected.
    bool ApplySchedule();

    QSpinBox* IntervalField() const { return interval_; }
    QCheckBox* StartDateOn() const { return startOn_; }
    QDateEdit* StartDateField() const { return start_; }
    QLabel* ComplianceLine() const { return compliance_; }

private:
    void FillRoutes(const QString& select = {});
    void FillItems(const QString& select = {});
    QString SelectedRoute() const;
    // Asks for a route name until one passes the checks or the prompt is cancelled.
    std::optional<QString> AskName(const QString& initial, const std::function<bool(const QString&)>& store);
    std::optional<QStringList> ChooseMachines(bool several);
    // The selected route's schedule and compliance into the fields under its machines.
    void FillSchedule();
    QWidget* BuildScheduleRow(QWidget* parent);

    CAppData& app_;
    RouteEditor editor_;
    EditableList* routes_;
    EditableList* items_;
    bool changed_ = false;
    QSpinBox* interval_ = nullptr;
    QCheckBox* startOn_ = nullptr;
    QDateEdit* start_ = nullptr;
    QPushButton* apply_ = nullptr;
    QLabel* compliance_ = nullptr;
    // Each route's compliance over the last 90 days, read with the routes.
    PlantCompliance complianceByRoute_;
};

} // namespace vantor
