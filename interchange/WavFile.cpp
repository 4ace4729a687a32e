#include "interchange/WavFile.h"

#include "interchange/Log.h"

#include <QFile>

#include <sndfile.h>

#include <memory>

namespace vantor {
namespace {

struct CloseSndfile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, CloseSndfile>;

QString LibraryError(SNDFILE* file) {
    return QString::fromLocal8Bit(sf_strerror(file));
}

void SetString(SNDFILE* file, int which, const QString& text) {
    if (!text.isEmpty()) {
        // INFO chunk strings are 8-bit text.
        sf_set_string(file, which, text.toLatin1().constData());
    }
}

QString GetString(SNDFILE* file, int which) {
    const char* text = sf_get_string(file, which);
    return text != nullptr ? QString::fromLatin1(text) : QString();
}

} // namespace

bool WriteWav(const QString& path, const std::vector<double>& samples, int sampleRate, const WavInfo& info,
              QString* error) {
    SF_INFO format{};
    format.samplerate = sampleRate;
    format.channels = 1;
    format.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SndfileHandle file(sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &format));
    if (!file) {
        if (error != nullptr) {
            *error = QStringLiteral("%1: %2").arg(path, LibraryError(nullptr));
        }
        qCWarning(lcInterchange) << "WAV not written:" << path << LibraryError(nullptr);
        return false;
    }
    // Strings set before the samples go into the header's LIST/INFO chunk.
    SetString(file.get(), SF_STR_TITLE, info.title);
    SetString(file.get(), SF_STR_COMMENT, info.comment);
    SetString(file.get(), SF_STR_DATE, info.date);
    SetString(file.get(), SF_STR_SOFTWARE, info.software);
    const auto count = static_cast<sf_count_t>(samples.size());
    if (sf_write_double(file.get(), samples.data(), count) != count) {
        if (error != nullptr) {
            *error = QStringLiteral("%1: %2").arg(path, LibraryError(file.get()));
        }
        qCWarning(lcInterchange) << "WAV not written:" << path << LibraryError(file.get());
        return false;
    }
    file.reset();
    return true;
}

std::optional<WavSignal> ReadWav(const QString& path, QString* error) {
    SF_INFO format{};
    SndfileHandle file(sf_open(QFile::encodeName(path).constData(), SFM_READ, &format));
    if (!file || format.channels <= 0 || format.frames < 0) {
        if (error != nullptr) {
            *error = QStringLiteral("%1: %2").arg(path, LibraryError(nullptr));
        }
        qCWarning(lcInterchange) << "WAV not read:" << path << LibraryError(nullptr);
        return std::nullopt;
    }
    const auto channels = static_cast<std::size_t>(format.channels);
    const auto frames = static_cast<std::size_t>(format.frames);
    std::vector<double> interleaved(frames * channels);
    const sf_count_t read = sf_readf_double(file.get(), interleaved.data(), format.frames);
    if (read != format.frames) {
        if (error != nullptr) {
            *error =
                QStringLiteral("%1: %2 of %3 frames could be read").arg(path).arg(read).arg(format.frames);
        }
        qCWarning(lcInterchange) << "WAV truncated:" << path << read << format.frames;
        return std::nullopt;
    }
    WavSignal signal;
    signal.sampleRate = format.samplerate;
    signal.channels.assign(channels, std::vector<double>(frames));
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::size_t c = 0; c < channels; ++c) {
            signal.channels[c][i] = interleaved[i * channels + c];
        }
    }
    signal.info.title = GetString(file.get(), SF_STR_TITLE);
    signal.info.comment = GetString(file.get(), SF_STR_COMMENT);
    signal.info.date = GetString(file.get(), SF_STR_DATE);
    signal.info.software = GetString(file.get(), SF_STR_SOFTWARE);
    return signal;
}

} // namespace vantor
