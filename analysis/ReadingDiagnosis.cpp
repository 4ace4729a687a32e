#include "analysis/ReadingDiagnosis.h"

#include "analysis/WhitenedEnvelope.h"
#include "texts/UiText.h"

#include <cmath>

namespace vantor {

std::optional<RunSpeedEstimate> EstimateRunSpeedOf(const ReadingSignals& decoded) {
    WhitenedEnvelope work;
    if (!work.Prepare(decoded.total.waveform, decoded.total.samplingFrequencyHz)) {
        return std::nullopt;
    }
    return EstimateRunSpeed(work.HannMagnitudes(), work.LineSpacingHz(), decoded.runSpeedHz);
}

ReadingDiagnosis DiagnoseSignals(const CVibReading& row, const ReadingSignals& decoded,
                                 const DiagnosisContext& context) {
    ReadingDiagnosis result;
    result.pointGuid = row.sParentGUID;
    result.runSpeedHz = decoded.runSpeedHz;
    DiagnosisInput input;
    input.runSpeedHz = decoded.runSpeedHz;
    // The zones and the overall the point's severity is judged by: its documented ISO alarm, or the
    // velocity zones of ISO 20816-3 when that is the point's standard.
    if (context.point) {
        const CVib& point = *context.point;
        const PointStandard& standard = context.standard;
        input.zones = DiagnosisZonesOf(
            point, standard.standard == SeverityStandard::Iso20816_3
                       ? Iso20816Boundaries(standard.group, standard.support, SeverityQuantity::Velocity)
                       : std::nullopt);
        result.zone = ReadingZone(standard, point, row);
    }
    if (std::isfinite(row.fISOMMS) && !IsNoValue(row.fISOMMS) && row.fISOMMS >= 0) {
        input.isoOverallMms = row.fISOMMS;
    }
    input.iso = {decoded.iso.spectrum, decoded.iso.LineSpacingHz(), IsoLines(decoded.iso).first,
                 static_cast<int>(decoded.iso.spectrum.size())};
    if (decoded.iso.spectrum.empty()) {
        result.notes << UiText(text::added::DiagNoIsoSpectrum);
    }

    const std::vector<BearingAtPoint>& bearings = context.bearings;
    result.bearings = static_cast<int>(bearings.size());
    // The Total capture: the run speed read from its spectrum, and the bearing families judged on
    // its pre-whitened squared-envelope spectrum.
    WhitenedEnvelope work;
    const bool capture = work.Prepare(decoded.total.waveform, decoded.total.samplingFrequencyHz);
    if (capture) {
        if (const std::optional<RunSpeedEstimate> estimate =
                EstimateRunSpeed(work.HannMagnitudes(), work.LineSpacingHz(), decoded.runSpeedHz)) {
            result.estimatedRunSpeedHz = estimate->hz;
            const double off = std::abs(estimate->hz - decoded.runSpeedHz);
            if (off > kRunSpeedUseEstimateMostShare * decoded.runSpeedHz) {
                result.notes << QStringLiteral(
                                    "run speed %1 Hz estimated, %2 Hz stored: more than 5 % apart, "
                                    "the stored one is used")
                                    .arg(QString::number(estimate->hz, 'f', 1),
                                         QString::number(decoded.runSpeedHz, 'f', 1));
            } else if (off > kRunSpeedUseEstimateShare * decoded.runSpeedHz) {
                result.usedEstimate = true;
                input.runSpeedHz = estimate->hz;
                input.storedRunSpeedHz = decoded.runSpeedHz;
                result.notes << QStringLiteral("run speed %1 Hz estimated, %2 Hz stored")
                                    .arg(QString::number(estimate->hz, 'f', 1),
                                         QString::number(decoded.runSpeedHz, 'f', 1));
            }
        }
    }
    if (!bearings.empty()) {
        if (capture) {
            BearingCapture judged{decoded.total.waveform, decoded.total.samplingFrequencyHz, input.runSpeedHz,
                                  std::nullopt};
            if (const std::optional<EnvelopeBandRow> own =
                    context.pointBand ? context.pointBand() : std::nullopt) {
                judged.pointBand = EnvelopeBand{own->lowHz, own->highHz};
            }
            input.bearingVerdict = JudgePrepared(work, judged, bearings);
            input.bearings = bearings;
        }
        if (!input.bearingVerdict || !input.bearingVerdict->analysed) {
            const ReadingEnvelope envelope = context.envelope ? context.envelope() : ReadingEnvelope{};
            if (envelope.outcome == ReadingEnvelopeOutcome::Ready) {
                const SpectrumLines lines{envelope.spectrum.lines, envelope.spectrum.lineSpacingHz, 1,
                                          static_cast<int>(envelope.spectrum.lines.size())};
                input.envelopeMatches = MatchBearingFaults(lines, input.runSpeedHz, bearings);
                input.envelopeSpacingHz = envelope.spectrum.lineSpacingHz;
            } else {
                result.notes
                    << UiText(text::added::DiagNoEnvelope).arg(EnvelopeRefusalText(envelope.refusal));
            }
        }
        input.velocityMatches = MatchBearingFaults(input.iso, input.runSpeedHz, bearings);
    }

    if (context.indices && context.indices->total) {
        input.crest = context.indices->total->crest;
        input.kurtosis = context.indices->total->kurtosis;
    } else {
        result.notes << UiText(text::added::DiagNoTotalIndices);
    }
    result.findings = Diagnose(input);
    return result;
}

} // namespace vantor
