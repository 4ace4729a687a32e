#pragma once
// Makes the desktop open data files with this program: a shared-mime-info type for "*.<extension>"
// and a desktop entry whose action imports the file, both under the user's data home
// ($XDG_DATA_HOME). Rewritten on every start so that they follow the executable.

#include "app/Edition.h"

#include <QString>

namespace vantor {

struct FileTypeRegistration {
    QString mimeType;    // "application/x-<file-type class in lower case>"
    QString mimeFile;    // $XDG_DATA_HOME/mime/packages/<class>.xml
    QString desktopFile; // $XDG_DATA_HOME/applications/<class>.desktop
};

// The names and places used for an edition.
FileTypeRegistration FileTypeRegistrationFor(const Edition& edition);

// Writes both files for the executable where they differ and, with refreshDatabases and a file
// changed, asks the desktop to refresh its MIME and application databases in the background when
// the tools for it are installed. False when a file could not be written; start-up goes on
// regardless.
bool RegisterDataFileType(const Edition& edition, const QString& executablePath, const QString& extension,
                          bool refreshDatabases = true);

// The Exec line of a desktop entry that opens one file with the executable.
QString DesktopExecLine(const QString& executablePath);

} // namespace vantor
