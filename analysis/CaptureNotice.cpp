#include "analysis/CaptureNotice.h"

#include "texts/UiText.h"

namespace vantor {
namespace {

QString Note(bool totalMissing) {
    return UiText(totalMissing ? text::added::NoTotalCapture : text::added::NoIsoCapture);
}

} // namespace

std::optional<QString> MissingSpectrumNote(const ReadingSignals& decoded, MeasureKind kind) {
    switch (kind) {
    case MeasureKind::Acceleration:
        return decoded.total.sampleCount == 0 ? std::optional(Note(true)) : std::nullopt;
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        return decoded.iso.sampleCount == 0 ? std::optional(Note(false)) : std::nullopt;
    case MeasureKind::BearingNoise:
    case MeasureKind::Displacement:
        break;
    }
    return std::nullopt;
}

std::optional<QString> MissingWaveformNote(const ReadingSignals& decoded) {
    return decoded.total.sampleCount == 0 ? std::optional(Note(true)) : std::nullopt;
}

} // namespace vantor
