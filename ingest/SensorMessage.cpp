#include "ingest/SensorMessage.h"

#include "store/Validation.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace vantor::ingest {
namespace {

template <class T> Parsed<T> Refused(const QString& why) {
    return {std::nullopt, why};
}

// A JSON object from bytes, or why not.
std::optional<QJsonObject> ObjectOf(const QByteArray& bytes, QString& error) {
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("not JSON: %1 at offset %2").arg(parse.errorString()).arg(parse.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        error = QStringLiteral("the JSON is not an object");
        return std::nullopt;
    }
    return document.object();
}

// "time" as an ISO-8601 date and time (with or without milliseconds and offset; without an offset
// it is local time).
std::optional<QDateTime> TimeOf(const QJsonObject& object, QString& error) {
    const QJsonValue value = object.value(QLatin1String("time"));
    if (!value.isString()) {
        error = QStringLiteral("\"time\" is missing or not a string");
        return std::nullopt;
    }
    const QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    if (!time.isValid()) {
        error = QStringLiteral("\"time\" is not an ISO-8601 date and time: %1").arg(value.toString());
        return std::nullopt;
    }
    return time;
}

// A number field that may be absent; a present one must be a finite number in [low, high].
bool OptionalNumber(const QJsonObject& object, const char* key, double low, double high,
                    std::optional<double>& out, QString& error) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull()) {
        return true;
    }
    if (!value.isDouble()) {
        error = QStringLiteral("\"%1\" is not a number").arg(QLatin1String(key));
        return false;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number)) {
        error = QStringLiteral("\"%1\" is not finite").arg(QLatin1String(key));
        return false;
    }
    if (number < low || number > high) {
        error = QStringLiteral("\"%1\" %2 lies outside %3 to %4")
                    .arg(QLatin1String(key), QString::number(number, 'g', 6), QString::number(low, 'g', 6),
                         QString::number(high, 'g', 6));
        return false;
    }
    out = number;
    return true;
}

} // namespace

Parsed<SensorTopic> ParseTopic(const QString& topic) {
    const QStringList parts = topic.split(QLatin1Char('/'));
    if (parts.size() != 4 || parts[0] != QLatin1String("vantor")) {
        return Refused<SensorTopic>(QStringLiteral("the topic is not vantor/<site>/<sensor>/<kind>"));
    }
    for (int i = 1; i <= 2; ++i) {
        if (parts[i].isEmpty() || parts[i].contains(QLatin1Char('+')) ||
            parts[i].contains(QLatin1Char('#'))) {
            return Refused<SensorTopic>(QStringLiteral("the topic's %1 is empty or a wildcard")
                                            .arg(i == 1 ? QLatin1String("site") : QLatin1String("sensor")));
        }
    }
    SensorTopic parsed{parts[1], parts[2], MessageKind::Overall};
    if (parts[3] == QLatin1String("waveform")) {
        parsed.kind = MessageKind::Waveform;
    } else if (parts[3] != QLatin1String("overall")) {
        return Refused<SensorTopic>(
            QStringLiteral("unknown message kind \"%1\" (overall or waveform)").arg(parts[3]));
    }
    return {parsed, {}};
}

Parsed<OverallMessage> ParseOverall(const QByteArray& payload) {
    if (payload.size() > kMaxOverallPayload) {
        return Refused<OverallMessage>(
            QStringLiteral("the payload of %1 bytes is over the %2 bytes an overall "
                           "message may have")
                .arg(payload.size())
                .arg(kMaxOverallPayload));
    }
    QString error;
    const std::optional<QJsonObject> object = ObjectOf(payload, error);
    if (!object) {
        return Refused<OverallMessage>(error);
    }
    OverallMessage message;
    const std::optional<QDateTime> time = TimeOf(*object, error);
    if (!time) {
        return Refused<OverallMessage>(error);
    }
    message.time = *time;
    const QJsonValue values = object->value(QLatin1String("values"));
    if (!values.isObject()) {
        return Refused<OverallMessage>(QStringLiteral("\"values\" is missing or not an object"));
    }
    const QJsonObject v = values.toObject();
    if (!OptionalNumber(v, "iso_mms", 0, kMaxIsoMms, message.isoMms, error) ||
        !OptionalNumber(v, "total_g", 0, kMaxTotalG, message.totalG, error) ||
        !OptionalNumber(v, "temperature_c", kMinTemperatureC, kMaxTemperatureC, message.temperatureC,
                        error)) {
        return Refused<OverallMessage>(error);
    }
    if (!message.isoMms && !message.totalG && !message.temperatureC) {
        return Refused<OverallMessage>(
            QStringLiteral("\"values\" holds none of iso_mms, total_g and temperature_c"));
    }
    return {message, {}};
}

