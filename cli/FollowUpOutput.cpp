#include "cli/FollowUpOutput.h"

#include "analysis/AlarmStatus.h"
#include "cli/ConsoleOutput.h"
#include "store/MainConnection.h"
#include "store/RecordFields.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vantor::cli {
namespace {

void Line(std::FILE* out, const QStringList& fields) {
    PrintLine(out, fields.join(QLatin1Char('\t')));
}

QString Moment(const QDateTime& value) {
    return value.isValid() ? SqlDateTimeText(value) : QString();
}

QJsonValue OrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QString PercentText(const ComplianceCount& count) {
    const std::optional<double> percent = count.Percent();
    return percent ? QString::number(*percent, 'f', 1) : QStringLiteral("-");
}

QJsonObject CountJson(const ComplianceCount& count) {
    const std::optional<double> percent = count.Percent();
    return {{QStringLiteral("due"), count.due},
            {QStringLiteral("onTime"), count.onTime},
            {QStringLiteral("percent"), percent ? QJsonValue(*percent) : QJsonValue()}};
}

} // namespace

void PrintDuePoints(std::FILE* out, const std::vector<DuePoint>& points, bool json) {
    QJsonArray array;
    for (const DuePoint& p : points) {
        if (!json) {
            Line(out, {p.machineName, p.pointName, Moment(p.lastReading), p.due.toString(Qt::ISODate),
                       QString::number(p.daysLate), p.routeName});
            continue;
        }
        array.append(QJsonObject{{QStringLiteral("route"), p.routeName},
                                 {QStringLiteral("routeGuid"), p.routeGuid},
                                 {QStringLiteral("machine"), p.machineName},
                                 {QStringLiteral("point"), p.pointName},
                                 {QStringLiteral("pointGuid"), p.pointGuid},
                                 {QStringLiteral("lastReading"), OrNull(Moment(p.lastReading))},
                                 {QStringLiteral("due"), p.due.toString(Qt::ISODate)},
                                 {QStringLiteral("daysLate"), p.daysLate},
                                 {QStringLiteral("overdue"), p.Overdue()}});
    }
    if (json) {
        PrintJsonArray(out, array);
    }
}

void PrintCompliance(std::FILE* out, const PlantCompliance& compliance, const QDate& from, const QDate& to,
                     bool json) {
    if (!json) {
        for (const RouteCompliance& r : compliance.routes) {
            Line(out, {r.routeName, QString::number(r.intervalDays), QString::number(r.points),
                       QString::number(r.count.onTime), QString::number(r.count.due), PercentText(r.count)});
        }
        Line(out, {QStringLiteral("all"), QString(), QString(), QString::number(compliance.total.onTime),
                   QString::number(compliance.total.due), PercentText(compliance.total)});
        return;
    }
    QJsonArray routes;
    for (const RouteCompliance& r : compliance.routes) {
        QJsonObject object = CountJson(r.count);
        object.insert(QStringLiteral("route"), r.routeName);
        object.insert(QStringLiteral("routeGuid"), r.routeGuid);
        object.insert(QStringLiteral("intervalDays"), r.intervalDays);
        object.insert(QStringLiteral("points"), r.points);
        routes.append(object);
    }
    PrintJsonLine(out, {{QStringLiteral("from"), from.toString(Qt::ISODate)},
                        {QStringLiteral("to"), to.toString(Qt::ISODate)},
                        {QStringLiteral("routes"), routes},
                        {QStringLiteral("total"), CountJson(compliance.total)}});
}

void PrintEvents(std::FILE* out, const std::vector<EventView>& events, bool json) {
    QJsonArray array;
    for (const EventView& v : events) {
        const AlarmEventRow& e = v.event;
        const QString level = StatusText(static_cast<StatusCode>(e.level));
        if (!json) {
            Line(out, {e.guid, Moment(e.raised), level, e.source, v.machineName, v.pointName,
                       v.IsNew() ? QStringLiteral("New") : QStringLiteral("Acknowledged"), e.reason});
            for (const AcknowledgementRow& a : v.trail) {
                Line(out, {QStringLiteral("  ack"), Moment(a.entered), a.user, a.comment});
            }
            continue;
        }
        QJsonArray trail;
        for (const AcknowledgementRow& a : v.trail) {
            trail.append(QJsonObject{{QStringLiteral("id"), a.guid},
                                     {QStringLiteral("user"), a.user},
                                     {QStringLiteral("comment"), a.comment},
                                     {QStringLiteral("time"), Moment(a.entered)}});
        }
        array.append(QJsonObject{
            {QStringLiteral("id"), e.guid},
            {QStringLiteral("point"), e.pointGuid},
            {QStringLiteral("machineName"), v.machineName},
            {QStringLiteral("pointName"), v.pointName},
            {QStringLiteral("reading"), e.readingGuid},
            {QStringLiteral("source"), e.source},
            {QStringLiteral("rule"), OrNull(e.rule)},
            {QStringLiteral("level"), e.level},
            {QStringLiteral("levelText"), level},
            {QStringLiteral("reason"), e.reason},
            {QStringLiteral("time"), Moment(e.raised)},
            {QStringLiteral("state"), v.IsNew() ? QStringLiteral("new") : QStringLiteral("acknowledged")},
            {QStringLiteral("acknowledgements"), trail}});
    }
    if (json) {
        PrintJsonArray(out, array);
    }
}

