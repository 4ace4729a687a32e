// Decoding raw converter blocks: the integer mean, the single-precision calibration chain, the
// line count and low cut-offs, and the readings that are refused.
#include "analysis/ReadingDecode.h"
#include "analysis/SignalProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vantor {
namespace {

QByteArray Block(const std::vector<std::uint16_t>& samples) {
    QByteArray raw;
    for (const std::uint16_t s : samples) {
        raw.append(static_cast<char>(s & 0xFF));
        raw.append(static_cast<char>(s >> 8));
    }
    return raw;
}

// 1 V per count (65536 V over 16 bits) and 1000 mV per g: one count is Cal × Gain g.
Calibration UnitCalibration(float cal = 1.0f, float gain = 1.0f) {
    return {65536.0f, 16, cal, gain, 1000.0f};
}

// A quarter-rate sine (0, +a, 0, −a, ...) around mid-scale: exact in counts, line N/4 in the spectrum.
std::vector<std::uint16_t> QuarterRateSine(std::size_t n, int amplitude) {
    std::vector<std::uint16_t> samples(n);
    constexpr int kPattern[4] = {0, 1, 0, -1};
    for (std::size_t i = 0; i < n; ++i) {
        samples[i] = static_cast<std::uint16_t>(32768 + amplitude * kPattern[i % 4]);
    }
    return samples;
}

TEST(ReadingDecodeTest, FmaxLinesAndCutoffs) {
    EXPECT_FLOAT_EQ(FmaxOf(2560.0f), 1000.0f);
    EXPECT_EQ(LineCountOf(2048), 800);
    EXPECT_EQ(LineCountOf(1024), 400);
    EXPECT_EQ(LineCountOf(131072), 51200);
    EXPECT_EQ(LineCountOf(2), 0);
    EXPECT_EQ(LowCutoffOf(Channel::Total, 1.0f), 10.0f);
    EXPECT_EQ(LowCutoffOf(Channel::Iso, 10.0f), 2.0f);
    EXPECT_EQ(LowCutoffOf(Channel::Iso, 10.01f), 10.0f);
}

TEST(ReadingDecodeTest, MeanIsTruncatedToAnIntegerBeforeSubtraction) {
    std::vector<double> waveform;
    // Samples 1 and 2: mean 1, so the waveform is 0 and one count.
    const Calibration calibration{3.3f, 12, 1.5f, 2.0f, 100.0f};
    ASSERT_TRUE(DecodeWaveform(Block({1, 2}), 2, calibration, waveform));
    const float volts = 3.3f / 4096.0f;
    const float oneCount = 1.5f * 2.0f * volts * 1000.0f / 100.0f;
    ASSERT_EQ(waveform.size(), 2u);
    EXPECT_EQ(waveform[0], 0.0);
    EXPECT_EQ(waveform[1], static_cast<double>(oneCount));
    EXPECT_NEAR(waveform[1], 0.02417, 1e-5); // Cal and Gain both multiply
}

TEST(ReadingDecodeTest, EqualSamplesGiveZeroEvenAtFullScaleAndFullLength) {
    std::vector<double> waveform;
    ASSERT_TRUE(DecodeWaveform(Block(std::vector<std::uint16_t>(8, 1234)), 8, UnitCalibration(), waveform));
    EXPECT_EQ(waveform, std::vector<double>(8, 0.0));
    // 131072 samples of 65535 sum past 32 bits; the mean must still be 65535.
    const std::size_t n = SignalProcessor::kMaxLength;
    ASSERT_TRUE(DecodeWaveform(Block(std::vector<std::uint16_t>(n, 65535)), static_cast<std::int32_t>(n),
                               UnitCalibration(), waveform));
    EXPECT_EQ(waveform, std::vector<double>(n, 0.0));
}

TEST(ReadingDecodeTest, RefusesBadBlocksCountsAndCalibrations) {
    std::vector<double> waveform{1.0};
    const QByteArray four = Block({1, 2, 3, 4});
    EXPECT_FALSE(DecodeWaveform(four.left(7), 4, UnitCalibration(), waveform));
    EXPECT_TRUE(waveform.empty());
    EXPECT_FALSE(DecodeWaveform(four + QByteArray(1, '\0'), 4, UnitCalibration(), waveform));
    EXPECT_FALSE(DecodeWaveform(Block({1, 2, 3}), 3, UnitCalibration(), waveform));
    EXPECT_FALSE(DecodeWaveform(QByteArray(), 0, UnitCalibration(), waveform));
    EXPECT_FALSE(DecodeWaveform(QByteArray(2, '\1'), 1, UnitCalibration(), waveform));
    Calibration noSensitivity = UnitCalibration();
    noSensitivity.sensitivityMvPerG = 0.0f;
    EXPECT_FALSE(DecodeWaveform(four, 4, noSensitivity, waveform));
    EXPECT_TRUE(DecodeWaveform(four, 4, UnitCalibration(), waveform));
}

class DecodeReadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        row.fCurrentRunSpeedHz = 24.5f;
        row.fPSUVoltage = 65536.0f;
        row.iADCBits = 16;
        row.fAccelerometerSensitivity = 1000.0f;
        row.fTotalCal = 0.5f;
        row.fTotalGain = 0.004f; // 0.002 g per count
        row.fISOCal = 1.0f;
        row.fISOGain = 0.001f; // 0.001 g per count
        row.fTotalSamplingFrequency = 2560.0f;
        row.iTotalNumberOfSamples = 2048;
        row.fISOSamplingFrequency = 1280.0f;
        row.iISONumberOfSamples = 1024;
        row.rawADCTotalDataByteArray = Block(QuarterRateSine(2048, 1000));
        row.rawADCISODataByteArray = Block(QuarterRateSine(1024, 2000));
    }

    VibReadingValues row;
    SignalProcessor processor;
    ReadingSignals decoded;
};

