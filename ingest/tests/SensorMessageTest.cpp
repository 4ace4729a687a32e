// Sensor messages read without a broker: well-formed topics, overall and waveform messages give
// their values, and every malformed one is refused with a message naming what is wrong.
#include "ingest/SensorMessage.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantor;
using namespace vantor::ingest;

namespace {

const QDateTime kTime = QDateTime::fromString(QStringLiteral("2026-03-02T12:00:00.250Z"), Qt::ISODateWithMs);

ImportedWaveform Sine(int samples) {
    ImportedWaveform waveform;
    waveform.samplingFrequencyHz = 25600;
    waveform.unit = SignalUnit::G;
    for (int i = 0; i < samples; ++i) {
        waveform.samples.push_back(std::sin(i * 0.1));
    }
    return waveform;
}

QByteArray WithSample(QByteArray payload, int index, float value) {
    const qsizetype start = payload.indexOf('\n') + 1;
    qToLittleEndian<float>(value, payload.data() + start + 4 * index);
    return payload;
}

QByteArray Header(const char* json, int bytes) {
    return QByteArray(json) + '\n' + QByteArray(bytes, '\0');
}

} // namespace

TEST(SensorMessage, TopicsNameSiteSensorAndKind) {
    struct Case {
        const char* topic;
        const char* error; // a part of the refusal; nullptr when accepted
    } const cases[] = {
        {"vantor/plant1/s-01/overall", nullptr},
        {"vantor/plant1/s-01/waveform", nullptr},
        {"vantor/plant1/s-01/status", "unknown message kind \"status\""},
        {"vantor/plant1//overall", "sensor is empty"},
        {"vantor/+/s-01/overall", "site is empty or a wildcard"},
        {"other/plant1/s-01/overall", "not vantor/<site>/<sensor>/<kind>"},
        {"vantor/plant1/s-01/overall/extra", "not vantor/<site>/<sensor>/<kind>"},
    };
    for (const Case& test : cases) {
        const Parsed<SensorTopic> parsed = ParseTopic(QLatin1String(test.topic));
        if (test.error == nullptr) {
            ASSERT_TRUE(parsed.Ok()) << test.topic << ": " << parsed.error.toStdString();
            EXPECT_EQ(parsed.value->site, QStringLiteral("plant1"));
            EXPECT_EQ(parsed.value->sensor, QStringLiteral("s-01"));
        } else {
            EXPECT_FALSE(parsed.Ok()) << test.topic;
            EXPECT_TRUE(parsed.error.contains(QLatin1String(test.error)))
                << test.topic << ": " << parsed.error.toStdString();
        }
    }
    EXPECT_EQ(ParseTopic(QStringLiteral("vantor/a/b/waveform")).value->kind, MessageKind::Waveform);
}

