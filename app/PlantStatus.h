#pragma once
// The plant as the main window shows it: machines in their order, under each its vibration points
// (and lubrication points in the lubrication edition) with the newest reading and the status, the
// machine's status the most severe of its points', and whether off-route readings wait.

#include "analysis/AlarmStatus.h"
#include "analysis/Diagnosis.h"
#include "analysis/PointAlarms.h"
#include "analysis/StatusTable.h"
#include "store/OnlineTables.h"
#include "store/Records.h"

#include <QDate>

#include <optional>
#include <vector>

namespace vantor {

class CAppData;
class CMainConnection;
class EnvelopeAnalyzer;
class SignalProcessor;

struct PlantPoint {
    enum class Kind { Vib, Lube };
    Kind kind = Kind::Vib;
    CVib vib;                             // for Kind::Vib
    CLube lube;                           // for Kind::Lube
    std::optional<CVibReading> latestVib; // without its raw captures
    std::optional<CLubeReading> latestLube;
    // The documented status; for a vibration point with baseline, change or band settings the most
    // severe of it and those alarms, whose reasons (WARNING or CRITICAL) are kept, most severe first.
    DatedStatus status;
    std::vector<AlarmReason> reasons;
    // For a vibration point judged by ISO 20816-3: the zone of its newest reading.
    std::optional<PointZone> zone;
    // What the diagnosis finds in the newest reading (none: no reading, not diagnosed yet, or it
    // cannot be decoded; LoadPlant leaves it to SetPointFindings). An alarming finding marks the
    // point beside its status, never in it.
    std::optional<std::vector<Finding>> findings;
    // With PlantContents::followUp: the earliest due date over the point's routes (invalid: on no
    // route) and how many of its alarm events nobody has acknowledged yet.
    QDate due;
    int newEvents = 0;
    // A vibration point fed by an online sensor: the sensor's id and its newest stored overall
    // values (none before the first).
    struct Online {
        QString sensorId;
        std::optional<OnlineOverallRow> latest;
    };
    std::optional<Online> online;

    // Overdue on `today`: due before it.
    bool OverdueOn(const QDate& today) const { return due.isValid() && due < today; }
    // The most severe alarming finding's severity (WARNING or CRITICAL); OK without one.
    StatusCode FindingsMark() const;
    const QString& Guid() const { return kind == Kind::Vib ? vib.sItemGUID : lube.sItemGUID; }
    const QString& Name() const { return kind == Kind::Vib ? vib.sName : lube.sName; }
    QDateTime LatestDate() const;
};

struct PlantMachine {
    CMachine machine;
    std::vector<PlantPoint> points;           // vibration points first, each kind in its order
    DatedStatus status;                       // the most severe of its points
    StatusCode findingsMark = StatusCode::Ok; // the most severe of its points' findings marks
    int newEvents = 0;                        // its points' unacknowledged events
};

struct PlantSnapshot {
    std::vector<PlantMachine> machines;
    int offRouteReadings = 0;
    DatedStatus status; // the most severe of every machine
    int newEvents = 0;  // every machine's unacknowledged events

    const PlantMachine* FindMachine(const QString& guid) const;
    const PlantPoint* FindPoint(const QString& guid) const;
    // Puts a point's findings in and its machine's mark with them; false for an unknown point.
    bool SetPointFindings(const QString& pointGuid, std::optional<std::vector<Finding>> findings);
    // The most severe mark of every machine (the plant's).
    StatusCode FindingsMark() const;
};

struct PlantContents {
    bool vibPoints = true;
    bool lubePoints = false;
    // The follow-up beside the status: each vibration point's due date (as of `today`) and its
    // unacknowledged alarm events.
    bool followUp = false;
    QDate today = QDate::currentDate();
};

// The findings of a point's newest reading as every view of the plant gives them (the tree, the
// status table, `vantor status --json`, the report): none without a reading or when it cannot be
// decoded. Throws DatabaseError.
std::optional<std::vector<Finding>> LatestReadingFindings(CMainConnection& db, SignalProcessor& processor,
                                                          EnvelopeAnalyzer& analyzer,
                                                          const QString& latestReadingGuid);
// WARNING or CRITICAL for the most severe alarming finding, OK without one.
StatusCode FindingsMarkOf(const std::optional<std::vector<Finding>>& findings);

// Reads the whole plant: one query for the machines, one per machine for its points, one for the
// newest reading of every point; the points with baseline, change or band settings are judged by
// them too (their readings and latest spectra read). The points' findings are not worked out here
// (a reading's diagnosis decodes it): see SetPointFindings. Throws DatabaseError like the record
// access layer.
PlantSnapshot LoadPlant(CMainConnection& db, PlantContents contents);
// The same for the desktop's tree: nothing after "Error loading record, please try again" (logged)
// when the database fails or none is open.
std::optional<PlantSnapshot> LoadPlantShown(CAppData& app, PlantContents contents);

// A lubrication point judged by its newest reading: the bearing noise before and after lubrication
// against the point's bearing limits, the more severe of the two.
DatedStatus LubePointStatus(const CLube& point, const CLubeReading* latest);

// The vibration status table's rows of the given machines (all of them when `machineGuid` is
// empty), from the snapshot rather than the database.
std::vector<StatusTableRow> StatusRowsOf(const PlantSnapshot& plant, const QString& machineGuid,
                                         const StatusTableOptions& options);

} // namespace vantor
