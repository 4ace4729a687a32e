#include "texts/LanguagePacks.h"

#include "archive/ArchiveReader.h"
#include "platform/Prompter.h"
#include "texts/Log.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <array>
#include <utility>

namespace vantor {
namespace {

constexpr int kExtensionLength = 4; // ".vpl"

// File names of the packs whose display names carry accents.
const std::array<std::pair<const char16_t*, const char16_t*>, 3> kAccentedNames = {{
    {u"Espanol", u"Espa\u00f1ol"},
    {u"Francais", u"Fran\u00e7ais"},
    {u"Portugues", u"Portugu\u00eas"},
}};

const QString kLineBreakMarker = QStringLiteral("(CRLF)");

QStringList PackFilesIn(const QString& folder) {
    // Sorted as the language folder lists on the file systems the packs were made for.
    return QDir(folder).entryList({QStringLiteral("*.vpl")}, QDir::Files | QDir::Hidden,
                                  QDir::Name | QDir::IgnoreCase);
}

QString BaseName(const QString& fileName) {
    return fileName.left(fileName.size() - kExtensionLength);
}

// A display name that can stand for a file in the language folder and nowhere else.
bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u"." && name != u"..";
}

std::optional<LanguageFileHeader> ReadHeader(ArchiveReader& reader) {
    LanguageFileHeader header;
    header.version = reader.ReadFloat();
    header.date = reader.ReadDate();
    header.languageString = reader.ReadString();
    header.identityA = reader.ReadString();
    header.identityB = reader.ReadString();
    header.count = reader.ReadInt32();
    if (!reader.Ok()) {
        return std::nullopt;
    }
    return header;
}

} // namespace

QString DisplayNameForFile(const QString& fileBaseName) {
    for (const auto& [file, display] : kAccentedNames) {
        if (fileBaseName == QStringView(file)) {
            return QString::fromUtf16(display);
        }
    }
    return fileBaseName;
}

QString FileNameForDisplay(const QString& displayName) {
    for (const auto& [file, display] : kAccentedNames) {
        if (displayName == QStringView(display)) {
            return QString::fromUtf16(file);
        }
    }
    return displayName;
}

bool UserDefaultIsUsEnglish() {
    const QLocale locale = QLocale::system();
    return locale.language() == QLocale::English && locale.territory() == QLocale::UnitedStates;
}

std::optional<QString> LanguageState::LanguageForMenuId(int menuId) const {
    const int position = menuId - kLanguageMenuFirstId;
    if (position < 0 || position >= languages.size()) {
        return std::nullopt;
    }
    return languages.at(position);
}

std::optional<PackDescriptor> ReadPackDescriptor(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(lcTexts) << "the language pack descriptor" << path
                        << "could not be opened:" << file.errorString();
        return std::nullopt;
    }
    ArchiveReader reader(file);
    PackDescriptor descriptor;
    descriptor.formatVersion = reader.ReadFloat();
    descriptor.languageSetVersion = reader.ReadFloat();
    descriptor.date = reader.ReadDate();
    descriptor.descriptorString = reader.ReadString();
    descriptor.identityA = reader.ReadString();
    descriptor.identityB = reader.ReadString();
    if (!reader.Ok()) {
        qCWarning(lcTexts) << "the language pack descriptor" << path << "is damaged";
        return std::nullopt;
    }
    return descriptor;
}

std::optional<LanguageFileHeader> ReadLanguageFileHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(lcTexts) << "the language file" << path << "could not be opened:" << file.errorString();
        return std::nullopt;
    }
    ArchiveReader reader(file);
    std::optional<LanguageFileHeader> header = ReadHeader(reader);
    if (!header) {
        qCWarning(lcTexts) << "the language file" << path << "has a damaged header";
    }
    return header;
}

LanguagePacks::LanguagePacks(QString languageFolder, Prompter& prompter, bool usEnglishUser)
    : folder_(std::move(languageFolder)), prompter_(&prompter), usEnglishUser_(usEnglishUser) {}

QString LanguagePacks::LanguageFilePath(const QString& displayName) const {
    const QString fileName = FileNameForDisplay(displayName) + QStringLiteral(".vpl");
    const QDir folder(folder_);
    if (displayName == QLatin1String(kEnglishLanguage) && usEnglishUser_) {
        return folder.filePath(QLatin1String(kUsEnglishFolder) + u'/' + fileName);
    }
    return folder.filePath(fileName);
}

void LanguagePacks::DeleteDamaged(const QString& path) {
    QFile file(path);
    if (!file.exists() || file.remove()) {
        return;
    }
    prompter_->ShowMessage(
        QString::fromLatin1(kUndeletableLanguageFileMessage).arg(QDir::toNativeSeparators(path)));
}

std::optional<PackDescriptor> LanguagePacks::ReadDescriptor() {
    const QString path = QDir(folder_).filePath(QLatin1String(kPackDescriptorFile));
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    std::optional<PackDescriptor> descriptor = ReadPackDescriptor(path);
    if (!descriptor || descriptor->formatVersion != kPackFormatVersion ||
        descriptor->languageSetVersion != kLanguageSetVersion) {
        DeleteDamaged(path);
        return std::nullopt;
    }
    return descriptor;
}

