#pragma once
// The envelope spectrum of a stored reading's Total channel, in its point's envelope band (or one
// given for the call). Route readings keep it in a derived-data file beside their signal cache file
// (the signal cache file itself is left as it is); the file is rebuilt when the band changes.

#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingSignals.h"
#include "records/Records.h"

#include <QString>

#include <optional>

namespace vantor {

class CMainConnection;
class CRecordSyncConnection;
class SignalProcessor;

// The band a reading's point asks for (its own, else the default of the reading's Total Fmax).
// Throws DatabaseError.
EnvelopeBand PointEnvelopeBand(CMainConnection& db, const QString& pointGuid, double fmaxHz);

// A route reading's envelope spectrum, in `band` when given, else in its point's band. Throws
// DatabaseError.
ReadingEnvelope LoadReadingEnvelope(CMainConnection& db, SignalProcessor& processor,
                                    EnvelopeAnalyzer& analyzer, const QString& readingGuid,
                                    std::optional<EnvelopeBand> band = std::nullopt);

// The same for a route reading already loaded with its decoded signals: neither is read again.
ReadingEnvelope LoadReadingEnvelope(CMainConnection& db, EnvelopeAnalyzer& analyzer, const CVibReading& row,
                                    const ReadingSignals& decoded,
                                    std::optional<EnvelopeBand> band = std::nullopt);

// An off-route reading's, in `band` when given, else the default band; never cached.
ReadingEnvelope LoadOffRouteReadingEnvelope(CRecordSyncConnection& db, SignalProcessor& processor,
                                            EnvelopeAnalyzer& analyzer, const QString& readingGuid,
                                            std::optional<EnvelopeBand> band = std::nullopt);

// Removes a reading's derived-data file (after its capture was replaced); a missing file counts.
bool DeleteEnvelopeCache(const QString& dataFolder, const QString& readingGuid);

} // namespace vantor
