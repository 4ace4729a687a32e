#pragma once
// The shaft speed read from a capture's spectrum near the stored run speed: of the speeds whose 1×
// line stands, the one whose harmonics 1×..10× together stand highest over the spectrum's median (a harmonic
// sum, after A. M. Noll, "Pitch determination of human speech by the harmonic product spectrum, the harmonic
// sum spectrum and a maximum likelihood estimate", 1969), refined by the interpolated peaks of the
// harmonics that stand (Gaussian interpolation of a Hann-windowed line: M. Gasior, J. L. Gonzalez,
// "Improving FFT frequency measurement resolution by parabolic and Gaussian spectrum
// interpolation", AIP Conf. Proc. 732 (2004)) fitted through the origin by least squares.

#include <optional>
#include <span>

namespace vantor {

struct RunSpeedSearch {
    double rangePercent = 10.0; // the estimate lies within ± this of the stored speed
    int harmonics = 10;
    double standsOverMedian = 4.0; // a harmonic is used for the refinement from this height
    int fewestHarmonics = 2;       // that stand; fewer give no estimate
    // An interpolated line's peak is trusted to this fraction of a line (Gasior & Gonzalez 2004
    // give a few hundredths for a clean Hann line; noise and neighbours make it worse). The
    // estimate is given only when this error, divided by the highest harmonic that stood, is at
    // most `finestShare` of the speed: a capture too short to resolve the speed gives none.
    double trustedLineFraction = 0.1;
    double finestShare = 0.005;
};

struct RunSpeedEstimate {
    double hz = 0;
    int harmonics = 0; // that stood and were fitted
};

// A magnitude spectrum (any unit; line k at k × lineSpacingHz, Hann window) and the stored speed.
// None when the stored speed or spacing is not a finite positive number, too few harmonics stand,
// the capture's lines are too coarse to resolve the speed, or the best speed lies at the edge of
// the searched range (the true one is then likely outside it).
std::optional<RunSpeedEstimate> EstimateRunSpeed(std::span<const double> magnitudes, double lineSpacingHz,
                                                 double storedHz, const RunSpeedSearch& search = {});

// Whether the diagnosis uses an estimate instead of the stored speed: off by more than this share.
inline constexpr double kRunSpeedUseEstimateShare = 0.01;
// ... and by no more than this share: a larger difference is more likely another line of the machine
// than a wrong stored speed, and the stored one is kept (with a note).
inline constexpr double kRunSpeedUseEstimateMostShare = 0.05;

} // namespace vantor
