#include "store/AlarmEventRecords.h"

#include "store/FollowUpTables.h"
#include "store/RecordFields.h"

namespace vantor::eventrows {
namespace {

constexpr const char* kEventColumns =
    "e.sItemGUID, e.sVibGUID, e.sReadingGUID, e.sSource, e.sRule, e.iLevel, e.sReason, e.sRaised";

AlarmEventRow ReadEvent(const QSqlQuery& query) {
    return {query.value(0).toString(), query.value(1).toString(),      query.value(2).toString(),
            query.value(3).toString(), query.value(4).toString(),      query.value(5).toInt(),
            query.value(6).toString(), DateTimeFromSql(query.value(7))};
}

} // namespace

void Insert(SqlConnection& connection, const AlarmEventRow& row) {
    followup::Run(
        connection,
        QStringLiteral("INSERT INTO tblAlarmEvents (sItemGUID, sVibGUID, sReadingGUID, sSource, sRule, "
                       "iLevel, sReason, sRaised) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {row.guid, row.pointGuid, row.readingGuid, row.source, row.rule, row.level, row.reason,
         SqlDateTimeText(row.raised)});
}

bool Get(SqlConnection& connection, const QString& guid, AlarmEventRow& out) {
    QSqlQuery query = followup::Run(connection,
                                    QStringLiteral("SELECT %1 FROM tblAlarmEvents e WHERE e.sItemGUID = ?")
                                        .arg(QLatin1String(kEventColumns)),
                                    {guid});
    if (!query.next()) {
        return false;
    }
    out = ReadEvent(query);
    return true;
}

// Events in the order they were raised; those raised in the same second (one upload) in the order
// of their readings.
std::vector<ListedEvent> List(SqlConnection& connection, const EventFilter& filter) {
    QStringList where;
    QVariantList values;
    if (filter.newOnly) {
        where << QStringLiteral(
            "NOT EXISTS (SELECT 1 FROM tblEventAcknowledgements a WHERE a.sEventGUID = e.sItemGUID)");
    }
    if (!filter.pointGuid.isEmpty()) {
        where << QStringLiteral("e.sVibGUID = ?");
        values << filter.pointGuid;
    }
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral(
            "SELECT %1, %3, v.[sName], m.[sName] FROM tblAlarmEvents e LEFT JOIN tblVibs v ON "
            "v.[sItemGUID] = e.sVibGUID LEFT JOIN tblMachines m ON m.[sItemGUID] = v.[sParentGUID] %2 "
            "ORDER BY e.sRaised, (SELECT r.[ctDateTaken] FROM tblVibReadings r WHERE r.[sItemGUID] = "
            "e.sReadingGUID), e.sItemGUID")
            .arg(QLatin1String(kEventColumns),
                 where.isEmpty() ? QString() : QStringLiteral("WHERE ") + where.join(QStringLiteral(" AND ")),
                 // A new event has no acknowledgement to count.
                 filter.newOnly ? QStringLiteral("0")
                                : QStringLiteral("(SELECT COUNT(*) FROM tblEventAcknowledgements a WHERE "
                                                 "a.sEventGUID = e.sItemGUID)")),
        values);
    std::vector<ListedEvent> events;
    while (query.next()) {
        events.push_back({ReadEvent(query), query.value(8).toInt(), query.value(10).toString(),
                          query.value(9).toString()});
    }
    return events;
}

std::vector<std::pair<QString, int>> PointsWithNewEvents(SqlConnection& connection) {
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral("SELECT e.sVibGUID, COUNT(*) FROM tblAlarmEvents e WHERE NOT EXISTS (SELECT 1 "
                       "FROM tblEventAcknowledgements a WHERE a.sEventGUID = e.sItemGUID) GROUP BY "
                       "e.sVibGUID"));
    std::vector<std::pair<QString, int>> points;
    while (query.next()) {
        points.emplace_back(query.value(0).toString(), query.value(1).toInt());
    }
    return points;
}

std::optional<PointAlarmLevelRow> LevelOf(SqlConnection& connection, const QString& pointGuid) {
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral(
            "SELECT sItemGUID, iLevel, sReadingGUID, sJudged FROM tblPointAlarmLevels WHERE sItemGUID = ?"),
        {pointGuid});
    if (!query.next()) {
        return std::nullopt;
    }
    return PointAlarmLevelRow{query.value(0).toString(), query.value(1).toInt(), query.value(2).toString(),
                              DateTimeFromSql(query.value(3))};
}

void PutLevel(SqlConnection& connection, const PointAlarmLevelRow& row) {
    SqlConnection::Transaction transaction(connection);
    followup::Run(connection, QStringLiteral("DELETE FROM tblPointAlarmLevels WHERE sItemGUID = ?"),
                  {row.pointGuid});
    followup::Run(connection,
                  QStringLiteral("INSERT INTO tblPointAlarmLevels (sItemGUID, iLevel, sReadingGUID, sJudged) "
                                 "VALUES (?, ?, ?, ?)"),
                  {row.pointGuid, row.level, row.readingGuid, SqlDateTimeText(row.judged)});
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The alarm level of %1 could not be stored").arg(row.pointGuid));
    }
}

std::vector<PointAlarmLevelRow> AllLevels(SqlConnection& connection) {
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral("SELECT sItemGUID, iLevel, sReadingGUID, sJudged FROM tblPointAlarmLevels"));
    std::vector<PointAlarmLevelRow> rows;
    while (query.next()) {
        rows.push_back({query.value(0).toString(), query.value(1).toInt(), query.value(2).toString(),
                        DateTimeFromSql(query.value(3))});
    }
    return rows;
}

void AddAcknowledgement(SqlConnection& connection, const AcknowledgementRow& row) {
    followup::Run(
        connection,
        QStringLiteral("INSERT INTO tblEventAcknowledgements (sItemGUID, sEventGUID, sUser, sComment, "
                       "sEntered) VALUES (?, ?, ?, ?, ?)"),
        {row.guid, row.eventGuid, row.user, row.comment, SqlDateTimeText(row.entered)});
}

std::vector<AcknowledgementRow> Acknowledgements(SqlConnection& connection, const QString& eventGuid) {
    const QString sql = QStringLiteral("SELECT sItemGUID, sEventGUID, sUser, sComment, sEntered FROM "
                                       "tblEventAcknowledgements %1 ORDER BY sEntered, sItemGUID")
                            .arg(eventGuid.isEmpty() ? QString() : QStringLiteral("WHERE sEventGUID = ?"));
    QSqlQuery query =
        followup::Run(connection, sql, eventGuid.isEmpty() ? QVariantList{} : QVariantList{eventGuid});
    std::vector<AcknowledgementRow> rows;
    while (query.next()) {
        rows.push_back({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                        query.value(3).toString(), DateTimeFromSql(query.value(4))});
    }
    return rows;
}

} // namespace vantor::eventrows
