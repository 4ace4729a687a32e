#include "loaders/SignalLoader.h"

#include "analysis/Log.h"
#include "analysis/ReadingDecode.h"
#include "analysis/SignalCache.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/SignalCachePath.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vantor {

namespace {

// The signals from the reading's cache file; false when there is none that checks out.
bool LoadCachedSignals(const QString& dataFolder, const QString& readingGuid, ReadingSignals& decoded) {
    const QString path = SignalCacheFilePath(dataFolder, readingGuid);
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray image = file.readAll();
    const bool readWhole = file.error() == QFileDevice::NoError;
    file.close();
    if (readWhole && DecodeSignalCache(image, decoded)) {
        RefuseUnusableRunSpeed(decoded, readingGuid);
        return true;
    }
    // A cache file that does not check out (cut short, damaged, of another version) is never
    // trusted: the reading is decoded from its row and the file written anew.
    qCWarning(lcAnalysis, "the signal cache of %s does not check out; decoding the reading again",
              qUtf8Printable(readingGuid));
    return false;
}

// Decodes the row and writes its cache file.
bool DecodeAndCache(const QString& dataFolder, SignalProcessor& processor, const CVibReading& row,
                    ReadingSignals& decoded) {
    if (!DecodeReading(row, processor, decoded)) {
        decoded = {};
        return false;
    }
    // A cache that cannot be written only costs the next load a decode.
    SaveReadingSignals(dataFolder, row.sItemGUID, decoded);
    RefuseUnusableRunSpeed(decoded, row.sItemGUID);
    return true;
}

} // namespace

bool LoadReadingSignals(CMainConnection& db, SignalProcessor& processor, const QString& readingGuid,
                        ReadingSignals& decoded) {
    const QString dataFolder = db.Context().dataFolder;
    if (LoadCachedSignals(dataFolder, readingGuid, decoded)) {
        return true;
    }
    decoded = {};
    if (readingGuid.isEmpty()) {
        return false;
    }
    CVibReading row;
    if (!db.GetVibReading(readingGuid, row)) {
        return false;
    }
    return DecodeAndCache(dataFolder, processor, row, decoded);
}

bool LoadReadingSignals(CMainConnection& db, SignalProcessor& processor, const CVibReading& row,
                        ReadingSignals& decoded) {
    const QString dataFolder = db.Context().dataFolder;
    if (LoadCachedSignals(dataFolder, row.sItemGUID, decoded)) {
        return true;
    }
    decoded = {};
    if (row.sItemGUID.isEmpty()) {
        return false;
    }
    return DecodeAndCache(dataFolder, processor, row, decoded);
}

bool LoadOffRouteReadingSignals(CRecordSyncConnection& db, SignalProcessor& processor,
                                const QString& readingGuid, ReadingSignals& decoded) {
    decoded = {};
    COffRouteReading row;
    if (readingGuid.isEmpty() || !db.GetOffRouteReading(readingGuid, row)) {
        return false;
    }
    if (!DecodeReading(row, processor, decoded)) {
        decoded = {};
        return false;
    }
    RefuseUnusableRunSpeed(decoded, readingGuid);
    return true;
}

bool SaveReadingSignals(const QString& dataFolder, const QString& readingGuid,
                        const ReadingSignals& decoded) {
    const QString path = SignalCacheFilePath(dataFolder, readingGuid);
    if (path.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray image = EncodeSignalCache(decoded);
    if (file.write(image) != image.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool DeleteSignalCache(const QString& dataFolder, const QString& readingGuid) {
    const QString path = SignalCacheFilePath(dataFolder, readingGuid);
    if (path.isEmpty()) {
        return true;
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    return QFile::remove(path);
}

} // namespace vantor
