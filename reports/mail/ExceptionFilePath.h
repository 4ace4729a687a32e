#pragma once
// Where a machine's exception attachment is written: "<data folder>/Temp/<machine name>.csv". The
// machine name is data, so it is made safe here: whatever it holds, the file stays directly inside
// the Temp folder.

#include <QString>

namespace vantor {

// "<data folder>/Temp".
QString ExceptionTempFolder(const QString& dataFolder);
// The file name for a machine: the name itself when it is a plain file name; otherwise separators,
// control characters, characters that file systems refuse, '%', a leading dot and a leading '#' are written
// as %XX of their UTF-8 bytes, an empty name as "%00", and a name too long for a file system as a digest of
// it.
QString ExceptionFileBaseName(const QString& machineName);
QString ExceptionFilePath(const QString& tempFolder, const QString& machineName);

} // namespace vantor
