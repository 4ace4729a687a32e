#pragma once
// A reading imported from another instrument holds one channel; the other has no capture (sample
// count 0). The views and tools that need the missing channel show this note instead of a curve.

#include "analysis/Measures.h"
#include "analysis/ReadingSignals.h"

#include <QString>

#include <optional>

namespace vantor {

// The note for a spectrum of a measure kind (acceleration: Total; ISO and VA bands: ISO) when the
// reading has no capture on that channel; nullopt when it has one or the kind has no spectrum.
std::optional<QString> MissingSpectrumNote(const ReadingSignals& decoded, MeasureKind kind);
// The note for the Total waveform.
std::optional<QString> MissingWaveformNote(const ReadingSignals& decoded);

} // namespace vantor
