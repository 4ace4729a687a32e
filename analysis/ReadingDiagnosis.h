#pragma once
// The diagnosis of a stored route reading: its ISO velocity spectrum, its point's bearings matched
// on its envelope and velocity spectra, and its Total channel's indices, handed to the rule set of
// Diagnosis.h.

#include "analysis/Diagnosis.h"
#include "analysis/PointSeverity.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;
class EnvelopeAnalyzer;
class SignalProcessor;

struct ReadingDiagnosis {
    QString pointGuid;
    double runSpeedHz = 0; // as stored
    // The run speed read from the Total spectrum; the diagnosis used it when it differs from the
    // stored one by more than kRunSpeedUseEstimateShare.
    std::optional<double> estimatedRunSpeedHz;
    bool usedEstimate = false;
    int bearings = 0; // bearings the point watches
    std::vector<Finding> findings;
    QStringList notes; // what the rules could not weigh (no envelope, no indices)
    // The reading's zone when its point is judged by ISO 20816-3.
    std::optional<PointZone> zone;
};

// The run speed of a stored route reading estimated from its Total capture; none when the reading
// cannot be decoded or its spectrum shows too few harmonics. Throws DatabaseError.
std::optional<RunSpeedEstimate> EstimateReadingRunSpeed(CMainConnection& db, SignalProcessor& processor,
                                                        const QString& readingGuid,
                                                        double* storedHz = nullptr);

// None when there is no such route reading or its signals cannot be decoded. Throws DatabaseError.
std::optional<ReadingDiagnosis> DiagnoseReading(CMainConnection& db, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const QString& readingGuid);

} // namespace vantor
