#pragma once
// A recommendation as a work request for maintenance: one JSON object (schema
// "vantor-work-request/1", described in README) in <folder>/<id>.json and the same fields as a row
// of <folder>/work-requests.csv, and optionally an e-mail to the machine's addresses through the
// mail transport. A folder that cannot be written or a mail server that refuses leaves the
// recommendation stored with the failure recorded, and sending can be retried.

#include "store/RecommendationRecords.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace vantor {

class CAppData;
class CMainConnection;

struct WorkRequest {
    RecommendationRow recommendation;
    QString machineName;
    QString machineGuid;
    QString machineEmails; // the machine's addresses, ";" between
    QString pointName;
    QString level;  // WARNING or CRITICAL of the event; empty when raised from a reading
    QString reason; // the event's reasons
};

// The work request of a stored recommendation (its event, point and machine looked up). Throws
// DatabaseError.
WorkRequest WorkRequestOf(CMainConnection& db, const RecommendationRow& row);

QJsonObject WorkRequestJson(const WorkRequest& request);
// The CSV columns, in the JSON object's order, and one request's fields.
QStringList WorkRequestCsvHeader();
QStringList WorkRequestCsvFields(const WorkRequest& request);

// "<data folder>/Work Requests".
QString DefaultWorkRequestFolder(const CAppData& app);

struct WorkRequestSending {
    bool written = false; // the JSON file and the CSV row
    bool mailed = false;
    QString jsonPath;
    QString error; // what failed; empty when nothing did
};

// Writes the recommendation's work request into `folder` and, when `mail` is set, the machine has
// addresses and a mail server is configured for sending, mails it. Records the time and any failure
// on the recommendation.
WorkRequestSending SendWorkRequest(CAppData& app, const QString& recommendationGuid, const QString& folder,
                                   bool mail);

} // namespace vantor
