#pragma once
// The diagnosis of a route reading: its ISO velocity spectrum, its point's bearings matched
// on its envelope and velocity spectra, and its Total channel's indices, handed to the rule set of
// Diagnosis.h.

#include "analysis/Diagnosis.h"
#include "analysis/FaultFamilies.h"
#include "analysis/PointSeverity.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingIndices.h"
#include "analysis/ReadingSignals.h"
#include "records/DerivedRows.h"
#include "records/Records.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vantor {

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

// The run speed estimated from a reading's Total capture; none when it has no usable capture or its
// spectrum shows too few harmonics.
std::optional<RunSpeedEstimate> EstimateRunSpeedOf(const ReadingSignals& decoded);

// What the diagnosis weighs beside the reading itself, as its caller loads it.
struct DiagnosisContext {
    std::optional<CVib> point; // none when the reading's point is gone
    PointStandard standard;    // the point's severity standard
    std::vector<BearingAtPoint> bearings;
    // The point's own envelope band (none for the default), and the reading's envelope spectrum in
    // it; each asked for only when the point's bearings are judged and only as far as needed.
    std::function<std::optional<EnvelopeBandRow>()> pointBand;
    std::function<ReadingEnvelope()> envelope;
    std::optional<ReadingIndices> indices; // the reading's waveform indices
};

// The diagnosis of a route reading from its row, its decoded signals and its context.
ReadingDiagnosis DiagnoseSignals(const CVibReading& row, const ReadingSignals& decoded,
                                 const DiagnosisContext& context);

} // namespace vantor
