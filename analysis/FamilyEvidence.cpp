#include "analysis/FamilyEvidence.h"

#include "analysis/FaultMatching.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

struct Peak {
    int index = -1;
    double value = 0;
};

// How near a shaft harmonic a line is the shaft's: two lines, but never more than 15 % of the shaft
// speed, so that a short capture (lines a quarter of the shaft speed apart) does not give every
// line of its envelope spectrum to the shaft.
double ShaftToleranceHz(double df, double shaftHz) {
    return std::min(2 * df, 0.15 * shaftHz);
}

// Whether line i lies on a harmonic of the shaft.
bool OnShaftHarmonic(int i, double df, double shaftHz) {
    if (!(shaftHz > 0)) {
        return false;
    }
    const double hz = i * df;
    const double order = std::round(hz / shaftHz);
    return order >= 1 && std::abs(hz - order * shaftHz) <= ShaftToleranceHz(df, shaftHz);
}

// The largest line within [first, last] that stands above both neighbours, passing over lines on
// the shaft's harmonics when shaftHz is given (a shaft harmonic in the window must not hide the
// family's own line).
Peak LargestPeak(const std::vector<double>& lines, int first, int last, double df, double shaftHz) {
    Peak peak;
    const int size = static_cast<int>(lines.size());
    for (int i = std::max(first, 1); i <= std::min(last, size - 2); ++i) {
        const double v = lines[static_cast<std::size_t>(i)];
        if (v > lines[static_cast<std::size_t>(i - 1)] && v >= lines[static_cast<std::size_t>(i + 1)] &&
            v > peak.value && !OnShaftHarmonic(i, df, shaftHz)) {
            peak = {i, v};
        }
    }
    return peak;
}

// The line measured at expectedHz ± window: its peak over the median of kFloorLinesEachSide lines
// either side of the window.
EvidenceLine Measure(const SquaredEnvelopeSpectrum& ses, int harmonic, int sideband, double expectedHz,
                     double windowHz, double shaftHz) {
    EvidenceLine line;
    line.harmonic = harmonic;
    line.sideband = sideband;
    line.expectedHz = expectedHz;
    const double df = ses.lineSpacingHz;
    const int size = static_cast<int>(ses.lines.size());
    // Checked as doubles before any conversion: a far line (a large factor or ratio) is outside.
    const double firstLine = std::ceil((expectedHz - windowHz) / df);
    const double lastLine = std::floor((expectedHz + windowHz) / df);
    if (!(firstLine >= 2) || !(lastLine + kFloorLinesEachSide < size)) {
        return line;
    }
    const auto first = static_cast<int>(firstLine);
    const auto last = static_cast<int>(lastLine);
    const Peak peak = LargestPeak(ses.lines, first, last, ses.lineSpacingHz, shaftHz);
    if (peak.index < 0) {
        return line;
    }
    std::vector<double> floorLines;
    floorLines.reserve(2 * kFloorLinesEachSide);
    for (int i = std::max(1, first - kFloorLinesEachSide); i < first; ++i) {
        floorLines.push_back(ses.lines[static_cast<std::size_t>(i)]);
    }
    for (int i = last + 1; i <= last + kFloorLinesEachSide; ++i) {
        floorLines.push_back(ses.lines[static_cast<std::size_t>(i)]);
    }
    const double floor = MedianOf(std::move(floorLines));
    if (!(floor > 0)) {
        return line;
    }
    line.hz = peak.index * df;
    line.overNoise = peak.value / floor;
    line.excessDb = 20 * std::log10(line.overNoise / NoiseMaximumRatio(last - first + 1));
    line.stands = line.excessDb >= kLineStandsDb;
    return line;
}

double LineScore(const EvidenceLine& line, double weight) {
    return line.stands && !line.shaftLine && !line.taken ? weight * std::min(line.excessDb, kLineMostDb)
                                                         : 0.0;
}

double Weight(const FamilySearch& search, const EvidenceLine& line) {
    return line.sideband == 0 ? search.weights[std::clamp(line.harmonic, 1, 4) - 1] : search.sidebandWeight;
}

void Total(FamilyEvidence& evidence) {
    const FamilySearch& search = SearchOf(evidence.family.kind);
    evidence.harmonicScore = 0;
    std::vector<double> ratios;
    for (const EvidenceLine& line : evidence.lines) {
        if (line.sideband == 0 && line.stands && !line.shaftLine && !line.taken) {
            evidence.harmonicScore += Weight(search, line) * std::min(line.excessDb, kLineMostDb);
            ratios.push_back(line.hz / line.expectedHz);
        }
    }
    evidence.observedRatio = ratios.empty() ? 1.0 : MedianOf(std::move(ratios));
    evidence.score = 0;
    evidence.ownScore = 0;
    evidence.ownLines = 0;
    // Lines run harmonic by harmonic, each followed by its sidebands: a sideband confirms only a
    // harmonic the family holds itself.
    bool carrierOwn = false;
    for (EvidenceLine& line : evidence.lines) {
        if (line.sideband == 0) {
            carrierOwn = line.stands && !line.shaftLine && !line.taken;
        } else if (!carrierOwn) {
            line.taken = true;
        }
        const double weight = Weight(search, line);
        if (line.stands && !line.shaftLine) {
            evidence.score += weight * std::min(line.excessDb, kLineMostDb);
        }
        const double own = LineScore(line, weight);
        evidence.ownScore += own;
        evidence.ownLines += own > 0 ? 1 : 0;
    }
}

