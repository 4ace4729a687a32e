#include "store/RecommendationRecords.h"

#include "store/FollowUpTables.h"
#include "store/RecordFields.h"

namespace vantor::recommendationrows {
namespace {

constexpr const char* kColumns =
    "sItemGUID, sEventGUID, sReadingGUID, sVibGUID, sRule, sAction, iPriority, sDue, sAssignedTo, sState, "
    "sAuthor, sCreated, sOutcome, sFound, sClosedBy, sClosed, sSent, sSendError";

QString Moment(const QDateTime& value) {
    return value.isValid() ? SqlDateTimeText(value) : QString();
}

RecommendationRow Read(const QSqlQuery& q) {
    RecommendationRow row;
    row.guid = q.value(0).toString();
    row.eventGuid = q.value(1).toString();
    row.readingGuid = q.value(2).toString();
    row.pointGuid = q.value(3).toString();
    row.rule = q.value(4).toString();
    row.action = q.value(5).toString();
    row.priority = q.value(6).toInt();
    row.due = QDate::fromString(q.value(7).toString(), Qt::ISODate);
    row.assignedTo = q.value(8).toString();
    row.state = q.value(9).toString();
    row.author = q.value(10).toString();
    row.created = DateTimeFromSql(q.value(11));
    row.outcome = q.value(12).toString();
    row.found = q.value(13).toString();
    row.closedBy = q.value(14).toString();
    row.closed = q.value(15).toString().isEmpty() ? QDateTime() : DateTimeFromSql(q.value(15));
    row.sent = q.value(16).toString().isEmpty() ? QDateTime() : DateTimeFromSql(q.value(16));
    row.sendError = q.value(17).toString();
    return row;
}

} // namespace

void Insert(SqlConnection& connection, const RecommendationRow& r) {
    followup::Run(
        connection,
        QStringLiteral("INSERT INTO tblRecommendations (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                       "?, ?, ?, ?, ?)")
            .arg(QLatin1String(kColumns)),
        {r.guid, r.eventGuid, r.readingGuid, r.pointGuid, r.rule, r.action, r.priority,
         r.due.toString(Qt::ISODate), r.assignedTo, r.state, r.author, Moment(r.created), r.outcome, r.found,
         r.closedBy, Moment(r.closed), Moment(r.sent), r.sendError});
}

bool Get(SqlConnection& connection, const QString& guid, RecommendationRow& out) {
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral("SELECT %1 FROM tblRecommendations WHERE sItemGUID = ?").arg(QLatin1String(kColumns)),
        {guid});
    if (!query.next()) {
        return false;
    }
    out = Read(query);
    return true;
}

std::vector<RecommendationRow> List(SqlConnection& connection, bool openOnly) {
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral("SELECT %1 FROM tblRecommendations %2 ORDER BY sCreated, sItemGUID")
            .arg(QLatin1String(kColumns),
                 openOnly ? QStringLiteral("WHERE sState IN ('open', 'in progress')") : QString()));
    std::vector<RecommendationRow> rows;
    while (query.next()) {
        rows.push_back(Read(query));
    }
    return rows;
}

bool Close(SqlConnection& connection, const QString& guid, const QString& outcome, const QString& found,
           const QString& closedBy, const QDateTime& closed) {
    const QSqlQuery query = followup::Run(
        connection,
        QStringLiteral(
            "UPDATE tblRecommendations SET sState = 'done', sOutcome = ?, sFound = ?, sClosedBy = ?, "
            "sClosed = ? WHERE sItemGUID = ? AND sState IN ('open', 'in progress')"),
        {outcome, found, closedBy, Moment(closed), guid});
    return query.numRowsAffected() > 0;
}

void MarkSent(SqlConnection& connection, const QString& guid, const QDateTime& sent, const QString& error) {
    followup::Run(
        connection,
        QStringLiteral("UPDATE tblRecommendations SET sSent = ?, sSendError = ? WHERE sItemGUID = ?"),
        {Moment(sent), error, guid});
}

} // namespace vantor::recommendationrows
