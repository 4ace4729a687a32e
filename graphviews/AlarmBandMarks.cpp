#include "graphviews/AlarmBandMarks.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <array>

namespace vantor {

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
