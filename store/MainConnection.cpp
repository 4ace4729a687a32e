#include "store/MainConnection.h"

#include "store/AddedTables.h"
#include "store/AlarmRecords.h"
#include "store/BearingStore.h"
#include "store/DerivedRecords.h"
#include "store/FollowUpTables.h"
#include "store/ImportedReadings.h"
#include "store/Limits.h"
#include "store/OnlineTables.h"
#include "store/SignalCachePath.h"
#include "store/detail/RecordOps.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace vantor {

using detail::Query;

namespace {

const QString kByGuid = QStringLiteral("WHERE [sItemGUID] = ?");
const QString kByGuidOrNull = QStringLiteral("WHERE [sItemGUID] = ? OR [sItemGUID] IS NULL");
const QString kByParentOrNull = QStringLiteral("WHERE [sParentGUID] = ? OR [sParentGUID] IS NULL");
const QString kChildrenInOrder = QStringLiteral("WHERE [sParentGUID] = ? ORDER BY [fOrder] ASC");
const QString kAllInOrder = QStringLiteral("ORDER BY [fOrder] ASC");

// An empty GUID names nothing: a delete with it does nothing.
bool Named(const QString& guid) {
    return !guid.isEmpty();
}

auto NoChildren = [](const auto&) { return true; };

} // namespace

CMainConnection::CMainConnection(StoreContext context)
    : context_(std::move(context)), connection_(ConnectionFor(context_)) {}

bool CMainConnection::Open() {
    if (!connection_.Open()) {
        return false;
    }
    // An older database gains the added tables (bearing library, indices, envelope bands); one that
    // cannot (read-only) still opens, without them.
    EnsureBearingTables(connection_);
    derivedTables_ = EnsureAddedTables(connection_.Database());
    EnsureAlarmTables(connection_);
    EnsureFollowUpTables(connection_);
    EnsureOnlineTables(connection_);
    return true;
}

void CMainConnection::Close() {
    connection_.Close();
}

// ---- machines -----------------------------------------------------------------------------------

bool CMainConnection::GetMachine(const QString& guid, CMachine& out) {
    return detail::GetOne(Query<CMachine>{machines_, connection_, context_.discovery}, kByGuid, {guid}, out);
}

bool CMainConnection::UpsertMachine(const CMachine& machine) {
    return detail::Upsert(Query<CMachine>{machines_, connection_, context_.discovery}, kByGuid,
                          {machine.sItemGUID}, machine);
}

std::vector<CMachine> CMainConnection::ListMachines() {
    return detail::List(Query<CMachine>{machines_, connection_, context_.discovery}, kAllInOrder, {});
}

bool CMainConnection::DeleteMachine(const QString& guid) {
    if (!Named(guid)) {
        return false;
    }
    SqlConnection::Batch batch(connection_);
    // A machine whose readings could not all be removed stays, so no reading is left without a point.
    if (!DeleteVibsOf(guid) || !DeleteLubesOf(guid)) {
        return false;
    }
    return detail::DeleteWalk(Query<CMachine>{machines_, connection_, context_.discovery}, kByGuidOrNull,
                              {guid}, "DELETE MACHINE", NoChildren);
}

bool CMainConnection::RemoveMachine(const QString& guid) {
    SqlConnection::Batch batch(connection_);
    if (!DeleteMachine(guid)) {
        return false;
    }
    RenumberOrder(static_cast<int>(ItemKind::Machines), {});
    return DeleteRouteItemsNaming(guid);
}

// ---- vibration points ---------------------------------------------------------------------------

bool CMainConnection::GetVib(const QString& guid, CVib& out) {
    return detail::GetOne(Query<CVib>{vibs_, connection_, context_.discovery}, kByGuid, {guid}, out);
}

bool CMainConnection::UpsertVib(const CVib& vib) {
    return detail::Upsert(Query<CVib>{vibs_, connection_, context_.discovery}, kByGuid, {vib.sItemGUID}, vib);
}

std::vector<CVib> CMainConnection::ListVibs(const QString& parent) {
    const Query<CVib> q{vibs_, connection_, context_.discovery};
    return parent.isEmpty() ? detail::List(q, {}, {}) : detail::List(q, kChildrenInOrder, {parent});
}

int CMainConnection::CountVibs(const QString& parent) {
    return detail::Count(Query<CVib>{vibs_, connection_, context_.discovery}, kChildrenInOrder, {parent});
}

bool CMainConnection::DeleteVib(const QString& guid) {
    return Named(guid) && DeleteVibsWhere(kByGuidOrNull, {guid});
}

