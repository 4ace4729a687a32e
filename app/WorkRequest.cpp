#include "app/WorkRequest.h"

#include "analysis/AlarmStatus.h"
#include "app/CAppData.h"
#include "app/CsvText.h"
#include "app/Log.h"
#include "app/OptionsFromSettings.h"
#include "platform/Prompter.h"
#include "reports/mail/MailSession.h"
#include "reports/mail/SystemMailTransport.h"
#include "store/AlarmEventRecords.h"
#include "store/MainConnection.h"
#include "store/RecordFields.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace vantor {
namespace {

constexpr const char* kSchema = "vantor-work-request/1";
const QString kCsvName = QStringLiteral("work-requests.csv");

// The fields in the order of the JSON object and the CSV columns.
std::vector<std::pair<QString, QString>> Fields(const WorkRequest& w) {
    const RecommendationRow& r = w.recommendation;
    return {
        {QStringLiteral("id"), r.guid},
        {QStringLiteral("created"), SqlDateTimeText(r.created)},
        {QStringLiteral("requestedBy"), r.author},
        {QStringLiteral("machine"), w.machineName},
        {QStringLiteral("machineGuid"), w.machineGuid},
        {QStringLiteral("point"), w.pointName},
        {QStringLiteral("pointGuid"), r.pointGuid},
        {QStringLiteral("action"), r.action},
        {QStringLiteral("priority"), QString::number(r.priority)},
        {QStringLiteral("due"), r.due.toString(Qt::ISODate)},
        {QStringLiteral("assignedTo"), r.assignedTo},
        {QStringLiteral("event"), r.eventGuid},
        {QStringLiteral("reading"), r.readingGuid},
        {QStringLiteral("level"), w.level},
        {QStringLiteral("reason"), w.reason},
        {QStringLiteral("rule"), r.rule},
    };
}

// Keeps the mail session's failure message for the outcome instead of showing it; asks nothing.
class SilentPrompter final : public Prompter {
public:
    void ShowMessage(const QString& text) override { shown = text; }
    bool AskYesNo(const QString&) override { return false; }
    bool AskRetryCancel(const QString&) override { return false; }
    std::optional<QString> PromptName(const NameRequest&) override { return std::nullopt; }
    std::optional<QDateTime> PromptDateFix(const DateFixRequest&) override { return std::nullopt; }
    QString shown;
};

QString WriteFiles(const WorkRequest& request, const QString& folder, QString& jsonPath) {
    if (!QDir().mkpath(folder)) {
        return QStringLiteral("cannot create the folder %1").arg(folder);
    }
    const QDir dir(folder);
    QString id = request.recommendation.guid;
    id.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
    jsonPath = dir.filePath(id + QStringLiteral(".json"));
    QSaveFile json(jsonPath);
    if (!json.open(QIODevice::WriteOnly) ||
        json.write(QJsonDocument(WorkRequestJson(request)).toJson(QJsonDocument::Indented)) < 0 ||
        !json.commit()) {
        return QStringLiteral("cannot write %1: %2").arg(jsonPath, json.errorString());
    }
    QFile csv(dir.filePath(kCsvName));
    const bool fresh = !csv.exists() || csv.size() == 0;
    if (!csv.open(QIODevice::Append)) {
        return QStringLiteral("cannot write %1: %2").arg(csv.fileName(), csv.errorString());
    }
    QString text = fresh ? CsvLine(WorkRequestCsvHeader()) : QString();
    text += CsvLine(WorkRequestCsvFields(request));
    if (csv.write(text.toUtf8()) < 0) {
        return QStringLiteral("cannot write %1: %2").arg(csv.fileName(), csv.errorString());
    }
    return {};
}

QString Mail(CAppData& app, const WorkRequest& request, const QString& jsonPath) {
    // The mail server as every message is sent, with the password from the secret store.
    const SystemMailOptions options = SystemMailOptionsOf(app);
    if (!options.smtp.Configured()) {
        return QStringLiteral("no mail server is configured (SmtpHost); the work request was not mailed");
    }
    SystemMailTransport transport(options);
    SilentPrompter prompter;
    ExceptionProgress progress;
    const RecommendationRow& r = request.recommendation;
    const QString body =
        QStringLiteral(
            "<html><body><p>Work request, priority %1, due %2</p><p>%3 / %4</p><p>%5</p></body></html>")
            .arg(r.priority)
            .arg(r.due.toString(Qt::ISODate), request.machineName.toHtmlEscaped(),
                 request.pointName.toHtmlEscaped(), r.action.toHtmlEscaped());
    const MailMessage message{
        request.machineEmails,
        QStringLiteral("Work request: %1 %2").arg(request.machineName, request.pointName), body, jsonPath};
    MailSession session(transport, prompter, progress);
    if (!session.Deliver(message, MailDelivery::Send)) {
        const QString detail = transport.LastError();
        return QStringLiteral("the mail was not sent: %1").arg(detail.isEmpty() ? prompter.shown : detail);
    }
    return {};
}

} // namespace

