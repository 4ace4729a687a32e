#pragma once
// WAV files through libsndfile: a waveform written as 32-bit float samples with text in the file's
// INFO chunk, and any WAV that libsndfile reads, as double-precision samples per channel.

#include <QString>

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
    WavInfo info;
};

// Writes one channel as IEEE float samples at `sampleRate`; false (with `error`) when the file
// cannot be written.
bool WriteWav(const QString& path, const std::vector<double>& samples, int sampleRate, const WavInfo& info,
              QString* error);

// Reads every channel of a WAV file; nullopt (with `error`) when libsndfile cannot read it.
std::optional<WavSignal> ReadWav(const QString& path, QString* error);

} // namespace vantor
