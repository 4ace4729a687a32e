#include "analysis/FaultFamilies.h"

#include <algorithm>
#include <cmath>

namespace vantor {

QString FaultName(FaultKind kind) {
    switch (kind) {
    case FaultKind::Bpfi:
        return QStringLiteral("BPFI");
    case FaultKind::Bpfo:
        return QStringLiteral("BPFO");
    case FaultKind::Ftf:
        return QStringLiteral("FTF");
    case FaultKind::Bsf:
        return QStringLiteral("BSF");
    }
    return {};
}

double FactorOf(const BearingFactors& factors, FaultKind kind) {
    switch (kind) {
    case FaultKind::Bpfi:
        return factors.bpfi;
    case FaultKind::Bpfo:
        return factors.bpfo;
    case FaultKind::Ftf:
        return factors.ftf;
    case FaultKind::Bsf:
        return factors.bsf;
    }
    return 0;
}

std::vector<FaultFamily> FaultFamiliesOf(const BearingAtPoint& bearing, int bearingIndex, double runSpeedHz,
                                         int harmonics) {
    harmonics = std::clamp(harmonics, 1, kMostFaultHarmonics);
    const double shaftHz = runSpeedHz * bearing.speedRatio;
    std::vector<FaultFamily> families;
    // A stored speed or factor that is not a finite positive number gives no families (checked
    // before any use, so that no frequency is NaN or infinite).
    const auto usable = [](double v) { return std::isfinite(v) && v > 0; };
    if (!usable(runSpeedHz) || !usable(bearing.speedRatio) || !usable(shaftHz)) {
        return families;
    }
    for (const FaultKind kind : kFaultKinds) {
        if (!usable(FactorOf(bearing.factors, kind)) ||
            !usable(FactorOf(bearing.factors, kind) * shaftHz * harmonics)) {
            return families;
        }
    }
    for (const FaultKind kind : kFaultKinds) {
        FaultFamily family;
        family.bearing = bearingIndex;
        family.kind = kind;
        family.fundamentalHz = FactorOf(bearing.factors, kind) * shaftHz;
        if (kind == FaultKind::Bpfi) {
            family.sidebandSpacingHz = shaftHz;
        } else if (kind == FaultKind::Bsf) {
            family.sidebandSpacingHz = bearing.factors.ftf * shaftHz;
        }
        for (int n = 1; n <= harmonics; ++n) {
            const double hz = family.fundamentalHz * n;
            for (const int side : {-1, 0, 1}) {
                if (side != 0 && family.sidebandSpacingHz <= 0) {
                    continue;
                }
                const double at = hz + side * family.sidebandSpacingHz;
                if (at > 0) {
                    family.lines.push_back({n, side, at});
                }
            }
        }
        families.push_back(std::move(family));
    }
    return families;
}

std::vector<FaultFamily> FaultFamiliesOf(const std::vector<BearingAtPoint>& bearings, double runSpeedHz,
                                         int harmonics) {
    std::vector<FaultFamily> families;
    for (std::size_t i = 0; i < bearings.size(); ++i) {
        for (FaultFamily& family : FaultFamiliesOf(bearings[i], static_cast<int>(i), runSpeedHz, harmonics)) {
            families.push_back(std::move(family));
        }
    }
    return families;
}

double EnvelopeOpeningSpan(const std::vector<BearingAtPoint>& bearings, double runSpeedHz) {
    // The families' 10th harmonics (with their sidebands) and a little room beyond them.
    constexpr int kOpeningHarmonics = 10;
    constexpr double kOpeningRoom = 1.05;
    double reach = 0;
    for (const FaultFamily& family : FaultFamiliesOf(bearings, runSpeedHz, kOpeningHarmonics)) {
        for (const FamilyLine& line : family.lines) {
            reach = std::max(reach, line.hz);
        }
    }
    return reach * kOpeningRoom;
}

} // namespace vantor
