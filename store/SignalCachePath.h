#pragma once
// Where the signal cache file of a reading lives: one file per reading in the data folder, named by
// the reading's GUID. A GUID is data from the database or a file, so the name is made safe here and
// nowhere else: whatever the GUID holds, the path stays directly inside the data folder.

#include <QString>

namespace vantor {

// The cache file path of a reading; empty for an empty GUID.
QString SignalCacheFilePath(const QString& dataFolder, const QString& readingGuid);

// The file of a reading's further derived data (its envelope spectrum) beside its cache file: the
// same name with the extension ".derived". A cache file name never holds a dot, so the two never
// meet; empty for an empty GUID.
QString DerivedCacheFilePath(const QString& dataFolder, const QString& readingGuid);

} // namespace vantor