bool CMainConnection::DeleteVibsOf(const QString& machine) {
    return Named(machine) && DeleteVibsWhere(kByParentOrNull, {machine});
}

bool CMainConnection::DeleteVibsWhere(const QString& clause, const QVariantList& values) {
    SqlConnection::Batch batch(connection_);
    return detail::DeleteWalk(
        Query<CVib>{vibs_, connection_, context_.discovery}, clause, values, "DELETE VIB",
        [this](const CVib& vib) {
            if (!Named(vib.sItemGUID)) {
                return true;
            }
            if (!DeleteVibReadingsOf(vib.sItemGUID) ||
                !DeletePointBearingsOf(connection_, context_.discovery, vib.sItemGUID)) {
                return false;
            }
            derived::PutEnvelopeBand(connection_, vib.sItemGUID, std::nullopt);
            alarmrows::DeletePointRows(connection_, vib.sItemGUID);
            return true;
        });
}

// ---- lubrication points -------------------------------------------------------------------------

bool CMainConnection::GetLube(const QString& guid, CLube& out) {
    return detail::GetOne(Query<CLube>{lubes_, connection_, context_.discovery}, kByGuid, {guid}, out);
}

bool CMainConnection::UpsertLube(const CLube& lube) {
    return detail::Upsert(Query<CLube>{lubes_, connection_, context_.discovery}, kByGuid, {lube.sItemGUID},
                          lube);
}

std::vector<CLube> CMainConnection::ListLubes(const QString& parent) {
    const Query<CLube> q{lubes_, connection_, context_.discovery};
    return parent.isEmpty() ? detail::List(q, {}, {}) : detail::List(q, kChildrenInOrder, {parent});
}

int CMainConnection::CountLubes(const QString& parent) {
    return detail::Count(Query<CLube>{lubes_, connection_, context_.discovery}, kChildrenInOrder, {parent});
}

bool CMainConnection::DeleteLube(const QString& guid) {
    return Named(guid) && DeleteLubesWhere(kByGuidOrNull, {guid});
}

bool CMainConnection::DeleteLubesOf(const QString& machine) {
    return Named(machine) && DeleteLubesWhere(kByParentOrNull, {machine});
}

bool CMainConnection::DeleteLubesWhere(const QString& clause, const QVariantList& values) {
    SqlConnection::Batch batch(connection_);
    return detail::DeleteWalk(
        Query<CLube>{lubes_, connection_, context_.discovery}, clause, values, "DELETE LUBE",
        [this](const CLube& lube) { return !Named(lube.sItemGUID) || DeleteLubeReadingsOf(lube.sItemGUID); });
}

// ---- vibration readings -------------------------------------------------------------------------

bool CMainConnection::GetVibReading(const QString& guid, CVibReading& out) {
    return detail::GetOne(Query<CVibReading>{vibReadings_, connection_, context_.discovery}, kByGuid, {guid},
                          out);
}

bool CMainConnection::UpsertVibReading(const CVibReading& reading) {
    CVibReading stored = reading;
    // The binary columns never hold an empty value: an empty capture is stored as one byte.
    for (QByteArray* raw : {&stored.rawADCISODataByteArray, &stored.rawADCTotalDataByteArray}) {
        if (raw->isEmpty()) {
            *raw = QByteArray(1, '\0');
        }
    }
    const QString takenText =
        reading.ctDateTaken.isValid() ? SqlDateTimeText(reading.ctDateTaken) : QString();
    const QVariant taken =
        takenText.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(takenText);
    // The replaced reading's derived data goes in the same transaction as the new values arrive.
    SqlConnection::Transaction transaction(connection_);
    if (!DropDerivedOfReplaced(reading.sItemGUID, reading.sParentGUID, takenText)) {
        return false;
    }
    if (!detail::Upsert(Query<CVibReading>{vibReadings_, connection_, context_.discovery},
                        QStringLiteral("WHERE [sItemGUID] = ? OR ([sParentGUID] = ? AND [ctDateTaken] = ?)"),
                        {reading.sItemGUID, reading.sParentGUID, taken}, stored)) {
        return false;
    }
    return transaction.Commit();
}

bool CMainConnection::RemoveReadingFiles(const QString& guid) {
    if (!RemoveCacheFileOf(guid)) {
        return false;
    }
    if (Named(guid)) {
        QFile::remove(DerivedCacheFilePath(context_.dataFolder, guid));
    }
    return true;
}

