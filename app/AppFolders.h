#pragma once
// Every folder and file path the application uses, formed in one place from the two shared
// folders and the edition.

#include "app/Edition.h"

#include <QString>

namespace vantor {

struct AppFolders {
    QString dataRoot;    // <shared application data>/<company>/<product>
    QString userRoot;    // <user application data>/<company>/<product>
    QString currentRoot; // the data root, or the remote folder while the remote database is used
    QString databaseFolder;
    QString databaseFile; // <database folder>/<profile name>.mdb
    QString dataFolder;   // signal cache files, one per reading
    QString syncFolder;
    QString stylesFolder;
    QString languageFolder;
    QString logosFolder;
    QString emptyDatabaseFolder; // template database for new databases
    QString emptyDatabaseFile;
    QString userSettingsFile;
    QString securityWarning; // the warning text, naming the data root

    // Forms the folders from the shared and user application-data folders.
    static AppFolders Resolve(const Edition& edition, const QString& commonAppData,
                              const QString& userAppData);
    // Moves the folders that follow the current root (database, styles, language, logos, template).
    void SetCurrentRoot(const QString& root, const Edition& edition);
};

// The security warning shown when a folder of the application cannot be written.
QString SecurityWarningText(const QString& dataRoot);

} // namespace vantor
