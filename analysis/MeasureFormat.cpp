#include "analysis/MeasureFormat.h"

namespace vantor {
namespace {

constexpr int kMostDecimals = 5;

QString Fixed(double value, int decimals) {
    if (decimals < 0 || decimals > kMostDecimals - 1) {
        decimals = kMostDecimals;
    }
    return QString::asprintf("%.*f", decimals, value);
}

} // namespace

QString FormatMeasure(MeasureKind kind, float value, const MeasureFormat& format) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3: {
        const bool imperial = format.units.Amplitude() == AmplitudeUnit::Imperial;
        return Fixed(format.units.DisplayAmplitude(value),
                     imperial ? format.decimalsInchS : format.decimalsMms);
    }
    case MeasureKind::Acceleration:
        return Fixed(value, format.decimalsG);
    case MeasureKind::BearingNoise:
        return Fixed(value, 0);
    case MeasureKind::Displacement:
        return Fixed(format.units.DisplayAmplitude(value), 0);
    }
    return {};
}

} // namespace vantor
