#include "analysis/ReadingDiagnosis.h"

#include "analysis/FaultFamilies.h"
#include "analysis/Log.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingIndices.h"
#include "analysis/SignalCache.h"
#include "store/BearingStore.h"
#include "store/MainConnection.h"

#include <cmath>

namespace vantor {

std::optional<ReadingDiagnosis> DiagnoseReading(CMainConnection& db, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const QString& readingGuid) {
    CVibReading row;
    if (readingGuid.isEmpty() || !db.GetVibReading(readingGuid, row)) {
        return std::nullopt;
    }
    ReadingSignals decoded;
    if (!LoadReadingSignals(db, processor, readingGuid, decoded)) {
        qCWarning(lcAnalysis) << "Cannot decode the reading to diagnose" << readingGuid;
        return std::nullopt;
    }
    ReadingDiagnosis result;
    result.pointGuid = row.sParentGUID;
    result.runSpeedHz = decoded.runSpeedHz;
    DiagnosisInput input;
    input.runSpeedHz = decoded.runSpeedHz;
    // The zones and the overall the point's documented ISO status is judged by.
    CVib point;
    if (db.GetVib(row.sParentGUID, point)) {
        input.zones = DiagnosisZonesOf(point);
    }
    if (std::isfinite(row.fISOMMS) && !IsNoValue(row.fISOMMS) && row.fISOMMS >= 0) {
        input.isoOverallMms = row.fISOMMS;
    }
    input.iso = {decoded.iso.spectrum, decoded.iso.LineSpacingHz(), IsoLines(decoded.iso).first,
                 static_cast<int>(decoded.iso.spectrum.size())};
    if (decoded.iso.spectrum.empty()) {
        result.notes << QStringLiteral("The reading has no ISO spectrum");
    }

    CBearingStore store(db);
    const std::vector<BearingAtPoint> bearings = LoadBearingsAtPoint(store, row.sParentGUID);
    result.bearings = static_cast<int>(bearings.size());
    if (!bearings.empty()) {
        const ReadingEnvelope envelope = LoadReadingEnvelope(db, processor, analyzer, readingGuid);
        if (envelope.outcome == ReadingEnvelopeOutcome::Ready) {
            const SpectrumLines lines{envelope.spectrum.lines, envelope.spectrum.lineSpacingHz, 1,
                                      static_cast<int>(envelope.spectrum.lines.size())};
            input.envelopeMatches = MatchBearingFaults(lines, decoded.runSpeedHz, bearings);
            input.envelopeSpacingHz = envelope.spectrum.lineSpacingHz;
        } else {
            result.notes
                << QStringLiteral("No envelope spectrum: %1").arg(EnvelopeRefusalText(envelope.refusal));
        }
        input.velocityMatches = MatchBearingFaults(input.iso, decoded.runSpeedHz, bearings);
    }

    const std::optional<ReadingIndices> indices = ReadingIndicesOf(db, analyzer, readingGuid);
    if (indices && indices->total) {
        input.crest = indices->total->crest;
        input.kurtosis = indices->total->kurtosis;
    } else {
        result.notes << QStringLiteral("The Total channel has no indices");
    }
    result.findings = Diagnose(input);
    return result;
}

} // namespace vantor
