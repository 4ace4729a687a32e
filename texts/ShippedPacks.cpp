#include "texts/ShippedPacks.h"

#include "texts/LanguagePacks.h"
#include "texts/Log.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vantor {
namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int InstallShippedPacks(const QString& shippedFolder, const QString& languageFolder) {
    const QDir shipped(shippedFolder);
    const QStringList files = shipped.entryList(
        {QStringLiteral("*.vpl"), QStringLiteral("*") + QLatin1String(kAddedTextsExtension)}, QDir::Files,
        QDir::Name);
    if (files.isEmpty()) {
        return 0;
    }
    if (!QDir().mkpath(languageFolder)) {
        qCWarning(lcTexts) << "the language folder" << languageFolder << "could not be made";
        return 0;
    }
    const QDir target(languageFolder);
    // Another set of packs installed there (its own descriptor) is left as it is.
    const QString descriptorName = QLatin1String(kPackDescriptorFile);
    const std::optional<PackDescriptor> installed = QFile::exists(target.filePath(descriptorName))
                                                        ? ReadPackDescriptor(target.filePath(descriptorName))
                                                        : std::nullopt;
    const std::optional<PackDescriptor> ours = ReadPackDescriptor(shipped.filePath(descriptorName));
    if (installed && ours &&
        (installed->identityA != ours->identityA || installed->identityB != ours->identityB)) {
        qCInfo(lcTexts) << "the language folder" << languageFolder
                        << "holds another set of packs; none installed";
        return 0;
    }
    int copied = 0;
    for (const QString& name : files) {
        const QByteArray bytes = Contents(shipped.filePath(name));
        const QString path = target.filePath(name);
        if (bytes.isEmpty() || Contents(path) == bytes) {
            continue;
        }
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
            ++copied;
        } else {
            qCWarning(lcTexts) << "the language pack file" << path
                               << "could not be installed:" << file.errorString();
        }
    }
    return copied;
}

} // namespace vantor
