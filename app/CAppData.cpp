#include "app/CAppData.h"

#include "platform/Prompter.h"

#include <QFileInfo>

namespace vantor {

CAppData::CAppData(Prompter& prompter, Edition e)
    : edition(std::move(e)), earliestDate(QDate(1900, 1, 1), QTime(0, 0)),
      latestDate(QDate(2079, 6, 6), QTime(0, 0)), prompter_(&prompter) {
    vibPointsEnabled = edition.kind == 0;
    lubePointsEnabled = edition.kind == 1;
}

StoreContext CAppData::MakeStoreContext() {
    StoreContext context;
    context.databaseFile = folders.databaseFile;
    context.dataFolder = folders.dataFolder;
    context.prompter = prompter_;
    context.securityWarning = [this] { SecurityWarning(); };
    context.markShuttingDown = [this] { RequestShutdown(); };
    context.discovery = columnDiscovery;
    context.journal =
        remoteDatabaseInUse ? SqlConnection::Journal::Rollback : SqlConnection::Journal::WriteAhead;
    context.server = server;
    context.applicationName = edition.title;
    return context;
}

bool CAppData::OpenMainConnection() {
    main_.reset();
    auto connection = std::make_unique<CMainConnection>(MakeStoreContext());
    if (!connection->Open()) {
        return false;
    }
    main_ = std::move(connection);
    return true;
}

void CAppData::CloseMainConnection() {
    main_.reset();
}

void CAppData::HoldRemoteLock(std::unique_ptr<DatabaseLockHolder> holder) {
    remoteLock_ = std::move(holder);
}

void CAppData::ReleaseRemoteLock() {
    remoteLock_.reset();
}

bool CAppData::RemoteConnectionLost() const {
    return remoteDatabaseInUse && !QFileInfo::exists(folders.databaseFile);
}

std::unique_ptr<CRecordSyncConnection> CAppData::MakeSyncConnection() {
    return std::make_unique<CRecordSyncConnection>(MakeStoreContext());
}

void CAppData::ReadSettings() {
    SettingsStore(edition).Read(settings);
}

bool CAppData::WriteSettings() {
    return SettingsStore(edition).Write(settings);
}

bool CAppData::AddRemoteFolder(const QString& folder) {
    settings.AddRemoteFolder(folder);
    return WriteSettings();
}

void CAppData::RequestShutdown() {
    shuttingDown = true;
    if (closeMainWindow) {
        closeMainWindow();
    }
}

void CAppData::SecurityWarning() {
    if (!remoteDatabaseInUse) {
        prompter_->ShowMessage(folders.securityWarning);
        RequestShutdown();
        return;
    }
    if (QFileInfo::exists(folders.databaseFile)) {
        prompter_->ShowMessage(folders.securityWarning);
    }
}

} // namespace vantor
