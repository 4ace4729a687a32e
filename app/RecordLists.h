#pragma once
// The records the desktop's lists and choosers show, read for the dialogs so that they never touch
// the database themselves: each read gives the records, or nothing after "Error loading record,
// please try again" (logged under vantor.app) when the database fails.

#include "app/CAppData.h"
#include "store/Records.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace vantor {

std::optional<std::vector<CMachine>> ListMachinesShown(CAppData& app);
std::optional<std::vector<CVib>> ListVibsShown(CAppData& app, const QString& machine);
std::optional<std::vector<CLube>> ListLubesShown(CAppData& app, const QString& machine);
std::optional<std::vector<CRoute>> ListRoutesShown(CAppData& app);
// The route with this GUID; nothing (with the message) when it is gone too.
std::optional<CRoute> LoadRouteShown(CAppData& app, const QString& guid);

// Every machine with its vibration points, in their orders (the point chooser's tree).
using MachinePoints = std::vector<std::pair<CMachine, std::vector<CVib>>>;
std::optional<MachinePoints> ListMachinePointsShown(CAppData& app);

} // namespace vantor
