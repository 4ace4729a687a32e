#include "loaders/PointAlarmsQuery.h"

#include "analysis/Log.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/IndicesStore.h"
#include "loaders/PointSeverityStore.h"
#include "loaders/SignalLoader.h"
#include "loaders/StatusTableQuery.h"
#include "store/AlarmRecords.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

#include <algorithm>

namespace vantor {

namespace {

bool Alarming(StatusCode code) {
    return code == StatusCode::Warning || code == StatusCode::Critical;
}

void JudgeBaselines(CMainConnection& db, EnvelopeAnalyzer& analyzer, const CVib& point,
                    const std::vector<CVibReading>& readings, const std::vector<PointAlarmSettingRow>& rows,
                    std::vector<AlarmReason>& reasons, QStringList& notes, bool& judged) {
    std::optional<std::map<QString, ReadingIndices>> indices;
    for (const PointAlarmSettingRow& row : rows) {
        const std::optional<BaselineSettings> settings = BaselineSettingsOf(row);
        if (!settings) {
            notes << AlarmSettingRowRefusal(row).value_or(QString());
            continue;
        }
        if (settings->measure.index && !indices) {
            indices = PointReadingIndices(db, analyzer, point.sItemGUID, readings);
        }
        static const std::map<QString, ReadingIndices> kNone;
        const std::vector<MeasureSample> samples =
            MeasureSamplesOf(readings, indices ? *indices : kNone, settings->measure);
        const std::optional<BaselineOutcome> outcome = JudgeBaseline(samples, *settings);
        if (!outcome) {
            if (!samples.empty()) {
                notes << QStringLiteral("%1: the baseline has fewer than %2 usable readings")
                             .arg(AlarmMeasureCaption(settings->measure))
                             .arg(BaselineDefaults::kFewestReadings);
            }
            continue;
        }
        judged = true;
        if (Alarming(outcome->statistical.code)) {
            reasons.push_back(
                {AlarmReason::Source::Baseline, outcome->statistical.code, outcome->statistical.reason});
        }
        if (Alarming(outcome->change.code)) {
            reasons.push_back({AlarmReason::Source::Change, outcome->change.code, outcome->change.reason});
        }
    }
}

void JudgeBands(CMainConnection& db, SignalProcessor& processor, EnvelopeAnalyzer& analyzer,
                const CVibReading& latest, const std::vector<SpectralBandRow>& rows,
                std::vector<AlarmReason>& reasons, QStringList& notes, bool& judged) {
    ReadingSignals decoded;
    if (!LoadReadingSignals(db, processor, latest, decoded)) {
        qCWarning(lcAnalysis) << "Cannot decode the latest reading for the bands" << latest.sItemGUID;
        notes << UiText(text::added::BandsNotDecoded);
        return;
    }
    std::optional<ReadingEnvelope> envelope;
    for (const SpectralBandRow& row : rows) {
        const std::optional<SpectralBand> band = SpectralBandOf(row);
        if (!band) {
            notes << SpectralBandRowRefusal(row).value_or(QString());
            continue;
        }
        SpectrumLines lines;
        switch (band->spectrum) {
        case BandSpectrum::Iso:
            lines = {decoded.iso.spectrum, decoded.iso.LineSpacingHz(), IsoLines(decoded.iso).first,
                     static_cast<int>(decoded.iso.spectrum.size())};
            break;
        case BandSpectrum::Total:
            lines = {decoded.total.spectrum, decoded.total.LineSpacingHz(), 0,
                     static_cast<int>(decoded.total.spectrum.size())};
            break;
        case BandSpectrum::Envelope:
            if (!envelope) {
                envelope = LoadReadingEnvelope(db, analyzer, latest, decoded);
            }
            if (envelope->outcome != ReadingEnvelopeOutcome::Ready) {
                notes << QStringLiteral("Band %1: no envelope spectrum").arg(row.number);
                continue;
            }
            lines = {envelope->spectrum.lines, envelope->spectrum.lineSpacingHz, 1,
                     static_cast<int>(envelope->spectrum.lines.size())};
            break;
        }
        const BandVerdict verdict = JudgeSpectralBand(lines, decoded.runSpeedHz, *band, row.number);
        judged = judged || verdict.code != StatusCode::NoReadings;
        if (Alarming(verdict.code)) {
            reasons.push_back({AlarmReason::Source::Band, verdict.code, verdict.reason});
        }
    }
}

} // namespace

std::vector<SpectralBand> PointSpectralBands(CMainConnection& db, const QString& pointGuid) {
    std::vector<SpectralBand> bands;
    for (const SpectralBandRow& row : alarmrows::BandsOf(db.Connection(), pointGuid)) {
        if (const std::optional<SpectralBand> band = SpectralBandOf(row)) {
            bands.push_back(*band);
        }
    }
    return bands;
}

PointAlarmStatus EvaluatePointAlarms(CMainConnection& db, SignalProcessor& processor,
                                     EnvelopeAnalyzer& analyzer, const CVib& point) {
    const DatedStatus documented = PointStatus(db, point);
    const std::vector<PointAlarmSettingRow> settings =
        alarmrows::SettingsOf(db.Connection(), point.sItemGUID);
    const std::vector<SpectralBandRow> bands = alarmrows::BandsOf(db.Connection(), point.sItemGUID);
    const PointStandard standard = LoadPointStandard(db, point.sItemGUID);
    const bool zoned = standard.standard == SeverityStandard::Iso20816_3;
    if (settings.empty() && bands.empty() && !zoned) {
        return CombinePointStatus(documented, {}, {});
    }
    const std::vector<CVibReading> readings = db.ListVibReadings(point.sItemGUID);
    std::vector<AlarmReason> reasons;
    QStringList notes;
    bool judged = false;
    std::optional<PointZone> zone;
    if (!readings.empty()) {
        if (!settings.empty()) {
            JudgeBaselines(db, analyzer, point, readings, settings, reasons, notes, judged);
        }
        if (!bands.empty()) {
            JudgeBands(db, processor, analyzer, readings.back(), bands, reasons, notes, judged);
        }
        if (zoned) {
            zone = ReadingZone(standard, point, readings.back());
            if (zone) {
                judged = true;
                if (const StatusCode code = ZoneStatus(zone->verdict.zone); Alarming(code)) {
                    reasons.push_back({AlarmReason::Source::Zone, code,
                                       QStringLiteral("%1 %2").arg(SeverityStandardCaption(standard.standard),
                                                                   zone->text)});
                }
            } else {
                notes << UiText(text::added::NoVelocityForZone).arg(PointStandardText(standard));
            }
        }
    }
    const QDateTime latest = readings.empty() ? QDateTime() : readings.back().ctDateTaken;
    PointAlarmStatus status = CombinePointStatus(documented, latest, std::move(reasons));
    // A point judged by its own settings is at least OK, even where the documented alarms are off.
    if (judged) {
        Combine(status.combined, DatedStatus{StatusCode::Ok, latest});
    }
    status.hasSettings = true;
    status.notes = std::move(notes);
    status.zone = std::move(zone);
    return status;
}

std::vector<AlarmedStatusRow> BuildAlarmedStatusTable(CMainConnection& db, const StatusTableOptions& options,
                                                      SignalProcessor& processor,
                                                      EnvelopeAnalyzer& analyzer) {
    std::vector<StatusTableRow> rows = BuildVibStatusTable(db, options);
    const std::vector<QString> withSettings = alarmrows::PointsWithAlarmRows(db.Connection());
    std::vector<AlarmedStatusRow> table;
    table.reserve(rows.size());
    std::size_t next = 0;
    // The points in the table's own order: machines in order, each one's points in order.
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            if (next == rows.size()) {
                break;
            }
            AlarmedStatusRow alarmed{std::move(rows[next++]), point.sItemGUID, {}};
            alarmed.alarms = CombinePointStatus(alarmed.row.status, {}, {});
            if (std::find(withSettings.begin(), withSettings.end(), point.sItemGUID) != withSettings.end()) {
                alarmed.alarms = EvaluatePointAlarms(db, processor, analyzer, point);
                alarmed.row.status = alarmed.alarms.combined;
            }
            table.push_back(std::move(alarmed));
        }
    }
    return table;
}

} // namespace vantor
