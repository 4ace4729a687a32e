#pragma once
// A reading as a reading view loads it: its decoded signals, date, point and names. Route readings
// come through the signal cache; off-route readings, which belong to no point, from the
// synchronisation database.

#include "analysis/DisplayUnits.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingSignals.h"
#include "analysis/SignalProcessor.h"
#include "app/CAppData.h"
#include "app/RunSpeedUpdate.h"
#include "records/Records.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace vantor {

struct ViewedReading {
    ReadingSignals decoded;
    std::optional<CVibReading> row; // the route reading's row as loaded (none off route)
    QDateTime taken;
    std::optional<CVib> point; // none for an off-route reading
    QString machineName;
    QString pointName;
};

// A vibration point as the point views show it.
struct ViewedPoint {
    CVib point;
    QString machineName;
    std::vector<CVibReading> readings; // oldest first
};

// The point with its machine's name and readings; nothing when it is gone, or after "Error loading
// record, please try again" (logged) when the database fails.
std::optional<ViewedPoint> LoadViewedPoint(CAppData& app, const QString& pointGuid);

// A route reading's signals for a view that shows several (the waterfall): false when the reading
// cannot be loaded, a database failure logged and shown to nobody (the view skips the reading).
bool LoadPointReadingSignals(CAppData& app, SignalProcessor& processor, const QString& readingGuid,
                             ReadingSignals& out);

// A route reading's envelope spectrum in its point's band; a database failure is logged and ends as
// NoReading (the view says "Error loading record, please try again").
ReadingEnvelope LoadPointReadingEnvelope(CAppData& app, SignalProcessor& processor,
                                         EnvelopeAnalyzer& analyzer, const QString& readingGuid);

// The same for a route reading already loaded: neither its row nor its signals are read again. An
// off-route reading (no row) ends as NoReading.
ReadingEnvelope LoadPointReadingEnvelope(CAppData& app, EnvelopeAnalyzer& analyzer,
                                         const ViewedReading& reading);

// Deletes a route reading with its cache file; false after "Error saving record, please try again".
bool DeleteReadingShown(CAppData& app, const QString& readingGuid);

// UpdateRunSpeed on the main connection; a database failure is logged and ends as SaveFailed.
RunSpeedResult UpdateRunSpeedOf(CAppData& app, SignalProcessor& processor, const QString& readingGuid,
                                float newRunSpeedHz);

// The processor belongs to the calling command; processors are never shared between owners.
std::optional<ViewedReading> LoadViewedReading(CAppData& app, SignalProcessor& processor,
                                               const QString& guid);
// The same, showing "Error loading record, please try again" when the reading cannot be loaded.
std::optional<ViewedReading> LoadOrSay(CAppData& app, SignalProcessor& processor, const QString& guid);

// The views' titles: "machine - point  date" for a reading, "machine - point" for a point.
QString ReadingTitle(const ViewedReading& reading);
QString PointTitle(CMainConnection& db, const CVib& point);
QString PointTitle(CAppData& app, const CVib& point); // the point's name alone when the database fails
// The point's warning level for the VA bands in displayed amplitude, where it judges them.
std::optional<double> BandAlarmLevel(const ViewedReading& reading, const DisplayUnits& units);

} // namespace vantor
