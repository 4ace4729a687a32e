#pragma once
// A waveform from a comma-separated text file: two columns (time in seconds, value) or one column
// of values at a given sampling frequency, with an optional header line. Fields are separated by
// commas, semicolons (then a decimal comma is accepted), tabs or blanks.

#include <QByteArray>
#include <QString>

#include <vector>

namespace vantor {

struct CsvWaveform {
    std::vector<double> values;
    double samplingFrequencyHz = 0;
};

struct CsvWaveformResult {
    CsvWaveform waveform;
    QString error; // "line N: ..." for a line that cannot be read; empty on success
    bool Ok() const { return error.isEmpty(); }
};

// Reads the text. `givenSamplingFrequencyHz` (0 for none) is needed for one column; with two
// columns the times set it and must be evenly spaced. A sampling frequency within 1e-5 of a whole
// number of hertz is taken as that number (time stamps are often written with few decimals).
CsvWaveformResult ReadWaveformCsv(const QByteArray& text, double givenSamplingFrequencyHz);

} // namespace vantor
