// A waveform from another instrument as a reading: the capture decodes back within one count, a
// tone lands on its line with its amplitude, velocities are differentiated so the ISO spectrum
// gives them back, overall values and no-value markers, the power-of-two cut and the refusals.
#include "interchange/ImportedReading.h"

#include "analysis/AlarmStatus.h"
#include "analysis/SignalProcessor.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numbers>
#include <random>

namespace vantor {
namespace {

std::vector<double> Tone(std::size_t n, double fs, double hz, double peak, double offset = 0.0) {
    std::vector<double> wave(n);
    for (std::size_t i = 0; i < n; ++i) {
        wave[i] = offset + peak * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / fs);
    }
    return wave;
}

bool NoValue(float v) {
    return std::bit_cast<std::uint32_t>(v) == kNoValueBits;
}

TEST(ImportedCaptureTest, DecodeGivesEverySampleBackWithinOneCount) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (const std::size_t n : {256u, 2048u, 131072u}) {
        for (const double scale : {1e-4, 0.8, 250.0}) {
            for (const double offset : {0.0, -3.0, 1e3}) {
                std::vector<double> wave = Tone(n, 2560, 50, scale, offset);
                for (double& v : wave) {
                    v += 0.1 * scale * noise(random);
                }
                const EncodedCapture capture = EncodeImportedCapture(wave);
                std::vector<double> decoded;
                const Calibration calibration{kImportSupplyVolts, kImportAdcBits, kImportCalibration,
                                              capture.gain, kImportSensitivityMvPerG};
                ASSERT_TRUE(DecodeWaveform(capture.raw, static_cast<std::int32_t>(n), calibration, decoded));
                double mean = 0;
                for (const double v : wave) {
                    mean += v;
                }
                mean /= static_cast<double>(n);
                double worst = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    worst = std::max(worst, std::fabs(decoded[i] - (wave[i] - mean)));
                }
                EXPECT_LE(worst, capture.countG * 1.0001)
                    << n << " samples, scale " << scale << ", offset " << offset;
                EXPECT_LT(capture.countG, 1.2 * scale / kImportPeakCounts * 1.5) << "the range is used";
            }
        }
    }
}

TEST(ImportedReadingTest, AFiftyHertzToneLandsOnItsLineWithItsAmplitude) {
    SignalProcessor processor;
    const double peak = 2.0;
    const ImportedWaveform waveform{Tone(3000, 2560, 50, peak), 2560, SignalUnit::G};
    const ImportedReadingBuild build = BuildImportedReading(waveform, Channel::Total, 24.5f, processor);
    ASSERT_TRUE(build.Ok()) << build.error.toStdString();
    EXPECT_EQ(build.samplesInFile, 3000u);
    EXPECT_EQ(build.samplesUsed, 2048u);

    const VibReadingValues& r = build.values;
    EXPECT_EQ(r.iTotalNumberOfSamples, 2048);
    EXPECT_EQ(r.fTotalSamplingFrequency, 2560.0f);
    EXPECT_EQ(r.rawADCTotalDataByteArray.size(), 4096);
    EXPECT_EQ(r.iISONumberOfSamples, 0);
    EXPECT_TRUE(r.rawADCISODataByteArray.isEmpty());
    EXPECT_EQ(r.fCurrentRunSpeedHz, 24.5f);
    EXPECT_EQ(r.fOriginalRunSpeedHz, 24.5f);
    EXPECT_NEAR(r.fTotalG, peak / std::numbers::sqrt2, peak * 1e-4);
    for (const float missing :
         {r.fISOMMS, r.fDisplacementMicrons, r.fVABand1MMS, r.fVABand2MMS, r.fVABand3MMS, r.fBearingBDU}) {
        EXPECT_TRUE(NoValue(missing));
    }

    ReadingSignals decoded;
    ASSERT_TRUE(DecodeReading(r, processor, decoded));
    EXPECT_EQ(decoded.total.lineCount, 800);
    EXPECT_EQ(decoded.total.LineSpacingHz(), 1.25f);
    const auto line = static_cast<std::size_t>(50.0 / 1.25);
    EXPECT_NEAR(decoded.total.spectrum[line], peak / std::numbers::sqrt2, peak * 1e-4);
    for (std::size_t k = 1; k < decoded.total.spectrum.size(); ++k) {
        if (k != line) {
            ASSERT_LT(decoded.total.spectrum[k], peak * 1e-4) << k;
        }
    }
    EXPECT_EQ(decoded.iso.sampleCount, 0);
    EXPECT_TRUE(decoded.iso.waveform.empty());
    EXPECT_TRUE(decoded.iso.spectrum.empty());
}

