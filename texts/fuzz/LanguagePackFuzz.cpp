// libFuzzer target: a language pack descriptor or language file of any bytes is read (or found
// truncated) without a crash. The readers take a path, so each input is written to a file first.
#include "texts/LanguagePacks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    static const QString path = QDir::temp().filePath(
        QStringLiteral("vantor-language-fuzz-%1.bin").arg(QCoreApplication::applicationPid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    ReadPackDescriptor(path);
    ReadLanguageFileHeader(path);
    return 0;
}
