#pragma once
// Matching a reading's spectrum against the fault families of a point's bearings: each expected
// line takes the largest spectrum peak (a line above both neighbours) within a tolerance around it, and each
// family counts the harmonics that stand above its noise floor. The families follow the reading's own run
// speed, so a corrected run speed moves them. This is the evidence the diagnosis rules weigh.

#include "analysis/DisplayedSpectrum.h"
#include "analysis/FaultFamilies.h"

#include <span>
#include <vector>

namespace vantor {

struct MatchSettings {
    int harmonics = kDefaultFaultHarmonics;
    // Half-width of the search window, percent of the expected frequency (slip, run-speed error);
    // never narrower than one line.
    double tolerancePercent = 2.0;
    // The noise floor is the median of the lines in the family's span times this factor.
    double noiseFactor = 3.0;
};

// The lines to search: amplitudes (any unit) spaced lineSpacingHz apart, line i at i × spacing,
// searched from `first` up to but excluding `end`.
struct SpectrumLines {
    std::span<const double> amplitudes;
    double lineSpacingHz = 0;
    int first = 0;
    int end = 0;
};
// The lines from `lowHz` to `highHz`, both included, within the searched range: [first, end).
struct LineSpan {
    int first = 0;
    int end = 0; // exclusive
    bool Empty() const { return end <= first; }
};
LineSpan LinesBetween(const SpectrumLines& spectrum, double lowHz, double highHz);
// The median of the values (the mean of the middle two for an even count); 0 for none.
double MedianOf(std::vector<double> values);

// The lines a view shows of a displayed spectrum, at their frequencies in Hz.
SpectrumLines LinesOf(const DisplayedSpectrum& spectrum);

struct LineMatch {
    FamilyLine expected;
    bool found = false; // a peak lies within the window
    double matchedHz = 0;
    double amplitude = 0;
    bool aboveNoise = false; // found, and greater than the family's noise floor
};

struct FamilyMatch {
    FaultFamily family;
    std::vector<LineMatch> lines; // as family.lines
    double noiseFloor = 0;
    int matchedHarmonics = 0; // harmonics (not sidebands) above the noise floor
};

struct BearingMatch {
    BearingAtPoint bearing;
    std::vector<FamilyMatch> families; // IR, OR, CG, RE
};

// The window around an expected frequency: ± tolerance percent, at least ± one line spacing.
double MatchWindowHz(double expectedHz, double lineSpacingHz, double tolerancePercent);

// One family against the spectrum.
FamilyMatch MatchFamily(const SpectrumLines& spectrum, const FaultFamily& family,
                        const MatchSettings& settings);

// Every family of every bearing of the point at the reading's run speed.
std::vector<BearingMatch> MatchBearingFaults(const SpectrumLines& spectrum, double runSpeedHz,
                                             const std::vector<BearingAtPoint>& bearings,
                                             const MatchSettings& settings = {});

} // namespace vantor
