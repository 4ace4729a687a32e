#include "store/SignalCachePath.h"

#include <QCryptographicHash>
#include <QDir>

namespace vantor {
namespace {

constexpr qsizetype kLongestName = 200;

bool IsSafeNameCharacter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('{') ||
           c == QLatin1Char('}') || c == QLatin1Char('-') || c == QLatin1Char('_');
}

} // namespace

QString SignalCacheFilePath(const QString& dataFolder, const QString& readingGuid) {
    if (readingGuid.isEmpty()) {
        return {};
    }
    // Well-formed GUIDs pass unchanged; any other character (separators, dots, control characters)
    // is written as %XX of its UTF-8 bytes, so no name can climb out of the folder or collide with
    // a well-formed one.
    QString name;
    for (const QChar c : readingGuid) {
        if (IsSafeNameCharacter(c)) {
            name += c;
        } else {
            for (const char byte : QString(c).toUtf8()) {
                name += QStringLiteral("%%1")
                            .arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'))
                            .toUpper();
            }
        }
    }
    // Names past the file-system limit are replaced by a digest; '#' never appears in an encoded name.
    if (name.size() > kLongestName) {
        name = QStringLiteral("#") +
               QString::fromLatin1(
                   QCryptographicHash::hash(readingGuid.toUtf8(), QCryptographicHash::Sha1).toHex());
    }
    return QDir(dataFolder).filePath(name);
}

QString DerivedCacheFilePath(const QString& dataFolder, const QString& readingGuid) {
    const QString path = SignalCacheFilePath(dataFolder, readingGuid);
    return path.isEmpty() ? path : path + QStringLiteral(".derived");
}

} // namespace vantor
