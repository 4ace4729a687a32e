#pragma once
// The route manager's logic, shared by the desktop dialog and the command line: routes (add,
// rename, delete with their items) and the machines listed on a route (add before an item or
// last, remove). Every refusal shows its message and stores nothing; order values are compacted
// after every change.

#include "app/EditOutcome.h"
#include "store/MainConnection.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace vantor {

class Prompter;

// One machine of a route as the route manager lists it.
struct RouteItemRow {
    QString itemGuid;
    int order = 0; // the row number, from 1
    QString machineGuid;
    QString machineName; // the machine's current name (the item's copy when the machine is gone)
    int vibPoints = 0;
};

class RouteEditor {
public:
    RouteEditor(CMainConnection& db, Prompter& prompter);

    // A new route named as the name prompt allows, last among the routes; its GUID.
    std::optional<QString> AddRoute(const QString& name);
    EditOutcome RenameRoute(const QString& guid, const QString& name);
    // Asks "Are you sure you want to delete?"; on Yes deletes the route and its items (the
    // machines stay).
    EditOutcome DeleteRoute(const QString& guid);

    // Adds the machines, in the given order, just before the item `before` of the route or last.
    // All or none: refused when a machine is unknown, already on the route (or given twice), has
    // no vibration points, or when the route would hold more than its limit of machines. Gives
    // the new items' GUIDs.
    std::optional<QStringList> AddMachines(const QString& route, const QStringList& machines,
                                           const QString& before = {});
    // Takes a machine off its route.
    EditOutcome RemoveItem(const QString& item);

    // The route's machines in order; nothing (with "Error loading record") for an unknown route.
    std::optional<std::vector<RouteItemRow>> Items(const QString& route);

private:
    std::optional<CRoute> LoadRoute(const QString& guid);
    std::optional<QStringList> StoreMachines(const QString& route, const QStringList& machines,
                                             const QString& before);
    std::optional<std::vector<RouteItemRow>> ReadItems(const QString& route);

    CMainConnection& db_;
    Prompter& prompter_;
};

} // namespace vantor
