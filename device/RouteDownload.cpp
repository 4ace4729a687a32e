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

// A machine as it is sent: the machine and its first points.
struct SentMachine {
    CMachine machine;
    std::vector<CVib> points;
};

// The route's machines and points exactly as the download sends them.
std::vector<SentMachine> PlannedMachines(CMainConnection& main, const QString& routeGuid) {
    std::vector<CRouteItem> items = main.ListRouteItems(routeGuid);
    items.resize(std::min<size_t>(items.size(), kRouteMachinesSent));
    std::vector<SentMachine> planned;
    for (const CRouteItem& item : items) {
        SentMachine sent;
        if (!main.GetMachine(item.sMachineGUID, sent.machine)) {
            continue;
        }
        sent.points = main.ListVibs(sent.machine.sItemGUID);
        sent.points.resize(std::min<size_t>(sent.points.size(), kPointsSentPerMachine));
        planned.push_back(std::move(sent));
    }
    return planned;
}

CMachine OffRouteAsset(const RouteDownloadSettings& settings) {
    CMachine offRoute;
    offRoute.sItemGUID = settings.offRouteAssetGuid;
    offRoute.sVMName = settings.offRouteName;
    return offRoute;
}

CVib OffRoutePoint(const RouteDownloadSettings& settings, qsizetype i) {
    CVib point;
    point.sItemGUID = settings.offRoutePointGuids[i];
    point.sVMName = QString::number(i + 1);
    point.fRunSpeedHz = static_cast<float>(kOffRoutePointRunSpeedHz);
    return point;
}

} // namespace

std::optional<QString> RouteCommandProblem(CMainConnection& main, const RouteDownloadSettings& settings) {
    for (const SentMachine& sent : PlannedMachines(main, settings.routeGuid)) {
        if (auto problem = AssetCommandProblem(sent.machine)) {
            return problem;
        }
        for (const CVib& point : sent.points) {
            if (auto problem = MeasurementPointCommandProblem(sent.machine, point)) {
                return problem;
            }
        }
    }
    const CMachine offRoute = OffRouteAsset(settings);
    for (qsizetype i = 0; i < settings.offRoutePointGuids.size(); ++i) {
        if (auto problem = MeasurementPointCommandProblem(offRoute, OffRoutePoint(settings, i))) {
            return problem;
        }
    }
    return std::nullopt;
}

int DownloadRoute(CMeterLink& link, CMainConnection& main, const RouteDownloadSettings& settings,
                  const std::function<void(const QString&)>& progress, const std::function<bool()>& aborted,
                  const std::function<void(int, int)>& step) {
    progress(UiText(text::CreatingRouteData));
    const std::vector<SentMachine> planned = PlannedMachines(main, settings.routeGuid);
    int total = 1 + static_cast<int>(settings.offRoutePointGuids.size());
    for (const SentMachine& sent : planned) {
        total += 1 + static_cast<int>(sent.points.size());
    }
    int done = 0;
    auto creating = [&](int textIndex, const QString& name) {
        progress(Labelled(textIndex, name));
        if (step) {
            step(++done, total);
        }
    };
    // A failure of the meter ends the download with its own code: going on would leave the meter
    // with part of the route while the run reported success.
    for (const SentMachine& sent : planned) {
        const CMachine& machine = sent.machine;
        creating(text::CreatingMachine, machine.sVMName);
        if (const int result = CreateAsset(link, machine)) {
            return result;
        }
        for (const CVib& point : sent.points) {
            creating(text::CreatingVibPoint, point.sVMName);
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

    const CMachine offRoute = OffRouteAsset(settings);
    creating(text::CreatingMachine, settings.offRouteName);
    int result = CreateAsset(link, offRoute);
    for (qsizetype i = 0; result == 0 && i < settings.offRoutePointGuids.size(); ++i) {
        const CVib point = OffRoutePoint(settings, i);
        creating(text::CreatingVibPoint, point.sVMName);
        result = CreateMeasurementPoint(link, offRoute, point);
    }
    if (aborted()) {
        return kSyncAborted;
    }
    return result;
}

} // namespace vantor
