// A stored reading's indices and envelope spectrum: computed from its captures on first need and
// kept (the indices in their table, the envelope in the derived-data file), computed again when the
// point's envelope band changes, and absent (never zero) for a capture that cannot be decoded.
#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingIndices.h"
#include "analysis/SignalProcessor.h"

#include "loaders/EnvelopeLoader.h"
#include "loaders/IndicesStore.h"
#include "store/DerivedRecords.h"
#include "store/SignalCachePath.h"
#include "store/tests/StoreFixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vantor {
namespace {

constexpr double kFs = 12800.0;
constexpr double kGPerCount = 0.001; // 6.5536 V / 2^16 counts × 1000 / 100 mV/g
constexpr double kCarrier = 1.0;
constexpr double kDepth = 0.5;
constexpr double kModulationHz = 50.0;

// A capture of a signal in g as the meter's converter writes it: unsigned counts around mid-scale.
QByteArray Capture(std::size_t n, double fs, const std::function<double(double)>& signal) {
    QByteArray raw;
    for (std::size_t i = 0; i < n; ++i) {
        const auto count = static_cast<std::uint16_t>(
            std::lround(32768.0 + signal(static_cast<double>(i) / fs) / kGPerCount));
        raw.append(static_cast<char>(count & 0xFF));
        raw.append(static_cast<char>(count >> 8));
    }
    return raw;
}

class ReadingIndicesTest : public testing::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        const CMachine machine = AddMachine(QStringLiteral("Fan"));
        point = AddVib(machine.sItemGUID, QStringLiteral("Motor DE"));
        reading = AddReading(point.sItemGUID, testing::At(5));
        reading.fPSUVoltage = 6.5536f;
        reading.iADCBits = 16;
        reading.fAccelerometerSensitivity = 100.0f;
        reading.fTotalCal = reading.fTotalGain = reading.fISOCal = reading.fISOGain = 1.0f;
        reading.fTotalSamplingFrequency = static_cast<float>(kFs);
        reading.iTotalNumberOfSamples = 8192;
        reading.rawADCTotalDataByteArray = Capture(8192, kFs, [](double t) {
            const double pi = std::numbers::pi;
            return kCarrier * (1 + kDepth * std::cos(2 * pi * kModulationHz * t)) *
                   std::sin(2 * pi * 2000.0 * t);
        });
        reading.fISOSamplingFrequency = 2560.0f;
        reading.iISONumberOfSamples = 2048;
        reading.rawADCISODataByteArray =
            Capture(2048, 2560.0, [](double t) { return 0.4 * std::sin(2 * std::numbers::pi * 40.0 * t); });
        ASSERT_TRUE(db->UpsertVibReading(reading));
    }

    CVib point;
    CVibReading reading;
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
};

TEST_F(ReadingIndicesTest, ComputedOnFirstNeedAndKept) {
    ReadingIndicesRow stored;
    ASSERT_FALSE(derived::GetReadingIndices(db->Connection(), reading.sItemGUID, stored));
    const std::optional<ReadingIndices> indices = ReadingIndicesOf(*db, analyzer, reading.sItemGUID);
    ASSERT_TRUE(indices && indices->total && indices->iso && indices->geOverall);
    // ISO: a 0.4 g sine (to the converter's step).
    EXPECT_NEAR(*indices->iso->crest, std::sqrt(2.0), 0.01);
    EXPECT_NEAR(*indices->iso->kurtosis, 1.5, 0.01);
    EXPECT_NEAR(indices->iso->peakToPeak, 0.8, 2 * kGPerCount);
    // Total: the modulated tone peaks near A(1 + m) = 1.5 g (its samples miss the crest by up to 1 %).
    EXPECT_NEAR(indices->total->peak, 1.5, 0.015);
    EXPECT_NEAR(*indices->geOverall, kCarrier * kDepth / std::sqrt(2.0), 0.01);
    EXPECT_EQ(indices->band, (EnvelopeBand{1250.0, 5000.0}));

    ASSERT_TRUE(derived::GetReadingIndices(db->Connection(), reading.sItemGUID, stored));
    EXPECT_EQ(stored.method, kReadingIndicesMethod);
    EXPECT_EQ(stored.geOverall, indices->geOverall);

    // Kept: a stored value is served as it is.
    stored.total->kurtosis = 42.0;
    derived::PutReadingIndices(db->Connection(), stored);
    EXPECT_EQ(ReadingIndicesOf(*db, analyzer, reading.sItemGUID)->total->kurtosis, 42.0);
    EXPECT_EQ(PointReadingIndices(*db, analyzer, point.sItemGUID, db->ListVibReadings(point.sItemGUID))
                  .at(reading.sItemGUID)
                  .total->kurtosis,
              42.0);

    // A new band for the point makes them stale: computed again in it.
    derived::PutEnvelopeBand(db->Connection(), point.sItemGUID, EnvelopeBandRow{1500.0, 7000.0});
    const std::optional<ReadingIndices> again = ReadingIndicesOf(*db, analyzer, reading.sItemGUID);
    ASSERT_TRUE(again && again->total);
    EXPECT_NE(again->total->kurtosis, 42.0);
    EXPECT_EQ(again->band, (EnvelopeBand{1500.0, 5000.0}));
    EXPECT_FALSE(ReadingIndicesOf(*db, analyzer, QStringLiteral("{missing}")));
}

