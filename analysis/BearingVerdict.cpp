#include "analysis/BearingVerdict.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

bool Detected(const FamilyEvidence& f) {
    const double needed = f.family.kind == FaultKind::Ftf ? kCageScoreFactor * kHealthyScore : kHealthyScore;
    if (f.ownScore < needed || f.ownLines < kFewestOwnLines) {
        return false;
    }
    return std::any_of(f.lines.begin(), f.lines.end(), [](const EvidenceLine& l) {
        return l.sideband == 0 && l.stands && !l.shaftLine && !l.taken;
    });
}

// The families' highest line that the SES must hold, with its floor lines.
double HighestLineHz(const std::vector<BearingAtPoint>& bearings, double runSpeedHz, double lineSpacingHz) {
    double highest = 0;
    for (const FaultFamily& family : FaultFamiliesOf(bearings, runSpeedHz, 1)) {
        const FamilySearch& search = SearchOf(family.kind);
        highest =
            std::max(highest, search.harmonics * family.fundamentalHz * (1 + search.tolerancePercent / 100) +
                                  family.sidebandSpacingHz * 1.05);
    }
    return highest + (kFloorLinesEachSide + 8) * lineSpacingHz;
}

double NarrowestBandHz(const std::vector<BearingAtPoint>& bearings, double runSpeedHz) {
    double race = 0;
    double shaft = 0;
    for (const FaultFamily& family : FaultFamiliesOf(bearings, runSpeedHz, 1)) {
        if (family.kind == FaultKind::Bpfi || family.kind == FaultKind::Bpfo) {
            race = std::max(race, family.fundamentalHz);
        }
        shaft = std::max(shaft, runSpeedHz * bearings[static_cast<std::size_t>(family.bearing)].speedRatio);
    }
    return kNarrowestBandFundamentals * race + shaft;
}

BearingCandidateResult Judge(WhitenedEnvelope& work, BandCandidate candidate, EnvelopeBand band,
                             const BearingCapture& capture, const std::vector<BearingAtPoint>& bearings) {
    BearingCandidateResult result;
    result.candidate = candidate;
    result.band = band;
    const SquaredEnvelopeSpectrum ses =
        work.Spectrum(band, HighestLineHz(bearings, capture.runSpeedHz, work.LineSpacingHz()));
    result.families = ScoreFamilies(ses, capture.runSpeedHz, bearings);
    result.call = CallOf(result.families, result.named);
    if (!result.families.empty()) {
        const double second = result.families.size() > 1 ? result.families[1].ownScore : 0.0;
        result.decisiveness = result.families[0].ownScore - second;
    }
    return result;
}

} // namespace

const char* BandCandidateName(BandCandidate candidate) {
    switch (candidate) {
    case BandCandidate::WhitenedFullBand:
        return "whitened full band";
    case BandCandidate::KurtogramBand:
        return "kurtogram band";
    case BandCandidate::PointBand:
        return "point's band";
    }
    return "";
}

BearingCall CallOf(const std::vector<FamilyEvidence>& families, std::vector<std::size_t>& named) {
    named.clear();
    for (std::size_t i = 0; i < families.size(); ++i) {
        if (Detected(families[i])) {
            named.push_back(i);
        }
    }
    if (named.empty()) {
        return BearingCall::None;
    }
    const double leader = families[named.front()].ownScore;
    std::erase_if(named, [&](std::size_t i) {
        return i != named.front() && families[i].ownScore < kSecondFamilyShare * leader;
    });
    // A cage family beside a rolling element's is its confirmation (BSF's sidebands), not a second
    // defect.
    const bool hasBsf = std::any_of(named.begin(), named.end(),
                                    [&](std::size_t i) { return families[i].family.kind == FaultKind::Bsf; });
    if (hasBsf) {
        std::erase_if(named, [&](std::size_t i) { return families[i].family.kind == FaultKind::Ftf; });
    }
    switch (named.size()) {
    case 1:
        return BearingCall::One;
    case 2:
        return BearingCall::Two;
    default:
        return BearingCall::Uncertain;
    }
}

BearingVerdict JudgeBearings(WhitenedEnvelope& work, const BearingCapture& capture,
                             const std::vector<BearingAtPoint>& bearings) {
    if (!work.Prepare(capture.waveform, capture.samplingFrequencyHz)) {
        return {};
    }
    return JudgePrepared(work, capture, bearings);
}

BearingVerdict JudgePrepared(WhitenedEnvelope& work, const BearingCapture& capture,
                             const std::vector<BearingAtPoint>& bearings) {
    BearingVerdict verdict;
    verdict.runSpeedHz = capture.runSpeedHz;
    if (FaultFamiliesOf(bearings, capture.runSpeedHz, 1).empty() || !(work.SamplingFrequencyHz() > 0)) {
        return verdict;
    }
    const double nyquist = work.SamplingFrequencyHz() / 2;
    verdict.kurtogram = work.ComputeKurtogram(NarrowestBandHz(bearings, capture.runSpeedHz), 0, nyquist);
    // The candidate bands, judged alike (Randall & Antoni 2011 § 3.2-3.3: the whitened full band
    // when the resonance is unknown, the kurtogram's band where impacts dominate; the user's band
    // when the point sets one).
    verdict.candidates.push_back(
        Judge(work, BandCandidate::WhitenedFullBand, {0, nyquist}, capture, bearings));
    if (!verdict.kurtogram.cells.empty()) {
        verdict.candidates.push_back(
            Judge(work, BandCandidate::KurtogramBand, verdict.kurtogram.best.band, capture, bearings));
    }
    if (capture.pointBand && capture.pointBand->lowHz > 0 &&
        capture.pointBand->lowHz < capture.pointBand->highHz) {
        verdict.candidates.push_back(
            Judge(work, BandCandidate::PointBand, *capture.pointBand, capture, bearings));
    }
    // The most decisive: the leader's lead over the next family.
    for (std::size_t i = 1; i < verdict.candidates.size(); ++i) {
        if (verdict.candidates[i].decisiveness > verdict.candidates[verdict.chosen].decisiveness) {
            verdict.chosen = i;
        }
    }
    verdict.analysed = true;
    return verdict;
}

} // namespace vantor
