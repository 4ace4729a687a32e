#pragma once
// A real MQTT broker for the tests: the mosquitto program started on a free loopback port with its
// own configuration file (anonymous, in memory, no queue limit), stopped when the object goes; and
// a small client that publishes with QoS 1 and collects what it receives.

#include <mosquitto.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <mutex>
#include <utility>
#include <vector>

namespace vantor::ingest::testing {

// The broker program, empty when it is not installed.
inline QString MosquittoProgram() {
    return QStandardPaths::findExecutable(
        QStringLiteral("mosquitto"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/bin")});
}

class TestBroker {
public:
    // `listenerOptions`: lines for the listener (a TLS listener's cafile, certfile, keyfile).
    explicit TestBroker(const QString& listenerOptions = {}) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            return;
        }
        port_ = probe.serverPort();
        probe.close();
        const QString config = dir_.filePath(QStringLiteral("mosquitto.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        file.write(QStringLiteral("listener %1 127.0.0.1\n%2\nallow_anonymous true\npersistence false\n"
                                  "max_queued_messages 0\nlog_dest none\n")
                       .arg(port_)
                       .arg(listenerOptions)
                       .toUtf8());
        file.close();
        config_ = config;
        Start();
    }
    ~TestBroker() { Stop(); }
    TestBroker(const TestBroker&) = delete;
    TestBroker& operator=(const TestBroker&) = delete;

    // Starts the broker (again, on the same port) and waits until it accepts connections.
    void Start() {
        ready_ = false;
        process_.start(MosquittoProgram(), {QStringLiteral("-c"), config_});
        process_.waitForStarted();
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port_);
            if (socket.waitForConnected(200)) {
                ready_ = true;
                return;
            }
            QThread::msleep(50);
        }
    }
    void Stop() {
        if (process_.state() == QProcess::NotRunning) {
            return;
        }
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    bool Ready() const { return ready_; }
    quint16 Port() const { return port_; }

private:
    QTemporaryDir dir_;
    QString config_;
    QProcess process_;
    quint16 port_ = 0;
    bool ready_ = false;
};

// A client on its own network thread: publishes with QoS 1 (waiting for the broker's PUBACKs)
// and keeps every message it receives.
class TestClient {
public:
    // With `caFile` the connection is TLS, the broker's certificate checked against it.
    explicit TestClient(quint16 port, const QString& caFile = {}) {
        mosquitto_lib_init();
        client_ = mosquitto_new(nullptr, true, this);
        if (!caFile.isEmpty()) {
            mosquitto_tls_set(client_, caFile.toUtf8().constData(), nullptr, nullptr, nullptr, nullptr);
        }
        mosquitto_message_callback_set(client_, [](mosquitto*, void* self, const mosquitto_message* m) {
            auto& me = *static_cast<TestClient*>(self);
            const std::lock_guard lock(me.mutex_);
            me.received_.emplace_back(QString::fromUtf8(m->topic),
                                      QByteArray(static_cast<const char*>(m->payload), m->payloadlen));
        });
        mosquitto_publish_callback_set(client_, [](mosquitto*, void* self, int) {
            auto& me = *static_cast<TestClient*>(self);
            const std::lock_guard lock(me.mutex_);
            ++me.acknowledged_;
        });
        connected_ = mosquitto_connect(client_, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS &&
                     mosquitto_loop_start(client_) == MOSQ_ERR_SUCCESS;
    }
    ~TestClient() {
        mosquitto_disconnect(client_);
        mosquitto_loop_stop(client_, false);
        mosquitto_destroy(client_);
        mosquitto_lib_cleanup();
    }
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool Connected() const { return connected_; }
    void Subscribe(const QString& topic) {
        mosquitto_subscribe(client_, nullptr, topic.toUtf8().constData(), 1);
    }
    void Publish(const QString& topic, const QByteArray& payload) {
        ++published_;
        EXPECT_EQ(mosquitto_publish(client_, nullptr, topic.toUtf8().constData(),
                                    static_cast<int>(payload.size()), payload.constData(), 1, false),
                  MOSQ_ERR_SUCCESS);
    }
    // Whether the broker acknowledged everything published within the time.
    bool WaitAcknowledged(int milliseconds) {
        const QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired()) {
            {
                const std::lock_guard lock(mutex_);
                if (acknowledged_ >= published_) {
                    return true;
                }
            }
            QThread::msleep(20);
        }
        return false;
    }
    std::vector<std::pair<QString, QByteArray>> Received() {
        const std::lock_guard lock(mutex_);
        return received_;
    }

private:
    mosquitto* client_ = nullptr;
    bool connected_ = false;
    std::mutex mutex_;
    std::vector<std::pair<QString, QByteArray>> received_;
    int published_ = 0;
    int acknowledged_ = 0;
};

} // namespace vantor::ingest::testing