TEST(ImportedReadingTest, VelocityWaveformsGiveTheirVelocitySpectrumBack) {
    SignalProcessor processor;
    const double peakMmPerS = 5.0;
    for (const auto& [unit, factor] : {std::pair{SignalUnit::MillimetresPerSecond, 1.0},
                                       std::pair{SignalUnit::InchesPerSecond, 1.0 / 25.4}}) {
        const ImportedWaveform waveform{Tone(4096, 2560, 50, peakMmPerS * factor), 2560, unit};
        const ImportedReadingBuild build = BuildImportedReading(waveform, Channel::Iso, 24.5f, processor);
        ASSERT_TRUE(build.Ok()) << build.error.toStdString();
        const VibReadingValues& r = build.values;
        EXPECT_EQ(r.iISONumberOfSamples, 4096);
        EXPECT_EQ(r.iTotalNumberOfSamples, 0);
        ReadingSignals decoded;
        ASSERT_TRUE(DecodeReading(r, processor, decoded));
        const double rms = peakMmPerS / std::numbers::sqrt2;
        EXPECT_NEAR(decoded.iso.spectrum[80], rms, rms * 1e-3); // 50 Hz at 0.625 Hz per line
        // The ISO value as the run-speed update computes it, the 1x band holding the tone near
        // 2 × 24.5 Hz, the displacement from the velocity, no Total value, no bearing noise.
        EXPECT_NEAR(r.fISOMMS, rms, rms * 1e-3);
        EXPECT_NEAR(r.fVABand2MMS, rms, rms * 1e-3);
        EXPECT_NEAR(r.fVABand1MMS, 0.0, rms * 1e-3);
        EXPECT_NEAR(r.fDisplacementMicrons, rms / (2 * std::numbers::pi * 50) * 1000, 0.05);
        EXPECT_TRUE(NoValue(r.fTotalG));
        EXPECT_TRUE(NoValue(r.fBearingBDU));
    }
}

TEST(ImportedReadingTest, RefusesWhatTheViewsCannotShow) {
    SignalProcessor processor;
    const struct {
        const char* name;
        std::size_t samples;
        double fs;
        float runSpeed;
        const char* error;
    } cases[] = {
        {"too few samples", 511, 2560, 25, "511 samples are too few: a waveform needs at least 256"},
        {"rate too low", 1024, 20, 25, "a sampling frequency of 20 Hz is outside what the views show"},
        {"rate too high", 1024, 300000, 25, "a sampling frequency of 300000 Hz is outside"},
        {"no rate", 1024, 0, 25, "a sampling frequency of 0 Hz"},
        {"negative run speed", 1024, 2560, -1, "a run speed of -1 Hz is not valid"},
    };
    for (const auto& c : cases) {
        const ImportedWaveform waveform{std::vector<double>(c.samples, 0.5), c.fs, SignalUnit::G};
        const ImportedReadingBuild build =
            BuildImportedReading(waveform, Channel::Total, c.runSpeed, processor);
        if (std::string(c.name) == "too few samples") {
            // 511 samples cut to 256 are still enough.
            EXPECT_TRUE(build.Ok()) << build.error.toStdString();
            EXPECT_EQ(build.samplesUsed, 256u);
            continue;
        }
        EXPECT_TRUE(build.error.startsWith(QLatin1String(c.error)))
            << c.name << ": " << build.error.toStdString();
        EXPECT_TRUE(build.values.rawADCTotalDataByteArray.isEmpty()) << c.name;
    }
    const ImportedReadingBuild fewer = BuildImportedReading(
        {std::vector<double>(255, 0.5), 2560, SignalUnit::G}, Channel::Total, 25, processor);
    EXPECT_EQ(fewer.error, QStringLiteral("255 samples are too few: a waveform needs at least 256"));
    std::vector<double> withNan(1024, 0.5);
    withNan[700] = std::nan("");
    EXPECT_EQ(BuildImportedReading({withNan, 2560, SignalUnit::G}, Channel::Total, 25, processor).error,
              QStringLiteral("sample 701 is not a number"));
}

