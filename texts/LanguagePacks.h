#pragma once
// Language packs: the files in the language folder that replace the UI text table, the list of
// installed languages and the selection of the current one.
//
// Every pack file is a serialised archive. "LangPack.vpl" describes the installed set; each
// language has one file named after the language without accents ("Francais.vpl" is shown as
// "Français"). A language file belongs to the set when its version is right, its identity strings
// match the descriptor's and it holds exactly UiTextCount texts. Damaged files are deleted so
// that the repair tool can reinstall them. Nothing here ever stops start-up: the worst case is the
// English defaults.

#include "archive/ArchiveDate.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vantor {

class Prompter;

inline constexpr float kPackFormatVersion = 1.0F;
inline constexpr float kLanguageSetVersion = 1.0F;
inline constexpr int kLanguageMenuFirstId = 9000;
inline constexpr const char* kEnglishLanguage = "English";
inline constexpr const char* kPackDescriptorFile = "LangPack.vpl";
inline constexpr const char* kStartMarkerFolder = "Start";
inline constexpr const char* kUsEnglishFolder = "US";
// Beside a language file, "<file name>.vpa" holds the texts added after the documented table, in
// the language file's own format; its count may be short of UiTextAddedCount (the rest stay English).
inline constexpr const char* kAddedTextsExtension = ".vpa";
// Shown when a damaged pack file cannot be deleted; %1 is the file's path.
inline constexpr const char* kUndeletableLanguageFileMessage =
    "The language file \"%1\" is damaged and could not be deleted.\r\n"
    "Please delete it or reinstall the language pack. English is used until then.";

// "Espanol" <-> "Español", "Francais" <-> "Français", "Portugues" <-> "Português"; every other
// name is the same both ways.
QString DisplayNameForFile(const QString& fileBaseName);
QString FileNameForDisplay(const QString& displayName);

// True when the user's default language is United States English (QLocale::system()).
bool UserDefaultIsUsEnglish();

// Contents of "LangPack.vpl".
struct PackDescriptor {
    float formatVersion = 0.0F;
    float languageSetVersion = 0.0F;
    ArchiveDate date;
    QString descriptorString;
    QString identityA;
    QString identityB;
};

// A language file up to and including its count.
struct LanguageFileHeader {
    float version = 0.0F;
    ArchiveDate date;
    QString languageString;
    QString identityA;
    QString identityB;
    qint32 count = 0;
};

// The languages on offer and the current one, enough to build the Language menu: one item per
// language, id kLanguageMenuFirstId + position, the current one checked.
struct LanguageState {
    QStringList languages; // display names in menu order; never empty
    QString current;       // always one of languages
    int currentPosition = 0;
    int englishPosition = 0;
    bool packLoaded = false; // false: the table holds the English defaults

    static int MenuId(int position) { return kLanguageMenuFirstId + position; }
    bool IsChecked(int menuId) const { return menuId == MenuId(currentPosition); }
    // The language a menu item stands for; empty for an id outside the menu.
    std::optional<QString> LanguageForMenuId(int menuId) const;
};

class LanguagePacks {
public:
    // usEnglishUser: whether the user's default language is United States English, which reads
    // the English pack from the "US" subfolder. Messages go to the prompter.
    LanguagePacks(QString languageFolder, Prompter& prompter, bool usEnglishUser = UserDefaultIsUsEnglish());

    // The installed languages by display name, in directory order; empty when the descriptor is
    // missing or damaged (a damaged descriptor is deleted).
    QStringList BuildLanguageList();
    // The language's UiTextCount texts with "(CRLF)" turned into line breaks; empty when the file
    // is missing or damaged (a damaged file is deleted).
    std::optional<QStringList> LoadLanguage(const QString& displayName);
    // The language's texts added after the documented table (UiTextAddedCount of them, English
    // where its added-texts file has none); empty when there is no such file, it is damaged or its
    // identity is not the descriptor's. Never deletes anything.
    std::optional<QStringList> LoadAddedTexts(const QString& displayName);
    // The whole selection: takes a language left in the Start folder, lists the installed packs,
    // loads the requested language into the UI text table (English defaults when it is not
    // installed or fails to load) and puts the edition title into its entries.
    LanguageState ApplyLanguage(const QString& requestedLanguage, const QString& editionTitle);

    // The path a language's file is read from.
    QString LanguageFilePath(const QString& displayName) const;

private:
    std::optional<PackDescriptor> ReadDescriptor();
    std::optional<QString> TakeStartMarker();
    void DeleteDamaged(const QString& path);

    QString folder_;
    Prompter* prompter_;
    bool usEnglishUser_;
};

// Readers of the two file kinds; empty when the data is truncated. They check nothing else.
std::optional<PackDescriptor> ReadPackDescriptor(const QString& path);
std::optional<LanguageFileHeader> ReadLanguageFileHeader(const QString& path);

} // namespace vantor
