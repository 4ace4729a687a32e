#pragma once
// What online sensors publish, read without a broker: the topic vantor/<site>/<sensor>/<kind>, an
// overall message (JSON) and a waveform message (a JSON header line, then the samples as
// little-endian 32-bit floats). Every refusal says what is wrong in words a sensor's integrator
// can act on; nothing here touches the database.

#include "interchange/ImportedReading.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace vantor::ingest {

// The limits a message is held to (readable here rather than spread through the parser).
inline constexpr qsizetype kMaxOverallPayload = 4 * 1024; // a few values and a date
inline constexpr qsizetype kMaxWaveformHeader = 1024;     // the JSON line
inline constexpr int kMaxWaveformSamples = 131072;        // the transform's longest record
inline constexpr qsizetype kMaxWaveformPayload =          // header and the longest record
    kMaxWaveformHeader + 4 * static_cast<qsizetype>(kMaxWaveformSamples);
inline constexpr double kMaxIsoMms = 10000.0;       // far above any machine's vibration velocity
inline constexpr double kMaxTotalG = 100000.0;      // shock accelerometers end near 1e5 g
inline constexpr double kMinTemperatureC = -273.15; // absolute zero
inline constexpr double kMaxTemperatureC = 1000.0;

enum class MessageKind { Overall, Waveform };

struct SensorTopic {
    QString site;
    QString sensor;
    MessageKind kind = MessageKind::Overall;
};

struct OverallMessage {
    QDateTime time;
    std::optional<double> isoMms;       // ISO 10816 velocity RMS, mm/s
    std::optional<double> totalG;       // total acceleration RMS, g
    std::optional<double> temperatureC; // the sensor's temperature
};

struct WaveformMessage {
    QDateTime time;
    ImportedWaveform waveform; // samples, rate and unit (g or mm/s)
    std::optional<double> runSpeedHz;
};

// A parse result: the value, or the reason it was refused.
template <class T> struct Parsed {
    std::optional<T> value;
    QString error;
    bool Ok() const { return value.has_value(); }
};

// "vantor/<site>/<sensor>/overall" or ".../waveform"; site and sensor non-empty, without wildcards.
Parsed<SensorTopic> ParseTopic(const QString& topic);
// {"time": ISO-8601, "values": {"iso_mms": x, "total_g": x, "temperature_c": x}}: at least one
// value, each a finite number within its range.
Parsed<OverallMessage> ParseOverall(const QByteArray& payload);
// {"time": ISO-8601, "rate_hz": x, "unit": "g"|"mm/s", "samples": n, "run_speed_hz": x} then a
// newline and exactly n little-endian float32 samples, each finite.
Parsed<WaveformMessage> ParseWaveform(const QByteArray& payload);

// The payload of a waveform message (the simulator's and the tests' publisher).
QByteArray WaveformPayload(const QDateTime& time, const ImportedWaveform& waveform,
                           std::optional<double> runSpeedHz);
// The payload of an overall message.
QByteArray OverallPayload(const OverallMessage& message);

// The topic of a kind of message, and of the status published back ("status").
QString SensorTopicName(const QString& site, const QString& sensor, const QString& kind);

} // namespace vantor::ingest
