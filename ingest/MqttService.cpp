#include "ingest/MqttService.h"

#include <mosquitto.h>

#include <QDateTime>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vantor::ingest {
namespace {

// Attempts at a message the database refused before the service gives up on it (unacknowledged).
constexpr int kStoreAttempts = 3;
constexpr int kExitDatabaseRefused = 75; // EX_TEMPFAIL: try again later

// Unknown sensors are logged on their first message and then every this many.
constexpr int kUnknownLogEvery = 100;

QString MosquittoError(int rc) {
    return QString::fromUtf8(mosquitto_strerror(rc));
}

class Library {
public:
    Library() { mosquitto_lib_init(); }
    ~Library() { mosquitto_lib_cleanup(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

struct Session {
    OnlineIngest& ingest;
    const IngestSettings& settings;
    mosquitto* client = nullptr;
    bool connected = false;
    int lastUnknownLogged = 0;
};

void OnConnect(mosquitto* client, void* object, int rc) {
    auto& session = *static_cast<Session*>(object);
    if (rc != 0) {
        LogLine(QStringLiteral("the broker refused the connection: %1")
                    .arg(QString::fromUtf8(mosquitto_connack_string(rc))));
        return;
    }
    session.connected = true;
    LogLine(QStringLiteral("connected to %1:%2 as %3")
                .arg(session.settings.host)
                .arg(session.settings.port)
                .arg(session.settings.clientId));
    for (const char* kind : {"overall", "waveform"}) {
        const QByteArray topic =
            SensorTopicName(session.settings.site, QStringLiteral("+"), QLatin1String(kind)).toUtf8();
        const int sub = mosquitto_subscribe(client, nullptr, topic.constData(), 1);
        if (sub != MOSQ_ERR_SUCCESS) {
            LogLine(QStringLiteral("cannot subscribe to %1: %2")
                        .arg(QString::fromUtf8(topic), MosquittoError(sub)));
        }
    }
}

void OnSubscribe(mosquitto*, void*, int, int, const int*) {
    LogLine(QStringLiteral("subscribed"));
}

void OnDisconnect(mosquitto*, void* object, int rc) {
    auto& session = *static_cast<Session*>(object);
    session.connected = false;
    if (rc != 0) {
        LogLine(QStringLiteral("connection to the broker lost: %1").arg(MosquittoError(rc)));
    }
}

// Handles and commits the message before returning: the library sends the PUBACK after this.
void OnMessage(mosquitto* client, void* object, const mosquitto_message* message) {
    auto& session = *static_cast<Session*>(object);
    const QString topic = QString::fromUtf8(message->topic);
    const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
    IngestOutcome outcome;
    for (int attempt = 1; attempt <= kStoreAttempts; ++attempt) {
        outcome = session.ingest.Handle(topic, payload);
        if (outcome.result != IngestResult::Failed) {
            break;
        }
        LogLine(QStringLiteral("%1: the database refused the message (attempt %2 of %3): %4")
                    .arg(topic)
                    .arg(attempt)
                    .arg(kStoreAttempts)
                    .arg(outcome.message));
        QThread::sleep(1);
    }
    if (outcome.result == IngestResult::Failed) {
        // Leaving without returning keeps the message unacknowledged at the broker, which
        // delivers it again to the restarted service.
        LogLine(QStringLiteral("stopping: a message could not be stored and stays unacknowledged"));
        std::fflush(stderr);
        std::_Exit(kExitDatabaseRefused);
    }
    switch (outcome.result) {
    case IngestResult::Malformed:
        LogLine(QStringLiteral("%1: message dropped: %2").arg(topic, outcome.message));
        break;
    case IngestResult::UnknownSensor: {
        const int count = session.ingest.UnknownSensorMessages();
        if (count == 1 || count - session.lastUnknownLogged >= kUnknownLogEvery) {
            session.lastUnknownLogged = count;
            LogLine(QStringLiteral("%1: not stored: %2").arg(topic, outcome.message));
        }
        break;
    }
    default:
        break;
    }
    if (outcome.status) {
        const QByteArray statusTopic = outcome.status->topic.toUtf8();
        const int rc = mosquitto_publish(client, nullptr, statusTopic.constData(),
                                         static_cast<int>(outcome.status->payload.size()),
                                         outcome.status->payload.constData(), 1, true);
        if (rc != MOSQ_ERR_SUCCESS) {
            LogLine(QStringLiteral("cannot publish %1: %2").arg(outcome.status->topic, MosquittoError(rc)));
        } else {
            LogLine(QStringLiteral("status %1: %2")
                        .arg(outcome.status->topic, QString::fromUtf8(outcome.status->payload)));
        }
    }
}

// Waits `seconds` in steps of 100 ms so a stop is not held up; false when stopped.
bool Wait(int seconds, const std::atomic<bool>& stop) {
    for (int step = 0; step < seconds * 10; ++step) {
        if (stop) {
            return false;
        }
        QThread::msleep(100);
    }
    return !stop;
}

} // namespace

void LogLine(const QString& text) {
    std::fprintf(stderr, "%s vantor-ingest: %s\n",
                 qUtf8Printable(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)),
                 qUtf8Printable(text));
    std::fflush(stderr);
}

int RunIngestService(OnlineIngest& ingest, const IngestSettings& settings, const std::atomic<bool>& stop) {
    const Library library;
    Session session{ingest, settings};
    const QByteArray clientId = settings.clientId.toUtf8();
    session.client = mosquitto_new(clientId.constData(), false, &session);
    if (session.client == nullptr) {
        LogLine(QStringLiteral("cannot make the MQTT client"));
        return 1;
    }
    mosquitto* client = session.client;
    // This library version acknowledges a QoS 1 message before its message callback runs, writing
    // the PUBACK at once unless the client is marked as driven by the application's own threads:
    // then every packet it makes is only queued and written by the loop's write step, which comes
    // after the read step that ran the callback, and so after the message's commit.
    mosquitto_threaded_set(client, true);
    mosquitto_int_option(client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    if (!settings.user.isEmpty()) {
        mosquitto_username_pw_set(client, settings.user.toUtf8().constData(),
                                  settings.password.isEmpty() ? nullptr
                                                              : settings.password.toUtf8().constData());
    }
    if (!settings.caFile.isEmpty()) {
        const int rc = mosquitto_tls_set(client, settings.caFile.toUtf8().constData(), nullptr, nullptr,
                                         nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            LogLine(QStringLiteral("cannot use the CA file %1: %2").arg(settings.caFile, MosquittoError(rc)));
            mosquitto_destroy(client);
            return 1;
        }
    }
    mosquitto_connect_callback_set(client, OnConnect);
    mosquitto_subscribe_callback_set(client, OnSubscribe);
    mosquitto_disconnect_callback_set(client, OnDisconnect);
    mosquitto_message_callback_set(client, OnMessage);

    const QByteArray host = settings.host.toUtf8();
    int backoff = 1;
    bool everConnected = false;
    while (!stop) {
        const int rc = everConnected ? mosquitto_reconnect(client)
                                     : mosquitto_connect(client, host.constData(), settings.port,
                                                         settings.keepAliveSeconds);
        if (rc != MOSQ_ERR_SUCCESS) {
            LogLine(QStringLiteral("cannot reach the broker at %1:%2: %3; trying again in %4 s")
                        .arg(settings.host)
                        .arg(settings.port)
                        .arg(MosquittoError(rc))
                        .arg(backoff));
            if (!Wait(backoff, stop)) {
                break;
            }
            backoff = std::min(backoff * 2, settings.maxBackoffSeconds);
            continue;
        }
        everConnected = true;
        int loop = MOSQ_ERR_SUCCESS;
        while (!stop && (loop = mosquitto_loop(client, 500, 1)) == MOSQ_ERR_SUCCESS) {
            if (session.connected) {
                backoff = 1;
            }
        }
        if (stop) {
            break;
        }
        LogLine(QStringLiteral("lost the broker at %1:%2: %3; reconnecting in %4 s")
                    .arg(settings.host)
                    .arg(settings.port)
                    .arg(MosquittoError(loop))
                    .arg(backoff));
        if (!Wait(backoff, stop)) {
            break;
        }
        backoff = std::min(backoff * 2, settings.maxBackoffSeconds);
    }
    mosquitto_disconnect(client);
    mosquitto_loop(client, 100, 1);
    mosquitto_destroy(client);
    LogLine(QStringLiteral("stopped"));
    return 0;
}

} // namespace vantor::ingest
