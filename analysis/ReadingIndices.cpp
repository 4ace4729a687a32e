#include "analysis/ReadingIndices.h"

#include "analysis/ReadingDecode.h"

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

bool IndicesAreCurrent(const ReadingIndicesRow& stored, const VibReadingValues& row,
                       const std::optional<EnvelopeBandRow>& pointBand) {
    const EnvelopeBand band = CurrentBand(row, pointBand);
    return stored.method == kReadingIndicesMethod && stored.envelopeLowHz == band.lowHz &&
           stored.envelopeHighHz == band.highHz;
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

} // namespace vantor
