// libFuzzer target: a file of any bytes named .wav is read as the import reads it (libsndfile
// opens it by its content; only WAV is taken), one channel chosen, and a short one built into a
// reading. The bytes go through a file, as libsndfile reads them.
#include "interchange/WavFile.h"
#include "interchange/fuzz/ImportCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

const QString& FilePath() {
    static const QString path = QDir::temp().filePath(
        QStringLiteral("vantor-wav-fuzz-%1.wav").arg(QCoreApplication::applicationPid()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        QFile file(FilePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    vantor::WaveformChoice choice;
    choice.source = size % 3; // none, the first or the second channel
    choice.unit = vantor::SignalUnit::G;
    vantor::fuzz::BuildIfShort(vantor::WaveformFromWav(FilePath(), choice), vantor::Channel::Total);
    return 0;
}
