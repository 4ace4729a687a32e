#include "app/AlarmEvents.h"

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/PointAlarms.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/SignalProcessor.h"
#include "app/Log.h"
#include "loaders/DiagnosisLoader.h"
#include "loaders/PointAlarmsQuery.h"
#include "records/DateTimeText.h"
#include "store/LatestReadings.h"
#include "store/MainConnection.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <QHash>
#include <QSqlQuery>

#include <pwd.h>
#include <unistd.h>

namespace vantor {
namespace {

bool Alarming(StatusCode code) {
    return code >= StatusCode::Warning;
}

// The most severe alarming finding of the latest reading's diagnosis, if any.
std::optional<Finding> WorstFinding(CMainConnection& db, SignalProcessor& processor,
                                    EnvelopeAnalyzer& analyzer, const QString& readingGuid) {
    const std::optional<ReadingDiagnosis> diagnosis = DiagnoseReading(db, processor, analyzer, readingGuid);
    std::optional<Finding> worst;
    if (!diagnosis) {
        return worst;
    }
    for (const Finding& finding : diagnosis->findings) {
        if (Alarming(finding.severity) && (!worst || finding.severity > worst->severity)) {
            worst = finding;
        }
    }
    return worst;
}

QString LoginName() {
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
        return QString::fromLocal8Bit(entry->pw_name);
    }
    return qEnvironmentVariable("USER", QStringLiteral("unknown"));
}

} // namespace

JudgedPoint JudgePoint(CMainConnection& db, SignalProcessor& processor, EnvelopeAnalyzer& analyzer,
                       const CVib& point) {
    JudgedPoint judged;
    CVibReading latest;
    if (!db.GetLatestVibReading(point.sItemGUID, latest)) {
        return judged;
    }
    judged.readingGuid = latest.sItemGUID;
    const PointAlarmStatus alarms = EvaluatePointAlarms(db, processor, analyzer, point);
    const std::optional<Finding> finding = WorstFinding(db, processor, analyzer, latest.sItemGUID);
    judged.level = MostSevere(alarms.combined.code, finding ? finding->severity : StatusCode::NoReadings);
    if (!Alarming(judged.level)) {
        return judged;
    }
    QStringList reasons;
    if (Alarming(alarms.documented.code)) {
        reasons << UiText(text::added::DocumentedLimitsReason).arg(StatusText(alarms.documented.code));
    }
    for (const AlarmReason& reason : alarms.reasons) {
        reasons << reason.text;
    }
    if (finding) {
        judged.rule = FindingKindName(finding->kind);
        reasons << QStringLiteral("%1: %2").arg(FindingKindCaption(finding->kind), finding->summary);
    }
    judged.reason = reasons.join(QStringLiteral("; "));
    // The source is the first that reaches the level: the documented limits, then the other
    // alarms (most severe first), then the diagnosis.
    if (alarms.documented.code == judged.level) {
        judged.source = QStringLiteral("documented");
    } else if (!alarms.reasons.empty() && alarms.reasons.front().code == judged.level) {
        judged.source = AlarmReasonSourceName(alarms.reasons.front().source);
    } else {
        judged.source = QStringLiteral("diagnosis");
    }
    return judged;
}

QString EventSourceText(const QString& source) {
    static const std::pair<const char*, int> kSources[] = {{"documented", text::added::EventSourceDocumented},
                                                           {"baseline", text::added::EventSourceBaseline},
                                                           {"change", text::added::EventSourceChange},
                                                           {"band", text::added::EventSourceBand},
                                                           {"zone", text::added::EventSourceZone},
                                                           {"diagnosis", text::added::EventSourceDiagnosis}};
    for (const auto& [name, caption] : kSources) {
        if (source == QLatin1String(name)) {
            return UiText(caption);
        }
    }
    return source;
}

QString EventTimeText(const QDateTime& time) {
    return DisplayDatePattern().isEmpty() ? SqlDateTimeText(time) : DisplayDateTime(time);
}

bool MakesAlarmEvent(std::optional<StatusCode> previous, StatusCode now) {
    if (!Alarming(now)) {
        return false;
    }
    return !previous || !Alarming(*previous) || now > *previous;
}

