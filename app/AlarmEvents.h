#pragma once
// Alarm events: whenever readings are stored (meter upload, data-file import, signal import,
// off-route move) the point's combined status is judged, and a rise into WARNING or CRITICAL is
// recorded as an event. The combined status is the documented ISO/BDU status, the baseline, change
// and band alarms, and the most severe finding of the diagnosis of the latest reading. A steady
// level adds nothing; a point that falls back to OK (or below WARNING) and alarms again makes a new
// event. Events are New until acknowledged; acknowledgements are only ever added, with the user
// and the time.

#include "analysis/AlarmStatus.h"
#include "store/AlarmEventRecords.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;
class EnvelopeAnalyzer;
class SignalProcessor;

// What an event would record about a point's latest reading.
struct JudgedPoint {
    StatusCode level = StatusCode::NoReadings;
    QString readingGuid;
    QString source; // documented, baseline, change, band, diagnosis; empty below WARNING
    QString rule;   // the most severe alarming finding's rule, if any
    QString reason; // every reason at WARNING or above, most severe first, "; " between
};

// The point judged on its latest reading. Throws DatabaseError.
JudgedPoint JudgePoint(CMainConnection& db, SignalProcessor& processor, EnvelopeAnalyzer& analyzer,
                       const CVib& point);

// Whether a point last judged at `previous` (none: never judged) and now at `now` makes an event:
// `now` is WARNING or CRITICAL and above the previous level, where a previous level below WARNING
// counts as none.
bool MakesAlarmEvent(std::optional<StatusCode> previous, StatusCode now);

// The one function every path that stores readings calls: judges the point, records its level and,
// when the level rose into an alarm, the event (returned). Never throws: a failure is logged and
// leaves the stored readings as they are.
// An event's source ("baseline", "diagnosis", ...) and time as the pane and the report show them:
// the source in the language shown, the time as the stored text ("2026-11-30 08:00:00") unless the
// desktop shows a language with its own dates.
QString EventSourceText(const QString& source);
QString EventTimeText(const QDateTime& time);

std::optional<AlarmEventRow> RecordAlarmEvent(CMainConnection& db, const QString& pointGuid,
                                              const QDateTime& now = QDateTime::currentDateTime());

// The same for every point whose latest reading was not judged yet (after a data-file import, and
// the first time on a database from before events); the number of events made.
int RecordAlarmEventsOfChangedPoints(CMainConnection& db,
                                     const QDateTime& now = QDateTime::currentDateTime());

// An event with its point and machine names and its trail, for lists and the report.
struct EventView {
    AlarmEventRow event;
    QString machineName;
    QString pointName;
    std::vector<AcknowledgementRow> trail;
    bool IsNew() const { return trail.empty(); }
};
// Events oldest first (two queries: the events, the trail). Throws DatabaseError.
std::vector<EventView> ListEventViews(CMainConnection& db, const EventFilter& filter);

// Acknowledges each event with the comment, as `user`. Everything is checked first: an empty
// comment or an unknown event stores nothing and returns the message; empty when done.
QString AcknowledgeEvents(CMainConnection& db, const QStringList& eventGuids, const QString& comment,
                          const QString& user, const QDateTime& now = QDateTime::currentDateTime());

// The name recorded as the author of an acknowledgement, note or recommendation: the server's role
// on PostgreSQL, else the login name.
QString CurrentUserName(CMainConnection& db);

} // namespace vantor
