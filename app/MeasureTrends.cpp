#include "app/MeasureTrends.h"

#include "analysis/PointAlarms.h"
#include "analysis/ReadingIndices.h"
#include "app/PointAlarmSetup.h"
#include "loaders/IndicesStore.h"
#include "store/AlarmRecords.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"

#include <algorithm>

namespace vantor {

std::vector<TrendReading> PointIndexTrend(CMainConnection& db, const CVib& point,
                                          const std::vector<CVibReading>& readings, IndexMeasure measure) {
    EnvelopeAnalyzer analyzer;
    return IndexTrendReadingsOf(readings, PointReadingIndices(db, analyzer, point.sItemGUID, readings),
                                measure);
}

std::vector<TrendReading> PointOnlineTrend(CMainConnection& db, const CVib& point, MeasureKind kind) {
    if (kind != MeasureKind::IsoVelocity && kind != MeasureKind::Acceleration) {
        return {};
    }
    // The sensors bound to the point now; a row keeps the point it was stored for, so a sensor moved
    // from another point brings none of that point's values.
    std::vector<TrendReading> values;
    for (const SensorRow& sensor : onlinerows::Sensors(db.Connection())) {
        if (sensor.pointGuid != point.sItemGUID) {
            continue;
        }
        for (const OnlineOverallRow& row : onlinerows::Overalls(db.Connection(), sensor.sensorId)) {
            const std::optional<double>& value = kind == MeasureKind::IsoVelocity ? row.isoMms : row.totalG;
            if (row.pointGuid == point.sItemGUID && value && row.taken.isValid()) {
                values.push_back({row.guid, row.taken, static_cast<float>(*value)});
            }
        }
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const TrendReading& a, const TrendReading& b) { return a.taken < b.taken; });
    return values;
}

std::optional<BaselineStatistics> PointBaselineLimits(CMainConnection& db, const CVib& point,
                                                      const AlarmMeasure& measure) {
    const QString name = AlarmMeasureName(measure);
    for (const PointAlarmSettingRow& row : alarmrows::SettingsOf(db.Connection(), point.sItemGUID)) {
        if (row.measure != name) {
            continue;
        }
        const std::optional<BaselineSettings> settings = BaselineSettingsOf(row);
        if (!settings || !settings->HasBaseline()) {
            return std::nullopt;
        }
        const std::vector<MeasureSample> samples = PointMeasureSamples(db, point, measure);
        return ComputeBaseline(BaselineValues(samples, *settings), settings->sigmaWarning,
                               settings->sigmaCritical);
    }
    return std::nullopt;
}

} // namespace vantor