std::optional<AlarmEventRow> RecordAlarmEvent(CMainConnection& db, const QString& pointGuid,
                                              const QDateTime& now) {
    try {
        CVib point;
        if (!db.GetVib(pointGuid, point)) {
            return std::nullopt;
        }
        SignalProcessor processor;
        EnvelopeAnalyzer analyzer;
        const JudgedPoint judged = JudgePoint(db, processor, analyzer, point);
        if (judged.readingGuid.isEmpty()) {
            return std::nullopt;
        }
        SqlConnection& connection = db.Connection();
        // Read, compare and write under the writers' lock, so two programs judging the same point
        // at once make one event.
        SqlConnection::Transaction transaction(connection);
        const std::optional<PointAlarmLevelRow> previous = eventrows::LevelOf(connection, pointGuid);
        std::optional<AlarmEventRow> event;
        const std::optional<StatusCode> before =
            previous ? std::optional<StatusCode>(static_cast<StatusCode>(previous->level)) : std::nullopt;
        if (MakesAlarmEvent(before, judged.level)) {
            event = AlarmEventRow{MakeItemGuid(), pointGuid,   judged.readingGuid,
                                  judged.source,  judged.rule, static_cast<int>(judged.level),
                                  judged.reason,  now};
            eventrows::Insert(connection, *event);
        }
        eventrows::PutLevel(connection, {pointGuid, static_cast<int>(judged.level), judged.readingGuid, now});
        if (!transaction.Commit()) {
            qCWarning(lcApp) << "the alarm event of point" << pointGuid << "could not be stored";
            return std::nullopt;
        }
        return event;
    } catch (const std::exception& error) {
        qCWarning(lcApp) << "judging point" << pointGuid << "for alarm events failed:" << error.what();
        return std::nullopt;
    }
}

int RecordAlarmEventsOfChangedPoints(CMainConnection& db, const QDateTime& now) {
    int made = 0;
    try {
        QHash<QString, QString> judged;
        for (const PointAlarmLevelRow& row : eventrows::AllLevels(db.Connection())) {
            judged.insert(row.pointGuid, row.readingGuid);
        }
        const QHash<QString, CVibReading> latest = LatestVibReadingsByPoint(db);
        for (auto it = latest.cbegin(); it != latest.cend(); ++it) {
            if (judged.value(it.key()) != it->sItemGUID && RecordAlarmEvent(db, it.key(), now)) {
                ++made;
            }
        }
    } catch (const std::exception& error) {
        qCWarning(lcApp) << "judging the changed points for alarm events failed:" << error.what();
    }
    return made;
}

std::vector<EventView> ListEventViews(CMainConnection& db, const EventFilter& filter) {
    std::vector<EventView> views;
    const std::vector<ListedEvent> events = eventrows::List(db.Connection(), filter);
    if (events.empty()) {
        return views;
    }
    // New events have no acknowledgements, so their listing reads no trail.
    QHash<QString, std::vector<AcknowledgementRow>> trails;
    if (!filter.newOnly) {
        for (AcknowledgementRow& row : eventrows::Acknowledgements(db.Connection())) {
            trails[row.eventGuid].push_back(std::move(row));
        }
    }
    views.reserve(events.size());
    for (const ListedEvent& listed : events) {
        views.push_back(
            {listed.event, listed.machineName, listed.pointName, trails.value(listed.event.guid)});
    }
    return views;
}

QString AcknowledgeEvents(CMainConnection& db, const QStringList& eventGuids, const QString& comment,
                          const QString& user, const QDateTime& now) {
    if (comment.trimmed().isEmpty()) {
        return QStringLiteral("An acknowledgement needs a comment; nothing was stored.");
    }
    if (eventGuids.isEmpty()) {
        return QStringLiteral("Name the events to acknowledge; nothing was stored.");
    }
    SqlConnection& connection = db.Connection();
    for (const QString& guid : eventGuids) {
        AlarmEventRow event;
        if (!eventrows::Get(connection, guid, event)) {
            return QStringLiteral("No alarm event %1; nothing was stored.").arg(guid);
        }
    }
    SqlConnection::Transaction transaction(connection);
    for (const QString& guid : eventGuids) {
        eventrows::AddAcknowledgement(connection, {MakeItemGuid(), guid, user, comment.trimmed(), now});
    }
    if (!transaction.Commit()) {
        throw DatabaseError(QStringLiteral("The acknowledgements could not be stored"));
    }
    return {};
}

QString CurrentUserName(CMainConnection& db) {
    if (db.Connection().IsServer()) {
        QSqlQuery query(db.Connection().Database());
        if (query.exec(QStringLiteral("SELECT current_user")) && query.next()) {
            return query.value(0).toString();
        }
    }
    return LoginName();
}

} // namespace vantor
