#include "loaders/DiagnosisLoader.h"

#include "analysis/Log.h"
#include "loaders/BearingsAtPoint.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/IndicesStore.h"
#include "loaders/PointSeverityStore.h"
#include "loaders/SignalLoader.h"
#include "store/BearingStore.h"
#include "store/DerivedRecords.h"
#include "store/MainConnection.h"

namespace vantor {

std::optional<RunSpeedEstimate> EstimateReadingRunSpeed(CMainConnection& db, SignalProcessor& processor,
                                                        const QString& readingGuid, double* storedHz) {
    ReadingSignals decoded;
    if (readingGuid.isEmpty() || !LoadReadingSignals(db, processor, readingGuid, decoded)) {
        return std::nullopt;
    }
    if (storedHz != nullptr) {
        *storedHz = decoded.runSpeedHz;
    }
    return EstimateRunSpeedOf(decoded);
}

std::optional<ReadingDiagnosis> DiagnoseReading(CMainConnection& db, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const QString& readingGuid) {
    CVibReading row;
    if (readingGuid.isEmpty() || !db.GetVibReading(readingGuid, row)) {
        return std::nullopt;
    }
    return DiagnoseReading(db, processor, analyzer, row);
}

std::optional<ReadingDiagnosis> DiagnoseReading(CMainConnection& db, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const CVibReading& row) {
    ReadingSignals decoded;
    if (!LoadReadingSignals(db, processor, row, decoded)) {
        qCWarning(lcAnalysis) << "Cannot decode the reading to diagnose" << row.sItemGUID;
        return std::nullopt;
    }
    return DiagnoseReading(db, analyzer, row, decoded);
}

ReadingDiagnosis DiagnoseReading(CMainConnection& db, EnvelopeAnalyzer& analyzer, const CVibReading& row,
                                 const ReadingSignals& decoded) {
    DiagnosisContext context;
    CVib point;
    if (db.GetVib(row.sParentGUID, point)) {
        context.standard = LoadPointStandard(db, point.sItemGUID);
        context.point = std::move(point);
    }
    CBearingStore store(db);
    context.bearings = LoadBearingsAtPoint(store, row.sParentGUID);
    context.pointBand = [&db, &row] { return derived::GetEnvelopeBand(db.Connection(), row.sParentGUID); };
    context.envelope = [&db, &analyzer, &row, &decoded] {
        return LoadReadingEnvelope(db, analyzer, row, decoded);
    };
    context.indices = ReadingIndicesOf(db, analyzer, row);
    return DiagnoseSignals(row, decoded, context);
}

} // namespace vantor
