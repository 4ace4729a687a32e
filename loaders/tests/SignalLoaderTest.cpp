// Route readings are decoded once and then served from their cache file; off-route readings are
// decoded every time; a damaged cache file fails the load and is kept.
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"

#include "archive/ArchiveReader.h"
#include "loaders/SignalLoader.h"
#include "store/SignalCachePath.h"
#include "store/tests/StoreFixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

namespace vantor {
namespace {

QByteArray Block(std::size_t n, int amplitude) {
    QByteArray raw;
    constexpr int kPattern[4] = {0, 1, 0, -1};
    for (std::size_t i = 0; i < n; ++i) {
        const auto sample =
            static_cast<std::uint16_t>(30000 + amplitude * kPattern[i % 4] + static_cast<int>(i % 7));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

void FillCapture(VibReadingValues& row) {
    row.fCurrentRunSpeedHz = 24.5f;
    row.fPSUVoltage = 3.3f;
    row.iADCBits = 16;
    row.fAccelerometerSensitivity = 100.0f;
    row.fTotalCal = 1.1f;
    row.fTotalGain = 2.0f;
    row.fISOCal = 0.9f;
    row.fISOGain = 4.0f;
    row.fTotalSamplingFrequency = 2560.0f;
    row.iTotalNumberOfSamples = 256;
    row.fISOSamplingFrequency = 1280.0f;
    row.iISONumberOfSamples = 128;
    row.rawADCTotalDataByteArray = Block(256, 900);
    row.rawADCISODataByteArray = Block(128, 400);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

template <typename T> T At(const QByteArray& image, qsizetype offset) {
    T value;
    std::memcpy(&value, image.constData() + offset, sizeof(T));
    return value;
}

class SignalCacheTest : public testing::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        const CMachine machine = AddMachine(QStringLiteral("Pump"));
        const CVib point = AddVib(machine.sItemGUID, QStringLiteral("Bearing"));
        reading = AddReading(point.sItemGUID, testing::At(5));
        FillCapture(reading);
        ASSERT_TRUE(db->UpsertVibReading(reading));
    }

    QString CachePath() const { return SignalCacheFilePath(context.dataFolder, reading.sItemGUID); }

    CVibReading reading;
    SignalProcessor processor;
};

TEST_F(SignalCacheTest, FirstLoadDecodesAndWritesTheFileInItsLayout) {
    ReadingSignals decoded;
    ASSERT_TRUE(LoadReadingSignals(*db, processor, reading.sItemGUID, decoded));
    EXPECT_EQ(decoded.total.lineCount, 100);
    EXPECT_EQ(decoded.iso.lineCount, 50);
    EXPECT_EQ(decoded.iso.waveform.size(), 128u);

    const QByteArray image = ReadFile(CachePath());
    // version, run speed, Total (5 scalars, 256 + 100 doubles), ISO (5 scalars, 50 doubles).
    ASSERT_EQ(image.size(), 4 + 4 + 20 + 8 * 356 + 20 + 8 * 50);
    EXPECT_EQ(At<std::int32_t>(image, 0), 0);
    EXPECT_EQ(At<float>(image, 4), 24.5f);
    EXPECT_EQ(At<float>(image, 8), decoded.total.fmaxHz);
    EXPECT_EQ(At<float>(image, 12), 2560.0f);
    EXPECT_EQ(At<std::int32_t>(image, 16), 256);
    EXPECT_EQ(At<std::int32_t>(image, 20), 100);
    EXPECT_EQ(At<float>(image, 24), 10.0f);
    EXPECT_EQ(At<double>(image, 28), decoded.total.waveform[0]);
    EXPECT_EQ(At<double>(image, 28 + 8 * 256), decoded.total.spectrum[0]);
    const qsizetype iso = 28 + 8 * 356;
    EXPECT_EQ(At<float>(image, iso + 4), 1280.0f);
    EXPECT_EQ(At<std::int32_t>(image, iso + 8), 128);
    EXPECT_EQ(At<std::int32_t>(image, iso + 12), 50);
    EXPECT_EQ(At<float>(image, iso + 16), 10.0f);
    EXPECT_EQ(At<double>(image, iso + 20 + 8 * 49), decoded.iso.spectrum[49]);
    EXPECT_EQ(image, EncodeSignalCache(decoded));
}

TEST_F(SignalCacheTest, SecondLoadComesFromTheFileWithoutTheIsoWaveform) {
    ReadingSignals first;
    ASSERT_TRUE(LoadReadingSignals(*db, processor, reading.sItemGUID, first));
    // The row changes behind the store's back after the first decode; the cache is what counts now.
    Execute(QStringLiteral("UPDATE tblVibReadings SET [fCurrentRunSpeedHz] = 50"));

    ReadingSignals second;
    ASSERT_TRUE(LoadReadingSignals(*db, processor, reading.sItemGUID, second));
    EXPECT_EQ(second.runSpeedHz, 24.5f);
    EXPECT_EQ(second.total.waveform, first.total.waveform);
    EXPECT_EQ(second.total.spectrum, first.total.spectrum);
    EXPECT_EQ(second.iso.spectrum, first.iso.spectrum);
    EXPECT_EQ(second.iso.sampleCount, 128);
    EXPECT_EQ(second.iso.lowCutoffHz, first.iso.lowCutoffHz);
    EXPECT_TRUE(second.iso.waveform.empty());
    // Written again from what was loaded, the file is the same byte for byte.
    EXPECT_EQ(EncodeSignalCache(second), ReadFile(CachePath()));
}

TEST_F(SignalCacheTest, AShortBlockOrBadCountFailsAndWritesNoFile) {
    ReadingSignals decoded;
    reading.rawADCISODataByteArray.chop(1);
    ASSERT_TRUE(db->UpsertVibReading(reading));
    EXPECT_FALSE(LoadReadingSignals(*db, processor, reading.sItemGUID, decoded));
    EXPECT_FALSE(QFile::exists(CachePath()));

    FillCapture(reading);
    reading.iTotalNumberOfSamples = 200;
    reading.rawADCTotalDataByteArray = Block(200, 10);
    ASSERT_TRUE(db->UpsertVibReading(reading));
    EXPECT_FALSE(LoadReadingSignals(*db, processor, reading.sItemGUID, decoded));
    EXPECT_FALSE(QFile::exists(CachePath()));

    EXPECT_FALSE(LoadReadingSignals(*db, processor, QString(), decoded));
    EXPECT_FALSE(LoadReadingSignals(*db, processor, MakeItemGuid(), decoded));
}

TEST_F(SignalCacheTest, ACacheFileThatDoesNotCheckOutIsRebuiltFromTheRow) {
    ReadingSignals decoded;
    ASSERT_TRUE(LoadReadingSignals(*db, processor, reading.sItemGUID, decoded));
    const QByteArray good = ReadFile(CachePath());

    QByteArray newer = good;
    newer[0] = 1;
    QByteArray hugeCount = good;
    hugeCount[19] = 0x7F;   // Total sample count far beyond the data
    ReadingSignals nothing; // a whole image of a reading with no data at all
    nothing.runSpeedHz = 24.5f;
    const QByteArray noLines = EncodeSignalCache(nothing);
    const struct {
        const char* name;
        QByteArray image;
    } cases[] = {
        {"one byte short", good.left(good.size() - 1)},
        {"cut to 100 bytes", good.left(100)},
        {"cut to 20 bytes", good.left(20)},
        {"cut to 10 bytes", good.left(10)},
        {"empty", QByteArray()},
        {"padded", good + QByteArray(8, '\0')},
        {"a newer version", newer},
        {"a count past the data", hugeCount},
        {"no spectrum on either channel", noLines},
    };
    for (const auto& bad : cases) {
        WriteFile(CachePath(), bad.image);
        ReadingSignals loaded;
        ASSERT_TRUE(LoadReadingSignals(*db, processor, reading.sItemGUID, loaded)) << bad.name;
        EXPECT_EQ(loaded.total.waveform, decoded.total.waveform) << bad.name;
        EXPECT_EQ(loaded.total.spectrum, decoded.total.spectrum) << bad.name;
        EXPECT_EQ(loaded.iso.spectrum, decoded.iso.spectrum) << bad.name;
        EXPECT_EQ(ReadFile(CachePath()), good) << bad.name;
    }
}

// A reading replaced through the store (new captures under its GUID) loses its cache file, so the
// next load decodes the new row instead of showing the old values.
TEST_F(SignalCacheTest, ReplacingAReadingDropsItsCache) {
    ReadingSignals before;
    ASSERT_TRUE(LoadReadingSignals(*db, processor, reading.sItemGUID, before));
    ASSERT_TRUE(QFile::exists(CachePath()));
    reading.fCurrentRunSpeedHz = 50.0f;
    ASSERT_TRUE(db->UpsertVibReading(reading));
    EXPECT_FALSE(QFile::exists(CachePath()));
    ReadingSignals after;
    ASSERT_TRUE(LoadReadingSignals(*db, processor, reading.sItemGUID, after));
    EXPECT_EQ(after.runSpeedHz, 50.0f);
}

TEST_F(SignalCacheTest, SaveWritesArraysAtTheirCountsAndDeleteRemoves) {
    ReadingSignals decoded;
    decoded.runSpeedHz = 12.0f;
    decoded.total.sampleCount = 4;
    decoded.total.lineCount = 1;
    decoded.total.waveform = {1.0, 2.0}; // two short: written as zeros
    decoded.total.spectrum = {5.0, 6.0}; // one too many: left out
    decoded.iso.lineCount = 2;
    decoded.iso.spectrum = {7.0, 8.0};
    ASSERT_TRUE(SaveReadingSignals(context.dataFolder, reading.sItemGUID, decoded));
    ReadingSignals loaded;
    ASSERT_TRUE(DecodeSignalCache(ReadFile(CachePath()), loaded));
    EXPECT_EQ(loaded.total.waveform, (std::vector<double>{1.0, 2.0, 0.0, 0.0}));
    EXPECT_EQ(loaded.total.spectrum, (std::vector<double>{5.0}));
    EXPECT_EQ(loaded.iso.spectrum, (std::vector<double>{7.0, 8.0}));

    EXPECT_TRUE(DeleteSignalCache(context.dataFolder, reading.sItemGUID));
    EXPECT_FALSE(QFile::exists(CachePath()));
    EXPECT_TRUE(DeleteSignalCache(context.dataFolder, reading.sItemGUID));
    // Something that cannot be removed as a file stays and is reported.
    ASSERT_TRUE(QDir().mkpath(CachePath() + QStringLiteral("/inside")));
    EXPECT_FALSE(DeleteSignalCache(context.dataFolder, reading.sItemGUID));
    EXPECT_FALSE(SaveReadingSignals(context.dataFolder, reading.sItemGUID, decoded));
}

TEST_F(SignalCacheTest, OffRouteReadingsAreDecodedButNeverCached) {
    CRecordSyncConnection sync(context);
    ASSERT_TRUE(sync.Open());
    COffRouteReading offRoute;
    offRoute.sItemGUID = MakeItemGuid();
    offRoute.ctDateTaken = testing::At(6);
    FillCapture(offRoute);
    ASSERT_TRUE(sync.UpsertOffRouteReading(offRoute));

    ReadingSignals decoded;
    ASSERT_TRUE(LoadOffRouteReadingSignals(sync, processor, offRoute.sItemGUID, decoded));
    EXPECT_EQ(decoded.total.spectrum.size(), 100u);
    EXPECT_EQ(decoded.iso.waveform.size(), 128u);
    EXPECT_FALSE(QFile::exists(SignalCacheFilePath(context.dataFolder, offRoute.sItemGUID)));
    EXPECT_FALSE(LoadOffRouteReadingSignals(sync, processor, MakeItemGuid(), decoded));
}

} // namespace
} // namespace vantor