WorkRequest WorkRequestOf(CMainConnection& db, const RecommendationRow& row) {
    WorkRequest request;
    request.recommendation = row;
    CVib point;
    if (db.GetVib(row.pointGuid, point)) {
        request.pointName = point.sName;
        CMachine machine;
        if (db.GetMachine(point.sParentGUID, machine)) {
            request.machineName = machine.sName;
            request.machineGuid = machine.sItemGUID;
            request.machineEmails = machine.sEMails;
        }
    }
    AlarmEventRow event;
    if (!row.eventGuid.isEmpty() && eventrows::Get(db.Connection(), row.eventGuid, event)) {
        request.level = StatusText(static_cast<StatusCode>(event.level));
        request.reason = event.reason;
    }
    return request;
}

QJsonObject WorkRequestJson(const WorkRequest& request) {
    QJsonObject object{{QStringLiteral("schema"), QLatin1String(kSchema)}};
    for (const auto& [name, value] : Fields(request)) {
        if (name == QLatin1String("priority")) {
            object.insert(name, request.recommendation.priority);
        } else {
            object.insert(name, value.isEmpty() ? QJsonValue() : QJsonValue(value));
        }
    }
    return object;
}

QStringList WorkRequestCsvHeader() {
    QStringList names;
    for (const auto& [name, value] : Fields(WorkRequest{})) {
        names << name;
    }
    return names;
}

QStringList WorkRequestCsvFields(const WorkRequest& request) {
    QStringList values;
    for (const auto& [name, value] : Fields(request)) {
        values << value;
    }
    return values;
}

QString DefaultWorkRequestFolder(const CAppData& app) {
    return QDir(app.folders.dataFolder).filePath(QStringLiteral("Work Requests"));
}

WorkRequestSending SendWorkRequest(CAppData& app, const QString& recommendationGuid, const QString& folder,
                                   bool mail) {
    WorkRequestSending sending;
    CMainConnection& db = *app.MainConnection();
    RecommendationRow row;
    if (!recommendationrows::Get(db.Connection(), recommendationGuid, row)) {
        sending.error = QStringLiteral("No recommendation %1").arg(recommendationGuid);
        return sending;
    }
    const WorkRequest request = WorkRequestOf(db, row);
    QStringList errors;
    if (const QString error = WriteFiles(request, folder, sending.jsonPath); !error.isEmpty()) {
        errors << error;
    } else {
        sending.written = true;
    }
    if (mail && sending.written && !request.machineEmails.trimmed().isEmpty()) {
        if (const QString error = Mail(app, request, sending.jsonPath); !error.isEmpty()) {
            errors << error;
        } else {
            sending.mailed = true;
        }
    }
    sending.error = errors.join(QStringLiteral("; "));
    if (!sending.error.isEmpty()) {
        qCWarning(lcApp) << "work request" << recommendationGuid << ":" << sending.error;
    }
    recommendationrows::MarkSent(db.Connection(), recommendationGuid,
                                 sending.written ? QDateTime::currentDateTime() : row.sent, sending.error);
    return sending;
}

} // namespace vantor
