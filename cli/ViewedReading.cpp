#include "cli/ViewedReading.h"

#include "analysis/SignalCache.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "texts/UiText.h"

namespace vantor::cli {

std::optional<ViewedReading> LoadViewedReading(CAppData& app, SignalProcessor& processor,
                                               const QString& guid) {
    CMainConnection& db = *app.MainConnection();
    ViewedReading out;
    CVibReading route;
    if (db.GetVibReading(guid, route)) {
        out.taken = route.ctDateTaken;
        CVib point;
        CMachine machine;
        if (db.GetVib(route.sParentGUID, point)) {
            out.pointName = point.sName;
            if (db.GetMachine(point.sParentGUID, machine)) {
                out.machineName = machine.sName;
            }
            out.point = point;
        }
        if (LoadReadingSignals(db, processor, guid, out.decoded)) {
            return out;
        }
        return std::nullopt;
    }
    auto sync = app.MakeSyncConnection();
    COffRouteReading offRoute;
    if (sync->Open() && sync->GetOffRouteReading(guid, offRoute) &&
        LoadOffRouteReadingSignals(*sync, processor, guid, out.decoded)) {
        out.taken = offRoute.ctDateTaken;
        return out;
    }
    return std::nullopt;
}

std::optional<ViewedReading> LoadOrSay(CAppData& app, SignalProcessor& processor, const QString& guid) {
    std::optional<ViewedReading> reading = LoadViewedReading(app, processor, guid);
    if (!reading) {
        app.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
    }
    return reading;
}

} // namespace vantor::cli
