// The bearing diagnosis on synthetic captures: each family's defect with slip and noise names
// exactly that family at the sampling rates and capture lengths of real recordings; healthy
// machines (noise, shaft harmonics, a mains line, a resonance rung by noise) name none; the run
// speed is read back from a capture whose stored speed is 3 % off; the kurtogram finds the band
// of a resonance placed in the capture; stored speeds or factors that are not numbers give no
// families and no crash.
#include "analysis/BearingVerdict.h"
#include "SyntheticBearing.h"
#include "analysis/Cepstrum.h"
#include "analysis/CepstrumViewData.h"
#include "analysis/FaultMatching.h"
#include "analysis/RunSpeedEstimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantor {
namespace {

using testing::BallBearingFactors;
using testing::BearingWith;
using testing::SyntheticCapture;

BearingVerdict Judge(const SyntheticCapture& capture, double runSpeedHz,
                     const std::vector<BearingAtPoint>& bearings) {
    WhitenedEnvelope work;
    return JudgeBearings(work, {capture.waveform, capture.fs, runSpeedHz, std::nullopt}, bearings);
}

std::vector<FaultKind> Named(const BearingVerdict& verdict) {
    std::vector<FaultKind> kinds;
    if (const BearingCandidateResult* chosen = verdict.Chosen()) {
        for (const std::size_t i : chosen->named) {
            kinds.push_back(chosen->families[i].family.kind);
        }
    }
    return kinds;
}

TEST(BearingVerdictTest, EachDefectWithSlipAndNoiseNamesExactlyItsFamily) {
    const struct Case {
        FaultKind kind;
        double fs;
        std::size_t samples;
        double shaftHz;
        double slip;
        double carrierHz;
        double impactG; // beside noise of 0.3 g RMS and a 1× of 0.5 g
    } cases[] = {
        {FaultKind::Bpfo, 12000, 65536, 29.5, 0.01, 3100, 1.0},
        {FaultKind::Bpfo, 48000, 131072, 28.7, 0.015, 11000, 1.0},
        {FaultKind::Bpfi, 12000, 65536, 29.9, 0.01, 2700, 1.2},
        {FaultKind::Bpfi, 48000, 131072, 28.8, 0.015, 9000, 1.2},
        {FaultKind::Bsf, 12000, 65536, 29.2, 0.01, 3500, 1.0},
        {FaultKind::Bsf, 48000, 131072, 29.6, 0.02, 7000, 1.0},
        // A route meter's short capture: lines 6.25 Hz apart, a quarter of the shaft speed.
        {FaultKind::Bpfo, 12800, 2048, 24.6, 0.01, 3000, 1.5},
    };
    const BearingFactors factors = BallBearingFactors();
    unsigned seed = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << FaultName(c.kind).toStdString() << " at " << c.fs << " Hz");
        SyntheticCapture capture(c.fs, c.samples);
        capture.ShaftHarmonics(c.shaftHz, 0.5, 8);
        capture.Noise(0.3, ++seed);
        capture.Defect(c.kind, factors, c.shaftHz, c.slip, c.carrierHz, c.impactG, ++seed);
        const BearingVerdict verdict = Judge(capture, c.shaftHz, {BearingWith(factors)});
        ASSERT_TRUE(verdict.analysed);
        EXPECT_EQ(verdict.Chosen()->call, BearingCall::One);
        EXPECT_EQ(Named(verdict), std::vector<FaultKind>{c.kind});
    }
}

