// vantor-sensor-sim: publishes overall values and waveforms of N simulated online sensors to an
// MQTT broker, as permanently mounted sensors would, each with a fault growing over time (see
// SensorSignals.h), to test and demonstrate the ingest service.
#include "tools/sensor-sim/SensorSignals.h"

#include <mosquitto.h>

#include <CLI/CLI.hpp>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <string>

using namespace vantor;
using namespace vantor::sim;

namespace {

struct Options {
    std::string host = "127.0.0.1";
    int port = 1883;
    std::string site = "demo";
    std::string prefix = "sim-";
    int sensors = 3;
    double rate = 1.0;           // overall messages per second per sensor
    double waveformEvery = 60.0; // seconds between a sensor's waveforms
    double duration = 0;         // seconds; 0 runs until stopped
    double hoursPerSecond = 1.0; // simulated fault age per real second
    double growthHours = 48.0;   // age at which a fault is full-size
    double startHours = 0;       // the faults' age at the start
    double backdateHours = 0;    // > 0: messages stamped on the simulated clock, starting this far back
};

bool Publish(mosquitto* client, const QString& topic, const QByteArray& payload) {
    const int rc = mosquitto_publish(client, nullptr, topic.toUtf8().constData(),
                                     static_cast<int>(payload.size()), payload.constData(), 1, false);
    if (rc != MOSQ_ERR_SUCCESS) {
        std::fprintf(stderr, "vantor-sensor-sim: cannot publish %s: %s\n", qUtf8Printable(topic),
                     mosquitto_strerror(rc));
    }
    return rc == MOSQ_ERR_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    Options o;
    CLI::App cli{"Publishes simulated online sensors' overall values and waveforms to an MQTT broker",
                 "vantor-sensor-sim"};
    cli.add_option("--host", o.host, "The broker's host");
    cli.add_option("--port", o.port, "The broker's port")->check(CLI::Range(1, 65535));
    cli.add_option("--site", o.site, "The topics' site: vantor/<site>/<sensor>/...");
    cli.add_option("--prefix", o.prefix, "Sensor ids are <prefix>1 .. <prefix>N");
    cli.add_option("--sensors", o.sensors, "How many sensors")->check(CLI::Range(1, 1000));
    cli.add_option("--rate", o.rate, "Overall messages per second per sensor")
        ->check(CLI::Range(0.001, 1000.0));
    cli.add_option("--waveform-every", o.waveformEvery, "Seconds between a sensor's waveforms")
        ->check(CLI::Range(0.1, 86400.0));
    cli.add_option("--duration", o.duration, "Seconds to run (0: until stopped)")
        ->check(CLI::NonNegativeNumber);
    cli.add_option("--hours-per-second", o.hoursPerSecond, "Simulated hours of fault growth per second");
    cli.add_option("--growth-hours", o.growthHours, "Hours until a fault is full-size");
    cli.add_option("--start-hours", o.startHours, "The faults' age at the start, in hours");
    cli.add_option("--backdate-hours", o.backdateHours,
                   "Stamp the messages on the simulated clock (--hours-per-second), starting this many hours "
                   "ago, so that a short run fills days of trend (default 0: the real time)")
        ->check(CLI::NonNegativeNumber);
    CLI11_PARSE(cli, argc, argv);

    mosquitto_lib_init();
    mosquitto* client = mosquitto_new(nullptr, true, nullptr);
    if (client == nullptr || mosquitto_connect(client, o.host.c_str(), o.port, 30) != MOSQ_ERR_SUCCESS ||
        mosquitto_loop_start(client) != MOSQ_ERR_SUCCESS) {
        std::fprintf(stderr, "vantor-sensor-sim: cannot reach the broker at %s:%d\n", o.host.c_str(), o.port);
        return 1;
    }
    const QString site = QString::fromStdString(o.site);
    QElapsedTimer clock;
    clock.start();
    const QDateTime started = QDateTime::currentDateTimeUtc();
    std::vector<double> lastWaveform(static_cast<std::size_t>(o.sensors), -1e9);
    long tick = 0;
    int published = 0;
    while (o.duration <= 0 || clock.elapsed() < o.duration * 1000) {
        const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        const double age = o.startHours + seconds * o.hoursPerSecond;
        constexpr double kMsPerHour = 3600.0 * 1000.0;
        const QDateTime now =
            o.backdateHours > 0
                ? started.addMSecs(std::llround((seconds * o.hoursPerSecond - o.backdateHours) * kMsPerHour))
                : QDateTime::currentDateTimeUtc();
        for (int n = 1; n <= o.sensors; ++n) {
            const QString sensor = QString::fromStdString(o.prefix) + QString::number(n);
            const SignalRecipe recipe = SensorRecipe(n, age, o.growthHours);
            const ingest::WaveformMessage waveform =
                SimulatedWaveform(recipe, now, static_cast<std::uint32_t>(tick * 1000 + n));
            const double share = std::clamp(o.growthHours > 0 ? age / o.growthHours : 1.0, 0.0, 1.0);
            published += Publish(
                client, ingest::SensorTopicName(site, sensor, QStringLiteral("overall")),
                ingest::OverallPayload(SimulatedOverall(recipe, waveform.waveform.samples, share, now)));
            double& last = lastWaveform[static_cast<std::size_t>(n - 1)];
            if (seconds - last >= o.waveformEvery) {
                last = seconds;
                published +=
                    Publish(client, ingest::SensorTopicName(site, sensor, QStringLiteral("waveform")),
                            ingest::WaveformPayload(now, waveform.waveform, waveform.runSpeedHz));
            }
        }
        ++tick;
        const auto next = static_cast<qint64>(static_cast<double>(tick) * 1000.0 / o.rate);
        if (next > clock.elapsed()) {
            QThread::msleep(static_cast<unsigned long>(next - clock.elapsed()));
        }
    }
    std::fprintf(stderr, "vantor-sensor-sim: published %d messages\n", published);
    mosquitto_disconnect(client);
    mosquitto_loop_stop(client, false);
    mosquitto_destroy(client);
    mosquitto_lib_cleanup();
    return 0;
}
