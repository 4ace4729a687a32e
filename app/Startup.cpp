#include "app/Startup.h"

#include "app/ServerDatabase.h"
#include "app/TypedSettings.h"

#include "app/DatabaseSwitch.h"
#include "app/LanguageRepairTool.h"
#include "platform/ProgramData.h"
#include "platform/Prompter.h"
#include "platform/SystemFolders.h"
#include "store/Schema.h"
#include "texts/ShippedPacks.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantor {
namespace {

// A failing step stops the application while the local database is in use; while the remote one
// is in use the caller falls back to the local database instead.
bool Fail(CAppData& app, const QString& message) {
    app.UserPrompter().ShowMessage(message);
    if (!app.remoteDatabaseInUse) {
        app.shuttingDown = true;
    }
    return false;
}

} // namespace

bool CreateAndDeleteTestFile(const QString& folder) {
    QFile file(QDir(folder).filePath(QStringLiteral("Test.txt")));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.close();
    // Another program starting at the same moment may have removed the same test file first: the
    // folder is still writable.
    return file.remove() || !file.exists();
}

bool PrepareFolders(CAppData& app) {
    const QString common = CommonAppDataFolder();
    if (common.isEmpty()) {
        return Fail(app, QLatin1String(kNoCommonAppDataMessage));
    }
    const QString user = UserAppDataFolder();
    if (user.isEmpty()) {
        return Fail(app, QLatin1String(kNoUserAppDataMessage));
    }
    app.folders = AppFolders::Resolve(app.edition, common, user);
    // Existing folders are fine; a folder that cannot be made shows up in the write test.
    QDir().mkpath(app.folders.dataRoot);
    QDir().mkpath(app.folders.userRoot);
    return true;
}

bool RunWriteTest(CAppData& app, const WriteProbe& probe) {
    QStringList folders{app.folders.currentRoot};
    const QDir root(app.folders.currentRoot);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        folders << root.filePath(name);
    }
    for (const QString& folder : folders) {
        if (!probe(folder)) {
            app.SecurityWarning();
            if (!app.remoteDatabaseInUse) {
                app.shuttingDown = true;
            }
            return false;
        }
    }
    return true;
}

bool PrepareFolderNames(CAppData& app, const QString& executableName) {
    if (!executableName.isEmpty() && executableName != app.edition.title) {
        return Fail(app, QLatin1String(kExeNameMismatchMessage));
    }
    for (const QString& folder : {app.folders.dataFolder, app.folders.syncFolder, app.folders.languageFolder,
                                  app.folders.logosFolder}) {
        QDir().mkpath(folder);
    }
    app.vibPointsEnabled = app.edition.kind == 0;
    app.lubePointsEnabled = app.edition.kind == 1;
    return true;
}

LanguageState LoadTexts(CAppData& app, const std::optional<QString>& language) {
    RunLanguageRepairTool(app.folders.currentRoot);
    InstallShippedPacks(ShippedLanguageFolder(), app.folders.languageFolder);
    LanguagePacks packs(app.folders.languageFolder, app.UserPrompter());
    LanguageState state = packs.ApplyLanguage(language.value_or(app.settings.language), app.edition.title);
    app.settings.language = state.current;
    return state;
}

bool OpenMainDatabase(CAppData& app) {
    if (app.server) {
        return app.OpenMainConnection();
    }
    if (!QFileInfo(app.folders.databaseFile).isFile()) {
        return Fail(app, UiText(text::NoDatabaseFound));
    }
    app.databaseFileExists = true;
    if (!app.OpenMainConnection()) {
        app.SecurityWarning();
        return false;
    }
    return true;
}

StartupResult RunStartupSteps(CAppData& app, const QString& executableName, const WriteProbe& probe) {
    StartupResult result;
    if (!PrepareFolders(app) || !RunWriteTest(app, probe) || !PrepareFolderNames(app, executableName)) {
        return result;
    }
    result.language = LoadTexts(app);
    result.ok = OpenMainDatabase(app);
    return result;
}

bool RunLocalStartup(CAppData& app, const WriteProbe& probe) {
    return RunStartupSteps(app, {}, probe).ok;
}

bool RunHeadlessStartup(CAppData& app, const WriteProbe& probe) {
    if (!RunLocalStartup(app, probe)) {
        return false;
    }
    if (!app.settings.serverDatabase.isEmpty()) {
        // A server that cannot be used ends the command with its message: its work never goes
        // into the local file instead.
        return ConnectConfiguredServer(app) && app.MainConnection() != nullptr && !app.shuttingDown;
    }
    // A command started against the remote database stops when it cannot have it: its work must
    // not land in the local database (readings uploaded there, flags cleared on the meter).
    if (RemoteDatabaseChosen(app.settings) && SwitchToRemote(app, probe, RemoteFallback::Stop) != 0) {
        return false;
    }
    return app.MainConnection() != nullptr && !app.shuttingDown;
}

bool InitDataRoot(CAppData& app, const WriteProbe& probe) {
    if (!PrepareFolders(app) || !PrepareFolderNames(app)) {
        return false;
    }
    LoadTexts(app);
    for (const QString& folder : {app.folders.databaseFolder, app.folders.emptyDatabaseFolder}) {
        QDir().mkpath(folder);
    }
    if (!RunWriteTest(app, probe)) {
        return false;
    }
    for (const QString& file : {app.folders.databaseFile, app.folders.emptyDatabaseFile}) {
        if (QFileInfo::exists(file)) {
            continue;
        }
        QString error;
        if (!CreateEmptyDatabase(file, &error)) {
            return Fail(app, app.folders.securityWarning);
        }
    }
    return true;
}

} // namespace vantor
