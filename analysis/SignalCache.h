#pragma once
// The signal cache file's image of a reading's decoded signals (the files themselves are read and
// written by loaders/SignalLoader.h).
//
// Cache file, in the archive encoding (little-endian, no padding): version (int32, 0), run speed
// (float); then for Total: Fmax, sampling frequency (floats), N, L (int32), low cut-off (float),
// N waveform doubles, L spectrum doubles; then for ISO the same without its waveform.

#include "analysis/ReadingSignals.h"

#include <QByteArray>
#include <QString>

namespace vantor {

inline constexpr qint32 kSignalCacheVersion = 0;

// The cache file image of decoded signals. Arrays are written at their channel's counts: missing
// entries are written as 0, surplus ones are left out.
QByteArray EncodeSignalCache(const ReadingSignals& decoded);
// Reads a cache file image; false for a truncated, padded or malformed image, one with no spectrum
// or a version other than 0.
// A loaded ISO channel has no waveform.
bool DecodeSignalCache(const QByteArray& image, ReadingSignals& decoded);

} // namespace vantor
