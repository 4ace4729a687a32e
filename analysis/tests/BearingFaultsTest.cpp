// Bearing fault factors from geometry, the fault families with their
// sidebands, and the matching of a reading's spectrum against them.
#include "analysis/BearingFactors.h"
#include "analysis/FaultMatching.h"
#include "analysis/SignalProcessor.h"
#include "records/BearingNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vantor {
namespace {

constexpr BearingGeometry kTestRigDriveEnd{9, 7.94, 39.04, 0.0};

TEST(BearingFactorsTest, PublishedFiguresOfPublicTestRigs) {
    const double kNone = std::nan("");
    struct Case {
        const char* name;
        BearingGeometry geometry;
        BearingFactors published; // orders of shaft speed as the sources tabulate them
        double tolerance;         // the sources round their figures
    };
    const Case cases[] = {
        // Drive end: published BSF is listed as twice the spin, 4.7135.
        {"drive end", kTestRigDriveEnd, {0.3983, 4.7135 / 2, 3.5848, 5.4152}, 0.00006},
        {"fan end", {8, 6.746, 28.499, 0.0}, {0.3817, 3.9874 / 2, 3.0530, 4.9469}, 0.001},
        // Rollers at a contact angle: 236.4, 296.9, 139.9 and 14.8 Hz at 2000 RPM.
        {"double row",
         {16, 8.407, 71.501, 15.17},
         {14.8 / 33.333, 139.9 / 33.333, 236.4 / 33.333, 296.9 / 33.333},
         0.005},
        // 81.125 and 118.875 Hz at 25 Hz; cage and spin are not published.
        {"fault database", {8, 5.969, 31.623, 0.0}, {kNone, kNone, 81.125 / 25, 118.875 / 25}, 0.001},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(CheckGeometry(c.geometry)) << c.name;
        const BearingFactors f = FactorsFromGeometry(c.geometry);
        if (!std::isnan(c.published.ftf)) {
            EXPECT_NEAR(f.ftf, c.published.ftf, c.tolerance) << c.name;
            EXPECT_NEAR(f.bsf, c.published.bsf, c.tolerance * 2) << c.name;
        }
        EXPECT_NEAR(f.bpfo, c.published.bpfo, c.tolerance * c.geometry.rollingElements) << c.name;
        EXPECT_NEAR(f.bpfi, c.published.bpfi, c.tolerance * c.geometry.rollingElements) << c.name;
    }
}

TEST(BearingFactorsTest, TestRigDriveEndToFourDecimals) {
    const BearingFactors f = FactorsFromGeometry(kTestRigDriveEnd);
    const auto four = [](double value) { return std::round(value * 1e4) / 1e4; };
    EXPECT_DOUBLE_EQ(four(f.bpfi), 5.4152);
    EXPECT_DOUBLE_EQ(four(f.bpfo), 3.5848);
    EXPECT_DOUBLE_EQ(four(f.ftf), 0.3983);
    EXPECT_DOUBLE_EQ(four(f.bsf), 2.3567);
    EXPECT_DOUBLE_EQ(four(2 * f.bsf), 4.7135);
}

TEST(BearingFactorsTest, RaceFactorsSumToTheElementCountAndTheCageCarriesTheOuterPasses) {
    const BearingGeometry geometries[] = {kTestRigDriveEnd,
                                          {3, 10, 40, 0},
                                          {12, 12.7, 60, 40},
                                          {16, 8.407, 71.501, 15.17},
                                          {200, 1, 100, 89.9}};
    for (const BearingGeometry& g : geometries) {
        ASSERT_FALSE(CheckGeometry(g)) << g.rollingElements;
        const BearingFactors f = FactorsFromGeometry(g);
        EXPECT_DOUBLE_EQ(f.bpfo + f.bpfi, g.rollingElements);
        EXPECT_DOUBLE_EQ(f.ftf * g.rollingElements, f.bpfo);
        EXPECT_FALSE(CheckFactors(f)) << g.rollingElements;
    }
    // A contact angle shrinks g: at 40° the outer-race passes move up against the radial bearing.
    const BearingFactors radial = FactorsFromGeometry({12, 12.7, 60, 0});
    const BearingFactors angular = FactorsFromGeometry({12, 12.7, 60, 40});
    EXPECT_GT(angular.bpfo, radial.bpfo);
    EXPECT_NEAR(angular.bpfo, 6 * (1 - 12.7 / 60 * std::cos(40 * std::numbers::pi / 180)), 1e-12);
}

TEST(BearingFactorsTest, AStoredBearingTakesItsGeometryElseItsPublishedFactors) {
    CBearing bearing;
    bearing.sDesignation = QStringLiteral("6205");
    bearing.fFTF = 0.1f; // ignored beside a geometry
    bearing.iRollingElements = 9;
    bearing.fRollingElementDiameterMM = 7.94f;
    bearing.fPitchDiameterMM = 39.04f;
    EXPECT_NEAR(FactorsOf(bearing).bpfi, 5.4152, 5e-5);
    bearing.iRollingElements = 0;
    bearing.fFTF = 0.4f;
    bearing.fBSF = 2.5f;
    bearing.fBPFO = 3.6f;
    bearing.fBPFI = 5.4f;
    EXPECT_FLOAT_EQ(static_cast<float>(FactorsOf(bearing).bpfo), 3.6f);
    EXPECT_FALSE(CheckBearingNumbers(bearing));
}

BearingAtPoint DriveEnd(double ratio = 1.0) {
    return {QStringLiteral("{a}"),
            QStringLiteral("{b}"),
            QStringLiteral("6205"),
            QStringLiteral("Pump NDE"),
            FactorsFromGeometry(kTestRigDriveEnd),
            ratio};
}

TEST(FaultFamiliesTest, FourFamiliesWithHarmonicsAndTheirSidebands) {
    const double run = 29.988;
    const std::vector<FaultFamily> families = FaultFamiliesOf(DriveEnd(2.0), 3, run, 3);
    ASSERT_EQ(families.size(), 4u);
    const double shaft = run * 2.0;
    const BearingFactors f = FactorsFromGeometry(kTestRigDriveEnd);
    for (const FaultFamily& family : families) {
        EXPECT_EQ(family.bearing, 3);
        EXPECT_DOUBLE_EQ(family.fundamentalHz, FactorOf(f, family.kind) * shaft);
        const bool sidebands = family.kind == FaultKind::Bpfi || family.kind == FaultKind::Bsf;
        ASSERT_EQ(family.lines.size(), sidebands ? 9u : 3u) << FaultName(family.kind).toStdString();
        for (const FamilyLine& line : family.lines) {
            EXPECT_NEAR(line.hz,
                        family.fundamentalHz * line.harmonic + line.sideband * family.sidebandSpacingHz,
                        1e-9);
        }
    }
    EXPECT_EQ(families[0].kind, FaultKind::Bpfi);
    EXPECT_DOUBLE_EQ(families[0].sidebandSpacingHz, shaft);
    EXPECT_EQ(families[3].kind, FaultKind::Bsf);
    EXPECT_DOUBLE_EQ(families[3].sidebandSpacingHz, f.ftf * shaft);
    EXPECT_DOUBLE_EQ(families[1].sidebandSpacingHz, 0);

    // Harmonics are clamped to 1..20.
    EXPECT_EQ(FaultFamiliesOf(DriveEnd(), 0, run, 0)[1].lines.size(), 1u);
    EXPECT_EQ(FaultFamiliesOf(DriveEnd(), 0, run, 99)[1].lines.size(),
              static_cast<std::size_t>(kMostFaultHarmonics));
}

TEST(FaultFamiliesTest, ALowerSidebandAtOrBelowZeroIsLeftOut) {
    BearingAtPoint odd = DriveEnd();
    odd.factors.bpfi = 0.5; // the 1× sideband below it would be negative
    const FaultFamily inner = FaultFamiliesOf(odd, 0, 10.0, 1)[0];
    ASSERT_EQ(inner.lines.size(), 2u);
    EXPECT_EQ(inner.lines[0].sideband, 0);
    EXPECT_EQ(inner.lines[1].sideband, 1);
}

// A reading's Total spectrum: tones (Hz, g peak), 2560 samples/s, 8192 samples, rounded to the
// meter's 0.001 g counts.
struct SyntheticReading {
    std::vector<double> spectrum;
    double spacing = 2560.0 / 8192;

