#pragma once
// The start-up steps that are not about windows: folders, the write test, the folder names, the
// texts and the database. Each failing step shows its message, sets the shutting-down flag and
// returns false.

#include "app/CAppData.h"
#include "texts/LanguagePacks.h"

#include <functional>
#include <optional>

namespace vantor {

// Messages of the start-up that are not in the UI text table.
inline constexpr const char* kNoCommonAppDataMessage = "Error: can't find 'CSIDL_COMMON_APPDATA' path";
inline constexpr const char* kNoUserAppDataMessage = "Error: can't find 'CSIDL_APPDATA' path";
inline constexpr const char* kExeNameMismatchMessage = "App name and exe Name don't match.";

// Proves a folder writable by creating and deleting a file in it. Replaceable for tests, as a
// process running as root is never refused by permissions.
using WriteProbe = std::function<bool(const QString& folder)>;
bool CreateAndDeleteTestFile(const QString& folder);

// Creates the data root and the user root (two levels each) and forms every folder path.
bool PrepareFolders(CAppData& app);
// Writes and deletes "Test.txt" in the current root and in every folder directly inside it; the
// first failure runs the security-warning routine.
bool RunWriteTest(CAppData& app, const WriteProbe& probe = CreateAndDeleteTestFile);
// Compares the title with the executable's base name (skipped when empty) and creates the data,
// sync, language and logos folders.
bool PrepareFolderNames(CAppData& app, const QString& executableName = {});
// Runs the language-file repair tool when one waits in the current root, then fills the UI text
// table from the language pack of the given language, by default the one in the settings (English
// defaults when it is not installed or damaged), with the edition title in its entries. The
// language finally in use becomes the settings' language. Never fails.
LanguageState LoadTexts(CAppData& app, const std::optional<QString>& language = std::nullopt);
// Opens the main database; a missing file shows "No Database found, please reinstall ...!".
bool OpenMainDatabase(CAppData& app);

struct StartupResult {
    bool ok = false; // false: a step failed, showed its message and set the shutting-down flag
    LanguageState language;
};

// The main window initialisation's steps that are not about windows, in order: folders, write
// test, folder names with the executable-name check (skipped for an empty name), the language
// repair tool and the texts in the settings' language, the main database.
StartupResult RunStartupSteps(CAppData& app, const QString& executableName,
                              const WriteProbe& probe = CreateAndDeleteTestFile);

// The start-up of the command line: the same steps without the executable-name check, then the
// database the settings ask for (the remote one when "LocalOrRemote" is 1, falling back to the
// local one when it cannot be used).
bool RunHeadlessStartup(CAppData& app, const WriteProbe& probe = CreateAndDeleteTestFile);
// The same steps ending on the local database, whatever the settings ask for.
bool RunLocalStartup(CAppData& app, const WriteProbe& probe = CreateAndDeleteTestFile);

// Creates a data root ready for use: the folders, the empty database and the empty template
// database. An existing database or template is left exactly as it is.
bool InitDataRoot(CAppData& app, const WriteProbe& probe = CreateAndDeleteTestFile);

} // namespace vantor
