#include "app/PointAlarmSetup.h"

#include "analysis/PointAlarms.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingIndices.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/IndicesStore.h"
#include "loaders/SignalLoader.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

#include <cmath>
#include <limits>

namespace vantor {
namespace {

// The top of the chosen spectrum and the run speed of the point's latest reading; none without a
// reading that decodes.
struct SpectrumReach {
    double topHz = 0;
    double runSpeedHz = 0;
};

std::optional<SpectrumReach> ReachOfLatest(CMainConnection& db, const QString& pointGuid,
                                           BandSpectrum spectrum) {
    CVibReading latest;
    if (!db.GetLatestVibReading(pointGuid, latest)) {
        return std::nullopt;
    }
    SignalProcessor processor;
    ReadingSignals decoded;
    if (!LoadReadingSignals(db, processor, latest.sItemGUID, decoded)) {
        return std::nullopt;
    }
    if (spectrum == BandSpectrum::Envelope) {
        EnvelopeAnalyzer analyzer;
        const ReadingEnvelope envelope = LoadReadingEnvelope(db, processor, analyzer, latest.sItemGUID);
        if (envelope.outcome != ReadingEnvelopeOutcome::Ready || envelope.spectrum.lines.empty()) {
            return std::nullopt;
        }
        return SpectrumReach{envelope.spectrum.FrequencyOf(envelope.spectrum.lines.size() - 1),
                             decoded.runSpeedHz};
    }
    return SpectrumReach{spectrum == BandSpectrum::Iso ? decoded.iso.fmaxHz : decoded.total.fmaxHz,
                         decoded.runSpeedHz};
}

} // namespace

std::vector<MeasureSample> PointMeasureSamples(CMainConnection& db, const CVib& point,
                                               const AlarmMeasure& measure) {
    const std::vector<CVibReading> readings = db.ListVibReadings(point.sItemGUID);
    std::map<QString, ReadingIndices> indices;
    if (measure.index) {
        EnvelopeAnalyzer analyzer;
        indices = PointReadingIndices(db, analyzer, point.sItemGUID, readings);
    }
    return MeasureSamplesOf(readings, indices, measure);
}

std::optional<QString> BaselineSettingsRefusal(const BaselineSettings& settings,
                                               const std::vector<MeasureSample>& samples) {
    if (std::optional<QString> refused = CheckBaselineSettings(settings)) {
        return refused;
    }
    if (!settings.HasBaseline()) {
        return std::nullopt;
    }
    // A baseline is only stored when it can judge: at least three usable readings now.
    const std::size_t usable = BaselineValues(samples, settings).size();
    if (usable < static_cast<std::size_t>(BaselineDefaults::kFewestReadings)) {
        return QStringLiteral("The baseline has %1 usable readings of %2; at least %3 are "
                              "needed, so the point keeps its documented alarms")
            .arg(usable)
            .arg(AlarmMeasureCaption(settings.measure))
            .arg(BaselineDefaults::kFewestReadings);
    }
    return std::nullopt;
}

std::optional<QString> StoreBaselineSettings(CMainConnection& db, const CVib& point,
                                             const BaselineSettings& settings) {
    const std::vector<MeasureSample> samples = settings.HasBaseline()
                                                   ? PointMeasureSamples(db, point, settings.measure)
                                                   : std::vector<MeasureSample>{};
    if (std::optional<QString> refused = BaselineSettingsRefusal(settings, samples)) {
        return refused;
    }
    alarmrows::PutSetting(db.Connection(), ToAlarmSettingRow(point.sItemGUID, settings));
    return std::nullopt;
}

bool RemoveBaselineSettings(CMainConnection& db, const QString& pointGuid, const AlarmMeasure& measure) {
    return alarmrows::DeleteSetting(db.Connection(), pointGuid, AlarmMeasureName(measure));
}

PointBandCheck CheckPointBand(CMainConnection& db, const CVib& point, const SpectralBand& band) {
    const std::optional<SpectrumReach> reach = ReachOfLatest(db, point.sItemGUID, band.spectrum);
    const double runSpeedHz = reach && reach->runSpeedHz > 0 ? reach->runSpeedHz : point.fRunSpeedHz;
    return {
        CheckSpectralBand(band, reach ? reach->topHz : std::numeric_limits<double>::infinity(), runSpeedHz),
        !reach.has_value()};
}

std::optional<QString> CheckPointBands(CMainConnection& db, const CVib& point,
                                       const std::vector<SpectralBand>& bands) {
    if (bands.size() > static_cast<std::size_t>(kMostSpectralBands)) {
        return QStringLiteral("A point has at most %1 bands").arg(kMostSpectralBands);
    }
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (const std::optional<QString> refused = CheckPointBand(db, point, bands[i]).refusal) {
            return UiText(text::added::BandRefusal).arg(i + 1).arg(*refused);
        }
    }
    return std::nullopt;
}

