#pragma once
// Decoded readings through their signal cache files. A route reading is decoded once and memoised in
// a cache file in the data folder (named by the reading's GUID, image in analysis/SignalCache.h); an
// off-route reading is decoded afresh every time.

#include "analysis/ReadingSignals.h"
#include "records/Records.h"

#include <QString>

namespace vantor {

class CMainConnection;
class CRecordSyncConnection;
class SignalProcessor;

// A route reading's signals: from its cache file when there is one that checks out, else decoded
// from its row in tblVibReadings and then cached (a file that does not check out is replaced).
// False (and no cache file written) when the GUID is empty, the row is missing or a channel cannot
// be decoded.
bool LoadReadingSignals(CMainConnection& db, SignalProcessor& processor, const QString& readingGuid,
                        ReadingSignals& decoded);

// The same for a reading whose row is already loaded: the row is decoded on a cache miss instead of
// being read again.
bool LoadReadingSignals(CMainConnection& db, SignalProcessor& processor, const CVibReading& row,
                        ReadingSignals& decoded);

// An off-route reading's signals, decoded from its row in tblOffRouteReadings; never cached.
bool LoadOffRouteReadingSignals(CRecordSyncConnection& db, SignalProcessor& processor,
                                const QString& readingGuid, ReadingSignals& decoded);

// Writes (replaces) a reading's cache file; true when written. The new file takes the old one's
// place only once it is complete, so a failed write never leaves a partial file behind.
bool SaveReadingSignals(const QString& dataFolder, const QString& readingGuid, const ReadingSignals& decoded);

// Removes a reading's cache file. A missing file counts as removed; false when the file exists and
// cannot be removed.
bool DeleteSignalCache(const QString& dataFolder, const QString& readingGuid);

} // namespace vantor
