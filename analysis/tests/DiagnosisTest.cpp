// The diagnosis rules over readings made here: each machine fault's waveform goes through the same
// spectrum, envelope, bearing matching and indices the product uses, and the rule for it must fire
// with its evidence and its stage, while a clean machine gets no WARNING or CRITICAL finding.
#include "analysis/Diagnosis.h"
#include "analysis/BearingVerdict.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"
#include "analysis/WaveformIndices.h"

#include "analysis/BaselineAlarms.h"
#include "analysis/SeverityZones.h"
#include "analysis/SpectralBands.h"
#include "analysis/StatusReasons.h"
#include "texts/DisplayFormat.h"
#include "texts/TranslationTable.h"
#include "texts/UiText.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
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
std::vector<Finding> DiagnoseReading(const Reading& reading, const std::vector<BearingAtPoint>& bearings,
                                     const DiagnosisZones& zones = DefaultDiagnosisZones()) {
    SignalProcessor processor;
    std::vector<double> velocity;
    EXPECT_TRUE(
        processor.ComputeSpectrum(reading.waveform, velocity, kFs, SpectrumWindow::Rectangular, false, true));
    const double fmax = kFs / 2.56;
    const double spacing = kFs / static_cast<double>(kSamples);
    const int lines = static_cast<int>(static_cast<double>(kSamples) / 2.56);
    DiagnosisInput input;
    input.runSpeedHz = kRunSpeed;
    input.zones = zones;
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
        // The product's judgement of the families on the capture itself.
        WhitenedEnvelope work;
        input.bearingVerdict =
            JudgeBearings(work, {reading.waveform, kFs, kRunSpeed, std::nullopt}, bearings);
        input.bearings = bearings;
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

// A point with its own ISO levels (group 1 on a rigid foundation: B/C 4.5, C/D 7.1 mm/s).
CVib PointWithLevels(float warning, float critical) {
    CVib point;
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = warning;
    point.fISOCriticalMMS = critical;
    return point;
}

TEST(DiagnosisTest, EachFaultFiresItsRuleAtItsStageAndACleanMachineNone) {
    const DiagnosisZones defaults = DefaultDiagnosisZones();
    const DiagnosisZones group1 = DiagnosisZonesOf(PointWithLevels(4.5f, 7.1f));
    struct Case {
        const char* name;
        std::function<void(Reading&)> make;
        bool bearing;
        FindingKind expected;
        StatusCode severity; // of the expected finding; Ok is "noted" (or "No finding")
        std::vector<FindingKind> absent;
        DiagnosisZones zones;
    };
    const auto tone = [](double mms) {
        return [mms](Reading& r) {
            r.Velocity(1, mms);
            r.Noise(0.005, 1);
        };
    };
    const Case cases[] = {
        {"pure 1× in zone C",
         tone(4.0),
         false,
         FindingKind::Unbalance,
         StatusCode::Warning,
         {FindingKind::Misalignment, FindingKind::Looseness, FindingKind::Impacting},
         defaults},
        {"pure 1× in zone B: noted, no alarm",
         tone(2.2),
         false,
         FindingKind::Unbalance,
         StatusCode::Ok,
         {},
         defaults},
        {"pure 1× in zone A: not weighed",
         tone(1.0),
         false,
         FindingKind::NoFinding,
         StatusCode::Ok,
         {FindingKind::Unbalance},
         defaults},
        {"pure 1× in zone D", tone(5.0), false, FindingKind::Unbalance, StatusCode::Critical, {}, defaults},
        {"pure 1× below the point's own warning level",
         tone(4.0),
         false,
         FindingKind::Unbalance,
         StatusCode::Ok,
         {},
         group1},
        {"1× with 60 % 2×",
         [](Reading& r) {
             r.Velocity(1, 3.0);
             r.Velocity(2, 1.8, 0.7);
             r.Noise(0.005, 2);
         },
         false,
         FindingKind::Misalignment,
         StatusCode::Warning,
         {FindingKind::Unbalance, FindingKind::Looseness},
         defaults},
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
         StatusCode::Critical, // the ISO overall is 5.0 mm/s
         {FindingKind::Unbalance},
         defaults},
        {"outer-race defect with the bearing assigned",
         [](Reading& r) {
             r.Velocity(1, 0.8);
             r.Impacts(3.5848 * kRunSpeed, 4000, 0.5, 0.002);
             r.Noise(0.02, 4);
         },
         true,
         FindingKind::BearingDefect,
         StatusCode::Warning, // in the envelope only, whatever the ISO zone
         {FindingKind::Unbalance, FindingKind::Misalignment},
         defaults},
        {"unbalance and an outer-race defect: both named",
         [](Reading& r) {
             r.Velocity(1, 4.0);
             r.Impacts(3.5848 * kRunSpeed, 4000, 0.5, 0.002);
             r.Noise(0.02, 8);
         },
         true,
         FindingKind::BearingDefect,
         StatusCode::Warning,
         {FindingKind::Misalignment, FindingKind::Looseness},
         defaults},
        {"impacting",
         [](Reading& r) {
             r.Velocity(1, 0.8);
             r.Noise(0.02, 5);
             r.Spikes(0.04, 0.6);
         },
         false,
         FindingKind::Impacting,
         StatusCode::Critical,
         {FindingKind::Unbalance, FindingKind::BearingDefect},
         defaults},
        {"clean machine, bearing assigned",
         [](Reading& r) {
             r.Velocity(1, 0.5);
             r.Velocity(2, 0.1);
             r.Noise(0.005, 6);
         },
         true,
         FindingKind::NoFinding,
         StatusCode::Ok,
         {FindingKind::Unbalance, FindingKind::Misalignment, FindingKind::Looseness,
          FindingKind::BearingDefect, FindingKind::Impacting},
         defaults},
    };
    for (const Case& c : cases) {
        Reading reading;
        c.make(reading);
        const std::vector<Finding> findings = DiagnoseReading(
            reading, c.bearing ? std::vector{RigBearing()} : std::vector<BearingAtPoint>{}, c.zones);
        QStringList found;
        for (const Finding& f : findings) {
            found << FindingKindName(f.kind) + QLatin1Char('/') + StatusText(f.severity);
        }
        const std::string trace = std::string(c.name) + ": " + found.join(QLatin1Char(' ')).toStdString();
        const Finding* finding = FindingOf(findings, c.expected);
        ASSERT_NE(finding, nullptr) << trace;
        EXPECT_EQ(finding->severity, c.severity) << trace;
        for (const FindingKind kind : c.absent) {
            EXPECT_EQ(FindingOf(findings, kind), nullptr)
                << trace << " has " << FindingKindName(kind).toStdString();
        }
        EXPECT_GE(finding->confidence, 0.0) << c.name;
        EXPECT_LE(finding->confidence, 1.0) << c.name;
        if (c.expected == FindingKind::BearingDefect) {
            EXPECT_EQ(finding->families, QStringList{QStringLiteral("BPFO")}) << trace;
            EXPECT_FALSE(finding->nextStep.isEmpty()) << trace;
            EXPECT_EQ(std::count_if(findings.begin(), findings.end(),
                                    [](const Finding& f) { return f.kind == FindingKind::BearingDefect; }),
                      1)
                << trace;
        }
        if (std::string(c.name).starts_with("unbalance and")) {
            EXPECT_NE(FindingOf(findings, FindingKind::Unbalance), nullptr) << trace;
        }
        if (c.expected == FindingKind::NoFinding) {
            EXPECT_EQ(findings.size(), 1U) << trace;
        } else {
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

// The zones a point's findings are staged by: its own ISO levels when its ISO alarms are on and
// they are sound, else group 2 on a rigid foundation.
TEST(DiagnosisTest, ZonesFollowThePointsOwnLevels) {
    struct Case {
        const char* name;
        CVib point;
        double ab, bc, cd;
    };
    CVib off = PointWithLevels(4.5f, 7.1f);
    off.bISOAlarmsOn = false;
    const Case cases[] = {
        {"alarms off", off, 1.4, 2.8, 4.5},
        {"group 1 rigid", PointWithLevels(4.5f, 7.1f), 2.25, 4.5, 7.1f},
        {"no warning level", PointWithLevels(0, 7.1f), 1.4, 2.8, 4.5},
        {"critical below warning", PointWithLevels(7.1f, 4.5f), 1.4, 2.8, 4.5},
    };
    for (const Case& c : cases) {
        const DiagnosisZones zones = DiagnosisZonesOf(c.point);
        EXPECT_DOUBLE_EQ(zones.ab, c.ab) << c.name;
        EXPECT_DOUBLE_EQ(zones.bc, c.bc) << c.name;
        EXPECT_DOUBLE_EQ(zones.cd, c.cd) << c.name;
    }
}

// Around each of a point's own levels, an ISO spectrum finding takes exactly the stage of the point's
// documented ISO status for the same stored overall: never WARNING where that status is OK.
TEST(DiagnosisTest, AFindingsStageNeverContradictsTheDocumentedStatus) {
    const float levels[][2] = {{2.8f, 4.5f}, {4.5f, 7.1f}, {7.1f, 11.0f}, {3.3f, 3.3f}};
    for (const auto& [warning, critical] : levels) {
        const CVib point = PointWithLevels(warning, critical);
        for (const float overall : {std::nextafter(warning, 0.0f), warning, std::nextafter(critical, 0.0f),
                                    critical, critical * 1.5f}) {
            // A run-speed line holding the whole overall, on 1 Hz lines.
            DiagnosisInput input;
            input.runSpeedHz = kRunSpeed;
            input.zones = DiagnosisZonesOf(point);
            input.isoOverallMms = overall;
            std::vector<double> lines(1000, 0.0);
            lines[static_cast<std::size_t>(kRunSpeed)] = overall;
            input.iso = {lines, 1.0, 10, 1000};
            const std::vector<Finding> findings = Diagnose(input);
            const Finding* unbalance = FindingOf(findings, FindingKind::Unbalance);
            ASSERT_NE(unbalance, nullptr) << warning << " " << overall;
            EXPECT_EQ(unbalance->severity, ClassifyValue(overall, true, warning, critical))
                << "levels " << warning << "/" << critical << ", overall " << overall;
            EXPECT_EQ(unbalance->evidence.back().value, overall);
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
    // An overall of 5.8 mm/s passes the C/D boundary of 4.5 mm/s.
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

namespace vantor {
namespace {

// The UI text table in a language, from its reviewed translation table.
void UseLanguage(const char* file) {
    const std::optional<TranslationTable> table =
        ReadTranslationTable(QStringLiteral(VANTOR_TRANSLATION_TABLES "/") + QLatin1String(file));
    ASSERT_TRUE(table);
    QStringList texts = PackTexts(*table);
    for (QString& text : texts) {
        text.replace(QStringLiteral("(CRLF)"), QStringLiteral("\r\n"));
    }
    ASSERT_TRUE(UiTextTable::Replace(texts));
    SetDisplayLanguage(table->language);
}

void UseEnglish() {
    UiTextTable::ResetToDefaults();
    SetDisplayLanguage(QStringLiteral("English"));
}

// The words of a text (letters only, two or more), case kept.
QSet<QString> Words(const QString& text) {
    static const QRegularExpression word(QStringLiteral("\\p{L}{2,}"));
    QSet<QString> words;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        words.insert(it.next().captured());
    }
    return words;
}

// Every sentence the diagnosis and the alarm checks write for a user, rendered in the current
// language, in a fixed order so that two languages' renderings compare line by line.
QStringList RenderedSentences() {
    QStringList out;
    const auto tone = [](Reading& r) {
        r.Velocity(1, 4.0);
        r.Noise(0.005, 1);
    };
    const std::function<void(Reading&)> faults[] = {
        tone,
        [](Reading& r) {
            r.Velocity(1, 3.0);
            r.Velocity(2, 1.8, 0.7);
            r.Noise(0.005, 2);
        },
        [](Reading& r) {
            r.Velocity(1, 4.0);
            for (int n = 2; n <= 7; ++n) {
                r.Velocity(n, 1.0, 0.9 * n);
            }
            r.Velocity(0.5, 0.8, 0.5);
            r.Velocity(1.5, 0.8, 1.5);
            r.Noise(0.005, 3);
        },
        [](Reading& r) {
            r.Velocity(1, 0.8);
            r.Impacts(3.5848 * kRunSpeed, 4000, 0.5, 0.002);
            r.Noise(0.02, 4);
        },
        [](Reading& r) {
            r.Velocity(1, 0.8);
            r.Noise(0.02, 5);
            r.Spikes(0.04, 0.6);
        },
        [](Reading& r) {
            r.Velocity(1, 0.5);
            r.Noise(0.005, 6);
        },
    };
    for (const auto& make : faults) {
        Reading reading;
        make(reading);
        for (const Finding& f : DiagnoseReading(reading, {RigBearing()})) {
            out << FindingKindText(f.kind) << f.summary << FindingLine(f);
            for (const Evidence& e : f.evidence) {
                out << e.text;
            }
        }
    }
    // The family-uncertain summary and the bearing finding matched without a capture.
    BearingVerdict verdict;
    verdict.analysed = true;
    BearingCandidateResult judged;
    judged.call = BearingCall::Uncertain;
    judged.band = {500, 5000};
    for (const FaultKind kind : {FaultKind::Bpfo, FaultKind::Bpfi, FaultKind::Bsf}) {
        FamilyEvidence family;
        family.family.kind = kind;
        family.ownScore = 20;
        for (const int sideband : {0, -1}) {
            EvidenceLine line;
            line.sideband = sideband;
            line.hz = 90 + 25 * sideband;
            line.overNoise = 4;
            line.stands = true;
            family.lines.push_back(line);
        }
        judged.families.push_back(family);
        judged.named.push_back(judged.families.size() - 1);
    }
    verdict.candidates.push_back(judged);
    verdict.chosen = 0;
    DiagnosisInput uncertain;
    uncertain.runSpeedHz = kRunSpeed;
    uncertain.storedRunSpeedHz = 24;
    uncertain.bearingVerdict = verdict;
    uncertain.bearings = {RigBearing()};
    for (const Finding& f : Diagnose(uncertain)) {
        out << f.summary;
        for (const Evidence& e : f.evidence) {
            out << e.text;
        }
    }
    // Alarm reasons: statistical, change against the baseline and the previous reading, a band, a zone.
    BaselineSettings iso;
    iso.measure = {MeasureKind::IsoVelocity, std::nullopt};
    iso.baselineReadings = 3;
    std::vector<MeasureSample> samples;
    for (const double v : {0.9, 1.0, 1.1, 2.5}) {
        samples.push_back({QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addDays(7 * samples.size()), v});
    }
    const BaselineOutcome baseline = *JudgeBaseline(samples, iso);
    out << baseline.statistical.reason << baseline.change.reason;
    BaselineSettings previous = iso;
    previous.baselineReadings = 0;
    previous.measure = {std::nullopt, IndexMeasure::Kurtosis};
    out << JudgeBaseline(samples, previous)->change.reason;
    std::vector<double> lines(50, 0.1);
    lines[10] = 3.5;
    for (const BandSpectrum spectrum : {BandSpectrum::Iso, BandSpectrum::Total, BandSpectrum::Envelope}) {
        const SpectralBand band{9, 11, false, spectrum, 2, 3, BandValue::Peak};
        const BandVerdict v = JudgeSpectralBand(SpectrumLines{lines, 1.0, 0, 50}, 10, band, 2);
        out << v.reason << AlarmReasonText({AlarmReason::Source::Band, v.code, v.reason});
        out << *CheckSpectralBand(band, 10, 25);
    }
    ZoneInput zoneInput;
    zoneInput.velocityMms = 5.2f;
    zoneInput.runSpeedHz = kRunSpeed;
    const ZoneVerdict zone = *JudgeZone(zoneInput);
    out << ZoneVerdictText(zone, zoneInput);
    for (const auto source :
         {AlarmReason::Source::Baseline, AlarmReason::Source::Change, AlarmReason::Source::Zone}) {
        out << AlarmReasonText({source, StatusCode::Critical, baseline.reason});
    }
    // The checks of baseline settings and bands, and the envelope's refusals.
    const std::function<void(BaselineSettings&)> unusable[] = {
        [](BaselineSettings& s) { s.baselineReadings = -1; },
        [](BaselineSettings& s) { s.baselineReadings = 2; },
        [](BaselineSettings& s) { s.baselineFrom = QDateTime(QDate(2026, 1, 1), QTime(0, 0)); },
        [](BaselineSettings& s) {
            s.baselineFrom = QDateTime(QDate(2026, 2, 1), QTime(0, 0));
            s.baselineTo = QDateTime(QDate(2026, 1, 1), QTime(0, 0));
        },
        [](BaselineSettings& s) { s.sigmaWarning = 0; },
        [](BaselineSettings& s) { s.sigmaCritical = 1; },
        [](BaselineSettings& s) { s.changeWarning = 1; },
        [](BaselineSettings& s) { s.changeCritical = 1.5; },
    };
    for (const auto& change : unusable) {
        BaselineSettings s = iso;
        change(s);
        out << CheckBaselineSettings(s).value_or(QString());
    }
    for (const SpectralBand& band : {SpectralBand{5, 5, false, BandSpectrum::Iso, 1, 2, BandValue::Peak},
                                     SpectralBand{1, 5, false, BandSpectrum::Iso, -1, 2, BandValue::Peak},
                                     SpectralBand{1, 5, false, BandSpectrum::Iso, 3, 2, BandValue::Peak},
                                     SpectralBand{1, 5, true, BandSpectrum::Iso, 1, 2, BandValue::Peak}}) {
        out << CheckSpectralBand(band, 1000, 0).value_or(QString());
    }
    for (const EnvelopeRefusal refusal : {EnvelopeRefusal::CaptureTooShort, EnvelopeRefusal::CaptureNotFinite,
                                          EnvelopeRefusal::LowNotPositive, EnvelopeRefusal::LowNotBelowHigh,
                                          EnvelopeRefusal::BandTooNarrow}) {
        out << EnvelopeRefusalText(refusal);
    }
    return out;
}

// In German, French and Spanish no word of an English sentence's own text is left (names, units and
// the families' abbreviations are the same in every language), and the numbers carry the language's
// decimal separator; in English the sentences are those the command line has always printed.
TEST(AnalysisTextsTest, FindingsReasonsAndChecksReadInTheChosenLanguage) {
    UseEnglish();
    const QStringList english = RenderedSentences();
    const QString all = english.join(QLatin1Char('\n'));
    for (const char* pinned :
         {"ISO velocity 2.5 ≥ baseline + 3σ 1.3", "ISO velocity 2.5× baseline", "Kurtosis 2.3× previous",
          "Band 2 (Envelope 9–11 Hz peak) 3.5 gE ≥ critical 3", "No rule applies",
          "The band ends at 11 Hz, past the Total spectrum's Fmax of 10 Hz",
          "zone D (velocity 5.20 mm/s, C/D 4.5 mm/s)"}) {
        EXPECT_TRUE(english.contains(QString::fromUtf8(pinned))) << pinned << " not in\n"
                                                                 << all.toStdString();
    }
    EXPECT_TRUE(all.contains(QStringLiteral("1× dominant: "))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("family uncertain: candidates BPFO of 6205 at NDE 20.0, ")))
        << all.toStdString();

    // Words every language writes alike: units, channel and family names, the rig's bearing, and
    // words the language shares with English.
    const QSet<QString> common{QStringLiteral("ISO"),  QStringLiteral("Hz"),   QStringLiteral("mm"),
                               QStringLiteral("gE"),   QStringLiteral("dB"),   QStringLiteral("BPFO"),
                               QStringLiteral("BPFI"), QStringLiteral("BSF"),  QStringLiteral("FTF"),
                               QStringLiteral("RMS"),  QStringLiteral("Fmax"), QStringLiteral("NDE"),
                               QStringLiteral("OK"),   QStringLiteral("BDU")};
    struct Language {
        const char* file;
        QSet<QString> shared;
        QChar decimal;
    };
    const Language languages[] = {
        {"de.tsv",
         {QStringLiteral("Band"), QStringLiteral("Kurtosis"), QStringLiteral("in"),
          QStringLiteral("positive")},
         QLatin1Char(',')},
        {"fr.tsv",
         {QStringLiteral("zone"), QStringLiteral("kurtosis"), QStringLiteral("Kurtosis"),
          QStringLiteral("score"), QStringLiteral("scores"), QStringLiteral("date"), QStringLiteral("dates"),
          QStringLiteral("point")},
         QLatin1Char(',')},
        {"es.tsv",
         {QStringLiteral("Total"), QStringLiteral("factor"), QStringLiteral("no")},
         QLatin1Char(',')},
    };
    for (const Language& language : languages) {
        UseLanguage(language.file);
        const QStringList translated = RenderedSentences();
        ASSERT_EQ(translated.size(), english.size()) << language.file;
        for (qsizetype i = 0; i < english.size(); ++i) {
            QSet<QString> left = Words(english[i]) & Words(translated[i]);
            left -= common;
            left -= language.shared;
            EXPECT_TRUE(left.isEmpty())
                << language.file << ": \"" << translated[i].toStdString() << "\" keeps "
                << QStringList(left.values()).join(QLatin1Char(' ')).toStdString();
        }
        EXPECT_TRUE(translated.join(QLatin1Char('\n'))
                        .contains(QStringLiteral("2") + language.decimal + QStringLiteral("5")))
            << language.file;
    }
    UseEnglish();
}

} // namespace
} // namespace vantor
