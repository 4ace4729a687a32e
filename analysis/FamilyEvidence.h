#pragma once
// How strongly each bearing fault family stands in a squared-envelope spectrum (SES), and which
// family the evidence names. Each family's lines are measured by their height over the LOCAL noise
// floor (the median of the lines either side of the search window), less the height the largest of
// that many noise lines reaches by chance; the family's score adds these excesses of its harmonics,
// with its own confirmation: BPFI's ±1× sidebands (an inner-race defect turns through the load
// zone), BSF's ±FTF sidebands and its even harmonics (a rolling element strikes both races). A line
// on a shaft harmonic, or one a stronger family holds, is no evidence.
//
// Sources: R. B. Randall, J. Antoni, "Rolling element bearing diagnostics - a tutorial", MSSP 25
// (2011) 485-520 (§ 2: slip of 1-2 %, sidebands; § 3: SES); the noise maximum: the largest of n
// Rayleigh-distributed magnitudes (a noise SES line), whose median is σ·√(−2 ln(1 − 0.5^(1/n))).

#include "analysis/FaultFamilies.h"
#include "analysis/WhitenedEnvelope.h"

#include <span>
#include <vector>

namespace vantor {

// How each family is searched: harmonics, tolerance (slip and run-speed error), weights.
struct FamilySearch {
    FaultKind kind;
    int harmonics;
    double tolerancePercent; // ± of the expected frequency
    double weights[4];       // of harmonics 1..4
    double sidebandWeight;   // of each sideband that stands (BPFI ±1×, BSF ±FTF)
    const char* source;
};
inline constexpr FamilySearch kFamilySearches[] = {
    {FaultKind::Bpfo,
     4,
     2.0,
     {1.0, 1.0, 0.7, 0.5},
     0.0,
     "Randall & Antoni 2011 § 2.1: outer race fixed, harmonics of BPFO, slip 1-2 %"},
    {FaultKind::Bpfi,
     4,
     2.0,
     {1.0, 1.0, 0.7, 0.5},
     0.5,
     "Randall & Antoni 2011 § 2.1: harmonics of BPFI with ±1× sidebands"},
    {FaultKind::Bsf,
     4,
     3.0,
     {0.5, 1.0, 0.5, 0.8},
     0.5,
     "Randall & Antoni 2011 § 2.1: 2×BSF (both races struck), ±FTF sidebands, more slip"},
    {FaultKind::Ftf, 3, 3.0, {1.0, 0.7, 0.5, 0.0}, 0.0, "Randall & Antoni 2011 § 2.1: cage, rarely alone"},
};
const FamilySearch& SearchOf(FaultKind kind);

// Lines either side of the search window whose median is the local floor.
inline constexpr int kFloorLinesEachSide = 40;
// A line stands when its excess over the noise maximum reaches this (dB).
inline constexpr double kLineStandsDb = 3.0;
// One line adds at most this (dB) to its family's score.
inline constexpr double kLineMostDb = 15.0;

struct EvidenceLine {
    int harmonic = 1;
    int sideband = 0; // −1, 0, +1
    double expectedHz = 0;
    double hz = 0;        // the peak found in the window
    double overNoise = 0; // peak / local floor
    double excessDb = 0;  // over the noise maximum of the window
    bool stands = false;
    bool shaftLine = false; // on a harmonic of shaft speed: no evidence
    bool taken = false;     // a stronger family holds the line
};

// A family from this score holds its lines and the rest of its series against weaker families.
inline constexpr double kHealthyScore = 12.0;
// Harmonics of a family's series that claim lines from weaker families.
inline constexpr int kSeriesHarmonics = 10;

struct FamilyEvidence {
    FaultFamily family;
    std::vector<EvidenceLine> lines;
    double harmonicScore = 0; // its standing harmonics alone (no sidebands): the order of claims
    double observedRatio = 1; // its harmonics' found / expected frequency (slip), median
    double score = 0;         // every standing line
    double ownScore = 0;      // without lines a stronger family holds
    int ownLines = 0;
};

// Every family of every bearing measured on the SES (shaft speed = runSpeedHz × the bearing's
// ratio), then the lines shared out: the family whose harmonics stand highest first holds its lines
// and, once its score reaches kHealthyScore, every line of a weaker family on its series (1×..10×
// of its fundamental as found, slip included). Families whose fundamental is not
// finite and positive are left out.
std::vector<FamilyEvidence> ScoreFamilies(const SquaredEnvelopeSpectrum& ses, double runSpeedHz,
                                          const std::vector<BearingAtPoint>& bearings);

// The median of a noise maximum among n lines over the median line (1 for one line).
double NoiseMaximumRatio(int lines);

} // namespace vantor
