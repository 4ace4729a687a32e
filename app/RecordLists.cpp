#include "app/RecordLists.h"

#include "app/EditOutcome.h"

namespace vantor {
namespace {

// The open main connection, or a database error when there is none (the dialogs only run with one).
CMainConnection& Db(CAppData& app) {
    if (CMainConnection* db = app.MainConnection()) {
        return *db;
    }
    throw DatabaseError(QStringLiteral("no database is open"));
}

} // namespace

std::optional<std::vector<CMachine>> ListMachinesShown(CAppData& app) {
    return ReadShown(app.UserPrompter(), QStringLiteral("listing the machines"),
                     [&app] { return Db(app).ListMachines(); });
}

std::optional<std::vector<CVib>> ListVibsShown(CAppData& app, const QString& machine) {
    return ReadShown(app.UserPrompter(), QStringLiteral("listing the vibration points of %1").arg(machine),
                     [&] { return Db(app).ListVibs(machine); });
}

std::optional<std::vector<CLube>> ListLubesShown(CAppData& app, const QString& machine) {
    return ReadShown(app.UserPrompter(), QStringLiteral("listing the lubrication points of %1").arg(machine),
                     [&] { return Db(app).ListLubes(machine); });
}

std::optional<std::vector<CRoute>> ListRoutesShown(CAppData& app) {
    return ReadShown(app.UserPrompter(), QStringLiteral("listing the routes"),
                     [&app] { return Db(app).ListRoutes(); });
}

std::optional<CRoute> LoadRouteShown(CAppData& app, const QString& guid) {
    return LoadForEdit<CRoute>(guid, app.UserPrompter(), [&app](const QString& g, CRoute& route) {
        return Db(app).GetRoute(g, route);
    });
}

std::optional<MachinePoints> ListMachinePointsShown(CAppData& app) {
    return ReadShown(app.UserPrompter(), QStringLiteral("listing the machines and their points"), [&app] {
        MachinePoints tree;
        for (CMachine& machine : Db(app).ListMachines()) {
            std::vector<CVib> points = Db(app).ListVibs(machine.sItemGUID);
            tree.emplace_back(std::move(machine), std::move(points));
        }
        return tree;
    });
}

} // namespace vantor
