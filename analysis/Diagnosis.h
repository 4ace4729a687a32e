#pragma once
// The automatic diagnosis of one reading: a small rule set over the ISO velocity spectrum (ratios of
// the run-speed orders), the bearing families matched on the envelope and velocity spectra, and the
// Total channel's waveform indices. Each rule that applies gives a finding with its severity (as a
// status word), a confidence from 0 to 1 and the evidence it rests on; a reading where none applies
// gives the single finding "No finding". Every threshold is a row of kDiagnosisThresholds.

#include "analysis/AlarmStatus.h"
#include "analysis/FaultMatching.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace vantor {

enum class FindingKind { Unbalance, Misalignment, Looseness, BearingDefect, Impacting, NoFinding };
// "unbalance", "misalignment", "looseness", "bearing", "impacting", "none".
QString FindingKindName(FindingKind kind);
// "Unbalance", "Misalignment", "Mechanical looseness", "Bearing defect", "Impacting", "No finding".
QString FindingKindCaption(FindingKind kind);

enum class Threshold {
    SignificantMms, // a line the rules weigh at all
    SevereMms,      // a finding's key line at or above this is CRITICAL
    OrderTolerancePercent,
    UnbalanceShare,      // 1×'s share of the ISO overall energy
    UnbalanceHarmonics,  // 2× and 3× each below this share of 1×
    MisalignmentTwoX,    // 2× at or above this share of 1×
    MisalignmentThreeX,  // or 3× at or above this share of 1×
    LoosenessHarmonics,  // this many harmonics 2×..10× counted
    LoosenessHalfOrders, // or this many half-orders 0.5×..9.5× counted
    LoosenessLineShare,  // a harmonic counts when at least this share of the largest order line
    NoiseFactor,         // ... and above the median of the order span times this factor
    BearingHarmonics,    // a family matched with at least this many harmonics in the envelope
    CrestFactor,         // impacting above this crest factor (Total)
    Kurtosis,            // or above this kurtosis (Total)
    CrestFactorSevere,   // CRITICAL at or above
    KurtosisSevere,
};

