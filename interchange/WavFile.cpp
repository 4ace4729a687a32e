#include "interchange/WavFile.h"

#include "interchange/Log.h"

#include <QFile>

#include <sndfile.h>

#include <algorithm>
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

std::optional<WavSignal> ReadWav(const QString& path, QString* error, std::size_t keepFrames) {
    const auto refuse = [&](const QString& why) -> std::optional<WavSignal> {
        if (error != nullptr) {
            *error = QStringLiteral("%1: %2").arg(path, why);
        }
        qCWarning(lcInterchange) << "WAV not read:" << path << why;
        return std::nullopt;
    };
    SF_INFO format{};
    SndfileHandle file(sf_open(QFile::encodeName(path).constData(), SFM_READ, &format));
    if (!file) {
        return refuse(LibraryError(nullptr));
    }
    const int major = format.format & SF_FORMAT_TYPEMASK;
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX) {
        SF_FORMAT_INFO named{};
        named.format = major;
        const bool known = sf_command(nullptr, SFC_GET_FORMAT_INFO, &named, sizeof named) == 0;
        return refuse(QStringLiteral("the file is %1, not a WAV file")
                          .arg(known && named.name != nullptr ? QString::fromLatin1(named.name)
                                                              : QStringLiteral("another format")));
    }
    if (format.channels <= 0 || format.samplerate <= 0) {
        return refuse(QStringLiteral("the header names %1 channels at %2 Hz")
                          .arg(format.channels)
                          .arg(format.samplerate));
    }
    const auto channels = static_cast<std::size_t>(format.channels);
    WavSignal signal;
    signal.sampleRate = format.samplerate;
    signal.channels.assign(channels, {});
    // Blocks of frames as the file gives them: what is kept grows with what was read.
    constexpr std::size_t kBlockFrames = 8192;
    std::vector<double> block(kBlockFrames * channels);
    std::size_t frames = 0;
    while (true) {
        const sf_count_t read =
            sf_readf_double(file.get(), block.data(), static_cast<sf_count_t>(kBlockFrames));
        if (read <= 0) {
            break;
        }
        const auto got = static_cast<std::size_t>(read);
        const std::size_t keep = frames < keepFrames ? std::min(got, keepFrames - frames) : 0;
        for (std::size_t c = 0; c < channels; ++c) {
            std::vector<double>& samples = signal.channels[c];
            for (std::size_t i = 0; i < keep; ++i) {
                samples.push_back(block[i * channels + c]);
            }
        }
        frames += got;
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        return refuse(QStringLiteral("%1 after %2 frames").arg(LibraryError(file.get())).arg(frames));
    }
    // The header's count is only compared with what was read, never trusted for a size.
    if (format.frames >= 0 && static_cast<std::size_t>(format.frames) != frames) {
        return refuse(QStringLiteral("%1 of %2 frames could be read").arg(frames).arg(format.frames));
    }
    signal.framesInFile = frames;
    signal.info.title = GetString(file.get(), SF_STR_TITLE);
    signal.info.comment = GetString(file.get(), SF_STR_COMMENT);
    signal.info.date = GetString(file.get(), SF_STR_DATE);
    signal.info.software = GetString(file.get(), SF_STR_SOFTWARE);
    return signal;
}

} // namespace vantor
