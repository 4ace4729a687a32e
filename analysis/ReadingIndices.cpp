#include "analysis/ReadingIndices.h"

#include "analysis/Log.h"
#include "analysis/ReadingDecode.h"
#include "store/MainConnection.h"
#include "store/SqlConnection.h"

#include <cmath>

namespace vantor {
namespace {

// The indices of one channel's capture; none when it cannot be decoded.
std::optional<WaveformIndices> ChannelIndices(const VibReadingValues& row, const QByteArray& raw,
                                              std::int32_t sampleCount, float cal, float gain,
                                              std::vector<double>& waveform) {
    const Calibration calibration{row.fPSUVoltage, row.iADCBits, cal, gain, row.fAccelerometerSensitivity};
    if (!DecodeWaveform(raw, sampleCount, calibration, waveform)) {
        return std::nullopt;
    }
    return ComputeWaveformIndices(waveform);
}

ChannelIndicesRow ToChannelRow(const WaveformIndices& indices) {
    return {indices.rms, indices.peak, indices.peakToPeak, indices.crest, indices.kurtosis, indices.skewness};
}

WaveformIndices FromChannelRow(const ChannelIndicesRow& row) {
    WaveformIndices indices;
    indices.rms = row.rms;
    indices.peak = row.peak;
    indices.peakToPeak = row.peakToPeak;
    indices.crest = row.crest;
    indices.kurtosis = row.kurtosis;
    indices.skewness = row.skewness;
    return indices;
}

// The band the indices of this reading are taken in now: the point's, checked against the reading's
// Fmax (so a band past Fmax compares as clipped).
EnvelopeBand CurrentBand(const VibReadingValues& row, const std::optional<EnvelopeBandRow>& pointBand) {
    const double fmax = TotalFmaxOf(row);
    const double spacing = row.iTotalNumberOfSamples > 0
                               ? static_cast<double>(row.fTotalSamplingFrequency) / row.iTotalNumberOfSamples
                               : 0.0;
    return CheckEnvelopeBand(EnvelopeBandFor(pointBand, fmax), fmax, spacing).band;
}

bool Current(const ReadingIndicesRow& stored, const VibReadingValues& row,
             const std::optional<EnvelopeBandRow>& pointBand) {
    const EnvelopeBand band = CurrentBand(row, pointBand);
    return stored.method == kReadingIndicesMethod && stored.envelopeLowHz == band.lowHz &&
           stored.envelopeHighHz == band.highHz;
}

} // namespace

EnvelopeBand EnvelopeBandFor(const std::optional<EnvelopeBandRow>& pointBand, double fmaxHz) {
    return pointBand ? EnvelopeBand{pointBand->lowHz, pointBand->highHz} : DefaultEnvelopeBand(fmaxHz);
}

double TotalFmaxOf(const VibReadingValues& row) {
    return static_cast<double>(FmaxOf(row.fTotalSamplingFrequency));
}

ReadingIndices ComputeReadingIndices(const VibReadingValues& row, EnvelopeAnalyzer& analyzer,
                                     const std::optional<EnvelopeBandRow>& pointBand) {
    ReadingIndices indices;
    std::vector<double> waveform;
    indices.iso = ChannelIndices(row, row.rawADCISODataByteArray, row.iISONumberOfSamples, row.fISOCal,
                                 row.fISOGain, waveform);
    indices.total = ChannelIndices(row, row.rawADCTotalDataByteArray, row.iTotalNumberOfSamples,
                                   row.fTotalCal, row.fTotalGain, waveform);
    indices.band = CurrentBand(row, pointBand);
    if (indices.total) {
        const double fmax = TotalFmaxOf(row);
        EnvelopeSpectrum envelope;
        const EnvelopeRefusal refusal = analyzer.Compute(waveform, row.fTotalSamplingFrequency, fmax, 0.0,
                                                         EnvelopeBandFor(pointBand, fmax), envelope);
        if (refusal == EnvelopeRefusal::None) {
            indices.geOverall = envelope.overallGe;
        }
    }
    return indices;
}

ReadingIndicesRow ToRow(const QString& readingGuid, const ReadingIndices& indices) {
    ReadingIndicesRow row;
    row.readingGuid = readingGuid;
    row.method = kReadingIndicesMethod;
    if (indices.total) {
        row.total = ToChannelRow(*indices.total);
    }
    if (indices.iso) {
        row.iso = ToChannelRow(*indices.iso);
    }
    row.envelopeLowHz = indices.band.lowHz;
    row.envelopeHighHz = indices.band.highHz;
    row.geOverall = indices.geOverall;
    return row;
}

ReadingIndices FromRow(const ReadingIndicesRow& row) {
    ReadingIndices indices;
    if (row.total) {
        indices.total = FromChannelRow(*row.total);
    }
    if (row.iso) {
        indices.iso = FromChannelRow(*row.iso);
    }
    indices.band = {row.envelopeLowHz, row.envelopeHighHz};
    indices.geOverall = row.geOverall;
    return indices;
}

bool RecordReadingIndices(SqlConnection& connection, const CVibReading& reading, EnvelopeAnalyzer& analyzer) {
    try {
        const std::optional<EnvelopeBandRow> band = derived::GetEnvelopeBand(connection, reading.sParentGUID);
        derived::PutReadingIndices(connection,
                                   ToRow(reading.sItemGUID, ComputeReadingIndices(reading, analyzer, band)));
        return true;
    } catch (const DatabaseError& error) {
        qCWarning(lcAnalysis) << "The indices of reading" << reading.sItemGUID
                              << "were not stored:" << error.what();
        return false;
    }
}

int RecordMissingReadingIndices(CMainConnection& db, EnvelopeAnalyzer& analyzer) {
    int stored = 0;
    try {
        SqlConnection::Batch batch(db.Connection());
        for (const QString& guid : derived::ReadingsWithoutIndices(db.Connection())) {
            CVibReading reading;
            if (!guid.isEmpty() && db.GetVibReading(guid, reading) &&
                RecordReadingIndices(db.Connection(), reading, analyzer)) {
                ++stored;
            }
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcAnalysis) << "The indices of imported readings were not all stored:" << error.what();
    }
    return stored;
}

std::optional<ReadingIndices> ReadingIndicesOf(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                               const QString& readingGuid) {
    CVibReading reading;
    if (readingGuid.isEmpty() || !db.GetVibReading(readingGuid, reading)) {
        return std::nullopt;
    }
    const std::optional<EnvelopeBandRow> band =
        derived::GetEnvelopeBand(db.Connection(), reading.sParentGUID);
    ReadingIndicesRow stored;
    if (derived::GetReadingIndices(db.Connection(), readingGuid, stored) && Current(stored, reading, band)) {
        return FromRow(stored);
    }
    const ReadingIndices indices = ComputeReadingIndices(reading, analyzer, band);
    derived::PutReadingIndices(db.Connection(), ToRow(readingGuid, indices));
    return indices;
}

std::map<QString, ReadingIndices> PointReadingIndices(CMainConnection& db, EnvelopeAnalyzer& analyzer,
                                                      const QString& pointGuid,
                                                      const std::vector<CVibReading>& readings) {
    const std::optional<EnvelopeBandRow> band = derived::GetEnvelopeBand(db.Connection(), pointGuid);
    const std::map<QString, ReadingIndicesRow> stored =
        derived::ReadingIndicesOfPoint(db.Connection(), pointGuid);
    std::map<QString, ReadingIndices> indices;
    SqlConnection::Batch batch(db.Connection());
    for (const CVibReading& reading : readings) {
        const auto found = stored.find(reading.sItemGUID);
        if (found != stored.end() && Current(found->second, reading, band)) {
            indices.emplace(reading.sItemGUID, FromRow(found->second));
            continue;
        }
        ReadingIndices computed = ComputeReadingIndices(reading, analyzer, band);
        derived::PutReadingIndices(db.Connection(), ToRow(reading.sItemGUID, computed));
        indices.emplace(reading.sItemGUID, std::move(computed));
    }
    return indices;
}

} // namespace vantor
