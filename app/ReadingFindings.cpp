#include "app/ReadingFindings.h"

#include "app/CAppData.h"
#include "app/Log.h"
#include "app/PlantStatus.h"
#include "app/ViewedReading.h"
#include "loaders/DiagnosisLoader.h"
#include "loaders/PointAlarmsQuery.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

#include <QLocale>

#include <algorithm>
#include <iterator>

namespace vantor {

std::optional<ReadingDiagnosis> LoadReadingDiagnosis(CAppData& app, SignalProcessor& processor,
                                                     EnvelopeAnalyzer& analyzer, const QString& readingGuid) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr || readingGuid.isEmpty()) {
        return std::nullopt;
    }
    try {
        return DiagnoseReading(*db, processor, analyzer, readingGuid);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "diagnosing reading" << readingGuid << "failed:" << error.what();
        return std::nullopt;
    }
}

std::optional<ReadingDiagnosis> LoadReadingDiagnosis(CAppData& app, EnvelopeAnalyzer& analyzer,
                                                     const ViewedReading& reading) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr || !reading.row) {
        return std::nullopt;
    }
    try {
        return DiagnoseReading(*db, analyzer, *reading.row, reading.decoded);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "diagnosing reading" << reading.row->sItemGUID << "failed:" << error.what();
        return std::nullopt;
    }
}

std::vector<SpectralBand> LoadPointSpectralBands(CAppData& app, const QString& pointGuid) {
    CMainConnection* db = app.MainConnection();
    std::vector<SpectralBand> bands;
    if (db == nullptr || pointGuid.isEmpty()) {
        return bands;
    }
    try {
        bands = PointSpectralBands(*db, pointGuid);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading the spectral bands of point" << pointGuid << "failed:" << error.what();
        bands.clear();
    }
    return bands;
}

namespace {

// The findings that name something: WARNING and CRITICAL ones and those only noted (OK).
std::vector<Finding> NamedFindings(const std::vector<Finding>& findings) {
    std::vector<Finding> named;
    std::copy_if(findings.begin(), findings.end(), std::back_inserter(named),
                 [](const Finding& finding) { return finding.kind != FindingKind::NoFinding; });
    return named;
}

} // namespace

QString FindingsCellText(const std::vector<Finding>& findings) {
    // The findings that call for attention; without any, those only noted.
    std::vector<Finding> shown = AlarmingFindings(findings);
    if (shown.empty()) {
        shown = NamedFindings(findings);
    }
    QStringList captions;
    for (const Finding& finding : shown) {
        if (!captions.contains(FindingKindText(finding.kind))) {
            captions << FindingKindText(finding.kind);
        }
    }
    return captions.isEmpty() ? FindingKindText(FindingKind::NoFinding) : captions.join(QStringLiteral(", "));
}

QString FindingsTip(const std::vector<Finding>& findings) {
    QStringList lines;
    for (const Finding& finding : NamedFindings(findings)) {
        lines << FindingLine(finding);
    }
    return lines.isEmpty() ? FindingKindText(FindingKind::NoFinding) : lines.join(QLatin1Char('\n'));
}

std::optional<std::vector<Finding>> LoadLatestFindings(CAppData& app, SignalProcessor& processor,
                                                       EnvelopeAnalyzer& analyzer,
                                                       const QString& readingGuid) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return std::nullopt;
    }
    try {
        return LatestReadingFindings(*db, processor, analyzer, readingGuid);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "diagnosing reading" << readingGuid << "failed:" << error.what();
        return std::nullopt;
    }
}

std::optional<PointAlarmStatus> LoadPointAlarms(CAppData& app, SignalProcessor& processor,
                                                EnvelopeAnalyzer& analyzer, const CVib& point) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return std::nullopt;
    }
    try {
        return EvaluatePointAlarms(*db, processor, analyzer, point);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "judging the alarms of point" << point.sItemGUID << "failed:" << error.what();
        return std::nullopt;
    }
}

} // namespace vantor
