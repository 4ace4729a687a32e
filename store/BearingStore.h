#pragma once
// Record access for the bearing library and the bearings each vibration point watches. Works on the
// main connection's database; every operation runs its statements to the end before returning.
//
// Failures: an operation whose query cannot be opened returns false, 0 or an empty list; a query
// that cannot be executed throws DatabaseError.

#include "store/BearingRecords.h"
#include "store/MainConnection.h"

#include <vector>

namespace vantor {

// How the reads treat stored values that no check would let in now (a file from an older version
// may hold an infinite diameter or a speed ratio of 0): Checked reads, for the analysis, leave such
// a bearing or assignment out and log a warning naming it and its fault; AsStored reads, for the
// editors, give them as stored so that the user can correct or delete them.
enum class StoredValues { Checked, AsStored };

class CBearingStore {
public:
    explicit CBearingStore(CMainConnection& db, StoredValues values = StoredValues::Checked);

    // The library, in fOrder.
    bool GetBearing(const QString& guid, CBearing& out);
    std::vector<CBearing> ListBearings();
    bool UpsertBearing(const CBearing& bearing);
    float NextBearingOrder();
    // Deletes the bearing and every assignment that names it, in one transaction; the points keep
    // their other bearings, renumbered.
    bool DeleteBearing(const QString& guid);

    // A point's bearings, in fOrder.
    std::vector<CPointBearing> ListPointBearings(const QString& point);
    int CountPointBearings(const QString& point);
    // Every assignment of the bearing.
    std::vector<CPointBearing> ListAssignmentsOf(const QString& bearing);
    bool UpsertPointBearing(const CPointBearing& assignment);
    float NextPointBearingOrder(const QString& point);
    // Removes one assignment and renumbers the point's others.
    bool DeletePointBearing(const QString& guid);
    // Replaces a point's assignments by the given ones, in their order, in one transaction.
    bool ReplacePointBearings(const QString& point, const std::vector<CPointBearing>& assignments);

private:
    bool Usable(const CBearing& bearing) const;
    bool Usable(const CPointBearing& assignment) const;

    StoredValues values_;
    SqlConnection& connection_;
    const ColumnDiscoveryPolicy& policy_;
    CBearingDB bearings_;
    CPointBearingDB assignments_;
};

// The cascade of a deleted vibration point: its bearing assignments go with it. Does nothing (and
// answers true) on a database without the bearing tables.
bool DeletePointBearingsOf(SqlConnection& connection, const ColumnDiscoveryPolicy& policy,
                           const QString& point);

} // namespace vantor
