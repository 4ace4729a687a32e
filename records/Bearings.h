#pragma once
// The bearing library's records as plain values: a bearing (geometry or published factors), its
// assignment to a vibration point, and the geometry and fault factors taken from them.

#include <QString>

#include <cstdint>
#include <optional>

namespace vantor {

// A rolling-element bearing. With iRollingElements > 0 the bearing is described by its geometry
// and its fault factors follow from it; with iRollingElements = 0 the four factor columns hold the
// factors its maker publishes (orders of shaft speed).
struct CBearing {
    QString sItemGUID;
    float fOrder = 0;
    QString sDesignation;
    QString sMaker;
    std::int32_t iRollingElements = 0;
    float fRollingElementDiameterMM = 0;
    float fPitchDiameterMM = 0;
    float fContactAngleDeg = 0;
    float fFTF = 0;
    float fBSF = 0;
    float fBPFO = 0;
    float fBPFI = 0;
    QString sSource; // where the figures come from
};

// One bearing watched by a vibration point: where it sits and the ratio of its shaft's speed to the
// point's run speed (belts, gearboxes). A point carries at most kBearingsPerPoint, in fOrder.
struct CPointBearing {
    QString sItemGUID;
    QString sParentGUID; // the vibration point
    float fOrder = 0;
    QString sBearingGUID;
    QString sLocation;
    float fSpeedRatio = 1;
};

inline constexpr int kBearingsPerPoint = 4;

struct BearingGeometry {
    int rollingElements = 0;      // Z
    double elementDiameterMM = 0; // d
    double pitchDiameterMM = 0;   // D
    double contactAngleDeg = 0;   // φ
};

// Orders of shaft speed (outer ring stationary, inner ring turning with the shaft).
struct BearingFactors {
    double ftf = 0;  // fundamental train (cage)
    double bsf = 0;  // ball (rolling element) spin
    double bpfo = 0; // ball pass, outer race
    double bpfi = 0; // ball pass, inner race
};

// A stored bearing's geometry (none when it is described by its factors).
std::optional<BearingGeometry> GeometryOf(const CBearing& bearing);

} // namespace vantor