// The rule set's thresholds, one row each, with what it means and where its value comes from.
struct DiagnosisThreshold {
    Threshold id;
    FindingKind rule;
    double value;
    const char* meaning;
    const char* source;
};
// ISO 10816-3:1998 zone boundaries quoted are those of group 2 on a rigid foundation, the most
// demanding class (A/B 1.4, C/D 4.5 mm/s RMS); spectral patterns after ISO 13373-3:2015 (guidelines
// for vibration diagnosis) and R. Scheffer, P. Girdhar, "Practical Machinery Vibration Analysis and
// Predictive Maintenance" (2004), ch. 6; bearing stages after J. E. Berry, "How to Track Rolling
// Element Bearing Health with Vibration Signature Analysis", Sound and Vibration, Nov. 1991;
// impact statistics after D. Dyer, R. M. Stewart, "Detection of Rolling Element Bearing Damage by
// Statistical Vibration Analysis", J. Mech. Design 100 (1978) and M. P. Norton, D. G. Karczub,
// "Fundamentals of Noise and Vibration Analysis for Engineers" (2nd ed., 2003), § 10.3.
inline constexpr DiagnosisThreshold kDiagnosisThresholds[] = {
    {Threshold::SignificantMms, FindingKind::NoFinding, 1.4,
     "an order line (mm/s RMS) below this is not weighed", "ISO 10816-3 zone A/B, group 2 rigid"},
    {Threshold::SevereMms, FindingKind::NoFinding, 4.5,
     "a finding whose key line (mm/s RMS) reaches this is CRITICAL", "ISO 10816-3 zone C/D, group 2 rigid"},
    {Threshold::OrderTolerancePercent, FindingKind::NoFinding, 2.0,
     "an order line is the largest line within ± this percent of n × run speed (at least one line)",
     "as the bearing matching (slip and run-speed error)"},
    {Threshold::UnbalanceShare, FindingKind::Unbalance, 0.5,
     "1× holds at least this share of the ISO spectrum's energy", "ISO 13373-3 (unbalance: dominant 1×)"},
    {Threshold::UnbalanceHarmonics, FindingKind::Unbalance, 0.25, "2× and 3× each below this share of 1×",
     "Scheffer & Girdhar ch. 6 (unbalance: little harmonic content)"},
    {Threshold::MisalignmentTwoX, FindingKind::Misalignment, 0.5, "2× at least this share of 1×",
     "Scheffer & Girdhar ch. 6; ISO 13373-3 (misalignment: 2× above half of 1×)"},
    {Threshold::MisalignmentThreeX, FindingKind::Misalignment, 0.5, "or 3× at least this share of 1×",
     "Scheffer & Girdhar ch. 6 (angular misalignment, high 3×)"},
    {Threshold::LoosenessHarmonics, FindingKind::Looseness, 3, "at least this many harmonics 2×..10× count",
     "ISO 13373-3; Scheffer & Girdhar ch. 6 (looseness: a series of harmonics)"},
    {Threshold::LoosenessHalfOrders, FindingKind::Looseness, 2,
     "or at least this many half-orders 0.5×..9.5× count",
     "Scheffer & Girdhar ch. 6 (looseness: half-order sub-harmonics)"},
    {Threshold::LoosenessLineShare, FindingKind::Looseness, 0.1,
     "a harmonic counts when at least this share of the largest order line", "this program's choice"},
    {Threshold::NoiseFactor, FindingKind::Looseness, 3.0,
     "... and above the median line of 0.5×..10.5× times this factor",
     "as the bearing matching's noise floor"},
    {Threshold::BearingHarmonics, FindingKind::BearingDefect, 2,
     "a bearing family matched with at least this many harmonics in the envelope spectrum (lines a stronger "
     "family already holds are not counted); CRITICAL when as many stand in the velocity spectrum (a later "
     "stage)",
     "Berry 1991 (stage 2: envelope; stage 3: velocity spectrum)"},
    {Threshold::CrestFactor, FindingKind::Impacting, 5.0, "Total crest factor above this",
     "Norton & Karczub § 10.3 (healthy machines stay near 3)"},
    {Threshold::Kurtosis, FindingKind::Impacting, 4.0, "or Total kurtosis above this",
     "Dyer & Stewart 1978 (3 for a healthy, Gaussian signal)"},
    {Threshold::CrestFactorSevere, FindingKind::Impacting, 8.0, "CRITICAL at or above this crest factor",
     "this program's choice"},
    {Threshold::KurtosisSevere, FindingKind::Impacting, 8.0, "CRITICAL at or above this kurtosis",
     "this program's choice"},
};
double ThresholdValue(Threshold id);

// One line or index a finding rests on.
struct Evidence {
    QString source;   // "ISO", "Envelope", "Total"
    double hz = 0;    // the line's frequency (0 for an index)
    double value = 0; // its amplitude, or the index
    QString unit;     // mm/s, gE, "" for an index
    QString text;     // "1× 4.0 mm/s at 25.0 Hz"
};

struct Finding {
    FindingKind kind = FindingKind::NoFinding;
    StatusCode severity = StatusCode::Ok; // Warning or Critical; Ok for "No finding"
    double confidence = 0;                // 0..1
    QString summary;                      // one line: "Unbalance: 1× holds 97 % of the ISO energy"
    std::vector<Evidence> evidence;
};

// What the rules weigh. The ISO spectrum is the stored velocity spectrum in mm/s RMS; the bearing
// matches are those of the point's bearings on the envelope spectrum and on the ISO spectrum.
struct DiagnosisInput {
    double runSpeedHz = 0;
    SpectrumLines iso;
    std::vector<BearingMatch> envelopeMatches;
    double envelopeSpacingHz = 0; // the envelope spectrum's line spacing
    std::vector<BearingMatch> velocityMatches;
    std::optional<double> crest;    // Total channel
    std::optional<double> kurtosis; // Total channel
};

// The findings, most severe first (then by confidence); "No finding" alone when no rule applies.
std::vector<Finding> Diagnose(const DiagnosisInput& input);

// The findings that call for attention (WARNING or CRITICAL), in their order.
std::vector<Finding> AlarmingFindings(const std::vector<Finding>& findings);
// The most severe of the findings: Ok when none calls for attention.
StatusCode FindingsSeverity(const std::vector<Finding>& findings);
// The caption of a kind of finding in the current language (the UI text table).
QString FindingKindText(FindingKind kind);

} // namespace vantor
