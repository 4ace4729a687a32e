#include "app/MeasureTrends.h"

#include "analysis/PointAlarms.h"
#include "analysis/ReadingIndices.h"
#include "app/PointAlarmSetup.h"
#include "loaders/IndicesStore.h"
#include "store/AlarmRecords.h"
#include "store/MainConnection.h"

namespace vantor {

std::vector<TrendReading> PointIndexTrend(CMainConnection& db, const CVib& point,
                                          const std::vector<CVibReading>& readings, IndexMeasure measure) {
    EnvelopeAnalyzer analyzer;
    return IndexTrendReadingsOf(readings, PointReadingIndices(db, analyzer, point.sItemGUID, readings),
                                measure);
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
