#pragma once
// File > Backup Data and Restore Data: a copy of the whole database (every table, also those the
// data file does not carry), checked before it is kept or put in place.

#include "app/CAppData.h"
#include "app/DataFileTransfer.h"

namespace vantor {

// The extension of a backup file.
inline constexpr const char* kBackupExtension = "vbk";

enum class BackupOutcome {
    Done,
    Cancelled, // the user declined the replace question
    Failed,    // nothing was replaced; the reason was logged and "Error Exporting Data" or "Error
               // Importing Data" shown
};

// Writes the database in use into `path` (an SQLite file that passes its integrity check before it
// replaces a file of that name).
BackupOutcome BackupDatabaseTo(CAppData& app, const QString& path);

// Replaces the database in use with the backup at `path` once a copy of it has passed its check;
// the previous database is kept until the restored one has opened, and put back otherwise. Asks
// first (the import's replace question). A
// backup made by earlier versions as a data file is imported as before (`open` gives its progress).
BackupOutcome RestoreDatabaseFrom(CAppData& app, const QString& path, const ProgressOpener& open = {});

} // namespace vantor
