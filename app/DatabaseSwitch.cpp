#include "app/DatabaseSwitch.h"

#include "app/Log.h"
#include "app/ServerDatabase.h"
#include "app/Startup.h"
#include "app/TypedSettings.h"
#include "platform/Prompter.h"
#include "store/DatabaseCopy.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantor {
namespace {

// The front end's wait cursor for the length of a switch.
class BusyView {
public:
    explicit BusyView(const CAppData& app) : busy_(app.databaseView.busy) {
        if (busy_) {
            busy_(true);
        }
    }
    ~BusyView() {
        if (busy_) {
            busy_(false);
        }
    }
    BusyView(const BusyView&) = delete;
    BusyView& operator=(const BusyView&) = delete;

private:
    std::function<void(bool)> busy_;
};

void Status(const CAppData& app, const QString& text) {
    if (app.databaseView.showStatus) {
        app.databaseView.showStatus(text);
    }
}

bool IsInside(const QString& path, const QString& folder) {
    const QString p = QFileInfo(path).canonicalFilePath();
    const QString f = QFileInfo(folder).canonicalFilePath();
    return !p.isEmpty() && !f.isEmpty() && (p == f || p.startsWith(f + QLatin1Char('/')));
}

// Owner and group may read, write and enter; the folder is shared by the engineers' group.
constexpr QFile::Permissions kSharedFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadUser | QFile::WriteUser | QFile::ExeUser |
                                             QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup;
constexpr QFile::Permissions kSharedFile = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                           QFile::WriteUser | QFile::ReadGroup | QFile::WriteGroup;

// Copies the template through a temporary name, so a failed copy never leaves a half database that
// would later count as a valid remote folder.
bool CopyTemplate(const QString& from, const QString& to) {
    const QString partial = to + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(from, partial)) {
        return false;
    }
    QFile::setPermissions(partial, kSharedFile);
    if (!QFile::rename(partial, to)) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

void Changed(const CAppData& app) {
    if (app.databaseView.databaseChanged) {
        app.databaseView.databaseChanged();
    }
}

int FallBackToLocal(CAppData& app, const WriteProbe& probe, RemoteFallback fallback) {
    if (fallback == RemoteFallback::Stop) {
        // Remote work never goes into the local database unless the user chooses it.
        qCWarning(lcApp, "the remote database cannot be used; the command stops");
        app.CloseMainConnection();
        app.ReleaseRemoteLock();
        app.remoteDatabaseInUse = false;
        app.UserPrompter().ShowMessage(RemoteUnavailableStopText());
        Changed(app);
        return -1;
    }
    app.UserPrompter().ShowMessage(UiText(text::UnableToMakeRemoteConnection));
    SwitchToLocal(app, probe);
    return -1;
}

QString LastPathComponent(const QString& folder) {
    QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    while (clean.endsWith(QLatin1Char('/'))) {
        clean.chop(1);
    }
    return clean.section(QLatin1Char('/'), -1);
}

} // namespace

QString RemoteDatabaseFile(const CAppData& app, const QString& folder) {
    return QDir(QDir(folder).filePath(QStringLiteral("Database")))
        .filePath(app.edition.profileName + QStringLiteral(".mdb"));
}

bool IsValidRemoteFolder(const CAppData& app, const QString& folder) {
    return !folder.isEmpty() && QFileInfo(RemoteDatabaseFile(app, folder)).isFile();
}

QString DatabaseCaption(const CAppData& app) {
    if (app.server) {
        return ServerCaption(app);
    }
    if (!RemoteDatabaseChosen(app)) {
        return QStringLiteral("%1 - %2").arg(app.edition.title, UiText(text::LocalDatabase));
    }
    const QString part = LastPathComponent(app.remoteDatabaseInUse ? app.folders.currentRoot
                                                                   : app.settings.remoteFolders.value(0));
    if (part.isEmpty()) {
        return QStringLiteral("%1 - %2").arg(app.edition.title, UiText(text::RemoteDatabase));
    }
    return QStringLiteral("%1 - %2 (%3)").arg(app.edition.title, UiText(text::RemoteDatabase), part);
}

LockFileUsers WhoHasOpen(const QString& databaseFile) {
    return DatabaseLockFile(databaseFile).Users();
}

QString RemoteUnavailableStopText() {
    return UiText(text::added::RemoteUnavailableStop);
}

RemoteFallback FallbackOfSwitch(const CAppData& app) {
    const bool localInUse = !app.server && !app.remoteDatabaseInUse && app.MainConnection() != nullptr;
    return localInUse ? RemoteFallback::Local : RemoteFallback::Stop;
}