bool CMainConnection::DropDerivedOfReplaced(const QString& guid, const QString& point, const QString& taken) {
    if (!derivedTables_) {
        return RemoveCacheFileOf(guid);
    }
    // A bulk write to a server looks nothing up: the indices rows go with the writes, and of the
    // files those of the reading's own GUID here (the bulk work removes those of a row of another
    // GUID it replaces by point and date, see ImportDataFile).
    QStringList replaced{guid};
    if (!connection_.DefersWrites()) {
        for (const QString& other : derived::ReplacedReadings(connection_, guid, point, taken)) {
            if (!replaced.contains(other)) {
                replaced << other;
            }
        }
    }
    derived::DeleteIndicesOfReplaced(connection_, guid, point, taken);
    for (const QString& old : replaced) {
        if (!RemoveReadingFiles(old)) {
            return false;
        }
        if (old != guid) {
            ForgetImportedReading(connection_, old);
        }
    }
    return true;
}

std::vector<CVibReading> CMainConnection::ListVibReadings(const QString& parent) {
    const Query<CVibReading> q{vibReadings_, connection_, context_.discovery};
    return parent.isEmpty()
               ? detail::List(q, {}, {})
               : detail::List(q, QStringLiteral("WHERE [sParentGUID] = ? ORDER BY [ctDateTaken] ASC"),
                              {parent});
}

std::vector<CVibReading> CMainConnection::ListVibReadingsNewestFirst(const QString& parent) {
    return detail::List(Query<CVibReading>{vibReadings_, connection_, context_.discovery},
                        QStringLiteral("WHERE [sParentGUID] = ? ORDER BY [ctDateTaken] DESC"), {parent});
}

bool CMainConnection::DeleteVibReading(const QString& guid) {
    return Named(guid) && DeleteVibReadingsWhere(kByGuidOrNull, {guid});
}

bool CMainConnection::DeleteVibReadingsOf(const QString& point) {
    return Named(point) && DeleteVibReadingsWhere(kByParentOrNull, {point});
}

bool CMainConnection::DeleteVibReadingsWhere(const QString& clause, const QVariantList& values) {
    return detail::DeleteWalk(Query<CVibReading>{vibReadings_, connection_, context_.discovery}, clause,
                              values, "DELETE VibReading", [this](const CVibReading& reading) {
                                  if (!RemoveCacheFileOf(reading.sItemGUID)) {
                                      return false;
                                  }
                                  ForgetImportedReading(connection_, reading.sItemGUID);
                                  if (Named(reading.sItemGUID)) {
                                      derived::DeleteReadingIndices(connection_, reading.sItemGUID);
                                      // The derived envelope file goes with the reading; one left
                                      // behind is harmless, so its removal stops nothing.
                                      QFile::remove(
                                          DerivedCacheFilePath(context_.dataFolder, reading.sItemGUID));
                                  }
                                  return true;
                              });
}

bool CMainConnection::RemoveCacheFileOf(const QString& readingGuid) {
    if (!Named(readingGuid)) {
        return true;
    }
    const QString path = SignalCacheFilePath(context_.dataFolder, readingGuid);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    if (QFile::remove(path)) {
        return true;
    }
    if (context_.securityWarning) {
        context_.securityWarning();
    }
    return false;
}

// ---- lubrication readings -----------------------------------------------------------------------

bool CMainConnection::GetLubeReading(const QString& guid, CLubeReading& out) {
    return detail::GetOne(Query<CLubeReading>{lubeReadings_, connection_, context_.discovery}, kByGuid,
                          {guid}, out);
}

bool CMainConnection::UpsertLubeReading(const CLubeReading& reading) {
    return detail::Upsert(Query<CLubeReading>{lubeReadings_, connection_, context_.discovery}, kByGuid,
                          {reading.sItemGUID}, reading);
}

std::vector<CLubeReading> CMainConnection::ListLubeReadingsNewestFirst(const QString& parent) {
    const Query<CLubeReading> q{lubeReadings_, connection_, context_.discovery};
    return parent.isEmpty()
               ? detail::List(q, {}, {})
               : detail::List(q, QStringLiteral("WHERE [sParentGUID] = ? ORDER BY [ctDateTaken] DESC"),
                              {parent});
}

bool CMainConnection::DeleteLubeReadingsOf(const QString& point) {
    return Named(point) &&
           detail::DeleteWalk(Query<CLubeReading>{lubeReadings_, connection_, context_.discovery},
                              kByParentOrNull, {point}, "DELETE LUBE READING", NoChildren);
}

// ---- routes -------------------------------------------------------------------------------------

bool CMainConnection::GetRoute(const QString& guid, CRoute& out) {
    return detail::GetOne(Query<CRoute>{routes_, connection_, context_.discovery}, kByGuid, {guid}, out);
}

