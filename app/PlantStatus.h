#pragma once
// The plant as the main window shows it: machines in their order, under each its vibration points
// (and lubrication points in the lubrication edition) with the newest reading and the status, the
// machine's status the most severe of its points', and whether off-route readings wait.

#include "analysis/AlarmStatus.h"
#include "analysis/PointAlarms.h"
#include "analysis/StatusTable.h"
#include "store/Records.h"

#include <optional>
#include <vector>

namespace vantor {

class CAppData;
class CMainConnection;

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

    const QString& Guid() const { return kind == Kind::Vib ? vib.sItemGUID : lube.sItemGUID; }
    const QString& Name() const { return kind == Kind::Vib ? vib.sName : lube.sName; }
    QDateTime LatestDate() const;
};

struct PlantMachine {
    CMachine machine;
    std::vector<PlantPoint> points; // vibration points first, each kind in its order
    DatedStatus status;             // the most severe of its points
};

struct PlantSnapshot {
    std::vector<PlantMachine> machines;
    int offRouteReadings = 0;
    DatedStatus status; // the most severe of every machine

    const PlantMachine* FindMachine(const QString& guid) const;
    const PlantPoint* FindPoint(const QString& guid) const;
};

struct PlantContents {
    bool vibPoints = true;
    bool lubePoints = false;
};

// Reads the whole plant: one query for the machines, one per machine for its points, one for the
// newest reading of every point; the points with baseline, change or band settings are judged by
// them too (their readings and latest spectra read). Throws DatabaseError like the record access layer.
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
