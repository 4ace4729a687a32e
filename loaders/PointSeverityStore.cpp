#include "loaders/PointSeverityStore.h"

#include "store/AlarmRecords.h"
#include "store/MainConnection.h"

namespace vantor {

PointStandard LoadPointStandard(CMainConnection& db, const QString& pointGuid) {
    if (const std::optional<PointSeverityRow> row = alarmrows::SeverityOf(db.Connection(), pointGuid)) {
        if (const std::optional<PointStandard> standard = PointStandardOf(*row)) {
            return *standard;
        }
    }
    return {};
}

void StorePointStandard(CMainConnection& db, const QString& pointGuid, const PointStandard& standard) {
    if (standard.standard == SeverityStandard::Iso10816_3) {
        alarmrows::DeleteSeverity(db.Connection(), pointGuid);
        return;
    }
    alarmrows::PutSeverity(db.Connection(), ToSeverityRow(pointGuid, standard));
}

std::optional<PointZone> LatestPointZone(CMainConnection& db, const CVib& point) {
    const PointStandard standard = LoadPointStandard(db, point.sItemGUID);
    if (standard.standard != SeverityStandard::Iso20816_3) {
        return std::nullopt;
    }
    CVibReading latest;
    if (!db.GetLatestVibReading(point.sItemGUID, latest)) {
        return std::nullopt;
    }
    return ReadingZone(standard, point, latest);
}

PointSuggestion SuggestPointAlarms(CMainConnection& db, const CVib& point, int group, Support support,
                                   int baselineReadings) {
    return SuggestPointAlarms(point, db.ListVibReadings(point.sItemGUID), group, support, baselineReadings);
}

} // namespace vantor
