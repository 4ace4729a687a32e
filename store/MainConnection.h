#pragma once
// The main database connection and its seven table recordsets: machines, vibration points,
// lubrication points, their readings, routes and route items. Used by the user-interface thread
// (and, with its own instance, by any other thread that needs these tables).
//
// Failures: an operation whose query cannot be opened returns false, 0 or an empty list; a query
// that cannot be executed throws DatabaseError.

#include "store/DynamicRecordset.h"
#include "store/StoreContext.h"

#include <functional>
#include <vector>

namespace vantor {

class CMainConnection {
public:
    explicit CMainConnection(StoreContext context);

    // Opens the database file (which must exist); false when it cannot be opened.
    bool Open();
    void Close();
    bool IsOpen() const { return connection_.IsOpen(); }
    SqlConnection& Connection() { return connection_; }
    const StoreContext& Context() const { return context_; }

    // Machines
    bool GetMachine(const QString& guid, CMachine& out);
    bool UpsertMachine(const CMachine& machine);
    std::vector<CMachine> ListMachines();
    // Deletes the machine, its points and their readings (with cache files).
    bool DeleteMachine(const QString& guid);
    // What the machine editor does on delete: the cascade, the machines renumbered, and every route
    // item naming the machine removed from every route.
    bool RemoveMachine(const QString& guid);

    // Vibration points
    bool GetVib(const QString& guid, CVib& out);
    bool UpsertVib(const CVib& vib);
    // A machine's points in order; with an empty parent every point, unsorted.
    std::vector<CVib> ListVibs(const QString& parent);
    int CountVibs(const QString& parent);
    bool DeleteVib(const QString& guid);
    bool DeleteVibsOf(const QString& machine);

    // Lubrication points
    bool GetLube(const QString& guid, CLube& out);
    bool UpsertLube(const CLube& lube);
    std::vector<CLube> ListLubes(const QString& parent);
    int CountLubes(const QString& parent);
    bool DeleteLube(const QString& guid);
    bool DeleteLubesOf(const QString& machine);

    // Vibration readings. The upsert matches by GUID or by point and date-time (one reading per
    // point per instant); an empty raw capture is stored as one byte.
    bool GetVibReading(const QString& guid, CVibReading& out);
    bool UpsertVibReading(const CVibReading& reading);
    // A point's readings oldest first; with an empty parent every reading, unsorted.
    std::vector<CVibReading> ListVibReadings(const QString& parent);
    std::vector<CVibReading> ListVibReadingsNewestFirst(const QString& parent);
    // Removes the reading's cache file first; a cache file that cannot be removed stops the delete.
    bool DeleteVibReading(const QString& guid);
    bool DeleteVibReadingsOf(const QString& point);
    // Removes the cache and envelope files of a reading whose row is gone or was replaced under
    // another GUID (the rows are the caller's); false when its cache file stays.
    bool RemoveReadingFiles(const QString& guid);

    // Lubrication readings
    bool GetLubeReading(const QString& guid, CLubeReading& out);
    bool UpsertLubeReading(const CLubeReading& reading);
    std::vector<CLubeReading> ListLubeReadingsNewestFirst(const QString& parent);
    bool DeleteLubeReadingsOf(const QString& point);

    // Routes
    bool GetRoute(const QString& guid, CRoute& out);
    bool UpsertRoute(const CRoute& route);
    std::vector<CRoute> ListRoutes();
    bool DeleteRoute(const QString& guid);

    // Route items. A route's listing holds at most its first kMachinesPerRoute items.
    bool GetRouteItem(const QString& guid, CRouteItem& out);
    bool UpsertRouteItem(const CRouteItem& item);
    std::vector<CRouteItem> ListRouteItems(const QString& route);
    int CountRouteItems(const QString& route);
    bool DeleteRouteItem(const QString& guid);
    bool DeleteRouteItemsOf(const QString& route);
    bool DeleteRouteItemsNaming(const QString& machine);

    // Whole tables, for the data file: row counts, and every row in the order the database keeps
    // them, handed one at a time to `visit` (false stops the walk). Walks return false when the
    // table cannot be opened.
    using VibVisitor = std::function<bool(const CVib&)>;
    using VibReadingVisitor = std::function<bool(const CVibReading&)>;
    using RouteItemVisitor = std::function<bool(const CRouteItem&)>;
    int CountAllVibs();
    int CountAllVibReadings();
    int CountAllRouteItems();
    bool WalkAllVibs(const VibVisitor& visit);
    bool WalkAllVibReadings(const VibReadingVisitor& visit);
    bool WalkAllRouteItems(const RouteItemVisitor& visit);
    // A point's readings oldest first, one at a time; with valid bounds only those taken from
    // `from` to `to`, both included.
    bool WalkVibReadings(const QString& point, const VibReadingVisitor& visit, const QDateTime& from = {},
                         const QDateTime& to = {});
    int CountVibReadings(const QString& point, const QDateTime& from = {}, const QDateTime& to = {});
    // The newest reading of a point.
    bool GetLatestVibReading(const QString& point, CVibReading& out);

    // The order value for a new row of the list named by kind (and parent); just before `before`
    // when that row exists. -1 when the list needs a parent and none is given.
    float NextOrder(ItemKind kind, const QString& parent, const QString& before = {});
    // Rewrites a list's order values as 0, 1, 2, ... in its present order. Kinds 2, 3 and 5 need a
    // parent; other codes do nothing.
    void RenumberOrder(int kind, const QString& parent);

private:
    bool DeleteVibsWhere(const QString& clause, const QVariantList& values);
    bool DeleteLubesWhere(const QString& clause, const QVariantList& values);
    bool DeleteVibReadingsWhere(const QString& clause, const QVariantList& values);
    bool RemoveCacheFileOf(const QString& readingGuid);
    // Before a reading is upserted: drops the indices rows, cache files and derived files of the
    // readings it replaces (`taken` in the stored text form). False when a cache file stays.
    bool DropDerivedOfReplaced(const QString& guid, const QString& point, const QString& taken);
    int CountWhere(const QString& table, const QString& clause, const QVariantList& values);

    StoreContext context_;
    SqlConnection connection_;
    CMachineDB machines_;
    CVibDB vibs_;
    CVibReadingDB vibReadings_;
    CLubeDB lubes_;
    CLubeReadingDB lubeReadings_;
    CRouteDB routes_;
    CRouteItemDB routeItems_;
    CDeviceDB devices_;          // only for the order of the meter list
    bool derivedTables_ = false; // the indices and envelope band tables are there
};

} // namespace vantor
