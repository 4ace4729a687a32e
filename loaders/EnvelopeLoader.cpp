#include "loaders/EnvelopeLoader.h"

#include "analysis/Log.h"
#include "analysis/ReadingIndices.h"
#include "analysis/SignalProcessor.h"
#include "loaders/SignalLoader.h"
#include "store/DerivedRecords.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/SignalCachePath.h"

#include <QFile>
#include <QSaveFile>

namespace vantor {

bool DeleteEnvelopeCache(const QString& dataFolder, const QString& readingGuid) {
    const QString path = DerivedCacheFilePath(dataFolder, readingGuid);
    return path.isEmpty() || !QFile::exists(path) || QFile::remove(path);
}

EnvelopeBand PointEnvelopeBand(CMainConnection& db, const QString& pointGuid, double fmaxHz) {
    return EnvelopeBandFor(derived::GetEnvelopeBand(db.Connection(), pointGuid), fmaxHz);
}

namespace {

// The envelope of a loaded row: from its derived-data file when that was made in the wanted band,
// else computed from the signals `load` gives and written to the file.
template <typename LoadSignals>
ReadingEnvelope EnvelopeOfRow(CMainConnection& db, EnvelopeAnalyzer& analyzer, const CVibReading& row,
                              std::optional<EnvelopeBand> band, LoadSignals&& load) {
    ReadingEnvelope result;
    const QString& readingGuid = row.sItemGUID;
    const EnvelopeBand wanted = band.value_or(PointEnvelopeBand(db, row.sParentGUID, TotalFmaxOf(row)));
    const QString path = DerivedCacheFilePath(db.Context().dataFolder, readingGuid);
    QFile cached(path);
    if (cached.open(QIODevice::ReadOnly)) {
        EnvelopeSpectrum spectrum;
        if (DecodeEnvelopeCache(cached.readAll(), spectrum) && spectrum.requested == wanted) {
            result.outcome = ReadingEnvelopeOutcome::Ready;
            result.spectrum = std::move(spectrum);
            result.pointGuid = row.sParentGUID;
            return result;
        }
    }
    const ReadingSignals* decoded = load();
    if (decoded == nullptr) {
        return result;
    }
    result = ComputeReadingEnvelope(analyzer, decoded->total, wanted);
    result.pointGuid = row.sParentGUID;
    if (result.outcome == ReadingEnvelopeOutcome::Ready) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(EncodeEnvelopeCache(result.spectrum)) < 0 ||
            !file.commit()) {
            qCWarning(lcAnalysis) << "Cannot write the envelope file" << path << file.errorString();
        }
    }
    return result;
}

} // namespace

ReadingEnvelope LoadReadingEnvelope(CMainConnection& db, SignalProcessor& processor,
                                    EnvelopeAnalyzer& analyzer, const QString& readingGuid,
                                    std::optional<EnvelopeBand> band) {
    CVibReading row;
    if (readingGuid.isEmpty() || !db.GetVibReading(readingGuid, row)) {
        return {};
    }
    ReadingSignals decoded;
    return EnvelopeOfRow(db, analyzer, row, band, [&]() -> const ReadingSignals* {
        return LoadReadingSignals(db, processor, row, decoded) ? &decoded : nullptr;
    });
}

ReadingEnvelope LoadReadingEnvelope(CMainConnection& db, EnvelopeAnalyzer& analyzer, const CVibReading& row,
                                    const ReadingSignals& decoded, std::optional<EnvelopeBand> band) {
    return EnvelopeOfRow(db, analyzer, row, band, [&decoded] { return &decoded; });
}

ReadingEnvelope LoadOffRouteReadingEnvelope(CRecordSyncConnection& db, SignalProcessor& processor,
                                            EnvelopeAnalyzer& analyzer, const QString& readingGuid,
                                            std::optional<EnvelopeBand> band) {
    ReadingSignals decoded;
    if (readingGuid.isEmpty() || !LoadOffRouteReadingSignals(db, processor, readingGuid, decoded)) {
        return {};
    }
    return ComputeReadingEnvelope(analyzer, decoded.total,
                                  band.value_or(DefaultEnvelopeBand(decoded.total.fmaxHz)));
}

} // namespace vantor
