#include "app/SyncRunSettings.h"

#include "app/AlarmEvents.h"
#include "app/OptionsFromSettings.h"
#include "reports/mail/ExceptionCollector.h"
#include "reports/mail/ExceptionList.h"

namespace vantor {

SyncSettings MakeSyncSettings(CAppData& app, bool fromMeter, const QString& routeGuid, const QString& port) {
    SyncSettings settings;
    settings.fromMeter = fromMeter;
    settings.routeGuid = routeGuid;
    settings.maxDeviceVersion = CAppData::MaxDeviceVersion;
    settings.editionTitle = app.edition.title;
    settings.offRouteAssetGuid = QString::fromLatin1(CAppData::OffRouteAssetGuid);
    for (const char* guid : CAppData::OffRoutePointGuids) {
        settings.offRoutePointGuids << QString::fromLatin1(guid);
    }
    settings.store = app.MakeStoreContext();
    settings.port = port.isEmpty() ? app.settings.meterPort.trimmed() : port;
    const ExceptionCollectOptions collect = ExceptionCollectOptionsOf(app.settings);
    settings.clearExceptions = [] { ProcessExceptionList().Clear(); };
    settings.collectException = [collect](const CMachine& machine, const CVib& point,
                                          const CVibReading& reading) {
        CollectException(ProcessExceptionList(), collect, machine, point, reading);
    };
    settings.readingStored = [](CMainConnection& db, const CVib& point, const CVibReading&) {
        RecordAlarmEvent(db, point.sItemGUID);
    };
    return settings;
}

QString FindRouteGuid(CMainConnection& db, const QString& key) {
    for (const CRoute& route : db.ListRoutes()) {
        if (route.sItemGUID.compare(key, Qt::CaseInsensitive) == 0 || route.sName == key) {
            return route.sItemGUID;
        }
    }
    return {};
}

} // namespace vantor
