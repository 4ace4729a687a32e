// The diagnosis rules over readings made here: each machine fault's waveform goes through the same
// spectrum, envelope, bearing matching and indices the product uses, and the rule for it must fire
// with its evidence, while a clean machine gets no WARNING or CRITICAL finding.
#include "analysis/Diagnosis.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"
#include "analysis/WaveformIndices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <random>

namespace vantor {
namespace {

constexpr double kFs = 25600;           // Fmax 10 kHz
constexpr std::size_t kSamples = 16384; // lines 1.5625 Hz apart
constexpr double kRunSpeed = 25;        // a whole line
constexpr double kPi = std::numbers::pi;

// The bearing of a public test rig's drive end: BPFO 3.5848 × run speed.
BearingAtPoint RigBearing() {
    BearingAtPoint b;
    b.designation = QStringLiteral("6205");
    b.location = QStringLiteral("NDE");
    b.factors = {0.3983, 2.3567, 3.5848, 5.4152};
    return b;
}

struct Reading {
    std::vector<double> waveform = std::vector<double>(kSamples, 0.0); // g

    // A tone whose velocity is `mms` mm/s RMS.
    void Velocity(double order, double mms, double phase = 0) {
        const double hz = order * kRunSpeed;
        const double peakG =
            mms * std::sqrt(2.0) * 2 * kPi * hz / SignalProcessor::kMillimetresPerSecondSquaredPerG;
        for (std::size_t i = 0; i < kSamples; ++i) {
            waveform[i] += peakG * std::sin(2 * kPi * hz * static_cast<double>(i) / kFs + phase);
        }
    }
    void Noise(double sigmaG, unsigned seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> normal(0, sigmaG);
        for (double& x : waveform) {
            x += normal(random);
        }
    }
    // A resonance at `carrierHz` rung at `rateHz` by impacts that die away in `decayS`.
    void Impacts(double rateHz, double carrierHz, double peakG, double decayS) {
        for (std::size_t i = 0; i < kSamples; ++i) {
            const double t = static_cast<double>(i) / kFs;
            const double since = std::fmod(t, 1.0 / rateHz);
            waveform[i] += peakG * std::exp(-since / decayS) * std::sin(2 * kPi * carrierHz * t);
        }
    }
    // Single-sample spikes every `everyS` seconds.
    void Spikes(double everyS, double peakG) {
        for (double t = 0.0123; t < kSamples / kFs; t += everyS) {
            waveform[static_cast<std::size_t>(t * kFs)] += peakG;
        }
    }
};

// Runs the product's chain: the ISO velocity spectrum, the envelope, bearing matches, indices.
std::vector<Finding> DiagnoseReading(const Reading& reading, const std::vector<BearingAtPoint>& bearings) {
    SignalProcessor processor;
    std::vector<double> velocity;
    EXPECT_TRUE(
        processor.ComputeSpectrum(reading.waveform, velocity, kFs, SpectrumWindow::Rectangular, false, true));
    const double fmax = kFs / 2.56;
    const double spacing = kFs / static_cast<double>(kSamples);
    const int lines = static_cast<int>(static_cast<double>(kSamples) / 2.56);
    DiagnosisInput input;
    input.runSpeedHz = kRunSpeed;
    input.iso = {velocity, spacing, 2, lines};
    if (!bearings.empty()) {
        EnvelopeAnalyzer analyzer;
        EnvelopeSpectrum envelope;
        EXPECT_EQ(analyzer.Compute(reading.waveform, kFs, fmax, spacing, DefaultEnvelopeBand(fmax), envelope),
                  EnvelopeRefusal::None);
        const SpectrumLines envelopeLines{envelope.lines, envelope.lineSpacingHz, 1,
                                          static_cast<int>(envelope.lines.size())};
        input.envelopeMatches = MatchBearingFaults(envelopeLines, kRunSpeed, bearings);
        input.envelopeSpacingHz = envelope.lineSpacingHz;
        input.velocityMatches = MatchBearingFaults(input.iso, kRunSpeed, bearings);
    }
    const std::optional<WaveformIndices> indices = ComputeWaveformIndices(reading.waveform);
    EXPECT_TRUE(indices);
    input.crest = indices->crest;
    input.kurtosis = indices->kurtosis;
    return Diagnose(input);
}

const Finding* FindingOf(const std::vector<Finding>& findings, FindingKind kind) {
    for (const Finding& f : findings) {
        if (f.kind == kind) {
            return &f;
        }
    }
    return nullptr;
}

TEST(DiagnosisTest, EachFaultFiresItsRuleAndACleanMachineNone) {
    struct Case {
        const char* name;
        std::function<void(Reading&)> make;
        bool bearing;
        FindingKind expected;
        std::vector<FindingKind> absent;
    };
    const Case cases[] = {
        {"pure 1×",
         [](Reading& r) {
             r.Velocity(1, 4.0);
             r.Noise(0.005, 1);
         },
         false,
         FindingKind::Unbalance,
         {FindingKind::Misalignment, FindingKind::Looseness, FindingKind::Impacting}},
        {"1× with 60 % 2×",
         [](Reading& r) {
             r.Velocity(1, 4.0);
             r.Velocity(2, 2.4, 0.7);
             r.Noise(0.005, 2);
         },
         false,
         FindingKind::Misalignment,
         {FindingKind::Unbalance, FindingKind::Looseness}},
        {"1× with six harmonics and half-orders",
         [](Reading& r) {
             r.Velocity(1, 4.0);
             const double harmonics[] = {1.5, 1.2, 1.0, 0.9, 0.8, 0.7};
             for (int n = 2; n <= 7; ++n) {
                 r.Velocity(n, harmonics[n - 2], 0.9 * n);
             }
             for (const double half : {0.5, 1.5, 2.5}) {
                 r.Velocity(half, 0.8, half);
             }
             r.Noise(0.005, 3);
         },
         false,
         FindingKind::Looseness,
         {FindingKind::Unbalance}},
        {"outer-race defect with the bearing assigned",
         [](Reading& r) {
             r.Velocity(1, 0.8);
             r.Impacts(3.5848 * kRunSpeed, 4000, 0.5, 0.002);
             r.Noise(0.02, 4);
         },
         true,
         FindingKind::BearingDefect,
         {FindingKind::Unbalance, FindingKind::Misalignment}},
        {"impacting",
         [](Reading& r) {
             r.Velocity(1, 0.8);
             r.Noise(0.02, 5);
             r.Spikes(0.04, 0.6);
         },
         false,
         FindingKind::Impacting,
         {FindingKind::Unbalance, FindingKind::BearingDefect}},
        {"clean machine, bearing assigned",
         [](Reading& r) {
             r.Velocity(1, 0.5);
             r.Velocity(2, 0.1);
             r.Noise(0.005, 6);
         },
         true,
         FindingKind::NoFinding,
         {FindingKind::Unbalance, FindingKind::Misalignment, FindingKind::Looseness,
          FindingKind::BearingDefect, FindingKind::Impacting}},
    };
    for (const Case& c : cases) {
        Reading reading;
        c.make(reading);
        const std::vector<Finding> findings =
            DiagnoseReading(reading, c.bearing ? std::vector{RigBearing()} : std::vector<BearingAtPoint>{});
        QStringList found;
        for (const Finding& f : findings) {
            found << FindingKindName(f.kind);
        }
        const Finding* finding = FindingOf(findings, c.expected);
        ASSERT_NE(finding, nullptr) << c.name << ": " << found.join(QLatin1Char(' ')).toStdString();
        for (const FindingKind kind : c.absent) {
            EXPECT_EQ(FindingOf(findings, kind), nullptr)
                << c.name << ": " << FindingKindName(kind).toStdString();
        }
        EXPECT_GE(finding->confidence, 0.0) << c.name;
        EXPECT_LE(finding->confidence, 1.0) << c.name;
        if (c.expected == FindingKind::NoFinding) {
            EXPECT_EQ(findings.size(), 1U) << c.name;
            EXPECT_EQ(finding->severity, StatusCode::Ok) << c.name;
        } else {
            EXPECT_TRUE(finding->severity == StatusCode::Warning || finding->severity == StatusCode::Critical)
                << c.name;
            EXPECT_FALSE(finding->evidence.empty()) << c.name;
            EXPECT_FALSE(finding->summary.isEmpty()) << c.name;
        }
        // Most severe first.
        for (std::size_t i = 1; i < findings.size(); ++i) {
            EXPECT_GE(static_cast<int>(findings[i - 1].severity), static_cast<int>(findings[i].severity))
                << c.name;
        }
    }
}

TEST(DiagnosisTest, TheEvidenceNamesTheLinesTheRuleWeighed) {
    Reading reading;
    reading.Velocity(1, 5.0);
    reading.Velocity(2, 3.0);
    reading.Noise(0.005, 7);
    const std::vector<Finding> findings = DiagnoseReading(reading, {});
    const Finding* misalignment = FindingOf(findings, FindingKind::Misalignment);
    ASSERT_NE(misalignment, nullptr);
    // 5 mm/s at 1× passes the C/D boundary of 4.5 mm/s.
    EXPECT_EQ(misalignment->severity, StatusCode::Critical);
    ASSERT_GE(misalignment->evidence.size(), 2U);
    EXPECT_DOUBLE_EQ(misalignment->evidence[0].hz, 25.0);
    EXPECT_NEAR(misalignment->evidence[0].value, 5.0, 0.05);
    EXPECT_DOUBLE_EQ(misalignment->evidence[1].hz, 50.0);
    EXPECT_NEAR(misalignment->evidence[1].value, 3.0, 0.05);
    EXPECT_EQ(misalignment->evidence[1].source, QStringLiteral("ISO"));
    EXPECT_TRUE(misalignment->summary.contains(QStringLiteral("60 %")))
        << misalignment->summary.toStdString();
}

TEST(DiagnosisTest, EveryThresholdNamesItsSource) {
    for (const DiagnosisThreshold& row : kDiagnosisThresholds) {
        EXPECT_GT(row.value, 0);
        EXPECT_GT(std::strlen(row.meaning), 0U);
        EXPECT_GT(std::strlen(row.source), 0U);
        EXPECT_EQ(ThresholdValue(row.id), row.value);
    }
}

} // namespace
} // namespace vantor
