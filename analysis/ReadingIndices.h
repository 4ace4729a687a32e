#pragma once
// A reading's waveform indices (per channel) and the gE overall of its Total channel's envelope,
// kept in the indices table (stored by loaders/IndicesStore.h); a row taken in another envelope band
// or by an older method is computed again.

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/WaveformIndices.h"
#include "records/DerivedRows.h"
#include "records/Records.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vantor {

// Numbers the way the indices are computed; rows of another method are computed again.
inline constexpr int kReadingIndicesMethod = 1;

struct ReadingIndices {
    // None for a channel whose capture could not be decoded: no zeros that look like data.
    std::optional<WaveformIndices> total;
    std::optional<WaveformIndices> iso;
    EnvelopeBand band;               // the band of the gE overall (high clipped to Fmax)
    std::optional<double> geOverall; // none without a Total channel or when the band is refused
};

// The envelope band a point asks for: its own, else the default of the channel's Fmax.
EnvelopeBand EnvelopeBandFor(const std::optional<EnvelopeBandRow>& pointBand, double fmaxHz);
// The Total channel's Fmax of a reading row.
double TotalFmaxOf(const VibReadingValues& row);

// Decodes each channel of the row on its own and takes its indices, and the envelope's gE overall
// in `band` (the point's band; the default when none).
ReadingIndices ComputeReadingIndices(const VibReadingValues& row, EnvelopeAnalyzer& analyzer,
                                     const std::optional<EnvelopeBandRow>& pointBand);

// True when a stored row was taken by this method in the band the point asks for now.
bool IndicesAreCurrent(const ReadingIndicesRow& stored, const VibReadingValues& row,
                       const std::optional<EnvelopeBandRow>& pointBand);

ReadingIndicesRow ToRow(const QString& readingGuid, const ReadingIndices& indices);
ReadingIndices FromRow(const ReadingIndicesRow& row);

} // namespace vantor
