#pragma once
// The process-wide application data: the edition, the folders, the limits, the start-up flags and
// the main database connection. One instance, created before anything else runs.

#include "app/AppFolders.h"
#include "app/Edition.h"
#include "app/Settings.h"
#include "store/DatabaseLockFile.h"
#include "store/Limits.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"

#include <QDateTime>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace vantor {

class Prompter;

// What a front end does around a change of database. Each may be empty.
struct DatabaseViewHooks {
    std::function<void(bool)> busy;                 // wait cursor on (true) and off
    std::function<void()> databaseChanged;          // mark the menu entry, reload the tree, set the title
    std::function<void()> foldersChanged;           // rebuild the remembered-folder entries
    std::function<void(const QString&)> showStatus; // a passing note such as "Switching to ..."
};

class CAppData {
public:
    // The fixed "Off Route" asset the meter always receives after a route, and its ten points, on
    // which readings that belong to no route point are taken.
    static constexpr const char* OffRouteAssetGuid = "{E8EE959D-249F-4fb0-8677-F20F158CD2DB}";
    static constexpr std::array<const char*, 10> OffRoutePointGuids = {
        "{9F9EB209-64A2-4265-9478-D3DD437BA763}", "{1194F361-2E59-4d3f-9E05-093B8BC3F386}",
        "{A3CE7C7A-5E33-47fb-95FB-DD5212991E45}", "{A80553F3-E87A-4285-9FDA-3A32AFDFB29B}",
        "{1EDF2A05-FF04-4e19-9C99-A0F63059AB57}", "{67AA3717-133C-465f-8F34-6C961A5C5AC3}",
        "{9C1DCCB3-E196-4791-990C-8966B06DAE0A}", "{DC11F17A-C0DD-4c9d-BA4D-830D12D049B0}",
        "{2DAB1347-8AE7-4353-A136-3B10D5AADA35}", "{4B09DE04-CFF1-4cf8-B020-21D491DBF207}"};
    // The highest meter version this program accepts.
    static constexpr double MaxDeviceVersion = 1.1;

    CAppData(Prompter& prompter, Edition edition = Edition::Built());

    Prompter& UserPrompter() const { return *prompter_; }

    Edition edition;
    bool vibPointsEnabled = true;
    bool lubePointsEnabled = false;
    int machinesPerRoute = kMachinesPerRoute;
    int pointsPerMachine = kPointsPerMachine;
    QDateTime earliestDate;
    QDateTime latestDate;
    QString dataFileExtension = QStringLiteral("rmd");
    bool databaseFileExists = false;
    std::atomic<bool> shuttingDown = false;
    bool remoteDatabaseInUse = false;
    // The PostgreSQL server in use instead of the database file (see app/ServerDatabase.h).
    std::optional<ServerAddress> server;

    AppFolders folders;
    CSettings settings;
    // How the connections retry a table whose columns cannot be read (tests shorten the waits).
    ColumnDiscoveryPolicy columnDiscovery;

    // Reads the settings record from the user's profile (once, at start-up).
    void ReadSettings();
    // Writes the whole settings record; false when it could not be stored.
    bool WriteSettings();
    // Puts a folder at the front of the remembered remote folders and stores the settings at once.
    bool AddRemoteFolder(const QString& folder);

    // What the record access layer needs: paths, the prompter and the security-warning routine.
    StoreContext MakeStoreContext();
    // The main connection; exists once the database has been opened.
    CMainConnection* MainConnection() const { return main_.get(); }
    // Opens (or reopens) the main connection on the current database file.
    bool OpenMainConnection();
    void CloseMainConnection();

    // The line of this program in the remote database's lock file, held while the remote database
    // is in use. Taking a new one releases the one held before.
    void HoldRemoteLock(std::unique_ptr<DatabaseLockHolder> holder);
    void ReleaseRemoteLock();
    bool HoldsRemoteLock() const { return remoteLock_ != nullptr; }
    // True while the remote database is in use and its file has gone (the share dropped).
    bool RemoteConnectionLost() const;
    // How the front end follows a change of database.
    DatabaseViewHooks databaseView;
    // A secondary connection for the calling thread, not yet open.
    std::unique_ptr<CRecordSyncConnection> MakeSyncConnection();

    // Shows the security warning. With the local database in use the application then shuts down;
    // with the remote database the warning is shown only while the database file exists.
    void SecurityWarning();

    // Sets the shutting-down flag and asks the main window to close. Any thread may call it.
    void RequestShutdown();
    // How the main window is asked to close; set by the main window while it exists. Called on the
    // thread that requests the shutdown, so it must only post the request.
    std::function<void()> closeMainWindow;

private:
    Prompter* prompter_;
    // Declared before the connection, so the connection closes before the line goes.
    std::unique_ptr<DatabaseLockHolder> remoteLock_;
    std::unique_ptr<CMainConnection> main_;
};

} // namespace vantor
