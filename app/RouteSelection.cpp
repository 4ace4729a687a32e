#include "app/RouteSelection.h"

#include "app/EditOutcome.h"
#include "app/RecordLists.h"
#include "app/RouteEditor.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <algorithm>

namespace vantor {

namespace {

bool CheckRouteItems(CMainConnection& db, const RouteChoice& choice, Prompter& prompter) {
    std::vector<CRouteItem> items = db.ListRouteItems(choice.guid);
    for (;;) {
        const auto empty = std::find_if(items.cbegin(), items.cend(), [&db](const CRouteItem& item) {
            return db.CountVibs(item.sMachineGUID) == 0;
        });
        if (empty == items.cend()) {
            break;
        }
        prompter.ShowMessage(
            QStringLiteral("%1 (%2)").arg(UiText(text::RouteMachineWithoutPoints), empty->sMachineName));
        // An item that cannot be removed would be found again and again: the route is refused.
        if (!db.DeleteRouteItem(empty->sItemGUID)) {
            return false;
        }
        items = db.ListRouteItems(choice.guid);
    }
    if (items.empty()) {
        prompter.ShowMessage(UiText(text::RouteWithoutMachines));
        return false;
    }
    return true;
}

} // namespace

bool AcceptRouteChoice(CMainConnection& db, const RouteChoice& choice, Prompter& prompter) {
    if (choice.guid.isEmpty() || choice.name.isEmpty()) {
        prompter.ShowMessage(UiText(text::PleaseMakeSelection));
        return false;
    }
    return Guarded(prompter, text::ErrorLoadingRecord, QStringLiteral("checking route %1").arg(choice.guid),
                   false, [&] { return CheckRouteItems(db, choice, prompter); });
}

bool AnyRouteExists(CMainConnection& db, Prompter& prompter) {
    const std::optional<bool> any =
        ReadShown(prompter, QStringLiteral("listing the routes"), [&db] { return !db.ListRoutes().empty(); });
    if (!any) {
        return false;
    }
    if (*any) {
        return true;
    }
    prompter.ShowMessage(
        QStringLiteral("%1: 0\r\n%2 > %3")
            .arg(UiText(text::ListOfRoutes), UiText(text::RouteManagerTitle), UiText(text::NewRoute)));
    return false;
}

bool AcceptRouteChoice(CAppData& app, const RouteChoice& choice) {
    CMainConnection* db = app.MainConnection();
    return db != nullptr && AcceptRouteChoice(*db, choice, app.UserPrompter());
}

QString RouteSentText(CAppData& app, const QString& routeGuid, const QString& meterName) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return {};
    }
    const std::optional<CRoute> route = LoadRouteShown(app, routeGuid);
    const std::optional<std::vector<RouteItemRow>> items =
        route ? RouteEditor(*db, app.UserPrompter()).Items(routeGuid) : std::nullopt;
    if (!route || !items) {
        return {};
    }
    // A machine without vibration points is not sent (the route check takes it off first).
    int machines = 0;
    int points = 0;
    for (const RouteItemRow& item : *items) {
        machines += item.vibPoints > 0 ? 1 : 0;
        points += item.vibPoints;
    }
    return UiText(text::added::RouteSent).arg(route->sName).arg(machines).arg(points).arg(meterName);
}

bool AnyRouteExists(CAppData& app) {
    CMainConnection* db = app.MainConnection();
    return db != nullptr && AnyRouteExists(*db, app.UserPrompter());
}

} // namespace vantor
