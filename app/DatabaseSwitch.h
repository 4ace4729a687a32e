#pragma once
// Switching between the local database under the data root and a remote database in a folder on a
// share: the checks, the lock-file line, the folders that follow the current root, the fallback to
// the local database, and the window title. Both front ends call these.

#include "app/CAppData.h"
#include "app/DataFileTransfer.h"
#include "app/Startup.h"

namespace vantor {

// The database file of a remote folder: "<folder>/Database/<profile name>.mdb".
QString RemoteDatabaseFile(const CAppData& app, const QString& folder);
// A remote folder is valid when its database file exists.
bool IsValidRemoteFolder(const CAppData& app, const QString& folder);
// The main window's title: "<title> - Local Database", "<title> - Remote Database (<last part of the
// folder>)", or without the part in brackets when the folder has none.
QString DatabaseCaption(const CAppData& app);
// Who has a database open besides this computer (the user list).
LockFileUsers WhoHasOpen(const QString& databaseFile);

// What a refused or unreachable remote database leads to.
enum class RemoteFallback {
    Local, // the user chose the switch: "Unable to make Remote connection, switching to Local
           // Database." and the local database is used
    Stop,  // a command started against the remote database: its reason is shown and no database
           // stays open, so nothing is written anywhere; the setting still names the remote one
};

// Switches to the first remembered remote folder: 0 on success; -1 after showing why and, with
// RemoteFallback::Local, "Unable to make Remote connection, switching to Local Database." and
// switching to the local database.
int SwitchToRemote(CAppData& app, const WriteProbe& probe = CreateAndDeleteTestFile,
                   RemoteFallback fallback = RemoteFallback::Local);
// Shown when a command started against the remote database stops because it cannot be used.
QString RemoteUnavailableStopText();
// The fallback of a switch the user starts: to the local database only when that is the one in use,
// so work meant for a remote database never lands in the local one unless the user chooses it.
RemoteFallback FallbackOfSwitch(const CAppData& app);
// The remote database is the one chosen: in use, or refused and so no database is open while the
// settings still name it (the desktop then waits for the user to choose in the Connection menu).
bool RemoteDatabaseChosen(const CAppData& app);
// Whether work that reads or writes may start on the database in use. False after telling why: no
// database is open because the remote one was refused (RemoteUnavailableStopText), or the remote
// database's file is gone (as HandleConnectionLost). Nothing is written in either case.
bool DatabaseReadyForWork(CAppData& app);
// Switches to the local database under the data root. False when the local database cannot be
// used (its message was shown and the application shuts down).
bool SwitchToLocal(CAppData& app, const WriteProbe& probe = CreateAndDeleteTestFile);

// Remembers a folder (front of the list, no duplicate, at most five), writes the settings at once
// and tells the front end to rebuild its folder entries.
bool RememberRemoteFolder(CAppData& app, const QString& folder);
// The user chose a folder: the local data root and a folder without a database are refused with
// their messages (-1); otherwise it is remembered and switched to (the result of SwitchToRemote).
int SelectRemoteFolder(CAppData& app, const QString& folder, RemoteFallback fallback = RemoteFallback::Local);
// The remembered folder at `index` (0 first): re-validated, moved to the front and switched to.
int UseRememberedFolder(CAppData& app, int index, RemoteFallback fallback = RemoteFallback::Local);

// The remote database's file vanished while in use: closes the secondary connection, deletes the
// export file being written (when named), shows "Remote connection lost, switching to Local
// Database." and switches to the local database. Does nothing while local.
void HandleConnectionLost(CAppData& app, const QString& exportFile = {});

// The folder a new remote database gets under the location the user chose.
inline constexpr const char* kNewRemoteFolderName = "Vantor Remote DB";
QString NewRemoteFolder(const QString& location);
// The question shown before creating it: the folder's name and its full path.
QString NewRemoteFolderQuestion(const QString& location);

// Creates a remote database under `location`: asks first when `ask` (declining does nothing), refuses
// the local data root and folders inside it, copies the empty template database into the new
// folder's Database folder (an existing database there is kept, never overwritten), opens the
// folders to the owner's group, remembers the folder and switches to it. 0 when the remote database
// is in use afterwards, -1 otherwise (with its message shown).
int CreateRemoteDatabase(CAppData& app, const QString& location, bool ask = true);

// Copies every table of the database in use into the other one (local into the remembered remote
// folder, or remote into local) in one transaction on the target, then switches back. The
// switching notes go through the front end's showStatus hook. On any failure the local database is
// in use afterwards. True when every step worked.
bool ExportToOtherDatabase(CAppData& app, const ProgressOpener& open);
// The file earlier versions copied between the two databases through; removed when found.
QString OtherDatabaseTransferFile(const CAppData& app);

} // namespace vantor
