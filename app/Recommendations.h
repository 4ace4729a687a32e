#pragma once
// Recommendations raised from an alarm event or a reading, closed with the outcome maintenance
// found, and the diagnosis's record: per rule, its findings and how many of the recommendations
// raised on them were confirmed, partly confirmed or not confirmed.

#include "store/RecommendationRecords.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;

inline constexpr int kHighestPriority = 1;
inline constexpr int kLowestPriority = 4;
// The outcomes a recommendation is closed with.
inline constexpr std::array<const char*, 3> kRecommendationOutcomes = {"confirmed", "partly",
                                                                       "not-confirmed"};

struct RecommendationRequest {
    QString source; // an alarm event's or a reading's GUID
    QString action;
    int priority = 0;
    QDate due;
    QString assignedTo;
};

struct RaisedRecommendation {
    QString error; // the message on bad input; empty when stored
    RecommendationRow row;
};

// Checks the request (known event or reading, an action, priority 1-4, due today or later) and
// stores the recommendation as open. The rule is the event's, or for a reading the most severe
// alarming finding of its diagnosis. Nothing is stored on bad input. Throws DatabaseError.
RaisedRecommendation RaiseRecommendation(CMainConnection& db, const RecommendationRequest& request,
                                         const QString& author, const QDate& today,
                                         const QDateTime& now = QDateTime::currentDateTime());

// Closes an open recommendation with its outcome. The message on bad input (unknown, an outcome not
// in the list, already closed: naming who closed it), nothing stored; empty when done. Of two users
// closing at once one is stored and the other gets the message. Throws DatabaseError.
QString CloseRecommendation(CMainConnection& db, const QString& guid, const QString& outcome,
                            const QString& found, const QString& user,
                            const QDateTime& now = QDateTime::currentDateTime());

struct RuleRecord {
    QString rule;
    int findings = 0; // events raised by the rule, and recommendations on its findings without an event
    int confirmed = 0;
    int partly = 0;
    int notConfirmed = 0;
    int open = 0;
    // (confirmed + ½ partly) / closed with an outcome: the precision TP / (TP + FP) of information
    // retrieval, with a partly confirmed finding counted half. None while none is closed.
    std::optional<double> Precision() const;
};
// One row per rule that has findings or recommendations, by rule name. Throws DatabaseError.
std::vector<RuleRecord> DiagnosisRecord(CMainConnection& db);

} // namespace vantor
