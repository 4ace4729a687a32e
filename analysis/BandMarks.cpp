#include "analysis/BandMarks.h"

#include "analysis/ViewData.h"

namespace vantor {

namespace {

double DisplayedLevel(BandSpectrum spectrum, double limit, const DisplayUnits& units) {
    switch (spectrum) {
    case BandSpectrum::Iso:
        return DisplayMeasureValue(MeasureKind::IsoVelocity, limit, units);
    case BandSpectrum::Total:
        return DisplayMeasureValue(MeasureKind::Acceleration, limit, units);
    case BandSpectrum::Envelope:
        break;
    }
    return limit;
}

} // namespace

std::vector<AlarmBandMark> AlarmBandMarks(std::span<const SpectralBand> bands, BandSpectrum shown,
                                          double runSpeedHz, const DisplayUnits& units) {
    std::vector<AlarmBandMark> marks;
    for (const SpectralBand& band : bands) {
        if (band.spectrum != shown || (band.orders && !(runSpeedHz > 0))) {
            continue;
        }
        if (static_cast<int>(marks.size()) == kMostDrawnAlarmBands) {
            break;
        }
        const BandHz hz = BandRangeHz(band, runSpeedHz);
        marks.push_back({units.DisplayFrequency(hz.low), units.DisplayFrequency(hz.high),
                         DisplayedLevel(band.spectrum, band.warning, units)});
    }
    return marks;
}

std::optional<BandSpectrum> AlarmBandSpectrumOf(MeasureKind kind) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
        return BandSpectrum::Iso;
    case MeasureKind::Acceleration:
        return BandSpectrum::Total;
    default:
        break;
    }
    return std::nullopt;
}

} // namespace vantor
