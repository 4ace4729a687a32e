#pragma once
// The automatic diagnosis of one reading: a small rule set over the ISO velocity spectrum (ratios of
// the run-speed orders), the bearing families matched on the envelope and velocity spectra, and the
// Total channel's waveform indices. Each rule that applies gives a finding with its severity (as a
// status word), a confidence from 0 to 1 and the evidence it rests on; a reading where none applies
// gives the single finding "No finding". Every threshold is a row of kDiagnosisThresholds.

#include "analysis/AlarmStatus.h"
#include "analysis/BearingVerdict.h"
#include "analysis/FaultMatching.h"
#include "analysis/RunSpeedEstimate.h"
#include "analysis/SeverityZones.h"

#include <QString>
#include <QStringList>

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
    ZoneAB,      // zone A/B of the default machine class (mm/s RMS)
    ZoneBC,      // zone B/C of the default machine class
    ZoneCD,      // zone C/D of the default machine class
    ZoneABShare, // with the point's own ISO levels: A/B as this share of its warning level
    OrderTolerancePercent,
    UnbalanceShare,       // 1×'s share of the ISO overall energy
    UnbalanceHarmonics,   // 2× and 3× each below this share of 1×
    MisalignmentTwoX,     // 2× at or above this share of 1×
    MisalignmentThreeX,   // or 3× at or above this share of 1×
    LoosenessHarmonics,   // this many harmonics 2×..10× counted
    LoosenessHalfOrders,  // or this many half-orders 0.5×..9.5× counted
    LoosenessLineShare,   // a harmonic counts when at least this share of the largest order line
    NoiseFactor,          // ... and above the median of the order span times this factor
    BearingHarmonics,     // without a capture: a family matched with this many envelope harmonics
    BearingScore,         // a family's evidence score in the squared-envelope spectrum
    BearingCageFactor,    // FTF needs this many times the score
    BearingSecondShare,   // a second family named from this share of the leader's score
    BearingOwnLines,      // lines of its own a named family needs
    BearingNarrowestBand, // the kurtogram's narrowest band, in race frequencies (plus 1×)
    RunSpeedEstimate,     // the estimated run speed replaces the stored one when this share off
    CrestFactor,          // impacting above this crest factor (Total)
    Kurtosis,             // or above this kurtosis (Total)
    CrestFactorSevere,    // CRITICAL at or above
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
// How severe a finding is. The patterns of the ISO velocity spectrum (unbalance, misalignment,
// looseness) say what is wrong, not how badly: their stage is the zone of the reading's ISO velocity
// overall, the measure the zones of ISO 10816-3:1998 / ISO 20816-1:2016 judge. A pattern is weighed
// once its key line reaches the A/B boundary; in zone B (A/B up to B/C) the finding is noted with
// the status word OK (worth watching, no action, as the standard reads zone B), WARNING from B/C,
// CRITICAL from C/D. A point with ISO alarms on supplies its own B/C and C/D (its warning and
// critical levels, compared as its documented status compares them, so a finding is never WARNING
// where that status is OK) and its A/B as a share of its warning level; a point without them is
// judged as group 2 on a rigid foundation, the most demanding class of ISO 10816-3.
// The bearing and impacting rules judge the envelope and the Total waveform's statistics, which no
// documented alarm judges: they keep their own stages (envelope only WARNING, also in the velocity
// spectrum CRITICAL, after Berry; impact statistics by their onset and severe values).
// Spectral patterns after ISO 13373-3:2015 (guidelines for vibration diagnosis) and R. Scheffer,
// P. Girdhar, "Practical Machinery Vibration Analysis and Predictive Maintenance" (2004), ch. 6;
// bearing stages after J. E. Berry, "How to Track Rolling Element Bearing Health with Vibration
// Signature Analysis", Sound and Vibration, Nov. 1991; impact statistics after D. Dyer,
// R. M. Stewart, "Detection of Rolling Element Bearing Damage by Statistical Vibration Analysis",
// J. Mech. Design 100 (1978) and M. P. Norton, D. G. Karczub, "Fundamentals of Noise and Vibration
// Analysis for Engineers" (2nd ed., 2003), § 10.3.
inline constexpr DiagnosisThreshold kDiagnosisThresholds[] = {
    {Threshold::ZoneAB, FindingKind::NoFinding, 1.4,
     "a pattern whose key line (mm/s RMS) is below the A/B boundary is not weighed; from it a finding is "
     "noted (OK)",
     "ISO 10816-3 zone A/B, group 2 rigid"},
    {Threshold::ZoneBC, FindingKind::NoFinding, 2.8, "WARNING when the ISO overall (mm/s RMS) reaches B/C",
     "ISO 10816-3 zone B/C, group 2 rigid"},
    {Threshold::ZoneCD, FindingKind::NoFinding, 4.5, "CRITICAL when the ISO overall reaches C/D",
     "ISO 10816-3 zone C/D, group 2 rigid"},
    {Threshold::ZoneABShare, FindingKind::NoFinding, 0.5,
     "a point with ISO alarms on: B/C and C/D are its warning and critical levels, A/B this share of its "
     "warning level",
     "ISO 10816-3 zone tables: A/B is half of B/C in every group (1.4/2.8, 2.3/4.5, 3.5/7.1)"},
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
     "a named bearing family is WARNING; CRITICAL when at least this many of its harmonics stand in the "
     "velocity spectrum (a later stage). A reading without a usable Total capture: a family matched with "
     "this many harmonics in the envelope spectrum (lines a stronger family holds not counted)",
     "Berry 1991 (stage 2: envelope; stage 3: velocity spectrum)"},
    {Threshold::BearingScore, FindingKind::BearingDefect, kHealthyScore,
     "a family is named from this evidence score: the sum over its harmonics (and BPFI's ±1×, BSF's ±FTF "
     "sidebands) of each line's dB over the local noise floor of the pre-whitened squared-envelope spectrum "
     "less the largest of its window's noise lines (weighted, each line at most 15 dB, a line from 3 dB), on "
     "the most decisive of the whitened full band, the kurtogram's band and the point's band",
     "Sawalhi & Randall 2011, Borghesani et al. MSSP 36 (2013) (pre-whitening); Antoni, MSSP 21 (2007) "
     "108-124 (fast kurtogram); Randall & Antoni, MSSP 25 (2011) 485-520 (SES, slip, sidebands); value set "
     "on healthy signals (noise with shaft harmonics, the demo's clean motor, the meter emulator)"},
    {Threshold::BearingCageFactor, FindingKind::BearingDefect, kCageScoreFactor,
     "FTF is named alone only from this many times the score (beside BSF it confirms BSF)",
     "Randall & Antoni 2011 § 2.1 (cage faults seldom show alone)"},
    {Threshold::BearingSecondShare, FindingKind::BearingDefect, kSecondFamilyShare,
     "a second family is named when its own lines (none a stronger family or a shaft harmonic holds) score "
     "at least this share of the leader's; three or more: family uncertain",
     "this program's choice"},
    {Threshold::BearingOwnLines, FindingKind::BearingDefect, kFewestOwnLines,
     "a named family stands on at least this many lines of its own, one a harmonic", "this program's choice"},
    {Threshold::BearingNarrowestBand, FindingKind::BearingDefect, kNarrowestBandFundamentals,
     "the kurtogram's narrowest band: this many times the highest race frequency, plus 1×",
     "Randall & Antoni 2011 § 3.2 (the band must hold the modulation)"},
    {Threshold::RunSpeedEstimate, FindingKind::NoFinding, kRunSpeedUseEstimateShare,
     "the run speed estimated from the Total spectrum (1×..10×, within ±10 % of the stored one) replaces the "
     "stored one when they differ by more than this share",
     "harmonic sum (Noll 1969) with Gaussian peak interpolation (Gasior & Gonzalez 2004)"},
    {Threshold::CrestFactor, FindingKind::Impacting, 5.0, "WARNING above this Total crest factor",
     "Norton & Karczub § 10.3 (healthy machines stay near 3)"},
    {Threshold::Kurtosis, FindingKind::Impacting, 4.0, "or above this Total kurtosis",
     "Dyer & Stewart 1978 (3 for a healthy, Gaussian signal)"},
    {Threshold::CrestFactorSevere, FindingKind::Impacting, 8.0, "CRITICAL at or above this crest factor",
     "this program's choice (well past the onset)"},
    {Threshold::KurtosisSevere, FindingKind::Impacting, 8.0, "CRITICAL at or above this kurtosis",
     "this program's choice (twice the onset)"},
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
    StatusCode severity = StatusCode::Ok; // Warning or Critical; Ok for a noted finding and "No finding"
    double confidence = 0;                // 0..1
    QString summary;                      // one line: "Unbalance: 1× holds 97 % of the ISO energy"
    std::vector<Evidence> evidence;
    QString nextStep; // what to do next, in the current language (empty when nothing is advised)
    // A bearing finding's families ("BPFO", "BPFI", "BSF", "FTF"): the one it names, or the
    // candidates when the family is uncertain.
    QStringList families;
};

