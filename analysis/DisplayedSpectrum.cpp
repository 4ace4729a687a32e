#include "analysis/DisplayedSpectrum.h"

#include <algorithm>

namespace vantor {

std::optional<DisplayedSpectrum> MakeDisplayedSpectrum(const ReadingSignals& decoded, MeasureKind kind,
                                                       const DisplayUnits& units, bool consolidate) {
    DisplayedSpectrum out;
    out.kind = kind;
    out.frequencyFactor = units.FrequencyFactor();
    const ChannelSignals* channel = nullptr;
    switch (kind) {
    case MeasureKind::Acceleration:
        channel = &decoded.total;
        out.lines = channel->spectrum;
        out.range = {0, static_cast<std::int32_t>(out.lines.size())};
        break;
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3: {
        channel = &decoded.iso;
        out.lines = channel->spectrum;
        const float factor = units.AmplitudeFactor();
        for (double& line : out.lines) {
            line *= factor;
        }
        if (kind == MeasureKind::IsoVelocity) {
            out.range = {IsoLines(*channel).first, channel->lineCount};
        } else {
            const int band = static_cast<int>(kind) - static_cast<int>(MeasureKind::VaBand1) + 1;
            out.range = VaBandLines(band, decoded.runSpeedHz, *channel);
        }
        break;
    }
    case MeasureKind::BearingNoise:
    case MeasureKind::Displacement:
        return std::nullopt;
    }
    const auto size = static_cast<std::int32_t>(out.lines.size());
    out.range.first = std::clamp(out.range.first, 0, size);
    out.range.end = std::clamp(out.range.end, out.range.first, size);
    out.lineSpacingHz = channel->LineSpacingHz();
    if (consolidate) {
        ConsolidatePeaks(out.lines, out.range.first, out.range.end);
    }
    return out;
}

} // namespace vantor
