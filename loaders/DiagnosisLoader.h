#pragma once
// The diagnosis of a stored route reading: the reading, its point's standard, bearings, envelope
// band and the reading's indices loaded and handed to DiagnoseSignals.

#include "analysis/ReadingDiagnosis.h"
#include "analysis/RunSpeedEstimate.h"

#include <QString>

#include <optional>

namespace vantor {

class CMainConnection;
class EnvelopeAnalyzer;
class SignalProcessor;

// The run speed of a stored route reading estimated from its Total capture; none when the reading
// cannot be decoded or its spectrum shows too few harmonics. Throws DatabaseError.
std::optional<RunSpeedEstimate> EstimateReadingRunSpeed(CMainConnection& db, SignalProcessor& processor,
                                                        const QString& readingGuid,
                                                        double* storedHz = nullptr);

// None when there is no such route reading or its signals cannot be decoded. Throws DatabaseError.
std::optional<ReadingDiagnosis> DiagnoseReading(CMainConnection& db, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const QString& readingGuid);

// The same for a reading whose row is already loaded (its signals come through the signal cache).
// None when its signals cannot be decoded. Throws DatabaseError.
std::optional<ReadingDiagnosis> DiagnoseReading(CMainConnection& db, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const CVibReading& row);

// The same for a reading already loaded with its decoded signals: neither is read again.
ReadingDiagnosis DiagnoseReading(CMainConnection& db, EnvelopeAnalyzer& analyzer, const CVibReading& row,
                                 const ReadingSignals& decoded);

} // namespace vantor