void StorePointBands(CMainConnection& db, const QString& pointGuid, const std::vector<SpectralBand>& bands) {
    std::vector<SpectralBandRow> rows;
    rows.reserve(bands.size());
    for (const SpectralBand& band : bands) {
        rows.push_back(ToSpectralBandRow(pointGuid, band));
    }
    alarmrows::PutBands(db.Connection(), pointGuid, rows);
}

std::optional<ReadingSignals> LatestReadingSignals(CMainConnection& db, const QString& pointGuid) {
    CVibReading latest;
    if (pointGuid.isEmpty() || !db.GetLatestVibReading(pointGuid, latest)) {
        return std::nullopt;
    }
    SignalProcessor processor;
    ReadingSignals decoded;
    if (!LoadReadingSignals(db, processor, latest.sItemGUID, decoded)) {
        return std::nullopt;
    }
    return decoded;
}

std::optional<QString> EnvelopeBandRefusal(double lowHz, double highHz) {
    if (!std::isfinite(lowHz) || !std::isfinite(highHz) || !(lowHz > 0.0) || !(lowHz < highHz)) {
        return QStringLiteral("the envelope band must run from above 0 Hz to above its low edge");
    }
    return std::nullopt;
}

std::optional<QString> StorePointEnvelopeBand(CMainConnection& db, const QString& pointGuid,
                                              const std::optional<EnvelopeBandRow>& band) {
    if (band) {
        if (std::optional<QString> refused = EnvelopeBandRefusal(band->lowHz, band->highHz)) {
            return refused;
        }
    }
    derived::PutEnvelopeBand(db.Connection(), pointGuid, band);
    return std::nullopt;
}

PointAlarmSetupRows LoadPointAlarmSetup(CMainConnection& db, const QString& pointGuid) {
    PointAlarmSetupRows rows;
    for (const PointAlarmSettingRow& row : alarmrows::SettingsOf(db.Connection(), pointGuid)) {
        if (const std::optional<BaselineSettings> settings = BaselineSettingsOf(row)) {
            rows.settings[row.measure] = *settings;
        }
    }
    rows.bands = alarmrows::BandsOf(db.Connection(), pointGuid);
    rows.envelope = derived::GetEnvelopeBand(db.Connection(), pointGuid);
    rows.latest = LatestReadingSignals(db, pointGuid);
    return rows;
}

std::optional<QString> StorePointAlarmChanges(CMainConnection& db, const CVib& point,
                                              const PointAlarmChanges& changes) {
    SqlConnection::Transaction transaction(db.Connection());
    for (const AlarmMeasure& measure : changes.removed) {
        RemoveBaselineSettings(db, point.sItemGUID, measure);
    }
    for (const BaselineSettings& settings : changes.stored) {
        if (std::optional<QString> refused = StoreBaselineSettings(db, point, settings)) {
            return refused;
        }
    }
    if (changes.bands) {
        StorePointBands(db, point.sItemGUID, *changes.bands);
    }
    if (changes.envelope) {
        if (std::optional<QString> refused = StorePointEnvelopeBand(db, point.sItemGUID, *changes.envelope)) {
            return refused;
        }
    }
    if (!transaction.Commit()) {
        return UiText(text::ErrorSavingRecord);
    }
    return std::nullopt;
}

} // namespace vantor
