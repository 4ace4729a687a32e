// Line lookup, band ranges, recomputed overall values, peak consolidation, units and formatting.
#include "analysis/Measures.h"
#include "analysis/DisplayUnits.h"
#include "analysis/MeasureFormat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantor {
namespace {

TEST(LineIndexTest, TruncatesOrRoundsHalfUpAndClamps) {
    EXPECT_EQ(LineIndex(1000.0f, 1.25f, 800, LineRounding::HalfUp), 800);
    EXPECT_EQ(LineIndex(1000.0f, 1.3f, 800, LineRounding::HalfUp), 769);
    EXPECT_EQ(LineIndex(1000.0f, 1.3f, 800, LineRounding::Truncate), 769);
    EXPECT_EQ(LineIndex(13.0f, 1.25f, 800, LineRounding::Truncate), 10); // 10.4
    EXPECT_EQ(LineIndex(13.125f, 1.25f, 800, LineRounding::HalfUp), 11); // 10.5
    EXPECT_EQ(LineIndex(13.125f, 1.25f, 800, LineRounding::Truncate), 10);
    EXPECT_EQ(LineIndex(5000.0f, 1.25f, 800, LineRounding::HalfUp), 800);
    EXPECT_EQ(LineIndex(-5.0f, 1.25f, 800, LineRounding::HalfUp), 0);
    EXPECT_EQ(LineIndex(5.0f, 0.0f, 800, LineRounding::HalfUp), 0);
}

ReadingSignals IsoOnly(float runSpeedHz, std::vector<std::pair<int, double>> lines) {
    ReadingSignals decoded;
    decoded.runSpeedHz = runSpeedHz;
    decoded.iso.fmaxHz = 500.0f;
    decoded.iso.lineCount = 400; // 1.25 Hz per line
    decoded.iso.lowCutoffHz = 10.0f;
    decoded.iso.spectrum.assign(400, 0.0);
    for (const auto& [line, value] : lines) {
        decoded.iso.spectrum[static_cast<std::size_t>(line)] = value;
    }
    return decoded;
}

TEST(RecomputeOverallsTest, IsoFromCutoffAndBandsAroundRunSpeedOrders) {
    // Line 5 (6.25 Hz) lies below the 10 Hz cut-off; at 25 Hz run speed band 1 is lines 10..29
    // (12.5–37.5 Hz), band 2 lines 30..49, band 3 lines 50..69.
    const ReadingSignals decoded = IsoOnly(25.0f, {{5, 100.0}, {20, 3.0}, {30, 4.0}, {69, 12.0}, {70, 50.0}});
    VibReadingValues reading;
    reading.fTotalG = 1.5f;
    reading.fVABand4MMS = 7.0f;
    reading.fDisplacementMicrons = 9.0f;
    RecomputeOveralls(reading, decoded);
    EXPECT_FLOAT_EQ(reading.fISOMMS, std::sqrt(9.0f + 16.0f + 144.0f + 2500.0f));
    EXPECT_FLOAT_EQ(reading.fVABand1MMS, 3.0f);
    EXPECT_FLOAT_EQ(reading.fVABand2MMS, 4.0f);
    EXPECT_FLOAT_EQ(reading.fVABand3MMS, 12.0f);
    EXPECT_EQ(reading.fTotalG, 1.5f);
    EXPECT_EQ(reading.fVABand4MMS, 7.0f);
    EXPECT_EQ(reading.fDisplacementMicrons, 9.0f);
}

TEST(RecomputeOverallsTest, ZeroRunSpeedGivesEmptyBands) {
    const ReadingSignals decoded = IsoOnly(0.0f, {{0, 5.0}, {20, 3.0}});
    VibReadingValues reading;
    reading.fVABand1MMS = 8.0f;
    RecomputeOveralls(reading, decoded);
    EXPECT_EQ(reading.fVABand1MMS, 0.0f);
    EXPECT_EQ(reading.fVABand2MMS, 0.0f);
    EXPECT_FLOAT_EQ(reading.fISOMMS, 3.0f);
}

TEST(RecomputeOverallsTest, BandTableIsContiguousAroundEachOrder) {
    for (int b = 1; b <= kVaBandCount; ++b) {
        const RunSpeedFactors& f = kVaBandRunSpeedFactors[static_cast<std::size_t>(b - 1)];
        EXPECT_LT(f.lower, static_cast<float>(b));
        EXPECT_GT(f.upper, static_cast<float>(b));
        if (b > 1) {
            EXPECT_EQ(f.lower, kVaBandRunSpeedFactors[static_cast<std::size_t>(b - 2)].upper);
        }
    }
    ChannelSignals channel;
    channel.fmaxHz = 1000.0f;
    channel.lineCount = 800;
    EXPECT_EQ(VaBandLines(0, 25.0f, channel).end, 0);
    EXPECT_EQ(VaBandLines(4, 25.0f, channel).end, 0);
}

TEST(ConsolidatePeaksTest, FoldsNeighboursIntoPeaksAndClearsBelowFirstLine) {
    std::vector<double> spectrum = {9, 9, 1, 3, 4, 2, 1, 0.001, 0.002, 0, 0, 0};
    ConsolidatePeaks(spectrum, 2, 12);
    EXPECT_EQ(spectrum[0], 0.0);
    EXPECT_EQ(spectrum[1], 0.0);
    // Line 4 is the first line greater than its right neighbour: it takes lines 2..6.
    EXPECT_FLOAT_EQ(spectrum[4], std::sqrt(1.0f + 9.0f + 16.0f + 4.0f + 1.0f));
    EXPECT_EQ(spectrum[2], 0.0);
    EXPECT_EQ(spectrum[3], 0.0);
    EXPECT_EQ(spectrum[5], 0.0);
    EXPECT_EQ(spectrum[6], 0.0);
    // Below 1 % of the largest line nothing changes.
    EXPECT_DOUBLE_EQ(spectrum[7], 0.001);
    EXPECT_DOUBLE_EQ(spectrum[8], 0.002);
}

TEST(ConsolidatePeaksTest, OfTwoEqualAdjacentLinesTheSecondAbsorbsTheFirst) {
    std::vector<double> spectrum = {0, 0, 0, 2, 2, 0, 0, 0};
    ConsolidatePeaks(spectrum, 0, 8);
    EXPECT_EQ(spectrum[3], 0.0);
    EXPECT_FLOAT_EQ(spectrum[4], std::sqrt(8.0f));
}

TEST(ConsolidatePeaksTest, EndLineIsClampedAndAPeakAtTheEndCountsMissingNeighboursAsZero) {
    std::vector<double> spectrum = {0, 0, 1, 3};
    ConsolidatePeaks(spectrum, 0, 100);
    EXPECT_FLOAT_EQ(spectrum[3], std::sqrt(10.0f));
    EXPECT_EQ(spectrum[2], 0.0);
}

TEST(DisplayUnitsTest, TogglesLabelsAndFactors) {
    DisplayUnits units;
    EXPECT_EQ(units.FrequencyLabel(), QStringLiteral("Hz"));
    EXPECT_EQ(units.FrequencyFactor(), 1.0f);
    units.ToggleFrequency();
    EXPECT_EQ(units.FrequencyLabel(), QStringLiteral("RPM"));
    EXPECT_EQ(units.DisplayFrequency(24.5), 1470.0);
    units.ToggleFrequency();
    EXPECT_EQ(units.FrequencyLabel(), QStringLiteral("CPM"));
    EXPECT_EQ(units.FrequencyFactor(), 60.0f);
    units.ToggleFrequency();
    EXPECT_EQ(units.Frequency(), FrequencyUnit::Hz);

    EXPECT_EQ(units.VelocityLabel(), QStringLiteral("mm/s"));
    EXPECT_EQ(units.DisplacementLabel(), QString::fromUtf8("\u00b5m"));
    units.ToggleAmplitude();
    EXPECT_EQ(units.VelocityLabel(), QStringLiteral("inch/s"));
    EXPECT_EQ(units.DisplacementLabel(), QStringLiteral("thou"));
    EXPECT_NEAR(units.DisplayAmplitude(25.4f), 1.0f, 1e-6f);
    units.ToggleAmplitude();
    EXPECT_EQ(units.AmplitudeFactor(), 1.0f);

    EXPECT_EQ(DisplayUnits::FromSettings(2, 1).YAxisUnits(), 1);
    EXPECT_EQ(DisplayUnits::FromSettings(2, 1).XAxisUnits(), 2);
    EXPECT_EQ(DisplayUnits::FromSettings(7, -1).XAxisUnits(), 0);
    EXPECT_EQ(DisplayUnits::FromSettings(7, -1).YAxisUnits(), 0);
}

TEST(FormatMeasureTest, DecimalsAndUnitsPerKind) {
    MeasureFormat metric;
    metric.decimalsMms = 2;
    EXPECT_EQ(FormatMeasure(MeasureKind::IsoVelocity, 2.345f, metric), QStringLiteral("2.35"));
    EXPECT_EQ(FormatMeasure(MeasureKind::VaBand3, 2.345f, metric), QStringLiteral("2.35"));
    MeasureFormat imperial;
    imperial.units = DisplayUnits(FrequencyUnit::Hz, AmplitudeUnit::Imperial);
    imperial.decimalsInchS = 3;
    imperial.decimalsMms = 0;
    EXPECT_EQ(FormatMeasure(MeasureKind::IsoVelocity, 2.345f, imperial), QStringLiteral("0.092"));
    // Displacement converts (µm → thou) with no decimals; g and BDU never convert.
    EXPECT_EQ(FormatMeasure(MeasureKind::Displacement, 254.0f, imperial), QStringLiteral("10"));
    imperial.decimalsG = 2;
    EXPECT_EQ(FormatMeasure(MeasureKind::Acceleration, 1.234f, imperial), QStringLiteral("1.23"));
    EXPECT_EQ(FormatMeasure(MeasureKind::BearingNoise, 12.6f, imperial), QStringLiteral("13"));
    metric.decimalsMms = 9;
    EXPECT_EQ(FormatMeasure(MeasureKind::IsoVelocity, 1.5f, metric), QStringLiteral("1.50000"));
    metric.decimalsMms = 4;
    EXPECT_EQ(FormatMeasure(MeasureKind::IsoVelocity, 1.5f, metric), QStringLiteral("1.5000"));
}

TEST(MeasureNames, EveryKindHasItsTextAndTheBandsTheUsersNames) {
    const VaBandNames bands{QStringLiteral("Unbalance"), QStringLiteral("Alignment"),
                            QStringLiteral("Looseness")};
    const std::pair<MeasureKind, QString> expected[] = {
        {MeasureKind::IsoVelocity, QStringLiteral("ISO")},
        {MeasureKind::BearingNoise, QStringLiteral("Brg. Noise")},
        {MeasureKind::Acceleration, QStringLiteral("Total")},
        {MeasureKind::Displacement, QStringLiteral("Displacement")},
        {MeasureKind::VaBand1, QStringLiteral("Unbalance")},
        {MeasureKind::VaBand2, QStringLiteral("Alignment")},
        {MeasureKind::VaBand3, QStringLiteral("Looseness")},
    };
    ASSERT_EQ(std::size(expected), kAllMeasureKinds.size());
    for (const auto& [kind, name] : expected) {
        EXPECT_EQ(MeasureName(kind, bands), name) << static_cast<int>(kind);
    }
    const DisplayUnits imperial(FrequencyUnit::Hz, AmplitudeUnit::Imperial);
    EXPECT_EQ(MeasureNameWithUnit(MeasureKind::IsoVelocity, bands, imperial), QStringLiteral("ISO (inch/s)"));
    EXPECT_EQ(MeasureNameWithUnit(MeasureKind::Displacement, bands, {}),
              QString::fromUtf8("Displacement (µm)"));
    EXPECT_EQ(MeasureNameWithUnit(MeasureKind::BearingNoise, bands, {}), QStringLiteral("Brg. Noise (BDU)"));
}

} // namespace
} // namespace vantor