TEST_F(ReadingIndicesTest, UndecodableTotalCaptureGetsNoTotalIndicesAndNoGe) {
    reading.rawADCTotalDataByteArray.chop(1);
    ASSERT_TRUE(db->UpsertVibReading(reading));
    ASSERT_TRUE(RecordReadingIndices(db->Connection(), reading, analyzer));
    ReadingIndicesRow stored;
    ASSERT_TRUE(derived::GetReadingIndices(db->Connection(), reading.sItemGUID, stored));
    EXPECT_FALSE(stored.total);
    EXPECT_FALSE(stored.geOverall);
    EXPECT_TRUE(stored.iso);
    const ReadingEnvelope envelope = LoadReadingEnvelope(*db, processor, analyzer, reading.sItemGUID);
    EXPECT_EQ(envelope.outcome, ReadingEnvelopeOutcome::NoReading);
    EXPECT_TRUE(envelope.spectrum.lines.empty());
}

TEST_F(ReadingIndicesTest, EnvelopeIsKeptBesideTheSignalCacheAndRebuiltForAnotherBand) {
    const QString derivedPath = DerivedCacheFilePath(context.dataFolder, reading.sItemGUID);
    ReadingEnvelope envelope = LoadReadingEnvelope(*db, processor, analyzer, reading.sItemGUID);
    ASSERT_EQ(envelope.outcome, ReadingEnvelopeOutcome::Ready);
    EXPECT_EQ(envelope.pointGuid, point.sItemGUID);
    const std::size_t line = static_cast<std::size_t>(kModulationHz / envelope.spectrum.lineSpacingHz);
    EXPECT_NEAR(envelope.spectrum.lines[line], kCarrier * kDepth, 0.02 * kCarrier * kDepth);
    ASSERT_TRUE(QFile::exists(derivedPath));
    const QString signalCache = SignalCacheFilePath(context.dataFolder, reading.sItemGUID);
    ASSERT_TRUE(QFile::exists(signalCache));

    // Served from the file: the captures are no longer needed (broken here behind the store's back;
    // a reading replaced through the store loses its files).
    ASSERT_TRUE(QFile::remove(signalCache));
    Execute(QStringLiteral("UPDATE tblVibReadings SET [iTotalNumberOfSamples] = 200"));
    const ReadingEnvelope cached = LoadReadingEnvelope(*db, processor, analyzer, reading.sItemGUID);
    ASSERT_EQ(cached.outcome, ReadingEnvelopeOutcome::Ready);
    EXPECT_EQ(cached.spectrum.lines, envelope.spectrum.lines);
    EXPECT_EQ(cached.spectrum.overallGe, envelope.spectrum.overallGe);
    EXPECT_EQ(cached.spectrum.band, envelope.spectrum.band);

    // Another band needs the captures again (here broken: no envelope, the file stays as it was).
    EXPECT_EQ(LoadReadingEnvelope(*db, processor, analyzer, reading.sItemGUID, EnvelopeBand{1000.0, 4000.0})
                  .outcome,
              ReadingEnvelopeOutcome::NoReading);
    ASSERT_TRUE(db->UpsertVibReading(reading)); // the row as it was
    derived::PutEnvelopeBand(db->Connection(), point.sItemGUID, EnvelopeBandRow{1500.0, 7000.0});
    envelope = LoadReadingEnvelope(*db, processor, analyzer, reading.sItemGUID);
    ASSERT_EQ(envelope.outcome, ReadingEnvelopeOutcome::Ready);
    EXPECT_TRUE(envelope.spectrum.highClipped);
    EXPECT_EQ(envelope.spectrum.band, (EnvelopeBand{1500.0, 5000.0}));

    // A refused band computes nothing and leaves the file as it was.
    const QByteArray before = [&] {
        QFile file(derivedPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const ReadingEnvelope refused =
        LoadReadingEnvelope(*db, processor, analyzer, reading.sItemGUID, EnvelopeBand{3000.0, 2000.0});
    EXPECT_EQ(refused.outcome, ReadingEnvelopeOutcome::Refused);
    EXPECT_EQ(refused.refusal, EnvelopeRefusal::LowNotBelowHigh);
    QFile after(derivedPath);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

} // namespace
} // namespace vantor
