#include "app/ViewedReading.h"

#include "analysis/AlarmStatus.h"
#include "analysis/SignalCache.h"
#include "analysis/ViewData.h"
#include "app/EditOutcome.h"
#include "app/RunSpeedUpdate.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/SignalLoader.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "texts/DisplayFormat.h"
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
    const QString taken = DisplayDateTime(reading.taken);
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
        if (LoadReadingSignals(db, processor, route, out.decoded)) {
            out.row = std::move(route);
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
    std::optional<ViewedReading> reading;
    try {
        reading = app.MainConnection() ? LoadViewedReading(app, processor, guid) : std::nullopt;
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading reading" << guid << "failed:" << error.what();
    }
    if (!reading) {
        app.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
    }
    return reading;
}

std::optional<ViewedPoint> LoadViewedPoint(CAppData& app, const QString& pointGuid) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return std::nullopt;
    }
    const auto read = [db, &pointGuid]() -> std::optional<ViewedPoint> {
        ViewedPoint viewed;
        if (!db->GetVib(pointGuid, viewed.point)) {
            return std::nullopt;
        }
        CMachine machine;
        if (db->GetMachine(viewed.point.sParentGUID, machine)) {
            viewed.machineName = machine.sName;
        }
        viewed.readings = db->ListVibReadings(pointGuid);
        return viewed;
    };
    return ReadShown(app.UserPrompter(), QStringLiteral("loading point %1").arg(pointGuid), read)
        .value_or(std::nullopt);
}

bool LoadPointReadingSignals(CAppData& app, SignalProcessor& processor, const QString& readingGuid,
                             ReadingSignals& out) {
    CMainConnection* db = app.MainConnection();
    try {
        return db != nullptr && LoadReadingSignals(*db, processor, readingGuid, out);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading the signals of reading" << readingGuid << "failed:" << error.what();
        return false;
    }
}

ReadingEnvelope LoadPointReadingEnvelope(CAppData& app, SignalProcessor& processor,
                                         EnvelopeAnalyzer& analyzer, const QString& readingGuid) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return {};
    }
    try {
        return LoadReadingEnvelope(*db, processor, analyzer, readingGuid);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading the envelope of reading" << readingGuid << "failed:" << error.what();
        return {};
    }
}

ReadingEnvelope LoadPointReadingEnvelope(CAppData& app, EnvelopeAnalyzer& analyzer,
                                         const ViewedReading& reading) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr || !reading.row) {
        return {};
    }
    try {
        return LoadReadingEnvelope(*db, analyzer, *reading.row, reading.decoded);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading the envelope of reading" << reading.row->sItemGUID
                         << "failed:" << error.what();
        return {};
    }
}

bool DeleteReadingShown(CAppData& app, const QString& readingGuid) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return false;
    }
    bool deleted = false;
    try {
        deleted = db->DeleteVibReading(readingGuid);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "deleting reading" << readingGuid << "failed:" << error.what();
    }
    if (!deleted) {
        qCWarning(lcApp) << "reading" << readingGuid << "was not deleted";
        app.UserPrompter().ShowMessage(UiText(text::ErrorSavingRecord));
    }
    return deleted;
}

RunSpeedResult UpdateRunSpeedOf(CAppData& app, SignalProcessor& processor, const QString& readingGuid,
                                float newRunSpeedHz) {
    RunSpeedResult failed;
    failed.outcome = RunSpeedOutcome::SaveFailed;
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return failed;
    }
    try {
        return UpdateRunSpeed(*db, processor, app.UserPrompter(), readingGuid, newRunSpeedHz);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "updating the run speed of reading" << readingGuid << "failed:" << error.what();
        return failed;
    }
}

QString PointTitle(CAppData& app, const CVib& point) {
    try {
        if (CMainConnection* db = app.MainConnection()) {
            return PointTitle(*db, point);
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "reading the machine of point" << point.sItemGUID << "failed:" << error.what();
    }
    return point.sName;
}

} // namespace vantor