void PrintNotes(std::FILE* out, const std::vector<NoteView>& notes, bool json) {
    QJsonArray array;
    for (const NoteView& v : notes) {
        if (!json) {
            Line(out, {v.note.guid, Moment(v.note.written), v.note.author, v.machineName, v.pointName,
                       v.note.text});
            continue;
        }
        array.append(QJsonObject{{QStringLiteral("id"), v.note.guid},
                                 {QStringLiteral("target"), v.note.targetGuid},
                                 {QStringLiteral("machineName"), v.machineName},
                                 {QStringLiteral("pointName"), OrNull(v.pointName)},
                                 {QStringLiteral("author"), v.note.author},
                                 {QStringLiteral("text"), v.note.text},
                                 {QStringLiteral("time"), Moment(v.note.written)}});
    }
    if (json) {
        PrintJsonArray(out, array);
    }
}

QJsonObject RecommendationJson(const RecommendationRow& r) {
    return {{QStringLiteral("id"), r.guid},
            {QStringLiteral("event"), OrNull(r.eventGuid)},
            {QStringLiteral("reading"), OrNull(r.readingGuid)},
            {QStringLiteral("point"), OrNull(r.pointGuid)},
            {QStringLiteral("rule"), OrNull(r.rule)},
            {QStringLiteral("action"), r.action},
            {QStringLiteral("priority"), r.priority},
            {QStringLiteral("due"), r.due.toString(Qt::ISODate)},
            {QStringLiteral("assignedTo"), OrNull(r.assignedTo)},
            {QStringLiteral("state"), r.state},
            {QStringLiteral("author"), r.author},
            {QStringLiteral("created"), Moment(r.created)},
            {QStringLiteral("outcome"), OrNull(r.outcome)},
            {QStringLiteral("found"), OrNull(r.found)},
            {QStringLiteral("closedBy"), OrNull(r.closedBy)},
            {QStringLiteral("closed"), OrNull(Moment(r.closed))},
            {QStringLiteral("sent"), OrNull(Moment(r.sent))},
            {QStringLiteral("sendError"), OrNull(r.sendError)}};
}

void PrintRecommendations(std::FILE* out, CMainConnection& db, const std::vector<RecommendationRow>& rows,
                          bool json) {
    QHash<QString, QString> names; // point GUID: "Machine / Point"
    if (!rows.empty()) {
        QHash<QString, QString> machines;
        for (const CMachine& m : db.ListMachines()) {
            machines.insert(m.sItemGUID, m.sName);
        }
        for (const CVib& v : db.ListVibs({})) {
            names.insert(v.sItemGUID, QStringLiteral("%1 / %2").arg(machines.value(v.sParentGUID), v.sName));
        }
    }
    QJsonArray array;
    for (const RecommendationRow& r : rows) {
        if (!json) {
            Line(out, {r.guid, Moment(r.created), QString::number(r.priority), r.due.toString(Qt::ISODate),
                       r.state, names.value(r.pointGuid), r.action, r.outcome});
            continue;
        }
        QJsonObject object = RecommendationJson(r);
        object.insert(QStringLiteral("pointName"), names.value(r.pointGuid));
        array.append(object);
    }
    if (json) {
        PrintJsonArray(out, array);
    }
}

void PrintDiagnosisRecord(std::FILE* out, const std::vector<RuleRecord>& rules, bool json) {
    QJsonArray array;
    for (const RuleRecord& r : rules) {
        const std::optional<double> precision = r.Precision();
        if (!json) {
            Line(out, {r.rule, QString::number(r.findings), QString::number(r.confirmed),
                       QString::number(r.partly), QString::number(r.notConfirmed), QString::number(r.open),
                       precision ? QString::number(*precision, 'f', 2) : QStringLiteral("-")});
            continue;
        }
        array.append(
            QJsonObject{{QStringLiteral("rule"), r.rule},
                        {QStringLiteral("findings"), r.findings},
                        {QStringLiteral("confirmed"), r.confirmed},
                        {QStringLiteral("partly"), r.partly},
                        {QStringLiteral("notConfirmed"), r.notConfirmed},
                        {QStringLiteral("open"), r.open},
                        {QStringLiteral("precision"), precision ? QJsonValue(*precision) : QJsonValue()}});
    }
    if (json) {
        PrintJsonArray(out, array);
    }
}

} // namespace vantor::cli
