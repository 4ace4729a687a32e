#pragma once
// "Select Route to Download to Device": the routes under one root item; OK (or a double-click on a
// route) runs the route check, which may remove machines without points from the route, and closes
// only when the route can be downloaded.

#include "app/RouteSelection.h"

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class CSelectRouteDialog : public QDialog {
    Q_OBJECT
public:
    // `held`: the route chosen last time, selected again when it still exists.
    explicit CSelectRouteDialog(CAppData& app, const QString& held = {}, QWidget* parent = nullptr);

    RouteChoice Choice() const { return choice_; }
    QTreeWidget* Tree() const { return tree_; }

    void accept() override;

private:
    void SelectionChanged(QTreeWidgetItem* item);

    CAppData& app_;
    QTreeWidget* tree_;
    RouteChoice choice_;
};

} // namespace vantor
