#pragma once
// The waveform to import, taken from a UFF file (a time record), a WAV file (one channel) or a CSV
// file, with what the file says about its date, run speed and unit.

#include "analysis/ReadingDecode.h"
#include "interchange/ImportedReading.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace vantor {

enum class WaveformFormat { Uff, Wav, Csv };

// By the file name's extension: .uff/.unv → UFF, .wav → WAV, .csv/.txt → CSV.
std::optional<WaveformFormat> WaveformFormatOf(const QString& path);

struct WaveformChoice {
    Channel channel = Channel::Total; // the reading's channel it becomes
    std::optional<SignalUnit> unit;   // overrides what the file says
    double samplingFrequencyHz = 0;   // for one-column CSV (0: none)
    int source = 0;                   // UFF record number or WAV channel, 1-based (0: not chosen)
};

struct SourceWaveform {
    ImportedWaveform waveform;
    QDateTime taken;                 // invalid when the file gives no date
    std::optional<float> runSpeedHz; // when the file gives one
    QString error;                   // names the record, channel or line; empty on success
    QString note;                    // what the reader chose on its own (which record); empty if nothing
    bool Ok() const { return error.isEmpty(); }
};

// A time record (function type 1) of a UFF file image: the one chosen, else the only one, else the
// only one whose response names the chosen channel (as this program writes them: TOTAL, ISO), with
// a note saying which record it took. Several candidates and no choice are refused with the list
// of records. Its unit comes from the ordinate's units label unless the choice gives one; an
// unknown label is refused naming the record.
SourceWaveform WaveformFromUff(const QByteArray& image, const WaveformChoice& choice);
// One channel of a WAV file: the only one or the chosen one; several without a choice are refused.
// Only the samples an import can take are kept (the rest are counted).
// The exact rate, the unit and the run speed come from this program's INFO comment when present.
SourceWaveform WaveformFromWav(const QString& path, const WaveformChoice& choice);
// Two columns (time, value) or one column at the given sampling frequency.
SourceWaveform WaveformFromCsv(const QByteArray& text, const WaveformChoice& choice);

} // namespace vantor
