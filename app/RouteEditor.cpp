#include "app/RouteEditor.h"

#include "platform/Prompter.h"
#include "store/Limits.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <algorithm>
#include <set>

namespace vantor {
namespace {

constexpr int kRoutes = static_cast<int>(ItemKind::Routes);
constexpr int kRouteItems = static_cast<int>(ItemKind::RouteItems);

} // namespace

RouteEditor::RouteEditor(CMainConnection& db, Prompter& prompter) : db_(db), prompter_(prompter) {}

std::optional<CRoute> RouteEditor::LoadRoute(const QString& guid) {
    return LoadForEdit<CRoute>(guid, prompter_,
                               [this](const QString& g, CRoute& r) { return db_.GetRoute(g, r); });
}

std::optional<QString> RouteEditor::AddRoute(const QString& name) {
    if (!Accepted(CheckPromptedName(name), prompter_)) {
        return std::nullopt;
    }
    CRoute route;
    route.sItemGUID = MakeItemGuid();
    route.sName = name;
    try {
        SqlConnection::Transaction transaction(db_.Connection());
        db_.RenumberOrder(kRoutes, {});
        route.fOrder = db_.NextOrder(ItemKind::Routes, {});
        if (db_.UpsertRoute(route) && transaction.Commit()) {
            return route.sItemGUID;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "adding route" << route.sItemGUID << "failed:" << error.what();
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return std::nullopt;
}

EditOutcome RouteEditor::RenameRoute(const QString& guid, const QString& name) {
    std::optional<CRoute> route = LoadRoute(guid);
    if (!route) {
        return EditOutcome::Failed;
    }
    if (!Accepted(CheckPromptedName(name), prompter_)) {
        return EditOutcome::Failed;
    }
    route->sName = name;
    try {
        if (db_.UpsertRoute(*route)) {
            return EditOutcome::Done;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "renaming route" << guid << "failed:" << error.what();
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return EditOutcome::Failed;
}

EditOutcome RouteEditor::DeleteRoute(const QString& guid) {
    if (!LoadRoute(guid)) {
        return EditOutcome::Failed;
    }
    if (!prompter_.AskYesNo(UiText(text::AreYouSureDelete))) {
        return EditOutcome::Declined;
    }
    try {
        SqlConnection::Batch batch(db_.Connection());
        if (db_.DeleteRoute(guid)) {
            db_.RenumberOrder(kRoutes, {});
            return EditOutcome::Done;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "deleting route" << guid << "failed:" << error.what();
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return EditOutcome::Failed;
}

std::optional<QStringList> RouteEditor::AddMachines(const QString& route, const QStringList& machines,
                                                    const QString& before) {
    // The checks read before the transaction stores: a failing read is a record that cannot be loaded.
    return Guarded(prompter_, text::ErrorLoadingRecord,
                   QStringLiteral("adding %1 to route %2").arg(machines.join(QLatin1Char(' ')), route),
                   std::optional<QStringList>{}, [&] { return StoreMachines(route, machines, before); });
}

std::optional<QStringList> RouteEditor::StoreMachines(const QString& route, const QStringList& machines,
                                                      const QString& before) {
    if (!LoadRoute(route)) {
        return std::nullopt;
    }
    if (machines.isEmpty()) {
        prompter_.ShowMessage(UiText(text::PleaseMakeSelection));
        return std::nullopt;
    }
    const std::vector<CRouteItem> items = db_.ListRouteItems(route);
    const int count = db_.CountRouteItems(route);
    if (!before.isEmpty() && std::none_of(items.cbegin(), items.cend(), [&before](const CRouteItem& item) {
            return item.sItemGUID == before;
        })) {
        prompter_.ShowMessage(UiText(text::ErrorLoadingRecord));
        return std::nullopt;
    }
    // The whole selection must fit: a route past its limit would lose its last machines on the
    // meter, which only ever receives the first ones.
    if (!Accepted(CheckRouteItemRoom(count + static_cast<int>(machines.size()) - 1), prompter_)) {
        return std::nullopt;
    }
    std::set<QString> onRoute;
    for (const CRouteItem& item : items) {
        onRoute.insert(item.sMachineGUID);
    }
    std::vector<CMachine> chosen;
    for (const QString& guid : machines) {
        CMachine machine;
        if (!db_.GetMachine(guid, machine)) {
            prompter_.ShowMessage(UiText(text::ErrorLoadingRecord));
            return std::nullopt;
        }
        if (!onRoute.insert(machine.sItemGUID).second) {
            prompter_.ShowMessage(UiText(text::MachineAlreadyInRoute));
            return std::nullopt;
        }
        if (db_.CountVibs(machine.sItemGUID) == 0) {
            prompter_.ShowMessage(UiText(text::MachineWithoutVibPoints));
            return std::nullopt;
        }
        chosen.push_back(machine);
    }

    QStringList added;
    try {
        SqlConnection::Transaction transaction(db_.Connection());
        db_.RenumberOrder(kRouteItems, route);
        // Each new item goes between the item before `before` and `before` itself (or last), so the
        // selection keeps its order.
        const auto at = std::find_if(items.cbegin(), items.cend(),
                                     [&before](const CRouteItem& item) { return item.sItemGUID == before; });
        const float next =
            before.isEmpty() ? static_cast<float>(count) : static_cast<float>(at - items.cbegin());
        const float span = static_cast<float>(chosen.size() + 1);
        bool stored = true;
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            const float offset = static_cast<float>(i + 1);
            const float order = before.isEmpty() ? next + offset : next - 1.0f + offset / span;
            CRouteItem item{MakeItemGuid(), route, order, chosen[i].sItemGUID, chosen[i].sName};
            stored = stored && db_.UpsertRouteItem(item);
            added << item.sItemGUID;
        }
        if (stored) {
            db_.RenumberOrder(kRouteItems, route);
        }
        if (stored && transaction.Commit()) {
            return added;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "adding machines to route" << route << "failed:" << error.what();
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return std::nullopt;
}

EditOutcome RouteEditor::RemoveItem(const QString& itemGuid) {
    const std::optional<CRouteItem> item = LoadForEdit<CRouteItem>(
        itemGuid, prompter_, [this](const QString& g, CRouteItem& i) { return db_.GetRouteItem(g, i); });
    if (!item) {
        return EditOutcome::Failed;
    }
    try {
        SqlConnection::Batch batch(db_.Connection());
        if (db_.DeleteRouteItem(item->sItemGUID)) {
            db_.RenumberOrder(kRouteItems, item->sParentGUID);
            return EditOutcome::Done;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "removing route item" << itemGuid << "failed:" << error.what();
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return EditOutcome::Failed;
}

std::optional<std::vector<RouteItemRow>> RouteEditor::Items(const QString& route) {
    return Guarded(prompter_, text::ErrorLoadingRecord,
                   QStringLiteral("listing the items of route %1").arg(route),
                   std::optional<std::vector<RouteItemRow>>{}, [&] { return ReadItems(route); });
}

std::optional<std::vector<RouteItemRow>> RouteEditor::ReadItems(const QString& route) {
    if (!LoadRoute(route)) {
        return std::nullopt;
    }
    std::vector<RouteItemRow> rows;
    int order = 0;
    for (const CRouteItem& item : db_.ListRouteItems(route)) {
        RouteItemRow row{item.sItemGUID, ++order, item.sMachineGUID, item.sMachineName, 0};
        CMachine machine;
        if (db_.GetMachine(item.sMachineGUID, machine)) {
            row.machineName = machine.sName;
            row.vibPoints = db_.CountVibs(machine.sItemGUID);
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace vantor
