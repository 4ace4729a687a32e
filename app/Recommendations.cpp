#include "app/Recommendations.h"

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/SignalProcessor.h"
#include "loaders/DiagnosisLoader.h"
#include "store/AlarmEventRecords.h"
#include "store/FollowUpTables.h"
#include "store/MainConnection.h"

#include <map>

namespace vantor {
namespace {

QString RuleOfReading(CMainConnection& db, const QString& readingGuid) {
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    const std::optional<ReadingDiagnosis> diagnosis = DiagnoseReading(db, processor, analyzer, readingGuid);
    const Finding* worst = nullptr;
    if (diagnosis) {
        for (const Finding& finding : diagnosis->findings) {
            if (finding.severity >= StatusCode::Warning &&
                (worst == nullptr || finding.severity > worst->severity)) {
                worst = &finding;
            }
        }
    }
    return worst != nullptr ? FindingKindName(worst->kind) : QString();
}

bool IsOutcome(const QString& outcome) {
    for (const char* known : kRecommendationOutcomes) {
        if (outcome == QLatin1String(known)) {
            return true;
        }
    }
    return false;
}

} // namespace

RaisedRecommendation RaiseRecommendation(CMainConnection& db, const RecommendationRequest& request,
                                         const QString& author, const QDate& today, const QDateTime& now) {
    RaisedRecommendation raised;
    auto refuse = [&raised](const QString& text) {
        raised.error = text + QStringLiteral("; nothing was stored.");
        return raised;
    };
    if (request.action.trimmed().isEmpty()) {
        return refuse(QStringLiteral("A recommendation needs an action"));
    }
    if (request.priority < kHighestPriority || request.priority > kLowestPriority) {
        return refuse(QStringLiteral("The priority is %1 (most urgent) to %2")
                          .arg(kHighestPriority)
                          .arg(kLowestPriority));
    }
    if (!request.due.isValid()) {
        return refuse(QStringLiteral("The due date is not a date (YYYY-MM-DD)"));
    }
    if (request.due < today) {
        return refuse(
            QStringLiteral("The due date %1 is before today").arg(request.due.toString(Qt::ISODate)));
    }
    RecommendationRow& row = raised.row;
    AlarmEventRow event;
    CVibReading reading;
    if (eventrows::Get(db.Connection(), request.source, event)) {
        row.eventGuid = event.guid;
        row.readingGuid = event.readingGuid;
        row.pointGuid = event.pointGuid;
        row.rule = event.rule;
    } else if (!request.source.isEmpty() && db.GetVibReading(request.source, reading)) {
        row.readingGuid = reading.sItemGUID;
        row.pointGuid = reading.sParentGUID;
        row.rule = RuleOfReading(db, reading.sItemGUID);
    } else {
        return refuse(QStringLiteral("No alarm event or reading %1").arg(request.source));
    }
    row.guid = MakeItemGuid();
    row.action = request.action.trimmed();
    row.priority = request.priority;
    row.due = request.due;
    row.assignedTo = request.assignedTo.trimmed();
    row.state = QStringLiteral("open");
    row.author = author;
    row.created = now;
    recommendationrows::Insert(db.Connection(), row);
    return raised;
}

QString CloseRecommendation(CMainConnection& db, const QString& guid, const QString& outcome,
                            const QString& found, const QString& user, const QDateTime& now) {
    if (!IsOutcome(outcome)) {
        return QStringLiteral("The outcome is confirmed, partly or not-confirmed; nothing was stored.");
    }
    RecommendationRow row;
    if (!recommendationrows::Get(db.Connection(), guid, row)) {
        return QStringLiteral("No recommendation %1; nothing was stored.").arg(guid);
    }
    if (recommendationrows::Close(db.Connection(), guid, outcome, found.trimmed(), user, now)) {
        return {};
    }
    recommendationrows::Get(db.Connection(), guid, row);
    if (!row.outcome.isEmpty()) {
        return QStringLiteral("Recommendation %1 was closed already by %2 on %3 (%4); nothing was stored.")
            .arg(guid, row.closedBy, row.closed.toString(QStringLiteral("yyyy-MM-dd HH:mm")), row.outcome);
    }
    return QStringLiteral("Recommendation %1 is %2; nothing was stored.").arg(guid, row.state);
}

std::optional<double> RuleRecord::Precision() const {
    const int closed = confirmed + partly + notConfirmed;
    if (closed == 0) {
        return std::nullopt;
    }
    return (confirmed + 0.5 * partly) / closed;
}

std::vector<RuleRecord> DiagnosisRecord(CMainConnection& db) {
    std::map<QString, RuleRecord> rules;
    auto record = [&rules](const QString& rule) -> RuleRecord& {
        RuleRecord& entry = rules[rule];
        entry.rule = rule;
        return entry;
    };
    for (const ListedEvent& listed : eventrows::List(db.Connection(), {})) {
        if (!listed.event.rule.isEmpty()) {
            ++record(listed.event.rule).findings;
        }
    }
    for (const RecommendationRow& row : recommendationrows::List(db.Connection(), false)) {
        if (row.rule.isEmpty()) {
            continue;
        }
        RuleRecord& entry = record(row.rule);
        if (row.eventGuid.isEmpty()) {
            ++entry.findings;
        }
        if (row.outcome == QLatin1String("confirmed")) {
            ++entry.confirmed;
        } else if (row.outcome == QLatin1String("partly")) {
            ++entry.partly;
        } else if (row.outcome == QLatin1String("not-confirmed")) {
            ++entry.notConfirmed;
        } else if (row.state == QLatin1String("open") || row.state == QLatin1String("in progress")) {
            ++entry.open;
        }
    }
    std::vector<RuleRecord> out;
    for (auto& [rule, entry] : rules) {
        out.push_back(entry);
    }
    return out;
}

} // namespace vantor
