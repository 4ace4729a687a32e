#pragma once
// Decoded readings and their signal cache files. A route reading is decoded once and memoised in a
// cache file in the data folder (named by the reading's GUID); an off-route reading is decoded
// afresh every time.
//
// Cache file, in the archive encoding (little-endian, no padding): version (int32, 0), run speed
// (float); then for Total: Fmax, sampling frequency (floats), N, L (int32), low cut-off (float),
// N waveform doubles, L spectrum doubles; then for ISO the same without its waveform.

#include "analysis/ReadingSignals.h"

#include <QByteArray>
#include <QString>

namespace vantor {

class CMainConnection;
class CRecordSyncConnection;
class SignalProcessor;

inline constexpr qint32 kSignalCacheVersion = 0;

// The cache file image of decoded signals. Arrays are written at their channel's counts: missing
// entries are written as 0, surplus ones are left out.
QByteArray EncodeSignalCache(const ReadingSignals& decoded);
// Reads a cache file image; false for a truncated, padded or malformed image, one with no spectrum
// or a version other than 0.
// A loaded ISO channel has no waveform.
bool DecodeSignalCache(const QByteArray& image, ReadingSignals& decoded);

// A route reading's signals: from its cache file when there is one that checks out, else decoded
// from its row in tblVibReadings and then cached (a file that does not check out is replaced).
// False (and no cache file written) when the GUID is empty, the row is missing or a channel cannot
// be decoded.
bool LoadReadingSignals(CMainConnection& db, SignalProcessor& processor, const QString& readingGuid,
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
