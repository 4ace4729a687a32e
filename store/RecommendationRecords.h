#pragma once
// Recommendations (tblRecommendations): an action raised from an alarm event or a reading, with
// its priority, due date, assignee and state, and once closed the outcome maintenance found, which
// is what the diagnosis's record counts.

#include "store/SqlConnection.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace vantor {

struct RecommendationRow {
    QString guid;
    QString eventGuid;   // empty when raised from a reading
    QString readingGuid; // the reading judged
    QString pointGuid;
    QString rule; // the diagnosis rule of the finding behind it; empty for other alarms
    QString action;
    int priority = 0; // 1 (most urgent) .. 4
    QDate due;
    QString assignedTo;
    QString state; // open, in progress, done, cancelled
    QString author;
    QDateTime created;
    QString outcome; // confirmed, partly, not-confirmed; empty while not closed
    QString found;
    QString closedBy;
    QDateTime closed;
    QDateTime sent;    // when the work request was last written; invalid: never
    QString sendError; // why the last sending failed; empty when it did not
};

// Throw DatabaseError when a statement cannot run.
namespace recommendationrows {

void Insert(SqlConnection& connection, const RecommendationRow& row);
bool Get(SqlConnection& connection, const QString& guid, RecommendationRow& out);
// Oldest first; only those neither done nor cancelled with `openOnly`.
std::vector<RecommendationRow> List(SqlConnection& connection, bool openOnly);
// Closes an open recommendation in one statement, so of two closing at once one wins; false when it
// was already closed (or does not exist).
bool Close(SqlConnection& connection, const QString& guid, const QString& outcome, const QString& found,
           const QString& closedBy, const QDateTime& closed);
// Records when the work request was written and why sending failed (empty: it did not).
void MarkSent(SqlConnection& connection, const QString& guid, const QDateTime& sent, const QString& error);

} // namespace recommendationrows
} // namespace vantor
