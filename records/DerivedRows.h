#pragma once
// The rows of the derived-data tables as plain values: a reading's waveform indices and a point's
// envelope band. A value the row does not have is none, never a number that looks like data.

#include <QString>

#include <optional>

namespace vantor {

struct ChannelIndicesRow {
    double rms = 0;
    double peak = 0;
    double peakToPeak = 0;
    std::optional<double> crest;
    std::optional<double> kurtosis;
    std::optional<double> skewness;
};

struct ReadingIndicesRow {
    QString readingGuid;
    int method = 0;
    std::optional<ChannelIndicesRow> total; // none when the Total capture could not be decoded
    std::optional<ChannelIndicesRow> iso;
    // The envelope band the gE overall was taken in, and the gE overall (none without a Total
    // channel or when the envelope was refused).
    double envelopeLowHz = 0;
    double envelopeHighHz = 0;
    std::optional<double> geOverall;
};

struct EnvelopeBandRow {
    double lowHz = 0;
    double highHz = 0;
};

} // namespace vantor