TEST(BearingVerdictTest, HealthyMachinesNameNoFamily) {
    const BearingFactors factors = BallBearingFactors();
    const struct Case {
        const char* name;
        double fs;
        std::size_t samples;
        double shaftHz;
        bool resonance; // a resonance rung by random (not periodic) impacts
    } cases[] = {
        {"noise and shaft harmonics, 12 kHz", 12000, 65536, 29.5, false},
        {"noise and shaft harmonics, 48 kHz", 48000, 131072, 28.8, false},
        {"with random impacts on a resonance", 12000, 65536, 29.9, true},
        {"meter-like capture", 25600, 16384, 24.75, false},
    };
    unsigned seed = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int repeat = 0; repeat < 3; ++repeat) {
            SyntheticCapture capture(c.fs, c.samples);
            capture.ShaftHarmonics(c.shaftHz, 1.0, 12);
            capture.Tone(60, 0.2);  // mains
            capture.Tone(120, 0.1); // and its second harmonic
            capture.Noise(0.2, ++seed);
            if (c.resonance) {
                capture.RandomImpacts(80, 3000, 0.8, 0.0008, ++seed);
            }
            const BearingVerdict verdict = Judge(capture, c.shaftHz, {BearingWith(factors)});
            ASSERT_TRUE(verdict.analysed);
            EXPECT_EQ(verdict.Chosen()->call, BearingCall::None) << "repeat " << repeat;
        }
    }
}

TEST(BearingVerdictTest, RunSpeedThreePercentOffIsEstimatedBackWithinAFifthOfAPercent) {
    const struct Case {
        double fs;
        std::size_t samples;
        double trueHz;
        double storedHz;
        double impactsHz;     // an outer-race defect's impact train beside the shaft lines (0: none)
        double share = 0.002; // the estimate within this share of the true speed
    } cases[] = {
        {12000, 65536, 29.0, 29.0 * 1.03, 0},   {12000, 65536, 29.9, 29.9 * 0.97, 0},
        {48000, 131072, 28.6, 28.6 * 1.03, 0},  {25600, 16384, 24.5, 24.5 * 0.97, 0},
        {25600, 16384, 24.6, 24.6, 87.3, 0.01}, // 87.3 = 4 × 21.8: no 1× there
    };
    unsigned seed = 200;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.trueHz << " Hz stored as " << c.storedHz);
        SyntheticCapture capture(c.fs, c.samples);
        capture.ShaftHarmonics(c.trueHz, 0.5, 6);
        capture.Noise(0.2, ++seed);
        if (c.impactsHz > 0) {
            capture.Impacts(c.impactsHz, 0.0, 3000, 3.0, 0.002, ++seed, [](double) { return 1.0; });
        }
        WhitenedEnvelope work;
        ASSERT_TRUE(work.Prepare(capture.waveform, c.fs));
        const std::optional<RunSpeedEstimate> estimate =
            EstimateRunSpeed(work.HannMagnitudes(), work.LineSpacingHz(), c.storedHz);
        ASSERT_TRUE(estimate);
        EXPECT_NEAR(estimate->hz, c.trueHz, c.share * c.trueHz);
    }
    // No estimate where none can be trusted: noise alone; a meter's short capture whose 6.25 Hz
    // lines cannot resolve a 24.6 Hz shaft to a percent (three harmonics and an impact train); a
    // shaft 15 % away from the stored speed, outside the searched range.
    const struct Refused {
        const char* what;
        double fs;
        std::size_t samples;
        double trueHz; // 0: noise alone
        int harmonics;
        double impactsHz;
        double storedHz;
    } refused[] = {
        {"noise alone", 12000, 65536, 0, 0, 0, 29.5},
        {"short capture", 12800, 2048, 24.6, 3, 87.5, 24.6},
        {"outside the range", 12000, 65536, 29.0, 6, 0, 29.0 * 1.15},
    };
    for (const Refused& c : refused) {
        SCOPED_TRACE(c.what);
        SyntheticCapture capture(c.fs, c.samples);
        if (c.trueHz > 0) {
            capture.ShaftHarmonics(c.trueHz, 0.5, c.harmonics);
        }
        capture.Noise(0.2, ++seed);
        if (c.impactsHz > 0) {
            capture.Impacts(c.impactsHz, 0.0, 3000, 3.0, 0.002, ++seed, [](double) { return 1.0; });
        }
        WhitenedEnvelope work;
        ASSERT_TRUE(work.Prepare(capture.waveform, c.fs));
        const std::optional<RunSpeedEstimate> estimate =
            EstimateRunSpeed(work.HannMagnitudes(), work.LineSpacingHz(), c.storedHz);
        EXPECT_FALSE(estimate) << estimate->hz;
    }
}

