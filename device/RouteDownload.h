#pragma once
// Sends a route to the meter after its assets were deleted: the route's machines in route order
// (at most 999), each with its vibration points in point order (at most 10), then the fixed
// "Off Route" asset with its ten points, on which readings that belong to no route point are taken.

#include "device/MeterResults.h"
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vantor {

class CMainConnection;
class CMeterLink;

inline constexpr int kRouteMachinesSent = 999; // one place of the meter's 1000 stays for Off Route
inline constexpr int kPointsSentPerMachine = 10;
inline constexpr double kOffRoutePointRunSpeedHz = 25.0;

struct RouteDownloadSettings {
    QString routeGuid;
    QString offRouteAssetGuid;
    QStringList offRoutePointGuids; // ten, sent as points "1" to "10"
    QString offRouteName;           // the asset's meter name, in the current language
};

// Why the route cannot be sent (a machine or point the meter's command line cannot carry, named in
// the reason); nullopt when every command of the download can be built. Checked before the meter
// is cleared, so a refused route leaves the meter as it was.
std::optional<QString> RouteCommandProblem(CMainConnection& main, const RouteDownloadSettings& settings);

// Progress texts go to `progress`; `aborted` is tested after every point and every machine.
// `step`, when given, hears (n, m) after the text of the n-th of the m machines and points the
// download sends, Off Route included. 0 when everything was sent; otherwise the code of the first
// command the meter refused, or kSyncAborted. A route item whose machine no longer exists is
// skipped: there is nothing to send.
int DownloadRoute(CMeterLink& link, CMainConnection& main, const RouteDownloadSettings& settings,
                  const std::function<void(const QString&)>& progress, const std::function<bool()>& aborted,
                  const std::function<void(int, int)>& step = {});

} // namespace vantor
