#include "store/NoteRecords.h"

#include "store/FollowUpTables.h"
#include "store/RecordFields.h"

namespace vantor::noterows {

void Insert(SqlConnection& connection, const NoteRow& row) {
    followup::Run(
        connection,
        QStringLiteral("INSERT INTO tblNotes (sItemGUID, sTargetGUID, sAuthor, sText, sWritten) VALUES "
                       "(?, ?, ?, ?, ?)"),
        {row.guid, row.targetGuid, row.author, row.text, SqlDateTimeText(row.written)});
}

std::vector<NoteRow> List(SqlConnection& connection, const QStringList& targetGuids) {
    QString where;
    QVariantList values;
    if (!targetGuids.isEmpty()) {
        QStringList marks;
        for (const QString& guid : targetGuids) {
            marks << QStringLiteral("?");
            values << guid;
        }
        where = QStringLiteral("WHERE sTargetGUID IN (%1)").arg(marks.join(QLatin1Char(',')));
    }
    QSqlQuery query = followup::Run(
        connection,
        QStringLiteral("SELECT sItemGUID, sTargetGUID, sAuthor, sText, sWritten FROM tblNotes %1 ORDER BY "
                       "sWritten, sItemGUID")
            .arg(where),
        values);
    std::vector<NoteRow> rows;
    while (query.next()) {
        rows.push_back({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                        query.value(3).toString(), DateTimeFromSql(query.value(4))});
    }
    return rows;
}

} // namespace vantor::noterows
