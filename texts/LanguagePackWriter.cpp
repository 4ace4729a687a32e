#include "texts/LanguagePackWriter.h"

#include "archive/ArchiveWriter.h"
#include "texts/Log.h"
#include "texts/UiText.h"

#include <QDir>
#include <QSaveFile>

namespace vantor {
namespace {

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        return true;
    }
    qCWarning(lcTexts) << "the language pack file" << path << "could not be written:" << file.errorString();
    if (error != nullptr) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
    }
    return false;
}

QByteArray LanguageFileBytes(const LanguageFileHeader& header, const QStringList& texts) {
    QByteArray bytes;
    ArchiveWriter writer(bytes);
    writer.WriteFloat(header.version);
    writer.WriteDate(header.date);
    writer.WriteString(header.languageString);
    writer.WriteString(header.identityA);
    writer.WriteString(header.identityB);
    writer.WriteInt32(static_cast<qint32>(texts.size()));
    for (QString text : texts) {
        writer.WriteString(text.replace(QStringLiteral("\r\n"), QStringLiteral("(CRLF)")));
    }
    return bytes;
}

} // namespace

bool WritePackDescriptor(const QString& path, const PackDescriptor& descriptor, QString* error) {
    QByteArray bytes;
    ArchiveWriter writer(bytes);
    writer.WriteFloat(descriptor.formatVersion);
    writer.WriteFloat(descriptor.languageSetVersion);
    writer.WriteDate(descriptor.date);
    writer.WriteString(descriptor.descriptorString);
    writer.WriteString(descriptor.identityA);
    writer.WriteString(descriptor.identityB);
    return WriteFile(path, bytes, error);
}

bool WriteLanguagePack(const QString& folder, const QString& fileName, const LanguageFileHeader& header,
                       const QStringList& texts, QString* error) {
    if (texts.size() < UiTextCount) {
        if (error != nullptr) {
            *error = QStringLiteral("%1 holds %2 texts; a pack needs %3")
                         .arg(fileName)
                         .arg(texts.size())
                         .arg(UiTextCount);
        }
        return false;
    }
    const QDir dir(folder);
    if (!WriteFile(dir.filePath(fileName + QStringLiteral(".vpl")),
                   LanguageFileBytes(header, texts.mid(0, UiTextCount)), error)) {
        return false;
    }
    const QString addedPath = dir.filePath(fileName + QLatin1String(kAddedTextsExtension));
    if (texts.size() == UiTextCount) {
        QFile::remove(addedPath);
        return true;
    }
    return WriteFile(addedPath, LanguageFileBytes(header, texts.mid(UiTextCount)), error);
}

} // namespace vantor
