#pragma once
// WAV files through libsndfile: a waveform written as 32-bit float samples with text in the file's
// INFO chunk, and any WAV that libsndfile reads, as double-precision samples per channel.

#include <QString>

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace vantor {

// Text of the INFO chunk (INAM title, ICMT comment, ICRD creation date, ISFT software).
struct WavInfo {
    QString title;
    QString comment;
    QString date;
    QString software;
};

struct WavSignal {
    int sampleRate = 0;                        // samples per second, a whole number in WAV
    std::vector<std::vector<double>> channels; // samples of each channel; integer formats as ±1 full scale
    std::size_t framesInFile = 0;              // frames the file holds, kept or not
    WavInfo info;
};

// Writes one channel as IEEE float samples at `sampleRate`; false (with `error`) when the file
// cannot be written.
bool WriteWav(const QString& path, const std::vector<double>& samples, int sampleRate, const WavInfo& info,
              QString* error);

// Reads every channel of a WAV file (RIFF WAVE or its extensible form, as libsndfile names its
// major format; an AIFF, FLAC, Ogg or MP3 file is refused whatever its name). The samples are
// read in blocks as they are found, never sized from the header's frame count, and at most
// `keepFrames` frames are kept; the rest are counted in framesInFile. Nullopt (with `error`) when
// the file is not a WAV file or libsndfile cannot read it.
std::optional<WavSignal> ReadWav(const QString& path, QString* error,
                                 std::size_t keepFrames = std::numeric_limits<std::size_t>::max());

} // namespace vantor
