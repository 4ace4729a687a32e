#pragma once
// A decoded reading in the interchange formats: its waveforms (g, as decoded) as UFF time records,
// its spectra as UFF spectrum records in their display units, and one channel's waveform as a WAV
// file with the reading's identity in the INFO chunk.
//
// Identity travels as: ID line 1 what the record holds ("Total acceleration waveform"), ID line 2
// the machine, ID line 3 the date "yyyy-MM-dd HH:mm:ss", ID line 4 the point, ID line 5 the exact
// increment ("dx=..."), the run speed ("rs=... Hz") and the reading's GUID; the response entity
// of record 6 is "TOTAL" or "ISO" (function id 1 or 2).

#include "analysis/DisplayUnits.h"
#include "analysis/ReadingDecode.h"
#include "interchange/Uff58.h"
#include "interchange/WavFile.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace vantor {

struct ReadingIdentity {
    QString machineName;
    QString pointName;
    QString readingGuid;
    QDateTime taken;
    float runSpeedHz = 0;
};

inline constexpr auto kInterchangeDateFormat = "yyyy-MM-dd HH:mm:ss";

QString ChannelEntity(Channel channel); // "TOTAL", "ISO"

struct ExportChoice {
    bool total = true;
    bool iso = true;
    bool spectra = false;
};

// The UFF records of a reading: per chosen channel its time record, then (with spectra) its
// spectrum record. Channels without a capture are left out.
std::vector<UffFunction> UffFunctionsOf(const ReadingSignals& decoded, const ReadingIdentity& identity,
                                        const ExportChoice& choice, const DisplayUnits& units);

// WAV holds whole samples per second: the sampling frequency rounded to the nearest.
int WavSampleRate(float samplingFrequencyHz);
// The INFO text of a channel's WAV: title "machine / point / channel", comment
// "fs=<exact> Hz; unit=g; channel=<Total|ISO>; rs=<run speed> Hz; reading=<GUID>", the date, the
// program.
WavInfo WavInfoOf(const ChannelSignals& channel, Channel which, const ReadingIdentity& identity);

} // namespace vantor
