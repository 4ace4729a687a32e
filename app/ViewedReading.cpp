#include "app/ViewedReading.h"

#include "analysis/AlarmStatus.h"
#include "analysis/SignalCache.h"
#include "analysis/ViewData.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "texts/UiText.h"

#include <QLocale>

namespace vantor {

namespace {

QString NamesTitle(const QString& machine, const QString& point) {
    if (machine.isEmpty()) {
        return point;
    }
    return point.isEmpty() ? machine : QStringLiteral("%1 - %2").arg(machine, point);
}

} // namespace

QString ReadingTitle(const ViewedReading& reading) {
    const QString taken = QLocale::system().toString(reading.taken, QLocale::ShortFormat);
    const QString names = NamesTitle(reading.machineName, reading.pointName);
    return names.isEmpty() ? taken : QStringLiteral("%1  %2").arg(names, taken);
}

QString PointTitle(CMainConnection& db, const CVib& point) {
    CMachine machine;
    return NamesTitle(db.GetMachine(point.sParentGUID, machine) ? machine.sName : QString(), point.sName);
}

std::optional<double> BandAlarmLevel(const ViewedReading& reading, const DisplayUnits& units) {
    if (!reading.point) {
        return std::nullopt;
    }
    const AlarmLimits limits = LimitsFor(*reading.point, MeasureKind::VaBand1);
    if (!limits.alarmsOn) {
        return std::nullopt;
    }
    return DisplayMeasureValue(MeasureKind::VaBand1, limits.warning, units);
}

DisplayUnits DisplayUnitsOf(const CSettings& settings) {
    return DisplayUnits::FromSettings(settings.xAxisUnits, settings.yAxisUnits);
}

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

} // namespace vantor