// More samples than the largest capture are cut to it, from the start, whatever the file held.
TEST(ImportedReadingTest, ALongWaveformIsCutToTheLargestCapture) {
    SignalProcessor processor;
    ImportedWaveform waveform{std::vector<double>(262144 + 5, 0.5), 25600, SignalUnit::G};
    waveform.samples[3] = 1.5;
    ImportedReadingBuild build = BuildImportedReading(waveform, Channel::Total, 25, processor);
    ASSERT_TRUE(build.Ok()) << build.error.toStdString();
    EXPECT_EQ(build.samplesInFile, 262149u);
    EXPECT_EQ(build.samplesUsed, 131072u);
    EXPECT_EQ(build.values.iTotalNumberOfSamples, 131072);
    // A reader that kept only what is used still names the file's count.
    waveform.samples.resize(131072);
    waveform.samplesInFile = 3000000;
    build = BuildImportedReading(waveform, Channel::Total, 25, processor);
    EXPECT_EQ(build.samplesInFile, 3000000u);
    EXPECT_EQ(build.samplesUsed, 131072u);
}

// Samples beyond what the capture holds are refused, naming the first; just below, they are kept
// (not silence).
TEST(ImportedReadingTest, SamplesTooLargeForTheCaptureAreRefusedNotStoredAsSilence) {
    SignalProcessor processor;
    const struct {
        double value;
        SignalUnit unit;
        const char* error; // nullptr: imported
    } cases[] = {
        {1e300, SignalUnit::G, "sample 9 (1e+300 g) is larger than the capture can hold (at most ±1e+15)"},
        {-1e300, SignalUnit::G, "sample 9 (-1e+300 g) is larger than the capture can hold"},
        {1e308, SignalUnit::MillimetresPerSecond, "sample 9 (1e+308 mm/s) is larger than the capture"},
        {-2e15, SignalUnit::InchesPerSecond, "sample 9 (-2e+15 inch/s) is larger than the capture"},
        {1e15, SignalUnit::G, nullptr},
        {-1e15, SignalUnit::MillimetresPerSecond, nullptr},
        {1e15, SignalUnit::InchesPerSecond, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<double> samples(1024);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] = std::sin(0.3 * static_cast<double>(i));
        }
        samples[8] = c.value;
        samples[20] = c.value; // not named: the first one is
        const ImportedReadingBuild build = BuildImportedReading(
            {samples, 2560, c.unit}, c.unit == SignalUnit::G ? Channel::Total : Channel::Iso, 25, processor);
        if (c.error == nullptr) {
            ASSERT_TRUE(build.Ok()) << c.value << ": " << build.error.toStdString();
            const float overall = c.unit == SignalUnit::G ? build.values.fTotalG : build.values.fISOMMS;
            EXPECT_TRUE(std::isfinite(overall) && overall > 0) << c.value << ": " << overall;
            continue;
        }
        EXPECT_TRUE(build.error.startsWith(QString::fromUtf8(c.error)))
            << c.value << ": " << build.error.toStdString();
        EXPECT_TRUE(build.values.rawADCTotalDataByteArray.isEmpty());
        EXPECT_TRUE(build.values.rawADCISODataByteArray.isEmpty());
    }
    // The capture itself refuses a waveform whose gain no float holds.
    EXPECT_EQ(EncodeImportedCapture(std::vector<double>{0.0, 1e300}).gain, 0.0f);
}

TEST(ImportedReadingTest, AReadingNeedsOneCapture) {
    SignalProcessor processor;
    ReadingSignals decoded;
    VibReadingValues none;
    none.rawADCISODataByteArray = QByteArray(1, '\0'); // how the store keeps an empty capture
    none.rawADCTotalDataByteArray = QByteArray(1, '\0');
    EXPECT_FALSE(DecodeReading(none, processor, decoded));
    EXPECT_EQ(SignalUnitFromText(QStringLiteral(" Inch/S ")), SignalUnit::InchesPerSecond);
    EXPECT_EQ(SignalUnitFromText(QStringLiteral("m/s")), SignalUnit::MillimetresPerSecond);
    EXPECT_EQ(VelocityFactorOf(QStringLiteral("m/s")), 1000.0);
    EXPECT_FALSE(SignalUnitFromText(QStringLiteral("m/s^2")));
}

} // namespace
} // namespace vantor
