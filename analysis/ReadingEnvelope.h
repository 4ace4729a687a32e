#pragma once
// The envelope spectrum of a reading's Total channel and the image of the derived-data file route
// readings keep it in (read and written by loaders/EnvelopeLoader.h).
//
// Derived-data file, QDataStream (Qt 6.4 encoding, little-endian): magic "VENV", format (int32, 1),
// requested low and high (double), used low and high (double), clipped (bool), sampling frequency
// (double), sample count (quint64), line spacing (double), gE overall (double), the lines (quint64
// count, then doubles).

#include "analysis/EnvelopeSpectrum.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vantor {

enum class ReadingEnvelopeOutcome {
    Ready,
    NoReading, // no such reading, or its Total capture cannot be decoded
    Refused,   // the band or the capture is refused: see `refusal`
};

struct ReadingEnvelope {
    ReadingEnvelopeOutcome outcome = ReadingEnvelopeOutcome::NoReading;
    EnvelopeRefusal refusal = EnvelopeRefusal::None;
    EnvelopeSpectrum spectrum;
    QString pointGuid; // the reading's point (empty for an off-route reading)
};

// The envelope spectrum of decoded Total signals in `band`: Ready, or Refused with the refusal.
ReadingEnvelope ComputeReadingEnvelope(EnvelopeAnalyzer& analyzer, const ChannelSignals& total,
                                       EnvelopeBand band);

// The derived-data file image of an envelope spectrum, and back (false for a malformed image).
QByteArray EncodeEnvelopeCache(const EnvelopeSpectrum& spectrum);
bool DecodeEnvelopeCache(const QByteArray& image, EnvelopeSpectrum& spectrum);

} // namespace vantor
