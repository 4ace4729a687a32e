#pragma once
// A reading as a reading view loads it: its decoded signals, date, point and names. Route readings
// come through the signal cache; off-route readings, which belong to no point, from the
// synchronisation database.

#include "analysis/DisplayUnits.h"
#include "analysis/ReadingSignals.h"
#include "analysis/SignalProcessor.h"
#include "app/CAppData.h"
#include "store/Records.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantor {

struct ViewedReading {
    ReadingSignals decoded;
    QDateTime taken;
    std::optional<CVib> point; // none for an off-route reading
    QString machineName;
    QString pointName;
};

// The processor belongs to the calling command; processors are never shared between owners.
std::optional<ViewedReading> LoadViewedReading(CAppData& app, SignalProcessor& processor,
                                               const QString& guid);
// The same, showing "Error loading record, please try again" when the reading cannot be loaded.
std::optional<ViewedReading> LoadOrSay(CAppData& app, SignalProcessor& processor, const QString& guid);

// The views' titles: "machine - point  date" for a reading, "machine - point" for a point.
QString ReadingTitle(const ViewedReading& reading);
QString PointTitle(CMainConnection& db, const CVib& point);
// The point's warning level for the VA bands in displayed amplitude, where it judges them.
std::optional<double> BandAlarmLevel(const ViewedReading& reading, const DisplayUnits& units);
// The frequency and amplitude units of the user's settings.
DisplayUnits DisplayUnitsOf(const CSettings& settings);

} // namespace vantor
