#include "analysis/CaptureNotice.h"

namespace vantor {
namespace {

QString Note(bool totalMissing) {
    return totalMissing
               ? QStringLiteral(
                     "This reading has no Total capture (it was imported with its ISO channel only)")
               : QStringLiteral(
                     "This reading has no ISO capture (it was imported with its Total channel only)");
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