bool RemoteDatabaseChosen(const CAppData& app) {
    return app.remoteDatabaseInUse ||
           (!app.server && app.MainConnection() == nullptr && RemoteDatabaseChosen(app.settings));
}

bool DatabaseReadyForWork(CAppData& app) {
    if (app.RemoteConnectionLost()) {
        qCWarning(lcApp, "the remote database is gone; the work does not start");
        HandleConnectionLost(app);
        return false;
    }
    if (app.MainConnection() == nullptr) {
        if (RemoteDatabaseChosen(app)) {
            qCWarning(lcApp, "no database is open while the remote one is refused; the work does not start");
            app.UserPrompter().ShowMessage(RemoteUnavailableStopText());
        }
        return false;
    }
    return true;
}

int SwitchToRemote(CAppData& app, const WriteProbe& probe, RemoteFallback fallback) {
    const BusyView busy(app);
    SetRemoteDatabaseChosen(app.settings, true);
    if (app.server) {
        app.server.reset();
        app.settings.serverDatabase.clear();
        app.CloseMainConnection();
    }
    if (app.remoteDatabaseInUse) {
        // Leaving the remote database in use: its connection and line go first, so choosing the
        // same folder again finds this program's line gone rather than twice.
        app.CloseMainConnection();
        app.ReleaseRemoteLock();
    }
    if (app.settings.remoteFolders.isEmpty()) {
        return FallBackToLocal(app, probe, fallback);
    }
    const QString folder = app.settings.remoteFolders.first();
    const QString file = RemoteDatabaseFile(app, folder);
    if (!QFileInfo(file).isFile()) {
        return FallBackToLocal(app, probe, fallback);
    }
    // Asking who has it open and adding this program's line happen under one lock, so two
    // computers switching at the same moment never both get in.
    auto holder = std::make_unique<DatabaseLockHolder>(file);
    if (!holder->Found()) {
        // The lock file cannot be written: the folder lacks the rights the application needs.
        app.UserPrompter().ShowMessage(SecurityWarningText(folder));
        return FallBackToLocal(app, probe, fallback);
    }
    if (holder->Found()->open) {
        app.UserPrompter().ShowMessage(UiText(text::RemoteDatabaseInUse) + QStringLiteral("\r\n\r\n") +
                                       holder->Found()->text);
        return FallBackToLocal(app, probe, fallback);
    }
    app.CloseMainConnection();
    app.HoldRemoteLock(std::move(holder));
    app.remoteDatabaseInUse = true;
    app.folders.SetCurrentRoot(folder, app.edition);
    app.folders.securityWarning = SecurityWarningText(folder);
    if (!RunWriteTest(app, probe) || !PrepareFolderNames(app) || !OpenMainDatabase(app)) {
        return FallBackToLocal(app, probe, fallback);
    }
    Changed(app);
    return 0;
}

bool SwitchToLocal(CAppData& app, const WriteProbe& probe) {
    const BusyView busy(app);
    app.server.reset();
    app.settings.serverDatabase.clear();
    SetRemoteDatabaseChosen(app.settings, false);
    app.CloseMainConnection();
    app.ReleaseRemoteLock();
    app.remoteDatabaseInUse = false;
    app.folders.SetCurrentRoot(app.folders.dataRoot, app.edition);
    app.folders.securityWarning = SecurityWarningText(app.folders.dataRoot);
    QDir().mkpath(app.folders.dataRoot);
    QDir().mkpath(app.folders.userRoot);
    const bool ok = RunWriteTest(app, probe) && PrepareFolderNames(app) && OpenMainDatabase(app);
    Changed(app);
    return ok;
}

bool RememberRemoteFolder(CAppData& app, const QString& folder) {
    const bool written = app.AddRemoteFolder(QDir::cleanPath(folder));
    if (app.databaseView.foldersChanged) {
        app.databaseView.foldersChanged();
    }
    return written;
}

int SelectRemoteFolder(CAppData& app, const QString& folder, RemoteFallback fallback) {
    const QString chosen = QFileInfo(folder).absoluteFilePath();
    if (QFileInfo(chosen).canonicalFilePath() == QFileInfo(app.folders.dataRoot).canonicalFilePath()) {
        app.UserPrompter().ShowMessage(UiText(text::CantSelectLocalPath));
        return -1;
    }
    if (!IsValidRemoteFolder(app, chosen)) {
        app.UserPrompter().ShowMessage(UiText(text::FolderHasNoDatabase));
        return -1;
    }
    RememberRemoteFolder(app, chosen);
    return SwitchToRemote(app, CreateAndDeleteTestFile, fallback);
}