QStringList LanguagePacks::BuildLanguageList() {
    QStringList languages;
    const std::optional<PackDescriptor> descriptor = ReadDescriptor();
    if (!descriptor) {
        return languages;
    }
    const QDir folder(folder_);
    for (const QString& fileName : PackFilesIn(folder_)) {
        if (fileName.compare(QLatin1String(kPackDescriptorFile), Qt::CaseInsensitive) == 0) {
            continue;
        }
        const std::optional<LanguageFileHeader> header = ReadLanguageFileHeader(folder.filePath(fileName));
        if (header && header->version == kPackFormatVersion && header->identityA == descriptor->identityA &&
            header->identityB == descriptor->identityB && header->count == UiTextCount) {
            languages << DisplayNameForFile(BaseName(fileName));
        }
    }
    return languages;
}

std::optional<QStringList> LanguagePacks::LoadLanguage(const QString& displayName) {
    if (!IsPlainFileName(FileNameForDisplay(displayName))) {
        return std::nullopt;
    }
    const QString path = LanguageFilePath(displayName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        DeleteDamaged(path);
        return std::nullopt;
    }
    ArchiveReader reader(file);
    const std::optional<LanguageFileHeader> header = ReadHeader(reader);
    QStringList texts;
    if (header && header->version == kPackFormatVersion && header->count == UiTextCount) {
        texts.reserve(UiTextCount);
        for (int i = 0; i < UiTextCount && reader.Ok(); ++i) {
            texts << reader.ReadString().replace(kLineBreakMarker, QStringLiteral("\r\n"));
        }
    }
    if (!reader.Ok() || texts.size() != UiTextCount) {
        file.close();
        DeleteDamaged(path);
        return std::nullopt;
    }
    return texts;
}

std::optional<QStringList> LanguagePacks::LoadAddedTexts(const QString& displayName) {
    const QString fileName = FileNameForDisplay(displayName);
    if (!IsPlainFileName(fileName)) {
        return std::nullopt;
    }
    const QDir folder(folder_);
    const QString path = folder.filePath(fileName + QLatin1String(kAddedTextsExtension));
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    const std::optional<PackDescriptor> descriptor =
        ReadPackDescriptor(folder.filePath(QLatin1String(kPackDescriptorFile)));
    QFile file(path);
    if (!descriptor || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    ArchiveReader reader(file);
    const std::optional<LanguageFileHeader> header = ReadHeader(reader);
    if (!header || header->version != kPackFormatVersion || header->identityA != descriptor->identityA ||
        header->identityB != descriptor->identityB || header->count < 0) {
        qCWarning(lcTexts) << "the added texts" << path << "do not belong to the installed packs";
        return std::nullopt;
    }
    QStringList texts;
    texts.reserve(UiTextAddedCount);
    for (int i = 0; i < header->count && reader.Ok(); ++i) {
        QString text = reader.ReadString().replace(kLineBreakMarker, QStringLiteral("\r\n"));
        if (i < UiTextAddedCount) {
            texts << text;
        }
    }
    if (!reader.Ok()) {
        qCWarning(lcTexts) << "the added texts" << path << "are truncated";
        return std::nullopt;
    }
    for (int index = UiTextCount + static_cast<int>(texts.size()); index < UiTextAllCount; ++index) {
        texts << EnglishDefaultText(index);
    }
    return texts;
}

std::optional<QString> LanguagePacks::TakeStartMarker() {
    const QDir startFolder(QDir(folder_).filePath(QLatin1String(kStartMarkerFolder)));
    const QStringList files = PackFilesIn(startFolder.path());
    if (files.isEmpty() || !QFile::remove(startFolder.filePath(files.first()))) {
        return std::nullopt;
    }
    return DisplayNameForFile(BaseName(files.first()));
}

LanguageState LanguagePacks::ApplyLanguage(const QString& requestedLanguage, const QString& editionTitle) {
    const QString english = QLatin1String(kEnglishLanguage);
    LanguageState state;
    state.current = TakeStartMarker().value_or(requestedLanguage);
    state.languages = BuildLanguageList();
    if (!state.languages.contains(english)) {
        state.languages.prepend(english);
    }
    state.englishPosition = static_cast<int>(state.languages.indexOf(english));
    const qsizetype current = state.languages.indexOf(state.current);
    if (current < 0) {
        state.current = english;
        state.currentPosition = state.englishPosition;
    } else {
        state.currentPosition = static_cast<int>(current);
        if (std::optional<QStringList> texts = LoadLanguage(state.current)) {
            if (std::optional<QStringList> added = LoadAddedTexts(state.current)) {
                *texts << *added;
            }
            state.packLoaded = UiTextTable::Replace(*texts);
        }
    }
    if (!state.packLoaded) {
        UiTextTable::ResetToDefaults();
    }
    UiTextTable::ApplyEditionTitle(editionTitle);
    return state;
}

} // namespace vantor
