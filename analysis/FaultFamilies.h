#pragma once
// The fault-frequency families of the bearings a point watches: for each bearing its four families
// (inner race, outer race, cage, rolling element) in Hz at a run speed, each with its harmonics and
// the sidebands that modulate it.

#include "analysis/BearingFactors.h"
#include "records/Bearings.h"

#include <QString>

#include <vector>

namespace vantor {

// In the order of the bearing cursor's fault records: IR, OR, CG, RE.
enum class FaultKind : int { Bpfi = 0, Bpfo = 1, Ftf = 2, Bsf = 3 };
inline constexpr int kFaultKindCount = 4;
inline constexpr FaultKind kFaultKinds[kFaultKindCount] = {FaultKind::Bpfi, FaultKind::Bpfo, FaultKind::Ftf,
                                                           FaultKind::Bsf};

inline constexpr int kDefaultFaultHarmonics = 5;
inline constexpr int kMostFaultHarmonics = 20;

// "BPFI", "BPFO", "FTF", "BSF".
QString FaultName(FaultKind kind);
double FactorOf(const BearingFactors& factors, FaultKind kind);

// One bearing as a point watches it.
struct BearingAtPoint {
    QString assignmentGuid;
    QString bearingGuid;
    QString designation;
    QString location;
    BearingFactors factors;
    double speedRatio = 1; // its shaft turns at ratio × the point's run speed
};

// One line of a family: harmonic n of the fundamental, or its lower (-1) or upper (+1) sideband.
struct FamilyLine {
    int harmonic = 1;
    int sideband = 0;
    double hz = 0;
};

struct FaultFamily {
    int bearing = 0; // index into the point's bearings
    FaultKind kind = FaultKind::Bpfi;
    double fundamentalHz = 0;
    double sidebandSpacingHz = 0;  // 0 for a family without sidebands
    std::vector<FamilyLine> lines; // harmonic by harmonic: lower sideband, harmonic, upper sideband
};

// The four families of one bearing at the point's run speed, harmonics 1..`harmonics` (clamped to
// 1..kMostFaultHarmonics). The bearing's shaft speed is run speed × ratio. BPFI carries sidebands
// at ± that shaft speed (an inner-race defect turns with the shaft through the load zone), BSF at
// ± FTF (a rolling element's defect turns with the cage); lower sidebands at or below 0 Hz are
// left out.
std::vector<FaultFamily> FaultFamiliesOf(const BearingAtPoint& bearing, int bearingIndex, double runSpeedHz,
                                         int harmonics = kDefaultFaultHarmonics);
// The families of every bearing of the point, bearing by bearing.
std::vector<FaultFamily> FaultFamiliesOf(const std::vector<BearingAtPoint>& bearings, double runSpeedHz,
                                         int harmonics = kDefaultFaultHarmonics);

// The span (Hz from 0) an envelope spectrum opens on: every fault family of the point's bearings to
// its 10th harmonic, with a little room; 0 without bearings or run speed (the full spectrum).
double EnvelopeOpeningSpan(const std::vector<BearingAtPoint>& bearings, double runSpeedHz);

} // namespace vantor
