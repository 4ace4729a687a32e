#pragma once
// The process-wide application data: the edition, the folders, the limits, the start-up flags and
// the main database connection. One instance, created before anything else runs.

#include "app/AppFolders.h"
#include "app/Edition.h"
#include "store/Limits.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"

#include <QDateTime>

#include <atomic>
#include <memory>

namespace vantor {

class Prompter;

class CAppData {
public:
    CAppData(Prompter& prompter, Edition edition = Edition::Built());

    Prompter& UserPrompter() const { return *prompter_; }

    Edition edition;
    bool vibPointsEnabled = true;
    bool lubePointsEnabled = false;
    int machinesPerRoute = kMachinesPerRoute;
    int pointsPerMachine = kPointsPerMachine;
    int binaryColumnLimit = kBinaryColumnLimit;
    QDateTime earliestDate;
    QDateTime latestDate;
    QString dataFileVersion = QStringLiteral("1.01 (Build 022)");
    QString dataFileExtension = QStringLiteral("rmd");
    bool databaseFileExists = false;
    std::atomic<bool> shuttingDown = false;
    bool remoteDatabaseInUse = false;

    AppFolders folders;

    // What the record access layer needs: paths, the prompter and the security-warning routine.
    StoreContext MakeStoreContext();
    // The main connection; exists once the database has been opened.
    CMainConnection* MainConnection() const { return main_.get(); }
    // Opens (or reopens) the main connection on the current database file.
    bool OpenMainConnection();
    // A secondary connection for the calling thread, not yet open.
    std::unique_ptr<CRecordSyncConnection> MakeSyncConnection();

    // Shows the security warning. With the local database in use the application then shuts down;
    // with the remote database the warning is shown only while the database file exists.
    void SecurityWarning();

private:
    Prompter* prompter_;
    std::unique_ptr<CMainConnection> main_;
};

} // namespace vantor