TEST(BearingVerdictTest, KurtogramChoosesTheBandOfThePlacedResonance) {
    for (const double resonanceHz : {1400.0, 3300.0, 4900.0}) {
        SCOPED_TRACE(resonanceHz);
        SyntheticCapture capture(12000, 65536);
        capture.ShaftHarmonics(29.5, 1.0, 10);
        capture.Noise(0.3, 5);
        capture.Impacts(105.0, 0.01, resonanceHz, 0.8, 0.0008, 6, [](double) { return 1.0; });
        WhitenedEnvelope work;
        ASSERT_TRUE(work.Prepare(capture.waveform, capture.fs));
        const Kurtogram kurtogram = work.ComputeKurtogram(400, 0, 6000);
        EXPECT_LE(kurtogram.best.band.lowHz, resonanceHz);
        EXPECT_GE(kurtogram.best.band.highHz, resonanceHz);
        EXPECT_GT(kurtogram.best.kurtosis, 0.1) << "impulsive, unlike noise (0)";
        EXPECT_LE(kurtogram.best.band.highHz - kurtogram.best.band.lowHz, 3000.0) << "a band, not the whole";
    }
}

TEST(BearingVerdictTest, SpeedsOrFactorsThatAreNotNumbersGiveNoFamilies) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct Case {
        double runSpeedHz;
        BearingFactors factors;
        double ratio;
    } cases[] = {
        {nan, BallBearingFactors(), 1},  {inf, BallBearingFactors(), 1},
        {-25, BallBearingFactors(), 1},  {25, {nan, 2.3, 3.5, 5.4}, 1},
        {25, {0.4, inf, 3.5, 5.4}, 1},   {25, {0.4, 2.3, -3.5, 5.4}, 1},
        {25, BallBearingFactors(), nan}, {25, {1e308, 1e308, 1e308, 1e308}, 1e308},
    };
    SyntheticCapture capture(12000, 4096);
    capture.Noise(0.2, 3);
    std::vector<double> spectrum(2048, 1.0);
    const SpectrumLines lines{spectrum, 2.93, 1, 2048};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.runSpeedHz);
        BearingAtPoint bearing = BearingWith(c.factors);
        bearing.speedRatio = c.ratio;
        EXPECT_TRUE(FaultFamiliesOf(bearing, 0, c.runSpeedHz).empty());
        for (const BearingMatch& match : MatchBearingFaults(lines, c.runSpeedHz, {bearing})) {
            EXPECT_TRUE(match.families.empty());
        }
        const BearingVerdict verdict = Judge(capture, c.runSpeedHz, {bearing});
        EXPECT_FALSE(verdict.analysed);
    }
}

