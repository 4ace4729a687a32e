#pragma once
// The program's command line: one optional data-file path.

#include <QString>
#include <QStringList>

namespace vantor {

// True when the path's last three characters equal the data-file extension exactly (so "x.RMD"
// is not a data file while "x.rmd" is).
bool HasDataFileExtension(const QString& path, const QString& extension);

// The data-file argument of a command line (arguments[0] is the program, options start with '-');
// empty when there is none or when it does not end in the extension.
QString KeptDataFileArgument(const QStringList& arguments, const QString& extension);

} // namespace vantor