Parsed<WaveformMessage> ParseWaveform(const QByteArray& payload) {
    if (payload.size() > kMaxWaveformPayload) {
        return Refused<WaveformMessage>(
            QStringLiteral("the payload of %1 bytes is over the %2 bytes a waveform message may have")
                .arg(payload.size())
                .arg(kMaxWaveformPayload));
    }
    const qsizetype newline = payload.indexOf('\n');
    if (newline < 0 || newline > kMaxWaveformHeader) {
        return Refused<WaveformMessage>(
            QStringLiteral(
                "no header line: a JSON line of at most %1 bytes ending in a newline must come first")
                .arg(kMaxWaveformHeader));
    }
    QString error;
    const std::optional<QJsonObject> header = ObjectOf(payload.left(newline), error);
    if (!header) {
        return Refused<WaveformMessage>(QStringLiteral("header: %1").arg(error));
    }
    WaveformMessage message;
    const std::optional<QDateTime> time = TimeOf(*header, error);
    if (!time) {
        return Refused<WaveformMessage>(error);
    }
    message.time = *time;

    std::optional<double> rate;
    if (!OptionalNumber(*header, "rate_hz", kMinImportSamplingHz, kMaxImportSamplingHz, rate, error)) {
        return Refused<WaveformMessage>(error);
    }
    if (!rate) {
        return Refused<WaveformMessage>(QStringLiteral("\"rate_hz\" is missing"));
    }
    const QString unitText = header->value(QLatin1String("unit")).toString();
    const std::optional<SignalUnit> unit = SignalUnitFromText(unitText);
    if (unitText != QLatin1String("g") && unitText != QLatin1String("mm/s")) {
        return Refused<WaveformMessage>(
            QStringLiteral("\"unit\" must be \"g\" or \"mm/s\", not \"%1\"").arg(unitText));
    }
    std::optional<double> count;
    if (!OptionalNumber(*header, "samples", static_cast<double>(kMinImportSamples), kMaxWaveformSamples,
                        count, error)) {
        return Refused<WaveformMessage>(error);
    }
    if (!count || *count != std::floor(*count)) {
        return Refused<WaveformMessage>(QStringLiteral("\"samples\" is missing or not a whole number"));
    }
    std::optional<double> runSpeed;
    if (!OptionalNumber(*header, "run_speed_hz", 0, 1e9, runSpeed, error)) {
        return Refused<WaveformMessage>(error);
    }
    if (runSpeed) {
        if (const std::optional<QString> refused = CheckRunSpeed(*runSpeed)) {
            return Refused<WaveformMessage>(QStringLiteral("\"run_speed_hz\": %1").arg(*refused));
        }
    }

    const auto samples = static_cast<qsizetype>(*count);
    const qsizetype bytes = payload.size() - newline - 1;
    if (bytes != samples * 4) {
        return Refused<WaveformMessage>(
            QStringLiteral("the header announces %1 samples (%2 bytes) but %3 bytes follow it")
                .arg(samples)
                .arg(samples * 4)
                .arg(bytes));
    }
    message.waveform.samplingFrequencyHz = *rate;
    message.waveform.unit = *unit;
    message.waveform.samples.reserve(static_cast<std::size_t>(samples));
    const char* data = payload.constData() + newline + 1;
    for (qsizetype i = 0; i < samples; ++i) {
        const float sample = qFromLittleEndian<float>(data + 4 * i);
        if (!std::isfinite(sample) || std::abs(sample) > kLargestImportSample) {
            return Refused<WaveformMessage>(
                QStringLiteral("sample %1 is not a finite value within ±1e15").arg(i + 1));
        }
        message.waveform.samples.push_back(sample);
    }
    message.runSpeedHz = runSpeed;
    return {std::move(message), {}};
}

QByteArray WaveformPayload(const QDateTime& time, const ImportedWaveform& waveform,
                           std::optional<double> runSpeedHz) {
    QJsonObject header{{QStringLiteral("time"), time.toString(Qt::ISODateWithMs)},
                       {QStringLiteral("rate_hz"), waveform.samplingFrequencyHz},
                       {QStringLiteral("unit"),
                        waveform.unit == SignalUnit::G ? QStringLiteral("g") : QStringLiteral("mm/s")},
                       {QStringLiteral("samples"), static_cast<qint64>(waveform.samples.size())}};
    if (runSpeedHz) {
        header.insert(QStringLiteral("run_speed_hz"), *runSpeedHz);
    }
    QByteArray payload = QJsonDocument(header).toJson(QJsonDocument::Compact);
    payload.append('\n');
    const qsizetype start = payload.size();
    payload.resize(start + 4 * static_cast<qsizetype>(waveform.samples.size()));
    for (std::size_t i = 0; i < waveform.samples.size(); ++i) {
        qToLittleEndian<float>(static_cast<float>(waveform.samples[i]), payload.data() + start + 4 * i);
    }
    return payload;
}

QByteArray OverallPayload(const OverallMessage& message) {
    QJsonObject values;
    for (const auto& [key, value] :
         {std::pair{"iso_mms", message.isoMms}, std::pair{"total_g", message.totalG},
          std::pair{"temperature_c", message.temperatureC}}) {
        if (value) {
            values.insert(QLatin1String(key), *value);
        }
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("time"), message.time.toString(Qt::ISODateWithMs)},
                                     {QStringLiteral("values"), values}})
        .toJson(QJsonDocument::Compact);
}

QString SensorTopicName(const QString& site, const QString& sensor, const QString& kind) {
    return QStringLiteral("vantor/%1/%2/%3").arg(site, sensor, kind);
}

} // namespace vantor::ingest