TEST(BearingVerdictTest, CepstrumShowsTheOuterRacePeriod) {
    const BearingFactors factors = BallBearingFactors();
    SyntheticCapture capture(12000, 65536);
    capture.Noise(0.05, 8);
    capture.Defect(FaultKind::Bpfo, factors, 29.5, 0.0, 3100, 1.0, 9);
    const std::optional<Cepstrum> cepstrum = RealCepstrum(capture.waveform, capture.fs);
    ASSERT_TRUE(cepstrum);
    const std::vector<CepstrumMark> marks = CepstrumMarks(*cepstrum, 29.5, {BearingWith(factors)});
    const auto mark = [&](const QString& name) {
        for (const CepstrumMark& m : marks) {
            if (m.name == name) {
                return m;
            }
        }
        return CepstrumMark{};
    };
    EXPECT_NEAR(mark(QStringLiteral("BPFO")).periodMs, 1000 / (factors.bpfo * 29.5), 1e-9);
    EXPECT_GT(mark(QStringLiteral("BPFO")).value, 3 * std::abs(mark(QStringLiteral("BPFI")).value));
    EXPECT_FALSE(RealCepstrum(std::vector<double>(100, 0.0), 12000));

    // The graph spans three periods of the slowest family (the cage), every mark inside it; the
    // amplitude axis holds the BPFO rahmonic, not the far larger values of the first half ms.
    const CepstrumViewData view = MakeCepstrumViewData(*cepstrum, marks);
    double slowest = 0;
    for (const CepstrumMark& m : marks) {
        slowest = std::max(slowest, m.periodMs);
    }
    EXPECT_NEAR(view.xAxis.maximum, kCepstrumShownPeriods * slowest, cepstrum->quefrencyStepMs);
    EXPECT_EQ(view.marks.size(), marks.size());
    EXPECT_EQ(view.x.size(), view.y.size());
    EXPECT_GE(view.yAxis.maximum, mark(QStringLiteral("BPFO")).value);
    double lowest = 0;
    for (std::size_t i = 0; static_cast<double>(i) * cepstrum->quefrencyStepMs < kCepstrumAxisFromMs; ++i) {
        lowest = std::max(lowest, std::abs(cepstrum->values[i]));
    }
    EXPECT_LT(view.yAxis.maximum, lowest);
    EXPECT_TRUE(CepstrumMarksText(view.marks)
                    .contains(QStringLiteral("BPFO %1 ms").arg(1000 / (factors.bpfo * 29.5), 0, 'f', 2)));
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

// The call on scored families: one leader alone, a second family from half the leader's score on
// lines of its own, three or more uncertain, FTF beside BSF its confirmation, nothing below the
// healthy score or on fewer than two own lines.
TEST(BearingVerdictTest, TheCallFollowsTheFamiliesOwnScores) {
    const auto family = [](FaultKind kind, double ownScore, int ownLines) {
        FamilyEvidence f;
        f.family.kind = kind;
        f.ownScore = ownScore;
        f.ownLines = ownLines;
        EvidenceLine harmonic;
        harmonic.stands = true;
        f.lines.push_back(harmonic);
        return f;
    };
    const struct Case {
        const char* name;
        std::vector<FamilyEvidence> families; // strongest first
        BearingCall call;
        std::vector<FaultKind> named;
    } cases[] = {
        {"healthy", {family(FaultKind::Bpfo, 9, 2), family(FaultKind::Bsf, 5, 1)}, BearingCall::None, {}},
        {"one line only", {family(FaultKind::Bpfo, 15, 1)}, BearingCall::None, {}},
        {"clear leader",
         {family(FaultKind::Bpfi, 60, 8), family(FaultKind::Bpfo, 20, 3)},
         BearingCall::One,
         {FaultKind::Bpfi}},
        {"two on their own lines",
         {family(FaultKind::Bpfo, 40, 4), family(FaultKind::Bpfi, 25, 4)},
         BearingCall::Two,
         {FaultKind::Bpfo, FaultKind::Bpfi}},
        {"three close: uncertain",
         {family(FaultKind::Bpfo, 30, 3), family(FaultKind::Bpfi, 28, 4), family(FaultKind::Bsf, 20, 3)},
         BearingCall::Uncertain,
         {FaultKind::Bpfo, FaultKind::Bpfi, FaultKind::Bsf}},
        {"cage beside the ball confirms it",
         {family(FaultKind::Bsf, 30, 4), family(FaultKind::Ftf, 26, 3)},
         BearingCall::One,
         {FaultKind::Bsf}},
        {"cage alone needs twice the score", {family(FaultKind::Ftf, 20, 3)}, BearingCall::None, {}},
        {"cage alone from twice the score",
         {family(FaultKind::Ftf, 30, 3)},
         BearingCall::One,
         {FaultKind::Ftf}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::size_t> named;
        EXPECT_EQ(CallOf(c.families, named), c.call);
        std::vector<FaultKind> kinds;
        for (const std::size_t i : named) {
            kinds.push_back(c.families[i].family.kind);
        }
        if (c.call != BearingCall::None) {
            EXPECT_EQ(kinds, c.named);
        }
    }
}

} // namespace
} // namespace vantor
