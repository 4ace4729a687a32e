#pragma once
// The diagnosis of a stored route reading: its ISO velocity spectrum, its point's bearings matched
// on its envelope and velocity spectra, and its Total channel's indices, handed to the rule set of
// Diagnosis.h.

#include "analysis/Diagnosis.h"

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
    double runSpeedHz = 0;
    int bearings = 0; // bearings the point watches
    std::vector<Finding> findings;
    QStringList notes; // what the rules could not weigh (no envelope, no indices)
};

// None when there is no such route reading or its signals cannot be decoded. Throws DatabaseError.
std::optional<ReadingDiagnosis> DiagnoseReading(CMainConnection& db, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const QString& readingGuid);

} // namespace vantor
