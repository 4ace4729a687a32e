#pragma once
// The route choice before a download to the meter: which route the user picked, and the check that
// runs when the choice is confirmed.

#include "app/CAppData.h"
#include "store/MainConnection.h"

#include <QString>

namespace vantor {

class Prompter;

// The chosen route; both fields are empty while no route is chosen.
struct RouteChoice {
    QString guid;
    QString name;
};

// The check of a confirmed choice. No route chosen: "Please make a selection.". Every route item
// whose machine has no vibration points is removed from the route, each with its own message
// naming the machine, the check starting again from the first item. A route left without items is
// refused with its message. True when the route can be downloaded as it now stands.
bool AcceptRouteChoice(CMainConnection& db, const RouteChoice& choice, Prompter& prompter);

// Before the route choice: false, with a message that no route exists and where one is made
// ("List of Routes: 0" and "Route Manager > New Route"), when the database holds no route.
bool AnyRouteExists(CMainConnection& db, Prompter& prompter);
// The same on the application's main connection, through its prompter (false without one).
bool AcceptRouteChoice(CAppData& app, const RouteChoice& choice);
bool AnyRouteExists(CAppData& app);
// (All show "Error loading record, please try again" and answer false when the database fails.)

// What a finished To Meter sent, for its end text: "Route Week 50 Fans: 2 machines, 4 points sent
// to Demo meter" (machines with vibration points, and their points). Empty when the route cannot be
// read any more.
QString RouteSentText(CAppData& app, const QString& routeGuid, const QString& meterName);

} // namespace vantor
