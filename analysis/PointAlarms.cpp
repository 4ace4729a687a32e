#include "analysis/PointAlarms.h"

#include "analysis/Log.h"
#include "platform/LeftOutValues.h"
#include "records/DateTimeText.h"
#include "texts/UiText.h"

#include <algorithm>
#include <limits>

namespace vantor {

namespace {

std::optional<BaselineSettings> SettingsAsStored(const PointAlarmSettingRow& row) {
    const std::optional<AlarmMeasure> measure = AlarmMeasureNamed(row.measure);
    if (!measure) {
        return std::nullopt;
    }
    BaselineSettings s;
    s.measure = *measure;
    s.baselineReadings = row.baselineReadings;
    if (!row.baselineFrom.isEmpty() && !row.baselineTo.isEmpty()) {
        s.baselineFrom = DateTimeFromSql(row.baselineFrom);
        s.baselineTo = DateTimeFromSql(row.baselineTo);
    }
    s.sigmaWarning = row.sigmaWarning;
    s.sigmaCritical = row.sigmaCritical;
    s.changeWarning = row.changeWarning;
    s.changeCritical = row.changeCritical;
    return s;
}

std::optional<SpectralBand> BandAsStored(const SpectralBandRow& row) {
    const std::optional<BandSpectrum> spectrum = BandSpectrumNamed(row.spectrum);
    if (!spectrum) {
        return std::nullopt;
    }
    return SpectralBand{row.from,
                        row.to,
                        row.orders,
                        *spectrum,
                        row.warning,
                        row.critical,
                        row.rms ? BandValue::Rms : BandValue::Peak};
}

} // namespace

std::optional<QString> AlarmSettingRowRefusal(const PointAlarmSettingRow& row) {
    const std::optional<BaselineSettings> settings = SettingsAsStored(row);
    if (!settings) {
        return UiText(text::added::UnknownMeasure).arg(row.measure);
    }
    return CheckBaselineSettings(*settings);
}

std::optional<QString> SpectralBandRowRefusal(const SpectralBandRow& row) {
    const std::optional<SpectralBand> band = BandAsStored(row);
    if (!band) {
        return UiText(text::added::BandRefusal)
            .arg(QString::number(row.number), UiText(text::added::UnknownSpectrum).arg(row.spectrum));
    }
    // The band's own rules, without the reading's Fmax and run speed, which it is judged against
    // when it is set.
    if (auto refused = CheckSpectralBand(*band, std::numeric_limits<double>::infinity(), 1.0)) {
        return UiText(text::added::BandRefusal).arg(QString::number(row.number), *refused);
    }
    return std::nullopt;
}

std::optional<BaselineSettings> BaselineSettingsOf(const PointAlarmSettingRow& row) {
    if (const auto refused = AlarmSettingRowRefusal(row)) {
        ReportLeftOutValue(
            QStringLiteral("alarm setting ") + row.pointGuid,
            QStringLiteral("Alarm setting of point %1 is left out: %2").arg(row.pointGuid, *refused));
        return std::nullopt;
    }
    return SettingsAsStored(row);
}

PointAlarmSettingRow ToAlarmSettingRow(const QString& pointGuid, const BaselineSettings& s) {
    return {pointGuid,
            AlarmMeasureName(s.measure),
            s.baselineReadings,
            s.baselineFrom.isValid() ? SqlDateTimeText(s.baselineFrom) : QString(),
            s.baselineTo.isValid() ? SqlDateTimeText(s.baselineTo) : QString(),
            s.sigmaWarning,
            s.sigmaCritical,
            s.changeWarning,
            s.changeCritical};
}

std::optional<SpectralBand> SpectralBandOf(const SpectralBandRow& row) {
    if (const auto refused = SpectralBandRowRefusal(row)) {
        ReportLeftOutValue(
            QStringLiteral("band %1 ").arg(row.number) + row.pointGuid,
            QStringLiteral("Spectral band of point %1 is left out: %2").arg(row.pointGuid, *refused));
        return std::nullopt;
    }
    return BandAsStored(row);
}

SpectralBandRow ToSpectralBandRow(const QString& pointGuid, const SpectralBand& band) {
    return {pointGuid,
            0,
            band.from,
            band.to,
            band.orders,
            BandSpectrumName(band.spectrum),
            band.warning,
            band.critical,
            band.value == BandValue::Rms};
}

QString AlarmReasonSourceName(AlarmReason::Source source) {
    switch (source) {
    case AlarmReason::Source::Baseline:
        return QStringLiteral("baseline");
    case AlarmReason::Source::Change:
        return QStringLiteral("change");
    case AlarmReason::Source::Band:
        return QStringLiteral("band");
    case AlarmReason::Source::Zone:
        return QStringLiteral("zone");
    }
    return {};
}

PointAlarmStatus CombinePointStatus(const DatedStatus& documented, const QDateTime& latest,
                                    std::vector<AlarmReason> reasons) {
    PointAlarmStatus status;
    status.documented = documented;
    status.combined = documented;
    std::stable_sort(reasons.begin(), reasons.end(), [](const AlarmReason& a, const AlarmReason& b) {
        return static_cast<int>(a.code) > static_cast<int>(b.code);
    });
    for (const AlarmReason& reason : reasons) {
        Combine(status.combined, DatedStatus{reason.code, latest});
    }
    status.reasons = std::move(reasons);
    return status;
}

} // namespace vantor
