#pragma once
// The envelope spectrum of a stored reading's Total channel, in its point's envelope band (or one
// given for the call). Route readings keep it in a derived-data file beside their signal cache file
// (the signal cache file itself is left as it is); the file is rebuilt when the band changes.
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

class CMainConnection;
class CRecordSyncConnection;
class SignalProcessor;

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

// The band a reading's point asks for (its own, else the default of the reading's Total Fmax).
// Throws DatabaseError.
EnvelopeBand PointEnvelopeBand(CMainConnection& db, const QString& pointGuid, double fmaxHz);

// A route reading's envelope spectrum, in `band` when given, else in its point's band. Throws
// DatabaseError.
ReadingEnvelope LoadReadingEnvelope(CMainConnection& db, SignalProcessor& processor,
                                    EnvelopeAnalyzer& analyzer, const QString& readingGuid,
                                    std::optional<EnvelopeBand> band = std::nullopt);

// An off-route reading's, in `band` when given, else the default band; never cached.
ReadingEnvelope LoadOffRouteReadingEnvelope(CRecordSyncConnection& db, SignalProcessor& processor,
                                            EnvelopeAnalyzer& analyzer, const QString& readingGuid,
                                            std::optional<EnvelopeBand> band = std::nullopt);

// The derived-data file image of an envelope spectrum, and back (false for a malformed image).
QByteArray EncodeEnvelopeCache(const EnvelopeSpectrum& spectrum);
bool DecodeEnvelopeCache(const QByteArray& image, EnvelopeSpectrum& spectrum);

// Removes a reading's derived-data file (after its capture was replaced); a missing file counts.
bool DeleteEnvelopeCache(const QString& dataFolder, const QString& readingGuid);

} // namespace vantor
