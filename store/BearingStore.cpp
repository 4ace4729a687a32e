#include "store/BearingStore.h"

#include "platform/LeftOutValues.h"
#include "store/BearingChecks.h"
#include "store/detail/RecordOps.h"

namespace vantor {

using detail::Query;

namespace {

const QString kByGuid = QStringLiteral("WHERE [sItemGUID] = ?");
const QString kByGuidOrNull = QStringLiteral("WHERE [sItemGUID] = ? OR [sItemGUID] IS NULL");
const QString kAllInOrder = QStringLiteral("ORDER BY [fOrder] ASC");
const QString kChildrenInOrder = QStringLiteral("WHERE [sParentGUID] = ? ORDER BY [fOrder] ASC");
const QString kNamingBearing = QStringLiteral("WHERE [sBearingGUID] = ?");

auto NoChildren = [](const auto&) { return true; };

bool HasAssignmentsTable(const SqlConnection& connection) {
    return connection.IsOpen() && connection.Database().tables().contains(
                                      QLatin1String(TableTraits<CPointBearing>::name), Qt::CaseInsensitive);
}

} // namespace

CBearingStore::CBearingStore(CMainConnection& db, StoredValues values)
    : values_(values), connection_(db.Connection()), policy_(db.Context().discovery) {}

bool CBearingStore::Usable(const CBearing& bearing) const {
    if (values_ == StoredValues::AsStored) {
        return true;
    }
    if (const auto refused = CheckBearingNumbers(bearing)) {
        ReportLeftOutValue(bearing.sItemGUID,
                           QStringLiteral("Bearing %1 %2 is left out: %3; correct it or delete it")
                               .arg(bearing.sDesignation, bearing.sItemGUID, *refused));
        return false;
    }
    return true;
}

bool CBearingStore::Usable(const CPointBearing& assignment) const {
    if (values_ == StoredValues::AsStored) {
        return true;
    }
    if (const auto refused = CheckPointBearing(assignment)) {
        ReportLeftOutValue(
            assignment.sParentGUID + assignment.sItemGUID + assignment.sLocation,
            QStringLiteral("Bearing %1 of point %2 (%3) is left out: %4 (stored: %5); correct or remove it")
                .arg(assignment.sItemGUID, assignment.sParentGUID, assignment.sLocation, *refused)
                .arg(static_cast<double>(assignment.fSpeedRatio)));
        return false;
    }
    return true;
}

// ---- the library --------------------------------------------------------------------------------

bool CBearingStore::GetBearing(const QString& guid, CBearing& out) {
    CBearing bearing;
    if (!detail::GetOne(Query<CBearing>{bearings_, connection_, policy_}, kByGuid, {guid}, bearing) ||
        !Usable(bearing)) {
        return false;
    }
    out = std::move(bearing);
    return true;
}

std::vector<CBearing> CBearingStore::ListBearings() {
    std::vector<CBearing> bearings =
        detail::List(Query<CBearing>{bearings_, connection_, policy_}, kAllInOrder, {});
    std::erase_if(bearings, [this](const CBearing& bearing) { return !Usable(bearing); });
    return bearings;
}

bool CBearingStore::UpsertBearing(const CBearing& bearing) {
    return !bearing.sItemGUID.isEmpty() && detail::Upsert(Query<CBearing>{bearings_, connection_, policy_},
                                                          kByGuid, {bearing.sItemGUID}, bearing);
}

float CBearingStore::NextBearingOrder() {
    return detail::NextOrderIn(Query<CBearing>{bearings_, connection_, policy_}, kAllInOrder, {}, {});
}

bool CBearingStore::DeleteBearing(const QString& guid) {
    if (guid.isEmpty()) {
        return false;
    }
    SqlConnection::Transaction transaction(connection_);
    QStringList points;
    for (const CPointBearing& assignment : ListAssignmentsOf(guid)) {
        if (!points.contains(assignment.sParentGUID)) {
            points << assignment.sParentGUID;
        }
    }
    const Query<CPointBearing> assignments{assignments_, connection_, policy_};
    if (!detail::DeleteWalk(assignments, kNamingBearing, {guid}, "DELETE PointBearing", NoChildren) ||
        !detail::DeleteWalk(Query<CBearing>{bearings_, connection_, policy_}, kByGuidOrNull, {guid},
                            "DELETE Bearing", NoChildren)) {
        return false;
    }
    for (const QString& point : points) {
        detail::Renumber(assignments, kChildrenInOrder, {point});
    }
    detail::Renumber(Query<CBearing>{bearings_, connection_, policy_}, kAllInOrder, {});
    return transaction.Commit();
}

// ---- a point's bearings -------------------------------------------------------------------------

std::vector<CPointBearing> CBearingStore::ListPointBearings(const QString& point) {
    std::vector<CPointBearing> assignments =
        detail::List(Query<CPointBearing>{assignments_, connection_, policy_}, kChildrenInOrder, {point});
    std::erase_if(assignments, [this](const CPointBearing& assignment) { return !Usable(assignment); });
    return assignments;
}

int CBearingStore::CountPointBearings(const QString& point) {
    return detail::Count(Query<CPointBearing>{assignments_, connection_, policy_}, kChildrenInOrder, {point});
}

std::vector<CPointBearing> CBearingStore::ListAssignmentsOf(const QString& bearing) {
    return detail::List(Query<CPointBearing>{assignments_, connection_, policy_}, kNamingBearing, {bearing});
}

bool CBearingStore::UpsertPointBearing(const CPointBearing& assignment) {
    return !assignment.sItemGUID.isEmpty() && !assignment.sParentGUID.isEmpty() &&
           detail::Upsert(Query<CPointBearing>{assignments_, connection_, policy_}, kByGuid,
                          {assignment.sItemGUID}, assignment);
}

float CBearingStore::NextPointBearingOrder(const QString& point) {
    return detail::NextOrderIn(Query<CPointBearing>{assignments_, connection_, policy_}, kChildrenInOrder,
                               {point}, {});
}

bool CBearingStore::DeletePointBearing(const QString& guid) {
    if (guid.isEmpty()) {
        return false;
    }
    const Query<CPointBearing> assignments{assignments_, connection_, policy_};
    CPointBearing assignment;
    if (!detail::GetOne(assignments, kByGuid, {guid}, assignment)) {
        return false;
    }
    SqlConnection::Transaction transaction(connection_);
    if (!detail::DeleteWalk(assignments, kByGuidOrNull, {guid}, "DELETE PointBearing", NoChildren)) {
        return false;
    }
    detail::Renumber(assignments, kChildrenInOrder, {assignment.sParentGUID});
    return transaction.Commit();
}

bool CBearingStore::ReplacePointBearings(const QString& point,
                                         const std::vector<CPointBearing>& replacement) {
    if (point.isEmpty() || static_cast<int>(replacement.size()) > kBearingsPerPoint) {
        return false;
    }
    SqlConnection::Transaction transaction(connection_);
    if (!DeletePointBearingsOf(connection_, policy_, point)) {
        return false;
    }
    float order = 0;
    for (CPointBearing assignment : replacement) {
        assignment.sParentGUID = point;
        assignment.fOrder = order;
        if (assignment.sItemGUID.isEmpty()) {
            assignment.sItemGUID = MakeItemGuid();
        }
        if (!UpsertPointBearing(assignment)) {
            return false;
        }
        order += 1;
    }
    return transaction.Commit();
}

bool DeletePointBearingsOf(SqlConnection& connection, const ColumnDiscoveryPolicy& policy,
                           const QString& point) {
    if (point.isEmpty() || !HasAssignmentsTable(connection)) {
        return true;
    }
    CPointBearingDB assignments;
    return detail::DeleteWalk(Query<CPointBearing>{assignments, connection, policy},
                              QStringLiteral("WHERE [sParentGUID] = ? OR [sParentGUID] IS NULL"), {point},
                              "DELETE PointBearing", NoChildren);
}

} // namespace vantor
