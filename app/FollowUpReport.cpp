#include "app/FollowUpReport.h"

#include "analysis/AlarmStatus.h"
#include "app/AlarmEvents.h"
#include "app/FollowUpNotes.h"
#include "app/Log.h"
#include "app/RouteSchedule.h"
#include "store/MainConnection.h"
#include "store/RecommendationRecords.h"
#include "store/RecordFields.h"
#include "texts/UiText.h"

#include <QSet>

namespace vantor {
namespace {

ReportTableCell Plain(const QString& text) {
    return {text, std::nullopt};
}

ReportTableCell Level(int level) {
    const StatusCode code = static_cast<StatusCode>(level);
    const Rgb rgb = StatusColour(code);
    return {StatusText(code), QColor(rgb.red, rgb.green, rgb.blue)};
}

QString Percent(const ComplianceCount& count) {
    const std::optional<double> percent = count.Percent();
    return percent ? QStringLiteral("%1 %").arg(QString::number(*percent, 'f', 0)) : QStringLiteral("-");
}

// Whether the events section was added.
bool AddEvents(CMainConnection& db, const QStringList& machineGuids, std::vector<ReportBlock>& blocks) {
    using namespace text::added;
    QSet<QString> points;
    QHash<QString, QString> pointNames;
    for (const QString& machine : machineGuids) {
        for (const CVib& vib : db.ListVibs(machine)) {
            points.insert(vib.sItemGUID);
        }
    }
    ReportTable fresh{UiText(ReportNewEvents),
                      {UiText(EventsTime), UiText(EventsLevel), UiText(EventsMachine), UiText(EventsPoint),
                       UiText(EventsSource), UiText(EventsReason)},
                      {}};
    ReportTable trail{UiText(ReportAcknowledgements),
                      {UiText(EventsTime), UiText(EventsMachine), UiText(EventsPoint), UiText(ReportUser),
                       UiText(ReportComment)},
                      {}};
    for (const EventView& view : ListEventViews(db, {})) {
        if (!points.contains(view.event.pointGuid)) {
            continue;
        }
        pointNames.insert(view.event.pointGuid,
                          QStringLiteral("%1 / %2").arg(view.machineName, view.pointName));
        if (view.IsNew()) {
            fresh.rows.push_back({Plain(EventTimeText(view.event.raised)), Level(view.event.level),
                                  Plain(view.machineName), Plain(view.pointName),
                                  Plain(EventSourceText(view.event.source)), Plain(view.event.reason)});
        }
        for (const AcknowledgementRow& entry : view.trail) {
            trail.rows.push_back({Plain(EventTimeText(entry.entered)), Plain(view.machineName),
                                  Plain(view.pointName), Plain(entry.user), Plain(entry.comment)});
        }
    }
    ReportTable open{UiText(ReportOpenRecommendations),
                     {UiText(ReportPriority), UiText(DueColumn), UiText(EventsPoint), UiText(ReportAction),
                      UiText(ReportAssignedTo), UiText(EventsState)},
                     {}};
    for (const RecommendationRow& row : recommendationrows::List(db.Connection(), true)) {
        if (!points.contains(row.pointGuid)) {
            continue;
        }
        CVib point;
        QString name = pointNames.value(row.pointGuid);
        if (name.isEmpty() && db.GetVib(row.pointGuid, point)) {
            name = point.sName;
        }
        open.rows.push_back({Plain(QString::number(row.priority)), Plain(row.due.toString(Qt::ISODate)),
                             Plain(name), Plain(row.action), Plain(row.assignedTo), Plain(row.state)});
    }
    if (fresh.rows.empty() && trail.rows.empty() && open.rows.empty()) {
        return false;
    }
    blocks.push_back(ReportHeading{1, UiText(ReportEventsSection)});
    for (ReportTable* table : {&fresh, &trail, &open}) {
        if (!table->rows.empty()) {
            blocks.push_back(std::move(*table));
        }
    }
    return true;
}

// The notes on the chosen machines and their points, oldest first; whether the section was added.
bool AddNotes(CMainConnection& db, const QStringList& machineGuids, std::vector<ReportBlock>& blocks) {
    using namespace text::added;
    QStringList targets = machineGuids;
    for (const QString& machine : machineGuids) {
        for (const CVib& vib : db.ListVibs(machine)) {
            targets << vib.sItemGUID;
        }
    }
    if (targets.isEmpty()) {
        return false;
    }
    ReportTable table{{},
                      {UiText(EventsTime), UiText(EventsMachine), UiText(EventsPoint), UiText(ReportAuthor),
                       UiText(ReportNote)},
                      {}};
    for (const NoteView& view : ListNotes(db, targets)) {
        table.rows.push_back({Plain(SqlDateTimeText(view.note.written)), Plain(view.machineName),
                              Plain(view.pointName), Plain(view.note.author), Plain(view.note.text)});
    }
    if (table.rows.empty()) {
        return false;
    }
    blocks.push_back(ReportHeading{1, UiText(ReportNotes)});
    blocks.push_back(std::move(table));
    return true;
}

void AddCompliance(CMainConnection& db, const QDate& reportDate, std::vector<ReportBlock>& blocks) {
    using namespace text::added;
    const PlantCompliance compliance =
        ComplianceOver(db, reportDate.addDays(-kDefaultCompliancePeriodDays), reportDate);
    if (compliance.routes.empty()) {
        return;
    }
    ReportTable table{{},
                      {UiText(ReportRoute), UiText(ReportIntervalDays), UiText(EventsPoint),
                       UiText(ReportOnTime), UiText(DueColumn), QStringLiteral("%")},
                      {}};
    for (const RouteCompliance& route : compliance.routes) {
        table.rows.push_back({Plain(route.routeName), Plain(QString::number(route.intervalDays)),
                              Plain(QString::number(route.points)),
                              Plain(QString::number(route.count.onTime)),
                              Plain(QString::number(route.count.due)), Plain(Percent(route.count))});
    }
    table.rows.push_back({Plain(UiText(ReportAllRoutes)), Plain({}), Plain({}),
                          Plain(QString::number(compliance.total.onTime)),
                          Plain(QString::number(compliance.total.due)), Plain(Percent(compliance.total))});
    blocks.push_back(ReportHeading{1, UiText(ReportCompliance).arg(kDefaultCompliancePeriodDays)});
    blocks.push_back(std::move(table));
}

} // namespace

void AddFollowUpSections(CMainConnection& db, const QStringList& machineGuids, const QDate& reportDate,
                         std::vector<ReportBlock>& blocks) {
    try {
        // Compliance joins the report once the follow-up is in use: a route has its own schedule,
        // or the chosen machines have events or recommendations.
        const bool events = AddEvents(db, machineGuids, blocks);
        const bool notes = AddNotes(db, machineGuids, blocks);
        if (events || notes || !schedulerows::All(db.Connection()).isEmpty()) {
            AddCompliance(db, reportDate, blocks);
        }
    } catch (const std::exception& error) {
        qCWarning(lcApp) << "the report's follow-up sections were left out:" << error.what();
    }
}

} // namespace vantor
