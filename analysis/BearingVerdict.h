#pragma once
// Which bearing defect a capture shows: its squared-envelope spectrum judged on a table of
// candidate bands (the pre-whitened full band, the kurtogram's band, the point's own band), the
// families scored on each (FamilyEvidence.h), and the candidate whose evidence is most decisive
// kept. One family is named when it clearly leads, two when both stand on their own lines, else
// "family uncertain" with the candidates; below the healthy threshold nothing is named.

#include "analysis/FamilyEvidence.h"
#include "analysis/WhitenedEnvelope.h"

#include <optional>
#include <span>
#include <vector>

namespace vantor {

enum class BandCandidate { WhitenedFullBand, KurtogramBand, PointBand };
// "whitened full band", "kurtogram band", "point's band".
const char* BandCandidateName(BandCandidate candidate);

// The decision's thresholds (rows of kDiagnosisThresholds, where each names its source).
inline constexpr double kCageScoreFactor = 2.0;
inline constexpr double kSecondFamilyShare = 0.5;
inline constexpr int kFewestOwnLines = 2;
inline constexpr double kNarrowestBandFundamentals = 3.0;

enum class BearingCall { None, One, Two, Uncertain };

struct BearingCandidateResult {
    BandCandidate candidate = BandCandidate::WhitenedFullBand;
    EnvelopeBand band;
    std::vector<FamilyEvidence> families; // by own score, strongest first
    BearingCall call = BearingCall::None;
    std::vector<std::size_t> named; // indices into families: the named (or the candidates)
    double decisiveness = 0;
};

struct BearingVerdict {
    bool analysed = false; // false: no usable capture or no bearing families
    double runSpeedHz = 0; // the speed the families were placed at
    Kurtogram kurtogram;
    std::vector<BearingCandidateResult> candidates; // as judged, in the table's order
    std::size_t chosen = 0;                         // the candidate kept
    const BearingCandidateResult* Chosen() const {
        return analysed && chosen < candidates.size() ? &candidates[chosen] : nullptr;
    }
};

struct BearingCapture {
    std::span<const double> waveform; // g
    double samplingFrequencyHz = 0;
    double runSpeedHz = 0;
    std::optional<EnvelopeBand> pointBand; // the user's band, when set
};

BearingVerdict JudgeBearings(WhitenedEnvelope& work, const BearingCapture& capture,
                             const std::vector<BearingAtPoint>& bearings);
// As above on a capture already given to work.Prepare.
BearingVerdict JudgePrepared(WhitenedEnvelope& work, const BearingCapture& capture,
                             const std::vector<BearingAtPoint>& bearings);

// The call on a set of scored families (strongest first).
BearingCall CallOf(const std::vector<FamilyEvidence>& families, std::vector<std::size_t>& named);

} // namespace vantor
