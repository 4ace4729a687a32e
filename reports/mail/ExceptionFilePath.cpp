#include "reports/mail/ExceptionFilePath.h"

#include <QCryptographicHash>
#include <QDir>

namespace vantor {
namespace {

// Leaves room for the extension within the 255-byte limit of common file systems.
constexpr qsizetype kLongestNameBytes = 200;

bool NeedsEncoding(QChar c, bool first) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSurrogate() || !c.isPrint()) {
        return true;
    }
    if (first && (c == QLatin1Char('.') || c == QLatin1Char('#'))) {
        return true; // no hidden file, no "." or "..", and no clash with a digest name
    }
    return QStringView(u"/\\:*?\"<>|%").contains(c);
}

} // namespace

QString ExceptionTempFolder(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("Temp"));
}

QString ExceptionFileBaseName(const QString& machineName) {
    if (machineName.isEmpty()) {
        return QStringLiteral("%00");
    }
    QString name;
    for (qsizetype i = 0; i < machineName.size(); ++i) {
        const QChar c = machineName[i];
        if (!NeedsEncoding(c, i == 0)) {
            name += c;
            continue;
        }
        for (const char byte : QString(c).toUtf8()) {
            name += QStringLiteral("%%1")
                        .arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'))
                        .toUpper();
        }
    }
    if (name.toUtf8().size() > kLongestNameBytes) {
        // A leading '#' is always encoded, so a digest name cannot collide with an encoded one.
        name = QStringLiteral("#") +
               QString::fromLatin1(
                   QCryptographicHash::hash(machineName.toUtf8(), QCryptographicHash::Sha1).toHex());
    }
    return name;
}

QString ExceptionFilePath(const QString& tempFolder, const QString& machineName) {
    return QDir(tempFolder).filePath(ExceptionFileBaseName(machineName) + QStringLiteral(".csv"));
}

} // namespace vantor