int UseRememberedFolder(CAppData& app, int index, RemoteFallback fallback) {
    if (index < 0 || index >= app.settings.remoteFolders.size()) {
        return -1;
    }
    return SelectRemoteFolder(app, app.settings.remoteFolders.at(index), fallback);
}

void HandleConnectionLost(CAppData& app, const QString& exportFile) {
    if (!app.remoteDatabaseInUse) {
        return;
    }
    if (!exportFile.isEmpty()) {
        QFile::remove(exportFile);
    }
    app.UserPrompter().ShowMessage(UiText(text::RemoteConnectionLost));
    SwitchToLocal(app);
}

QString NewRemoteFolder(const QString& location) {
    return QDir::toNativeSeparators(QDir(location).filePath(QString::fromLatin1(kNewRemoteFolderName)));
}

QString NewRemoteFolderQuestion(const QString& location) {
    const QString breaks = QStringLiteral("\r\n\r\n");
    return UiText(text::FolderWillBeCreated) + breaks + QString::fromLatin1(kNewRemoteFolderName) + breaks +
           UiText(text::FullPathIsTherefore) + breaks + NewRemoteFolder(location) + breaks +
           UiText(text::IsThisCorrect);
}

int CreateRemoteDatabase(CAppData& app, const QString& location, bool ask) {
    const QString chosen = QFileInfo(location).absoluteFilePath();
    if (ask && !app.UserPrompter().AskYesNo(NewRemoteFolderQuestion(chosen))) {
        return -1;
    }
    if (IsInside(chosen, app.folders.dataRoot)) {
        app.UserPrompter().ShowMessage(UiText(text::CantCreateInLocalPath));
        return -1;
    }
    // The template of the local installation, whichever database is in use now.
    const QString templateFile = QDir(QDir(app.folders.dataRoot).filePath(QStringLiteral("Database/Empty")))
                                     .filePath(app.edition.profileName + QStringLiteral(".mdb"));
    if (!QFileInfo(templateFile).isFile()) {
        app.UserPrompter().ShowMessage(UiText(text::NoEmptyDbToCopy));
        return -1;
    }
    const QString folder = QDir::fromNativeSeparators(NewRemoteFolder(chosen));
    const QString databaseFolder = QDir(folder).filePath(QStringLiteral("Database"));
    if (!QDir().mkpath(databaseFolder)) {
        app.UserPrompter().ShowMessage(SecurityWarningText(folder));
        return -1;
    }
    QFile::setPermissions(folder, kSharedFolder);
    QFile::setPermissions(databaseFolder, kSharedFolder);
    const QString file = RemoteDatabaseFile(app, folder);
    if (!QFileInfo(file).exists() && !CopyTemplate(templateFile, file)) {
        app.UserPrompter().ShowMessage(SecurityWarningText(folder));
        return -1;
    }
    RememberRemoteFolder(app, folder);
    return SwitchToRemote(app);
}

QString OtherDatabaseTransferFile(const CAppData& app) {
    return QDir(app.folders.userRoot).filePath(QStringLiteral("data.") + app.dataFileExtension);
}

bool ExportToOtherDatabase(CAppData& app, [[maybe_unused]] const ProgressOpener& open) {
    const bool wasRemote = app.remoteDatabaseInUse;
    // Every table is copied straight from the database file, so nothing the data file does not
    // carry (lubrication points and readings, meters, off-route readings, e-mail addresses, the
    // tables of newer versions) is lost on the way.
    const QString source = app.folders.databaseFile;
    QFile::remove(OtherDatabaseTransferFile(app)); // left by versions that copied through it
    const auto switchTo = [&app](bool remote) {
        Status(app,
               UiText(remote ? text::SwitchingToRemote : text::SwitchingToLocal) + QStringLiteral("..."));
        return remote ? SwitchToRemote(app) == 0 : SwitchToLocal(app);
    };
    bool ok =
        switchTo(!wasRemote) && app.remoteDatabaseInUse == !wasRemote && app.MainConnection() != nullptr;
    if (ok) {
        QString error;
        ok = CopyEveryTable(app.MainConnection()->Connection(), source, error);
        if (!ok) {
            qCWarning(lcApp, "copy into the other database failed: %s", qUtf8Printable(error));
        }
        // Back to the database the user was working on, even after a failed copy.
        const bool back = switchTo(wasRemote) && app.remoteDatabaseInUse == wasRemote;
        ok = ok && back;
    }
    if (!ok && app.remoteDatabaseInUse) {
        SwitchToLocal(app);
    }
    return ok;
}

} // namespace vantor