bool CMainConnection::UpsertRoute(const CRoute& route) {
    return detail::Upsert(Query<CRoute>{routes_, connection_, context_.discovery}, kByGuid, {route.sItemGUID},
                          route);
}

std::vector<CRoute> CMainConnection::ListRoutes() {
    return detail::List(Query<CRoute>{routes_, connection_, context_.discovery}, kAllInOrder, {});
}

bool CMainConnection::DeleteRoute(const QString& guid) {
    if (!Named(guid)) {
        return false;
    }
    SqlConnection::Batch batch(connection_);
    // The route stays when its items could not be deleted: no item is left without its route.
    if (!DeleteRouteItemsOf(guid)) {
        return false;
    }
    return detail::DeleteWalk(Query<CRoute>{routes_, connection_, context_.discovery}, kByGuidOrNull, {guid},
                              "DELETE Route", NoChildren);
}

// ---- route items --------------------------------------------------------------------------------

bool CMainConnection::GetRouteItem(const QString& guid, CRouteItem& out) {
    return detail::GetOne(Query<CRouteItem>{routeItems_, connection_, context_.discovery}, kByGuid, {guid},
                          out);
}

bool CMainConnection::UpsertRouteItem(const CRouteItem& item) {
    return detail::Upsert(Query<CRouteItem>{routeItems_, connection_, context_.discovery}, kByGuid,
                          {item.sItemGUID}, item);
}

std::vector<CRouteItem> CMainConnection::ListRouteItems(const QString& route) {
    const Query<CRouteItem> q{routeItems_, connection_, context_.discovery};
    return route.isEmpty() ? detail::List(q, {}, {})
                           : detail::List(q, kChildrenInOrder, {route}, kMachinesPerRoute);
}

int CMainConnection::CountRouteItems(const QString& route) {
    return detail::Count(Query<CRouteItem>{routeItems_, connection_, context_.discovery}, kChildrenInOrder,
                         {route});
}

bool CMainConnection::DeleteRouteItem(const QString& guid) {
    return Named(guid) && detail::DeleteWalk(Query<CRouteItem>{routeItems_, connection_, context_.discovery},
                                             kByGuidOrNull, {guid}, "DELETE RouteItem", NoChildren);
}

bool CMainConnection::DeleteRouteItemsOf(const QString& route) {
    return Named(route) && detail::DeleteWalk(Query<CRouteItem>{routeItems_, connection_, context_.discovery},
                                              kByParentOrNull, {route}, "DELETE RouteItem", NoChildren);
}

bool CMainConnection::DeleteRouteItemsNaming(const QString& machine) {
    return Named(machine) &&
           detail::DeleteWalk(Query<CRouteItem>{routeItems_, connection_, context_.discovery},
                              QStringLiteral("WHERE [sMachineGUID] = ? OR [sMachineGUID] IS NULL"), {machine},
                              "DELETE RouteItem", NoChildren);
}

// ---- whole tables -------------------------------------------------------------------------------

int CMainConnection::CountWhere(const QString& table, const QString& clause, const QVariantList& values) {
    if (!connection_.IsOpen()) {
        return 0;
    }
    SqlStatement& statement =
        connection_.Prepared(QStringLiteral("SELECT COUNT(*) FROM %1 %2").arg(table, clause));
    for (int i = 0; i < values.size(); ++i) {
        BindValue(statement, i, values[i]);
    }
    return static_cast<int>(FirstInteger(statement).value_or(0));
}

int CMainConnection::CountAllVibs() {
    return CountWhere(QStringLiteral("tblVibs"), {}, {});
}

int CMainConnection::CountAllVibReadings() {
    return CountWhere(QStringLiteral("tblVibReadings"), {}, {});
}

int CMainConnection::CountAllRouteItems() {
    return CountWhere(QStringLiteral("tblRouteItems"), {}, {});
}

namespace {

// The clause selecting a point's readings, within the bounds that are valid.
QString ReadingSpanClause(const QString& point, const QDateTime& from, const QDateTime& to,
                          QVariantList& values) {
    QString clause = QStringLiteral("WHERE [sParentGUID] = ?");
    values = {point};
    if (from.isValid()) {
        clause += QStringLiteral(" AND [ctDateTaken] >= ?");
        values << SqlDateTimeText(from);
    }
    if (to.isValid()) {
        clause += QStringLiteral(" AND [ctDateTaken] <= ?");
        values << SqlDateTimeText(to);
    }
    return clause;
}

} // namespace

