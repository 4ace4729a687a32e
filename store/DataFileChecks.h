#pragma once
// The checks every record of a data file passes before it is stored: the GUID's form, a parent
// present in the file (accepted earlier) or in the database, and the names and numbers as the
// editors check them. A refused record is not stored, and neither is anything that hangs on it.

#include "store/Records.h"

#include <QSet>
#include <QString>

#include <optional>

namespace vantor {

class CMainConnection;

// True for "{8-4-4-4-12}" hexadecimal digits (either case), the form of every item GUID.
bool IsItemGuid(const QString& guid);

class DataFileChecks {
public:
    explicit DataFileChecks(CMainConnection& db) : db_(db) {}

    // Each returns the reason a record is refused, or nullopt when it may be stored; an accepted
    // machine or point gets the meter name the editors would store (non-ASCII removed).
    std::optional<QString> Machine(CMachine& machine);
    std::optional<QString> Vib(CVib& vib);
    std::optional<QString> Reading(const CVibReading& reading);
    std::optional<QString> Route(const CRoute& route);
    std::optional<QString> RouteItem(const CRouteItem& item);

private:
    bool MachineKnown(const QString& guid);
    bool VibKnown(const QString& guid);
    bool RouteKnown(const QString& guid);

    CMainConnection& db_;
    // GUIDs accepted from the file so far, and those of the file that were refused (their
    // children are refused too, even when the database holds a row of that GUID).
    QSet<QString> machines_, vibs_, routes_;
    QSet<QString> refusedMachines_, refusedVibs_, refusedRoutes_;
};

} // namespace vantor
