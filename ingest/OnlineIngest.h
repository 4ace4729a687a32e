#pragma once
// What the service does with one message from a sensor, without the broker: the sensor's point
// from the mapping table, an overall value judged against the point's ISO velocity limits on every
// message and stored thinned, a waveform stored as an imported reading (thinned too, but always
// after an overall value crossed a level), duplicates (same sensor, same time) ignored, and the
// point's combined status worked out again when it may have changed, giving the retained status
// message to publish when it did.

#include "analysis/AlarmStatus.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"
#include "ingest/SensorMessage.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace vantor {
class CMainConnection;
}

namespace vantor::ingest {

struct IngestIntervals {
    qint64 overallSeconds = 600;   // at most one stored overall row per sensor in this time
    qint64 waveformSeconds = 3600; // at most one stored waveform per sensor in this time
};

// A retained message for vantor/<site>/<sensor>/status.
struct StatusMessage {
    QString topic;
    QByteArray payload;
};

enum class IngestResult {
    Stored,        // a row or a reading was committed
    Thinned,       // judged, but within the interval of a stored one
    Duplicate,     // the same sensor and time is stored already
    UnknownSensor, // no point is bound to the sensor: counted and logged, never stored
    Malformed,     // dropped with the reason
    Failed,        // the database refused: the message must not be acknowledged
};

struct IngestOutcome {
    IngestResult result = IngestResult::Failed;
    QString message; // for the log: what was done, or why not
    std::optional<StatusMessage> status;
};

QString IngestResultName(IngestResult result);

// The status message's JSON: {"sensor", "point", "level": "WARNING", "reasons": [...], "findings":
// the most severe finding's rule or "", "time": ISO-8601 UTC}.
QByteArray StatusPayload(const QString& sensor, const QString& pointGuid, StatusCode level,
                         const QStringList& reasons, const QString& findings, const QDateTime& time);

class OnlineIngest {
public:
    OnlineIngest(CMainConnection& db, QString site, IngestIntervals intervals);

    // Handles one message; never throws.
    IngestOutcome Handle(const QString& topic, const QByteArray& payload);

    int UnknownSensorMessages() const { return unknownMessages_; }

private:
    struct SensorState {
        bool loaded = false;
        std::optional<StatusCode> overallLevel; // of the latest overall value with an ISO velocity
        double overallIso = 0;
        bool waveformDue = false; // an overall value crossed a level since the last waveform
        QDateTime lastWaveform;
        std::optional<QByteArray> publishedKey; // level and reasons last published
    };

    IngestOutcome HandleOverall(const QString& sensor, const CVib& point, const OverallMessage& message);
    IngestOutcome HandleWaveform(const QString& sensor, const CVib& point, const WaveformMessage& message);
    SensorState& StateOf(const QString& sensor, const CVib& point);
    // The status message when the point's combined status differs from the one last published.
    std::optional<StatusMessage> StatusChange(const QString& sensor, const CVib& point);

    CMainConnection& db_;
    QString site_;
    IngestIntervals intervals_;
    SignalProcessor processor_;
    EnvelopeAnalyzer analyzer_;
    std::map<QString, SensorState> sensors_;
    int unknownMessages_ = 0;
};

} // namespace vantor::ingest
