#include "ingest/OnlineIngest.h"

#include "app/AlarmEvents.h"
#include "app/SignalTransfer.h"
#include "device/DateFixCheck.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <exception>

namespace vantor::ingest {
namespace {

IngestOutcome Outcome(IngestResult result, const QString& message) {
    return {result, message, std::nullopt};
}

// The dates a reading may carry (the meter's and the import's range); an online value keeps to it too.
std::optional<QString> OutOfRange(const QDateTime& time) {
    const QDateTime local = time.toLocalTime();
    if (local >= DateFixCheck::Earliest() && local <= DateFixCheck::Latest()) {
        return std::nullopt;
    }
    return QStringLiteral("the time %1 lies outside 1900-01-01 00:00:00 to 2079-06-06 00:00:00")
        .arg(time.toString(Qt::ISODateWithMs));
}

bool Alarming(StatusCode code) {
    return code == StatusCode::Warning || code == StatusCode::Critical;
}

// A level crossing: the ISO velocity's level changed and one side of the change is an alarm.
bool Crosses(std::optional<StatusCode> before, StatusCode now) {
    return before && *before != now && (Alarming(*before) || Alarming(now));
}

} // namespace

QString IngestResultName(IngestResult result) {
    switch (result) {
    case IngestResult::Stored:
        return QStringLiteral("stored");
    case IngestResult::Thinned:
        return QStringLiteral("thinned");
    case IngestResult::Duplicate:
        return QStringLiteral("duplicate");
    case IngestResult::UnknownSensor:
        return QStringLiteral("unknown sensor");
    case IngestResult::Malformed:
        return QStringLiteral("malformed");
    case IngestResult::Failed:
        return QStringLiteral("failed");
    }
    return {};
}

QByteArray StatusPayload(const QString& sensor, const QString& pointGuid, StatusCode level,
                         const QStringList& reasons, const QString& findings, const QDateTime& time) {
    return QJsonDocument(QJsonObject{{QStringLiteral("sensor"), sensor},
                                     {QStringLiteral("point"), pointGuid},
                                     {QStringLiteral("level"), StatusText(level)},
                                     {QStringLiteral("reasons"), QJsonArray::fromStringList(reasons)},
                                     {QStringLiteral("findings"), findings},
                                     {QStringLiteral("time"), time.toUTC().toString(Qt::ISODateWithMs)}})
        .toJson(QJsonDocument::Compact);
}

OnlineIngest::OnlineIngest(CMainConnection& db, QString site, IngestIntervals intervals)
    : db_(db), site_(std::move(site)), intervals_(intervals) {}

IngestOutcome OnlineIngest::Handle(const QString& topic, const QByteArray& payload) {
    const Parsed<SensorTopic> parsed = ParseTopic(topic);
    if (!parsed.Ok()) {
        return Outcome(IngestResult::Malformed, parsed.error);
    }
    if (parsed.value->site != site_) {
        return Outcome(IngestResult::Malformed,
                       QStringLiteral("another site's message (this is %1)").arg(site_));
    }
    const QString& sensor = parsed.value->sensor;
    try {
        const std::optional<SensorRow> bound = onlinerows::SensorOf(db_.Connection(), sensor);
        CVib point;
        if (!bound || !db_.GetVib(bound->pointGuid, point)) {
            ++unknownMessages_;
            return Outcome(
                IngestResult::UnknownSensor,
                QStringLiteral("sensor %1 is bound to no vibration point (%2 such messages so far)")
                    .arg(sensor)
                    .arg(unknownMessages_));
        }
        if (parsed.value->kind == MessageKind::Overall) {
            const Parsed<OverallMessage> overall = ParseOverall(payload);
            if (!overall.Ok()) {
                return Outcome(IngestResult::Malformed, overall.error);
            }
            if (const std::optional<QString> refused = OutOfRange(overall.value->time)) {
                return Outcome(IngestResult::Malformed, *refused);
            }
            return HandleOverall(sensor, point, *overall.value);
        }
        const Parsed<WaveformMessage> waveform = ParseWaveform(payload);
        if (!waveform.Ok()) {
            return Outcome(IngestResult::Malformed, waveform.error);
        }
        if (const std::optional<QString> refused = OutOfRange(waveform.value->time)) {
            return Outcome(IngestResult::Malformed, *refused);
        }
        return HandleWaveform(sensor, point, *waveform.value);
    } catch (const std::exception& error) {
        // What was remembered of the sensor may be ahead of the database: read it again next time.
        sensors_.erase(sensor);
        return Outcome(IngestResult::Failed, QString::fromUtf8(error.what()));
    }
}

OnlineIngest::SensorState& OnlineIngest::StateOf(const QString& sensor, const CVib& point) {
    SensorState& state = sensors_[sensor];
    if (!state.loaded) {
        if (const std::optional<OnlineOverallRow> latest =
                onlinerows::LatestOverall(db_.Connection(), sensor)) {
            if (latest->isoMms) {
                state.overallLevel = static_cast<StatusCode>(latest->level);
                state.overallIso = *latest->isoMms;
            }
        }
        state.waveformDue = onlinerows::WaveformDue(db_.Connection(), sensor);
        CVibReading reading;
        if (db_.GetLatestVibReading(point.sItemGUID, reading)) {
            state.lastWaveform = reading.ctDateTaken;
        }
        state.loaded = true;
    }
    return state;
}

IngestOutcome OnlineIngest::HandleOverall(const QString& sensor, const CVib& point,
                                          const OverallMessage& message) {
    SensorState& state = StateOf(sensor, point);
    // The level check runs on every message, stored or not.
    int level = static_cast<int>(StatusCode::NoReadings);
    bool levelChanged = false;
    if (message.isoMms) {
        const StatusCode now = ClassifyValue(static_cast<float>(*message.isoMms), point.bISOAlarmsOn,
                                             point.fISOWarningMMS, point.fISOCriticalMMS);
        if (Crosses(state.overallLevel, now) && !state.waveformDue) {
            onlinerows::SetWaveformDue(db_.Connection(), sensor, message.time);
            state.waveformDue = true;
        }
        levelChanged = !state.overallLevel || *state.overallLevel != now;
        state.overallLevel = now;
        state.overallIso = *message.isoMms;
        level = static_cast<int>(now);
    }

    IngestOutcome outcome;
    SqlConnection& connection = db_.Connection();
    if (onlinerows::HasOverallNear(connection, sensor, message.time, 0)) {
        outcome = Outcome(IngestResult::Duplicate, QStringLiteral("already stored"));
    } else if (onlinerows::HasOverallNear(connection, sensor, message.time, intervals_.overallSeconds)) {
        outcome = Outcome(IngestResult::Thinned,
                          QStringLiteral("within %1 s of a stored value").arg(intervals_.overallSeconds));
    } else {
        onlinerows::InsertOverall(connection, {MakeItemGuid(), sensor, point.sItemGUID, message.time,
                                               message.isoMms, message.totalG, message.temperatureC, level});
        outcome = Outcome(IngestResult::Stored, QStringLiteral("overall value stored"));
    }
    if (levelChanged || !state.publishedKey) {
        outcome.status = StatusChange(sensor, point);
    }
    return outcome;
}

IngestOutcome OnlineIngest::HandleWaveform(const QString& sensor, const CVib& point,
                                           const WaveformMessage& message) {
    SensorState& state = StateOf(sensor, point);
    if (!state.waveformDue && state.lastWaveform.isValid() &&
        std::abs(state.lastWaveform.secsTo(message.time)) < intervals_.waveformSeconds) {
        return Outcome(IngestResult::Thinned,
                       QStringLiteral("within %1 s of a stored waveform").arg(intervals_.waveformSeconds));
    }
    WaveformReadingRequest request;
    request.waveform = message.waveform;
    // A sensor's waveform fills both channels, as a meter's two captures would: the point's ISO
    // velocity is judged by its limits and its acceleration shown, whichever unit the sensor sends.
    request.channel = message.waveform.unit == SignalUnit::G ? Channel::Total : Channel::Iso;
    request.fill = ChannelFill::Both;
    request.taken = message.time.toLocalTime();
    request.runSpeedHz = message.runSpeedHz;
    request.sourceName = SensorTopicName(site_, sensor, QStringLiteral("waveform"));
    request.format = QStringLiteral("mqtt");
    const SignalImportOutcome stored = StoreWaveformReading(db_, processor_, point, request);
    if (stored.duplicate) {
        // Delivered again after it was stored: a waveform due then is stored already.
        if (state.waveformDue) {
            onlinerows::SetWaveformDue(db_.Connection(), sensor, {});
            state.waveformDue = false;
        }
        return Outcome(IngestResult::Duplicate, QStringLiteral("already stored"));
    }
    if (!stored.ok) {
        // A waveform the reading build refuses (samples too large for the capture's gain) is the
        // sensor's fault; a database failure is not.
        return Outcome(stored.error.startsWith(QLatin1String("the reading could not be stored"))
                           ? IngestResult::Failed
                           : IngestResult::Malformed,
                       stored.error);
    }
    if (state.waveformDue) {
        onlinerows::SetWaveformDue(db_.Connection(), sensor, {});
        state.waveformDue = false;
    }
    state.lastWaveform = request.taken;
    IngestOutcome outcome =
        Outcome(IngestResult::Stored, QStringLiteral("waveform stored as reading %1 (%2 samples)")
                                          .arg(stored.reading.sItemGUID)
                                          .arg(stored.samplesUsed));
    outcome.status = StatusChange(sensor, point);
    return outcome;
}

std::optional<StatusMessage> OnlineIngest::StatusChange(const QString& sensor, const CVib& point) {
    SensorState& state = sensors_[sensor];
    const JudgedPoint judged = JudgePoint(db_, processor_, analyzer_, point);
    StatusCode level = judged.level;
    QStringList reasons;
    if (!judged.reason.isEmpty()) {
        reasons = judged.reason.split(QStringLiteral("; "));
    }
    if (state.overallLevel) {
        level = MostSevere(level, *state.overallLevel);
        if (Alarming(*state.overallLevel)) {
            const bool critical = *state.overallLevel == StatusCode::Critical;
            reasons.prepend(
                QStringLiteral("Online ISO velocity %1 mm/s ≥ %2 %3")
                    .arg(QString::number(state.overallIso, 'f', 2),
                         critical ? QStringLiteral("critical") : QStringLiteral("warning"),
                         QString::number(critical ? point.fISOCriticalMMS : point.fISOWarningMMS, 'f', 2)));
        }
    }
    // A change is one of the level or of the reasons' kinds, not of the online value's digits.
    const QByteArray key =
        (StatusText(level) + QLatin1Char('\n') + judged.reason + QLatin1Char('\n') +
         QString::number(static_cast<int>(state.overallLevel.value_or(StatusCode::NoReadings))))
            .toUtf8();
    if (state.publishedKey == key) {
        return std::nullopt;
    }
    state.publishedKey = key;
    return StatusMessage{
        SensorTopicName(site_, sensor, QStringLiteral("status")),
        StatusPayload(sensor, point.sItemGUID, level, reasons, judged.rule, QDateTime::currentDateTimeUtc())};
}

} // namespace vantor::ingest
