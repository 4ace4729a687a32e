#include "analysis/MeasureFormat.h"

namespace vantor {
namespace {

constexpr int kMostDecimals = 5;

// A decimals setting outside 0..4 means 5.
int Setting(int decimals) {
    return decimals < 0 || decimals > kMostDecimals - 1 ? kMostDecimals : decimals;
}

} // namespace

int MeasureDecimals(MeasureKind kind, const MeasureFormat& format) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        return Setting(format.units.Amplitude() == AmplitudeUnit::Imperial ? format.decimalsInchS
                                                                           : format.decimalsMms);
    case MeasureKind::Acceleration:
        return Setting(format.decimalsG);
    case MeasureKind::BearingNoise:
    case MeasureKind::Displacement:
        return 0;
    }
    return 0;
}

QString FormatMeasure(MeasureKind kind, float value, const MeasureFormat& format) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
    case MeasureKind::Displacement:
        return QString::asprintf("%.*f", MeasureDecimals(kind, format), format.units.DisplayAmplitude(value));
    case MeasureKind::Acceleration:
    case MeasureKind::BearingNoise:
        return QString::asprintf("%.*f", MeasureDecimals(kind, format), static_cast<double>(value));
    }
    return {};
}

} // namespace vantor