int CMainConnection::CountVibReadings(const QString& point, const QDateTime& from, const QDateTime& to) {
    QVariantList values;
    const QString clause = ReadingSpanClause(point, from, to, values);
    return CountWhere(QStringLiteral("tblVibReadings"), clause, values);
}

bool CMainConnection::GetLatestVibReading(const QString& point, CVibReading& out) {
    return detail::GetOne(Query<CVibReading>{vibReadings_, connection_, context_.discovery},
                          QStringLiteral("WHERE [sParentGUID] = ? ORDER BY [ctDateTaken] DESC"), {point},
                          out);
}

bool CMainConnection::WalkAllVibs(const VibVisitor& visit) {
    return vibs_.Walk(connection_, context_.discovery, {}, {},
                      [&visit](RecordRow<CVib>&& row) { return visit(row.record); });
}

bool CMainConnection::WalkAllVibReadings(const VibReadingVisitor& visit) {
    return vibReadings_.Walk(connection_, context_.discovery, {}, {},
                             [&visit](RecordRow<CVibReading>&& row) { return visit(row.record); });
}

bool CMainConnection::WalkAllRouteItems(const RouteItemVisitor& visit) {
    return routeItems_.Walk(connection_, context_.discovery, {}, {},
                            [&visit](RecordRow<CRouteItem>&& row) { return visit(row.record); });
}

bool CMainConnection::WalkVibReadings(const QString& point, const VibReadingVisitor& visit,
                                      const QDateTime& from, const QDateTime& to) {
    QVariantList values;
    const QString clause =
        ReadingSpanClause(point, from, to, values) + QStringLiteral(" ORDER BY [ctDateTaken] ASC");
    return vibReadings_.Walk(connection_, context_.discovery, clause, values,
                             [&visit](RecordRow<CVibReading>&& row) { return visit(row.record); });
}

// ---- order --------------------------------------------------------------------------------------

float CMainConnection::NextOrder(ItemKind kind, const QString& parent, const QString& before) {
    const auto& policy = context_.discovery;
    switch (kind) {
    case ItemKind::Machines:
        return detail::NextOrderIn(Query<CMachine>{machines_, connection_, policy}, kAllInOrder, {}, before);
    case ItemKind::Routes:
        return detail::NextOrderIn(Query<CRoute>{routes_, connection_, policy}, kAllInOrder, {}, before);
    case ItemKind::Meters:
        return detail::NextOrderIn(Query<CDevice>{devices_, connection_, policy}, kAllInOrder, {}, before);
    case ItemKind::VibPoints:
    case ItemKind::LubePoints:
    case ItemKind::RouteItems:
        break;
    }
    if (parent.isEmpty()) {
        return -1;
    }
    switch (kind) {
    case ItemKind::VibPoints:
        return detail::NextOrderIn(Query<CVib>{vibs_, connection_, policy}, kChildrenInOrder, {parent},
                                   before);
    case ItemKind::LubePoints:
        return detail::NextOrderIn(Query<CLube>{lubes_, connection_, policy}, kChildrenInOrder, {parent},
                                   before);
    case ItemKind::RouteItems:
        return detail::NextOrderIn(Query<CRouteItem>{routeItems_, connection_, policy}, kChildrenInOrder,
                                   {parent}, before);
    default:
        return -1;
    }
}

void CMainConnection::RenumberOrder(int kind, const QString& parent) {
    const auto& policy = context_.discovery;
    switch (static_cast<ItemKind>(kind)) {
    case ItemKind::Machines:
        return detail::Renumber(Query<CMachine>{machines_, connection_, policy}, kAllInOrder, {});
    case ItemKind::Routes:
        return detail::Renumber(Query<CRoute>{routes_, connection_, policy}, kAllInOrder, {});
    case ItemKind::Meters:
        return detail::Renumber(Query<CDevice>{devices_, connection_, policy}, kAllInOrder, {});
    case ItemKind::VibPoints:
        if (!parent.isEmpty()) {
            detail::Renumber(Query<CVib>{vibs_, connection_, policy}, kChildrenInOrder, {parent});
        }
        return;
    case ItemKind::LubePoints:
        if (!parent.isEmpty()) {
            detail::Renumber(Query<CLube>{lubes_, connection_, policy}, kChildrenInOrder, {parent});
        }
        return;
    case ItemKind::RouteItems:
        if (!parent.isEmpty()) {
            detail::Renumber(Query<CRouteItem>{routeItems_, connection_, policy}, kChildrenInOrder, {parent});
        }
        return;
    }
}

} // namespace vantor
