#pragma once
// What the desktop shows of the automatic diagnosis and of a point's spectral alarm bands: the
// diagnosis of a route reading, the bands of a point, and the texts of the findings column and of
// the reasons the plant tree's tooltips give. Database failures are logged and end as "nothing to
// show"; the views never reach the store themselves.

#include "analysis/PointAlarms.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/SpectralBands.h"
#include "analysis/StatusReasons.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantor {

class CAppData;
class EnvelopeAnalyzer;
class SignalProcessor;
struct ViewedReading;

// The findings of a route reading; none without a database, for an unknown or undecodable reading,
// or after a database failure (logged).
std::optional<ReadingDiagnosis> LoadReadingDiagnosis(CAppData& app, SignalProcessor& processor,
                                                     EnvelopeAnalyzer& analyzer, const QString& readingGuid);

// The same for a route reading already loaded: neither its row nor its signals are read again. None
// for an off-route reading or after a database failure (logged).
std::optional<ReadingDiagnosis> LoadReadingDiagnosis(CAppData& app, EnvelopeAnalyzer& analyzer,
                                                     const ViewedReading& reading);

// The point's spectral alarm bands in their order; empty without any, or after a database failure
// (logged). A stored row that names no known spectrum is left out.
std::vector<SpectralBand> LoadPointSpectralBands(CAppData& app, const QString& pointGuid);

// "Bearing defect, Impacting" for the alarming findings; without any, the findings only noted (OK);
// "No finding" when there is none.
QString FindingsCellText(const std::vector<Finding>& findings);
// One line per finding, alarming or noted: "Bearing defect - CRITICAL (90 %): <summary>"; "No
// finding" alone.
QString FindingsTip(const std::vector<Finding>& findings);

// The findings of a point's newest reading as LatestReadingFindings gives them (`vantor status
// --json` reads them so too); none after a database failure (logged).
std::optional<std::vector<Finding>> LoadLatestFindings(CAppData& app, SignalProcessor& processor,
                                                       EnvelopeAnalyzer& analyzer,
                                                       const QString& readingGuid);

// The point's combined status with its reasons, as the tree and the status table judge it (none
// without a database or after a database failure, logged).
std::optional<PointAlarmStatus> LoadPointAlarms(CAppData& app, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const CVib& point);

// ConfidenceText, AlarmReasonText and PointStatusReasons (analysis/StatusReasons.h) give the
// reasons' words.

} // namespace vantor