TEST(SensorMessage, MessagesRoundTripAndMalformedOnesAreRefusedWithTheReason) {
    const QByteArray wave = WaveformPayload(kTime, Sine(1024), 24.5);
    enum class Kind { Overall, Waveform };
    struct Case {
        const char* name;
        Kind kind;
        QByteArray payload;
        const char* error; // nullptr when accepted
    } const cases[] = {
        {"overall", Kind::Overall,
         R"({"time":"2026-03-02T12:00:00.250Z","values":{"iso_mms":2.5,"total_g":0.4,"temperature_c":41}})",
         nullptr},
        {"one value is enough", Kind::Overall, R"({"time":"2026-03-02T12:00:00Z","values":{"total_g":0.4}})",
         nullptr},
        {"bad JSON", Kind::Overall, R"({"time":"2026-03-02T12:00:00Z","values":{)", "not JSON"},
        {"not an object", Kind::Overall, "[1,2]", "not an object"},
        {"no time", Kind::Overall, R"({"values":{"iso_mms":1}})", "\"time\" is missing"},
        {"bad time", Kind::Overall, R"({"time":"yesterday","values":{"iso_mms":1}})", "not an ISO-8601"},
        {"no values", Kind::Overall, R"({"time":"2026-03-02T12:00:00Z","values":{}})", "holds none"},
        {"value a string", Kind::Overall, R"({"time":"2026-03-02T12:00:00Z","values":{"iso_mms":"NaN"}})",
         "\"iso_mms\" is not a number"},
        {"value infinite", Kind::Overall, R"({"time":"2026-03-02T12:00:00Z","values":{"iso_mms":1e999}})",
         "illegal number"},
        {"negative velocity", Kind::Overall, R"({"time":"2026-03-02T12:00:00Z","values":{"iso_mms":-1}})",
         "lies outside"},
        {"below absolute zero", Kind::Overall,
         R"({"time":"2026-03-02T12:00:00Z","values":{"temperature_c":-300}})", "lies outside"},
        {"oversized overall", Kind::Overall, QByteArray(kMaxOverallPayload + 1, ' '), "over the 4096 bytes"},
        {"waveform", Kind::Waveform, wave, nullptr},
        {"no header line", Kind::Waveform, QByteArray(64, 'x'), "no header line"},
        {"header not JSON", Kind::Waveform, Header("{time", 1024), "header: not JSON"},
        {"one sample short", Kind::Waveform, wave.left(wave.size() - 4), "announces 1024 samples"},
        {"one byte over", Kind::Waveform, wave + 'x', "but 4097 bytes follow"},
        {"NaN sample", Kind::Waveform, WithSample(wave, 7, std::numeric_limits<float>::quiet_NaN()),
         "sample 8 is not a finite"},
        {"infinite sample", Kind::Waveform, WithSample(wave, 0, std::numeric_limits<float>::infinity()),
         "sample 1 is not a finite"},
        {"rate too low", Kind::Waveform,
         Header(R"({"time":"2026-03-02T12:00:00Z","rate_hz":10,"unit":"g","samples":256})", 1024),
         "\"rate_hz\" 10 lies outside"},
        {"rate too high", Kind::Waveform,
         Header(R"({"time":"2026-03-02T12:00:00Z","rate_hz":1e6,"unit":"g","samples":256})", 1024),
         "\"rate_hz\" 1e+06 lies outside"},
        {"no rate", Kind::Waveform,
         Header(R"({"time":"2026-03-02T12:00:00Z","unit":"g","samples":256})", 1024),
         "\"rate_hz\" is missing"},
        {"unknown unit", Kind::Waveform,
         Header(R"({"time":"2026-03-02T12:00:00Z","rate_hz":25600,"unit":"in/s","samples":256})", 1024),
         "\"unit\" must be"},
        {"too few samples", Kind::Waveform,
         Header(R"({"time":"2026-03-02T12:00:00Z","rate_hz":25600,"unit":"g","samples":100})", 400),
         "\"samples\" 100 lies outside"},
        {"fractional count", Kind::Waveform,
         Header(R"({"time":"2026-03-02T12:00:00Z","rate_hz":25600,"unit":"g","samples":256.5})", 1026),
         "not a whole number"},
        {"run speed refused", Kind::Waveform,
         Header(
             R"({"time":"2026-03-02T12:00:00Z","rate_hz":25600,"unit":"g","samples":256,"run_speed_hz":0})",
             1024),
         "\"run_speed_hz\""},
        {"oversized waveform", Kind::Waveform, QByteArray(kMaxWaveformPayload + 1, '\n'), "bytes a waveform"},
    };
    for (const Case& test : cases) {
        const QString error =
            test.kind == Kind::Overall ? ParseOverall(test.payload).error : ParseWaveform(test.payload).error;
        if (test.error == nullptr) {
            EXPECT_TRUE(error.isEmpty()) << test.name << ": " << error.toStdString();
        } else {
            EXPECT_TRUE(error.contains(QLatin1String(test.error)))
                << test.name << ": " << error.toStdString();
        }
    }

    const Parsed<OverallMessage> overall = ParseOverall(cases[0].payload);
    ASSERT_TRUE(overall.Ok());
    EXPECT_EQ(overall.value->time, kTime);
    EXPECT_EQ(overall.value->isoMms, 2.5);
    EXPECT_EQ(overall.value->temperatureC, 41.0);
    EXPECT_EQ(ParseOverall(OverallPayload(*overall.value)).value->totalG, 0.4);

    const Parsed<WaveformMessage> waveform = ParseWaveform(wave);
    ASSERT_TRUE(waveform.Ok());
    EXPECT_EQ(waveform.value->time, kTime);
    EXPECT_EQ(waveform.value->runSpeedHz, 24.5);
    EXPECT_EQ(waveform.value->waveform.samplingFrequencyHz, 25600);
    ASSERT_EQ(waveform.value->waveform.samples.size(), 1024U);
    EXPECT_EQ(waveform.value->waveform.samples[10], static_cast<double>(static_cast<float>(std::sin(1.0))));
}
