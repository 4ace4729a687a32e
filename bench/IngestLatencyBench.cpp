// The time from a sensor publishing an overall value that changes its point's status to the
// retained status message arriving at a dashboard, end to end: a real broker (mosquitto on a free
// loopback port), the vantor-ingest program on a local database file, a publisher sending 100
// overall messages a second for 20 s whose ISO velocity crosses the point's warning level every
// 50th message, and a subscriber on the status topic. Reported as the median and the 90th
// percentile of the 40 crossings, beside the broker's own round trip (the same publisher's message
// back to a subscriber of its topic), which is the floor any service behind the broker adds to.
#include "IngestBenchPoint.h"
#include "app/Startup.h"
#include "ingest/SensorMessage.h"
#include "ingest/tests/TestBroker.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace vantor;
using Clock = std::chrono::steady_clock;

constexpr int kMessagesPerSecond = 100;
constexpr int kSeconds = 20;
constexpr int kCrossingEvery = 50; // messages between two changes of the status
const QDateTime kStart(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC);

// A subscriber that notes when each message arrives.
class TimedSubscriber {
public:
    TimedSubscriber(quint16 port, const QString& topic) {
        client_ = mosquitto_new(nullptr, true, this);
        mosquitto_message_callback_set(client_, [](mosquitto*, void* self, const mosquitto_message* m) {
            auto& me = *static_cast<TimedSubscriber*>(self);
            if (m->retain) {
                return; // the status kept from before this run
            }
            const std::lock_guard lock(me.mutex_);
            me.arrivals_.push_back(Clock::now());
        });
        topic_ = topic.toUtf8();
        mosquitto_connect_callback_set(client_, [](mosquitto* client, void* self, int) {
            mosquitto_subscribe(client, nullptr, static_cast<TimedSubscriber*>(self)->topic_.constData(), 1);
        });
        ready_ = mosquitto_connect(client_, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS &&
                 mosquitto_loop_start(client_) == MOSQ_ERR_SUCCESS;
    }
    ~TimedSubscriber() {
        mosquitto_disconnect(client_);
        mosquitto_loop_stop(client_, false);
        mosquitto_destroy(client_);
    }
    bool Ready() const { return ready_; }
    std::vector<Clock::time_point> Arrivals() {
        const std::lock_guard lock(mutex_);
        return arrivals_;
    }

private:
    mosquitto* client_ = nullptr;
    QByteArray topic_;
    bool ready_ = false;
    std::mutex mutex_;
    std::vector<Clock::time_point> arrivals_;
};

// For each crossing published at `sent[i]`, the first arrival after it (none when the next crossing
// came first); the latencies in milliseconds, sorted.
std::vector<double> Latencies(const std::vector<Clock::time_point>& sent,
                              const std::vector<Clock::time_point>& arrivals) {
    std::vector<double> latencies;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const auto next = i + 1 < sent.size() ? sent[i + 1] : Clock::time_point::max();
        const auto arrival = std::lower_bound(arrivals.begin(), arrivals.end(), sent[i]);
        if (arrival != arrivals.end() && *arrival < next) {
            latencies.push_back(std::chrono::duration<double, std::milli>(*arrival - sent[i]).count());
        }
    }
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

void Report(benchmark::State& state, const std::vector<double>& latencies, std::size_t crossings) {
    if (latencies.empty()) {
        state.SkipWithError("nothing arrived");
        return;
    }
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["p90_ms"] = latencies[latencies.size() * 9 / 10];
    state.counters["arrived"] = static_cast<double>(latencies.size()) / static_cast<double>(crossings);
}

// Publishes the run's overall messages at the set rate on `topic`; the send times of the crossings.
std::vector<Clock::time_point> PublishRun(ingest::testing::TestClient& publisher, const QString& topic) {
    std::vector<Clock::time_point> crossings;
    const auto start = Clock::now();
    for (int i = 0; i < kMessagesPerSecond * kSeconds; ++i) {
        std::this_thread::sleep_until(start + std::chrono::microseconds(1000000LL * i / kMessagesPerSecond));
        // 2.0 mm/s (OK) and 5.0 mm/s (WARNING) in turns of kCrossingEvery messages.
        const double iso = (i / kCrossingEvery) % 2 == 0 ? 2.0 : 5.0;
        if (i % kCrossingEvery == 0) {
            crossings.push_back(Clock::now());
        }
        publisher.Publish(topic, ingest::OverallPayload({kStart.addMSecs(10LL * i), iso, 0.3, 40.0}));
    }
    return crossings;
}

void BM_PublishToStatus(benchmark::State& state) {
    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    ingest::testing::TestBroker broker;
    CAppData app(prompter);
    if (!broker.Ready() || !InitDataRoot(app) || !RunHeadlessStartup(app)) {
        state.SkipWithError("no broker or no database");
        return;
    }
    bench::AddSensorPoint(*app.MainConnection(), kStart);
    const QString settings = env.Root() + QStringLiteral("/ingest.conf");
    {
        QFile file(settings);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("host = 127.0.0.1\nport = %1\nsite = bench\nclient_id = bench-ingest\n")
                       .arg(broker.Port())
                       .toUtf8());
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    QProcess service;
    service.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    service.start(QStringLiteral(VANTOR_INGEST_PATH), {QStringLiteral("--settings"), settings});
    TimedSubscriber status(broker.Port(), QStringLiteral("vantor/bench/s1/status"));
    ingest::testing::TestClient publisher(broker.Port());
    if (!service.waitForStarted() || !status.Ready() || !publisher.Connected()) {
        state.SkipWithError("the service or a client did not start");
        return;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1)); // the service subscribes
    for (auto _ : state) {
        const std::vector<Clock::time_point> crossings =
            PublishRun(publisher, QStringLiteral("vantor/bench/s1/overall"));
        std::this_thread::sleep_for(std::chrono::seconds(1));
        Report(state, Latencies(crossings, status.Arrivals()), crossings.size());
    }
    service.terminate();
    service.waitForFinished(10000);
}
BENCHMARK(BM_PublishToStatus)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The peer: the broker's round trip alone, the same messages at the same rate back to a
// subscriber of their own topic.
void BM_BrokerRoundTrip(benchmark::State& state) {
    ingest::testing::TestBroker broker;
    const QString topic = QStringLiteral("vantor/bench/s1/overall");
    TimedSubscriber echo(broker.Port(), topic);
    ingest::testing::TestClient publisher(broker.Port());
    if (!broker.Ready() || !echo.Ready() || !publisher.Connected()) {
        state.SkipWithError("no broker");
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (auto _ : state) {
        const std::vector<Clock::time_point> crossings = PublishRun(publisher, topic);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        Report(state, Latencies(crossings, echo.Arrivals()), crossings.size());
    }
}
BENCHMARK(BM_BrokerRoundTrip)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    mosquitto_lib_init();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    mosquitto_lib_cleanup();
    return 0;
}
