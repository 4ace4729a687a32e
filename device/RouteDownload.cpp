#include "device/RouteDownload.h"

#include "device/MeterCommands.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

#include <algorithm>

namespace vantor {
namespace {

QString Labelled(int label, const QString& name) {
    return QStringLiteral("%1: %2").arg(UiText(label), name);
}

} // namespace

int DownloadRoute(CMeterLink& link, CMainConnection& main, const RouteDownloadSettings& settings,
                  const std::function<void(const QString&)>& progress, const std::function<bool()>& aborted) {
    progress(UiText(text::CreatingRouteData));
    std::vector<CRouteItem> items = main.ListRouteItems(settings.routeGuid);
    items.resize(std::min<size_t>(items.size(), kRouteMachinesSent));

    // A failure of the meter ends the download with its own code: going on would leave the meter
    // with part of the route while the run reported success.
    for (const CRouteItem& item : items) {
        CMachine machine;
        if (!main.GetMachine(item.sMachineGUID, machine)) {
            continue;
        }
        progress(Labelled(text::CreatingMachine, machine.sVMName));
        if (const int result = CreateAsset(link, machine)) {
            return result;
        }
        std::vector<CVib> points = main.ListVibs(machine.sItemGUID);
        points.resize(std::min<size_t>(points.size(), kPointsSentPerMachine));
        for (const CVib& point : points) {
            progress(Labelled(text::CreatingVibPoint, point.sVMName));
            if (const int result = CreateMeasurementPoint(link, machine, point)) {
                return result;
            }
            if (aborted()) {
                return kSyncAborted;
            }
        }
        if (aborted()) {
            return kSyncAborted;
        }
    }

    CMachine offRoute;
    offRoute.sItemGUID = settings.offRouteAssetGuid;
    offRoute.sVMName = settings.offRouteName;
    progress(Labelled(text::CreatingMachine, settings.offRouteName));
    int result = CreateAsset(link, offRoute);
    for (qsizetype i = 0; result == 0 && i < settings.offRoutePointGuids.size(); ++i) {
        CVib point;
        point.sItemGUID = settings.offRoutePointGuids[i];
        point.sVMName = QString::number(i + 1);
        point.fRunSpeedHz = static_cast<float>(kOffRoutePointRunSpeedHz);
        progress(Labelled(text::CreatingVibPoint, point.sVMName));
        result = CreateMeasurementPoint(link, offRoute, point);
    }
    if (aborted()) {
        return kSyncAborted;
    }
    return result;
}

} // namespace vantor