TEST_F(DecodeReadingTest, BothChannelsCarryTheirParametersWaveformAndTruncatedSpectrum) {
    ASSERT_TRUE(DecodeReading(row, processor, decoded));
    EXPECT_EQ(decoded.runSpeedHz, 24.5f);

    const ChannelSignals& total = decoded.total;
    EXPECT_FLOAT_EQ(total.fmaxHz, 1000.0f);
    EXPECT_EQ(total.samplingFrequencyHz, 2560.0f);
    EXPECT_EQ(total.sampleCount, 2048);
    EXPECT_EQ(total.lineCount, 800);
    EXPECT_EQ(total.lowCutoffHz, 10.0f);
    ASSERT_EQ(total.waveform.size(), 2048u);
    ASSERT_EQ(total.spectrum.size(), 800u);
    EXPECT_NEAR(total.waveform[1], 2.0, 1e-6);
    EXPECT_NEAR(total.waveform[3], -2.0, 1e-6);
    // 2 g peak at line 512 (640 Hz): 2/√2 g RMS.
    EXPECT_NEAR(total.spectrum[512], std::sqrt(2.0), 1e-6);
    EXPECT_LT(total.spectrum[511] + total.spectrum[513] + total.spectrum[0], 1e-9);

    const ChannelSignals& iso = decoded.iso;
    EXPECT_FLOAT_EQ(iso.fmaxHz, 500.0f);
    EXPECT_EQ(iso.lineCount, 400);
    EXPECT_EQ(iso.lowCutoffHz, 10.0f);
    ASSERT_EQ(iso.waveform.size(), 1024u);
    ASSERT_EQ(iso.spectrum.size(), 400u);
    // 2 g peak at line 256 (320 Hz), integrated to mm/s.
    EXPECT_NEAR(iso.spectrum[256], std::sqrt(2.0) * 9810.0 / (2.0 * std::numbers::pi * 320.0), 1e-5);
    EXPECT_EQ(iso.spectrum[0], 0.0);
}

TEST_F(DecodeReadingTest, ASlowMachineGetsTheLowIsoCutoff) {
    row.fCurrentRunSpeedHz = 10.0f;
    ASSERT_TRUE(DecodeReading(row, processor, decoded));
    EXPECT_EQ(decoded.iso.lowCutoffHz, 2.0f);
    EXPECT_EQ(decoded.total.lowCutoffHz, 10.0f);
}

TEST_F(DecodeReadingTest, EitherChannelFailingFailsTheReading) {
    row.rawADCISODataByteArray.chop(1);
    EXPECT_FALSE(DecodeReading(row, processor, decoded));
    SetUp();
    row.iTotalNumberOfSamples = 1000;
    row.rawADCTotalDataByteArray = Block(std::vector<std::uint16_t>(1000, 5));
    EXPECT_FALSE(DecodeReading(row, processor, decoded));
}

} // namespace
} // namespace vantor
