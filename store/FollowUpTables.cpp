#include "store/FollowUpTables.h"

#include "store/StoreQuery.h"

#include "store/DerivedRecords.h"

#include <array>

namespace vantor {
namespace {

constexpr std::array kTables = {
    // One row per route with its own schedule; a route without a row is measured every 30 days.
    AddedTable{kRouteSchedulesTable, "sItemGUID TEXT, iIntervalDays INTEGER, sStartDate TEXT",
               "CREATE INDEX ixRouteSchedulesRoute ON tblRouteSchedules (sItemGUID)"},
    // A point's combined status rising into WARNING or CRITICAL: the reading judged, the source
    // (documented, baseline, change, band, diagnosis), the diagnosis rule when a finding raised it,
    // the level (the status code) and the reasons.
    AddedTable{kAlarmEventsTable,
               "sItemGUID TEXT, sVibGUID TEXT, sReadingGUID TEXT, sSource TEXT, sRule TEXT, "
               "iLevel INTEGER, sReason TEXT, sRaised TEXT",
               "CREATE INDEX ixAlarmEventsVib ON tblAlarmEvents (sVibGUID)"},
    // The level each point was last judged at (sItemGUID is the point), so a steady level adds no
    // event and a return to OK is remembered.
    AddedTable{kPointAlarmLevelsTable, "sItemGUID TEXT, iLevel INTEGER, sReadingGUID TEXT, sJudged TEXT",
               "CREATE INDEX ixPointAlarmLevelsVib ON tblPointAlarmLevels (sItemGUID)"},
    // The acknowledgement trail: rows are only ever added.
    AddedTable{kEventAcknowledgementsTable,
               "sItemGUID TEXT, sEventGUID TEXT, sUser TEXT, sComment TEXT, sEntered TEXT",
               "CREATE INDEX ixEventAcknowledgementsEvent ON tblEventAcknowledgements (sEventGUID)"},
    // Dated notes on a machine or a point (sTargetGUID).
    AddedTable{kNotesTable, "sItemGUID TEXT, sTargetGUID TEXT, sAuthor TEXT, sText TEXT, sWritten TEXT",
               "CREATE INDEX ixNotesTarget ON tblNotes (sTargetGUID)"},
    // Recommendations raised from an event or a reading, with their state and, once closed, the
    // outcome that feeds the diagnosis's record.
    AddedTable{kRecommendationsTable,
               "sItemGUID TEXT, sEventGUID TEXT, sReadingGUID TEXT, sVibGUID TEXT, sRule TEXT, "
               "sAction TEXT, iPriority INTEGER, sDue TEXT, sAssignedTo TEXT, sState TEXT, sAuthor TEXT, "
               "sCreated TEXT, sOutcome TEXT, sFound TEXT, sClosedBy TEXT, sClosed TEXT, sSent TEXT, "
               "sSendError TEXT",
               "CREATE INDEX ixRecommendationsItem ON tblRecommendations (sItemGUID)"},
};

} // namespace

std::span<const AddedTable> FollowUpTables() {
    return kTables;
}

bool EnsureFollowUpTables(SqlConnection& connection) {
    return EnsureAddedTables(connection.Database(), kTables);
}

namespace followup {

QSqlQuery Run(SqlConnection& connection, const QString& sql, const QVariantList& values) {
    // Quoted for the engine by the statement runner, as every store statement is.
    return derived::Run(connection, StoreQuery{"follow-up", sql}, values);
}

} // namespace followup
} // namespace vantor
