#include "app/DatabaseSwitch.h"

#include "app/Startup.h"
#include "platform/Prompter.h"
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

void Changed(const CAppData& app) {
    if (app.databaseView.databaseChanged) {
        app.databaseView.databaseChanged();
    }
}

int FallBackToLocal(CAppData& app, const WriteProbe& probe) {
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
    if (!app.remoteDatabaseInUse) {
        return QStringLiteral("%1 - %2").arg(app.edition.title, UiText(text::LocalDatabase));
    }
    const QString part = LastPathComponent(app.folders.currentRoot);
    if (part.isEmpty()) {
        return QStringLiteral("%1 - %2").arg(app.edition.title, UiText(text::RemoteDatabase));
    }
    return QStringLiteral("%1 - %2 (%3)").arg(app.edition.title, UiText(text::RemoteDatabase), part);
}

LockFileUsers WhoHasOpen(const QString& databaseFile) {
    return DatabaseLockFile(databaseFile).Users();
}

int SwitchToRemote(CAppData& app, const WriteProbe& probe) {
    const BusyView busy(app);
    app.settings.localOrRemote = 1;
    if (app.remoteDatabaseInUse) {
        // Leaving the remote database in use: its connection and line go first, so choosing the
        // same folder again finds this program's line gone rather than twice.
        app.CloseMainConnection();
        app.ReleaseRemoteLock();
    }
    if (app.settings.remoteFolders.isEmpty()) {
        return FallBackToLocal(app, probe);
    }
    const QString folder = app.settings.remoteFolders.first();
    const QString file = RemoteDatabaseFile(app, folder);
    if (!QFileInfo(file).isFile()) {
        return FallBackToLocal(app, probe);
    }
    // Asking who has it open and adding this program's line happen under one lock, so two
    // computers switching at the same moment never both get in.
    auto holder = std::make_unique<DatabaseLockHolder>(file);
    if (!holder->Found()) {
        // The lock file cannot be written: the folder lacks the rights the application needs.
        app.UserPrompter().ShowMessage(SecurityWarningText(folder));
        return FallBackToLocal(app, probe);
    }
    if (holder->Found()->open) {
        app.UserPrompter().ShowMessage(UiText(text::RemoteDatabaseInUse) + QStringLiteral("\r\n\r\n") +
                                       holder->Found()->text);
        return FallBackToLocal(app, probe);
    }
    app.CloseMainConnection();
    app.HoldRemoteLock(std::move(holder));
    app.remoteDatabaseInUse = true;
    app.folders.SetCurrentRoot(folder, app.edition);
    app.folders.securityWarning = SecurityWarningText(folder);
    if (!RunWriteTest(app, probe) || !PrepareFolderNames(app) || !OpenMainDatabase(app)) {
        return FallBackToLocal(app, probe);
    }
    Changed(app);
    return 0;
}

bool SwitchToLocal(CAppData& app, const WriteProbe& probe) {
    const BusyView busy(app);
    app.settings.localOrRemote = 0;
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

int SelectRemoteFolder(CAppData& app, const QString& folder) {
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
    return SwitchToRemote(app);
}

int UseRememberedFolder(CAppData& app, int index) {
    if (index < 0 || index >= app.settings.remoteFolders.size()) {
        return -1;
    }
    return SelectRemoteFolder(app, app.settings.remoteFolders.at(index));
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

} // namespace vantor