FamilyEvidence ScoreFamily(const SquaredEnvelopeSpectrum& ses, const FaultFamily& family, double shaftHz) {
    const FamilySearch& search = SearchOf(family.kind);
    FamilyEvidence evidence;
    evidence.family = family;
    const double df = ses.lineSpacingHz;
    for (int h = 1; h <= search.harmonics; ++h) {
        const double expected = h * family.fundamentalHz;
        const double window = std::max(expected * search.tolerancePercent / 100.0, 2 * df);
        EvidenceLine line = Measure(ses, h, 0, expected, window, shaftHz);
        // A peak on a harmonic of the shaft is the shaft's (modulation by unbalance, misalignment,
        // looseness) whenever the family's window reaches it.
        const double order = std::round(line.hz / shaftHz);
        line.shaftLine = line.stands && order >= 1 &&
                         std::abs(line.hz - order * shaftHz) <= ShaftToleranceHz(df, shaftHz) &&
                         std::abs(order * shaftHz - expected) <= window;
        evidence.lines.push_back(line);
        if (search.sidebandWeight <= 0 || family.sidebandSpacingHz <= 0 || !line.stands || line.shaftLine) {
            continue;
        }
        // Sidebands around the harmonic's own peak (slip moves them together).
        const double sideWindow = std::max(2 * df, 0.02 * family.sidebandSpacingHz);
        for (const int side : {-1, 1}) {
            // BPFI's sidebands are 1× away from a line that is not on a shaft harmonic, so none of
            // them is; BSF's may be.
            EvidenceLine band = Measure(ses, h, side, line.hz + side * family.sidebandSpacingHz, sideWindow,
                                        family.kind == FaultKind::Bpfi ? 0.0 : shaftHz);
            evidence.lines.push_back(band);
        }
    }
    Total(evidence);
    return evidence;
}

} // namespace

const FamilySearch& SearchOf(FaultKind kind) {
    for (const FamilySearch& search : kFamilySearches) {
        if (search.kind == kind) {
            return search;
        }
    }
    return kFamilySearches[0];
}

double NoiseMaximumRatio(int lines) {
    if (lines <= 1) {
        return 1.0;
    }
    const double p = std::pow(0.5, 1.0 / lines);
    return std::sqrt(-std::log(1.0 - p) / std::log(2.0));
}

std::vector<FamilyEvidence> ScoreFamilies(const SquaredEnvelopeSpectrum& ses, double runSpeedHz,
                                          const std::vector<BearingAtPoint>& bearings) {
    std::vector<FamilyEvidence> all;
    if (!(ses.lineSpacingHz > 0) || ses.lines.empty()) {
        return all;
    }
    for (const FaultFamily& family : FaultFamiliesOf(bearings, runSpeedHz, 1)) {
        const double shaftHz = runSpeedHz * bearings[static_cast<std::size_t>(family.bearing)].speedRatio;
        all.push_back(ScoreFamily(ses, family, shaftHz));
    }
    // The family whose harmonics stand highest holds its lines first (sidebands confirm, they do
    // not order); a weaker family's line on a held line or on the series of a family that stands is
    // no evidence for it.
    std::stable_sort(all.begin(), all.end(), [](const FamilyEvidence& a, const FamilyEvidence& b) {
        return a.harmonicScore > b.harmonicScore;
    });
    const double df = ses.lineSpacingHz;
    std::vector<double> held;
    for (FamilyEvidence& evidence : all) {
        for (EvidenceLine& line : evidence.lines) {
            if (!line.stands || line.shaftLine) {
                continue;
            }
            line.taken = std::any_of(held.begin(), held.end(), [&](double hz) {
                return std::abs(hz - line.hz) <= std::max(2 * df, 0.003 * hz);
            });
        }
        Total(evidence);
        for (const EvidenceLine& line : evidence.lines) {
            if (line.stands && !line.shaftLine && !line.taken) {
                held.push_back(line.hz);
            }
        }
        if (evidence.ownScore >= kHealthyScore) {
            const double found = evidence.family.fundamentalHz * evidence.observedRatio;
            for (int h = 1; h <= kSeriesHarmonics; ++h) {
                held.push_back(h * found);
            }
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const FamilyEvidence& a, const FamilyEvidence& b) {
        return a.ownScore > b.ownScore;
    });
    return all;
}

} // namespace vantor
