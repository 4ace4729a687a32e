#include "graphviews/AlarmBandMarks.h"

#include "analysis/ViewData.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <array>

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

void ShowAlarmBands(CVantorGraphCtrl& graph, std::span<const AlarmBandMark> marks) {
    if (marks.empty()) {
        return;
    }
    using Setter = void (CVantorGraphCtrl::*)(float);
    struct Slot {
        Setter low;
        Setter high;
        Setter level;
    };
    static constexpr std::array<Slot, kMostDrawnAlarmBands> kSlots = {{
        {&CVantorGraphCtrl::SetFFTBand1FMin, &CVantorGraphCtrl::SetFFTBand1FMax,
         &CVantorGraphCtrl::SetFFTBand1AlarmLevel},
        {&CVantorGraphCtrl::SetFFTBand2FMin, &CVantorGraphCtrl::SetFFTBand2FMax,
         &CVantorGraphCtrl::SetFFTBand2AlarmLevel},
        {&CVantorGraphCtrl::SetFFTBand3FMin, &CVantorGraphCtrl::SetFFTBand3FMax,
         &CVantorGraphCtrl::SetFFTBand3AlarmLevel},
        {&CVantorGraphCtrl::SetFFTBand4FMin, &CVantorGraphCtrl::SetFFTBand4FMax,
         &CVantorGraphCtrl::SetFFTBand4AlarmLevel},
    }};
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
        // A slot without a band is folded onto the axis origin below every line, where it draws
        // nothing the eye can tell from the axes.
        const AlarmBandMark mark = i < marks.size() ? marks[i] : AlarmBandMark{};
        (graph.*kSlots[i].low)(static_cast<float>(mark.low));
        (graph.*kSlots[i].high)(static_cast<float>(mark.high));
        (graph.*kSlots[i].level)(static_cast<float>(mark.level));
    }
    graph.SetFFTBandsOn(true);
}

} // namespace vantor
