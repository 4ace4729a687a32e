#pragma once
// A point's status with the alarms beside the documented ones: its documented status, the baseline
// and change alarms of each measure it has settings for and its spectral bands on the latest
// reading, combined into the most severe with the reasons kept. A point without the new settings
// has exactly its documented status and no reasons.

#include "analysis/AlarmStatus.h"
#include "analysis/BaselineAlarms.h"
#include "analysis/PointSeverity.h"
#include "analysis/SpectralBands.h"
#include "records/AlarmRows.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantor {

// Why a stored row cannot be used: it names no known measure or spectrum, or holds a value the
// checks refuse when it is set (not finite, out of range: a file from an older version, or a row
// written past the program, may hold one). None when it can be used.
std::optional<QString> AlarmSettingRowRefusal(const PointAlarmSettingRow& row);
std::optional<QString> SpectralBandRowRefusal(const SpectralBandRow& row);

// The stored rows and the settings they hold; a row refused as above gives none.
std::optional<BaselineSettings> BaselineSettingsOf(const PointAlarmSettingRow& row);
PointAlarmSettingRow ToAlarmSettingRow(const QString& pointGuid, const BaselineSettings& settings);
std::optional<SpectralBand> SpectralBandOf(const SpectralBandRow& row);
SpectralBandRow ToSpectralBandRow(const QString& pointGuid, const SpectralBand& band);

// One alarm beyond the documented ones that stands at WARNING or CRITICAL.
struct AlarmReason {
    enum class Source { Baseline, Change, Band, Zone };
    Source source = Source::Baseline;
    StatusCode code = StatusCode::Warning;
    QString text;
};
QString AlarmReasonSourceName(AlarmReason::Source source); // "baseline", "change", "band", "zone"

struct PointAlarmStatus {
    DatedStatus documented;
    DatedStatus combined;             // documented, made more severe by the reasons
    bool hasSettings = false;         // any baseline setting, band or severity standard
    std::vector<AlarmReason> reasons; // most severe first
    QStringList notes;                // settings that could not be judged (a baseline too short)
    // With ISO 20816-3 as the point's standard: the zone of its latest reading (zone C or D is a
    // reason too).
    std::optional<PointZone> zone;
};

// The combination of a documented status with the new alarms' reasons, dated by the latest reading.
PointAlarmStatus CombinePointStatus(const DatedStatus& documented, const QDateTime& latest,
                                    std::vector<AlarmReason> reasons);

} // namespace vantor