// What the rules weigh. The ISO spectrum is the stored velocity spectrum in mm/s RMS; the bearing
// matches are those of the point's bearings on the envelope spectrum and on the ISO spectrum.
// The zone boundaries (mm/s RMS) that stage the ISO spectrum's findings.
struct DiagnosisZones {
    double ab = 0;
    double bc = 0;
    double cd = 0;
};
// The point's own (ISO alarms on with a warning level above 0 and a critical level not below it),
// else the table's default class.
DiagnosisZones DiagnosisZonesOf(const CVib& point);
// A point judged by ISO 20816-3 is staged by the velocity boundaries of its group and support (the
// point's severity standard); without them as above.
DiagnosisZones DiagnosisZonesOf(const CVib& point, const std::optional<ZoneBoundaries>& standardVelocity);
DiagnosisZones DefaultDiagnosisZones();

struct DiagnosisInput {
    double runSpeedHz = 0;
    DiagnosisZones zones = DefaultDiagnosisZones();
    // The reading's ISO velocity overall as stored (mm/s RMS); without it, the RMS of the ISO lines.
    std::optional<double> isoOverallMms;
    SpectrumLines iso;
    std::vector<BearingMatch> envelopeMatches;
    double envelopeSpacingHz = 0; // the envelope spectrum's line spacing
    std::vector<BearingMatch> velocityMatches;
    std::optional<double> crest;    // Total channel
    std::optional<double> kurtosis; // Total channel
    // The bearing families judged on the Total capture; when present they decide the bearing
    // findings (envelopeMatches are then not weighed).
    std::optional<BearingVerdict> bearingVerdict;
    std::vector<BearingAtPoint> bearings; // the verdict's bearings, by index
    // The stored run speed when runSpeedHz is an estimate that differs from it.
    std::optional<double> storedRunSpeedHz;
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
