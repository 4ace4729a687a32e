#include "app/RouteSelection.h"

#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <algorithm>

namespace vantor {

bool AcceptRouteChoice(CMainConnection& db, const RouteChoice& choice, Prompter& prompter) {
    if (choice.guid.isEmpty() || choice.name.isEmpty()) {
        prompter.ShowMessage(UiText(text::PleaseMakeSelection));
        return false;
    }
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

bool AnyRouteExists(CMainConnection& db, Prompter& prompter) {
    if (!db.ListRoutes().empty()) {
        return true;
    }
    prompter.ShowMessage(
        QStringLiteral("%1: 0\r\n%2 > %3")
            .arg(UiText(text::ListOfRoutes), UiText(text::RouteManagerTitle), UiText(text::NewRoute)));
    return false;
}

} // namespace vantor