    explicit SyntheticReading(const std::vector<std::pair<double, double>>& tones) {
        std::vector<double> waveform(8192);
        for (std::size_t i = 0; i < waveform.size(); ++i) {
            const double t = static_cast<double>(i) / 2560.0;
            for (const auto& [hz, peak] : tones) {
                waveform[i] += peak * std::sin(2 * std::numbers::pi * hz * t);
            }
            waveform[i] = std::round(waveform[i] * 1000) / 1000;
        }
        SignalProcessor processor;
        EXPECT_TRUE(processor.ComputeSpectrum(waveform, spectrum, 2560.0));
    }
    SpectrumLines Lines() const { return {spectrum, spacing, 1, static_cast<int>(spectrum.size())}; }
};

TEST(FaultMatchingTest, ASyntheticOuterRaceFaultIsMatchedAtItsHarmonics) {
    const double run = 29.988;
    const double bpfo = FactorsFromGeometry(kTestRigDriveEnd).bpfo * run; // 107.50 Hz
    const double peaks[] = {0.5, 0.3, 0.2};
    const SyntheticReading reading({{bpfo, peaks[0]}, {2 * bpfo, peaks[1]}, {3 * bpfo, peaks[2]}});

    struct Case {
        const char* name;
        double runSpeed;     // the reading's run speed the families follow
        double tolerance;    // percent
        bool tonesInWindows; // each tone lies within its harmonic's window
    };
    const Case cases[] = {
        {"exact run speed", run, 2.0, true},
        {"run speed 1.5 % high", run * 1.015, 2.0, true},
        {"run speed 1.5 % low", run / 1.015, 2.0, true},
        {"1.5 % off, 1 % tolerance", run * 1.015, 1.0, false},
    };
    for (const Case& c : cases) {
        MatchSettings settings;
        settings.tolerancePercent = c.tolerance;
        const std::vector<BearingMatch> matches =
            MatchBearingFaults(reading.Lines(), c.runSpeed, {DriveEnd()}, settings);
        ASSERT_EQ(matches.size(), 1u);
        ASSERT_EQ(matches[0].families.size(), 4u);
        const FamilyMatch& outer = matches[0].families[1];
        ASSERT_EQ(outer.family.kind, FaultKind::Bpfo);
        // Where another family's harmonic window holds a tone it finds that tone: this bearing's
        // 2xBPFI lies 0.7 % from 3xBPFO and its 3xBSF 1.4 % from 2xBPFO, as an analyst would see.
        for (const FamilyMatch& other : matches[0].families) {
            for (const LineMatch& line : other.lines) {
                const double window = MatchWindowHz(line.expected.hz, reading.spacing, c.tolerance);
                for (int n = 1; n <= 3; ++n) {
                    if (line.expected.sideband == 0 && std::abs(n * bpfo - line.expected.hz) <= window) {
                        EXPECT_TRUE(line.aboveNoise)
                            << c.name << ' ' << FaultName(other.family.kind).toStdString();
                        EXPECT_NEAR(line.matchedHz, n * bpfo, reading.spacing) << c.name;
                    }
                }
            }
        }
        ASSERT_EQ(outer.lines.size(), 5u);
        if (!c.tonesInWindows) {
            // The windows miss the tones, so no harmonic is matched at its tone.
            for (int n = 1; n <= 3; ++n) {
                EXPECT_GT(std::abs(outer.lines[static_cast<std::size_t>(n - 1)].matchedHz - n * bpfo),
                          reading.spacing);
            }
            continue;
        }
        EXPECT_EQ(outer.matchedHarmonics, 3) << c.name;
        for (int n = 1; n <= 3; ++n) {
            const LineMatch& line = outer.lines[static_cast<std::size_t>(n - 1)];
            EXPECT_NEAR(line.expected.hz, n * bpfo * c.runSpeed / run, 1e-9) << c.name;
            EXPECT_NEAR(line.matchedHz, n * bpfo, reading.spacing) << c.name << " harmonic " << n;
            // RMS of the tone, less the rectangular window's scalloping loss (at most 36 %).
            const double rms = peaks[n - 1] / std::sqrt(2.0);
            EXPECT_LE(line.amplitude, rms * 1.01) << c.name;
            EXPECT_GE(line.amplitude, rms * 0.63) << c.name;
            EXPECT_TRUE(line.aboveNoise);
        }
        EXPECT_FALSE(outer.lines[3].aboveNoise) << c.name;
        EXPECT_FALSE(outer.lines[4].aboveNoise) << c.name;
        EXPECT_LT(outer.noiseFloor, 0.01) << c.name;
    }
}

TEST(FaultMatchingTest, WindowNoiseFloorAndSpectrumEnd) {
    // 1 Hz lines, all 1.0 but for peaks at line 10 (2.9) and line 30 (3.1) and the slope of a tone
    // at line 20 (lines 16..19 rising to it); noise factor 3 → floor 3.0.
    std::vector<double> lines(50, 1.0);
    lines[10] = 2.9;
    lines[30] = 3.1;
    lines[16] = 4.0;
    lines[17] = 5.0;
    lines[18] = 6.0;
    lines[19] = 7.0;
    lines[20] = 9.0;
    const SpectrumLines spectrum{lines, 1.0, 0, 40};
    FaultFamily family;
    family.lines = {{1, 0, 10.2}, {3, 0, 30.4}, {5, 0, 45.0}, {2, 0, 17.5}};
    const FamilyMatch match = MatchFamily(spectrum, family, {});
    // 2 % of 10.2 Hz is narrower than a line: the window is ± one line, reaching line 10.
    EXPECT_DOUBLE_EQ(MatchWindowHz(10.2, 1.0, 2.0), 1.0);
    EXPECT_TRUE(match.lines[0].found);
    EXPECT_DOUBLE_EQ(match.lines[0].matchedHz, 10.0);
    EXPECT_DOUBLE_EQ(match.noiseFloor, 3.0);
    EXPECT_FALSE(match.lines[0].aboveNoise); // 2.9 is below the floor
    EXPECT_TRUE(match.lines[1].aboveNoise);
    EXPECT_FALSE(match.lines[2].found); // beyond the searched range
    // 17.5 ± 1 Hz holds lines 17 and 18 of the tone's slope but no peak of its own.
    EXPECT_FALSE(match.lines[3].found);
    EXPECT_EQ(match.matchedHarmonics, 1);
}

} // namespace
} // namespace vantor
