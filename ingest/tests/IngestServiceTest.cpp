// The vantor-ingest program against a real broker on a loopback port: overall values and a
// waveform stored and judged, a level crossing published as a retained status, an unknown sensor
// and malformed messages dropped with the service still storing after them, a settings file others
// may read refused, and a service killed during a burst then restarted storing every message
// exactly once.
#include "ingest/tests/IngestTestData.h"
#include "ingest/tests/TestBroker.h"

#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"
#include "store/testing/TestPlant.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>
#include <limits>
#include <optional>

namespace vantor::ingest {
namespace {

using namespace testing;

class IngestService : public ::testing::Test {
protected:
    void SetUp() override {
        if (MosquittoProgram().isEmpty()) {
            GTEST_SKIP() << "the mosquitto broker is not installed (apt-get install mosquitto)";
        }
        broker = std::make_unique<TestBroker>();
        ASSERT_TRUE(broker->Ready()) << "the test broker did not start";
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        point = vantor::testing::AddFanMotorDE(Db());
        onlinerows::PutSensor(Db().Connection(), {QStringLiteral("s1"), point.sItemGUID, kStart});
    }
    void TearDown() override {
        if (service.state() != QProcess::NotRunning) {
            service.terminate();
            service.waitForFinished(10000);
        }
    }

    CMainConnection& Db() { return *app->MainConnection(); }

    QString Settings(int overallInterval, int waveformInterval, const QString& caFile = {}) {
        const QString path = env.Root() + QStringLiteral("/ingest.conf");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral("host = 127.0.0.1\nport = %1\nsite = plant\nclient_id = test-ingest\n"
                                  "overall_interval_s = %2\nwaveform_interval_s = %3\nmax_backoff_s = 2\n")
                       .arg(broker->Port())
                       .arg(overallInterval)
                       .arg(waveformInterval)
                       .toUtf8());
        if (!caFile.isEmpty()) {
            file.write(QStringLiteral("ca_file = %1\n").arg(caFile).toUtf8());
        }
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    void StartService(const QString& settings) {
        service.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        service.start(QStringLiteral(VANTOR_INGEST_PATH), {QStringLiteral("--settings"), settings});
        ASSERT_TRUE(service.waitForStarted());
    }

    qint64 Count(const QString& sql) {
        QSqlQuery query(Db().Connection().Database());
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
        return query.next() ? query.value(0).toLongLong() : -1;
    }

    // Polls until `done` holds, for at most `milliseconds`.
    static bool WaitFor(const std::function<bool()>& done, int milliseconds) {
        const QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired()) {
            if (done()) {
                return true;
            }
            QThread::msleep(50);
        }
        return done();
    }

    qint64 Overalls() { return Count(QStringLiteral("SELECT COUNT(*) FROM tblOnlineOveralls")); }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    std::unique_ptr<TestBroker> broker;
    std::unique_ptr<CAppData> app;
    CVib point;
    QProcess service;
};

TEST_F(IngestService, StoresJudgesPublishesTheStatusAndSurvivesBadMessages) {
    StartService(Settings(600, 3600));
    TestClient sensor(broker->Port());
    ASSERT_TRUE(sensor.Connected());
    sensor.Subscribe(QStringLiteral("vantor/plant/+/status"));
    const QString overall = QStringLiteral("vantor/plant/s1/overall");
    const QString waveform = QStringLiteral("vantor/plant/s1/waveform");

    // The service subscribes once connected: repeat the first value until it is stored.
    ASSERT_TRUE(WaitFor(
        [&] {
            sensor.Publish(overall, Overall(0, 2.0));
            return WaitFor([&] { return Overalls() == 1; }, 1000);
        },
        20000))
        << service.readAllStandardError().toStdString();
    sensor.Publish(waveform, Waveform(10));
    ASSERT_TRUE(WaitFor([&] { return Db().ListVibReadings(point.sItemGUID).size() == 1; }, 20000));
    sensor.Publish(overall, Overall(700, 5.0)); // crosses the warning level of 4.5 mm/s

    const auto warning = [&] {
        for (const auto& [topic, payload] : sensor.Received()) {
            if (topic == QStringLiteral("vantor/plant/s1/status") &&
                QJsonDocument::fromJson(payload).object().value("level").toString() ==
                    QStringLiteral("WARNING")) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(WaitFor(warning, 20000)) << service.readAllStandardError().toStdString();
    // Retained: a dashboard that subscribes afterwards gets it at once.
    TestClient dashboard(broker->Port());
    dashboard.Subscribe(QStringLiteral("vantor/plant/s1/status"));
    ASSERT_TRUE(WaitFor([&] { return !dashboard.Received().empty(); }, 10000));
    EXPECT_EQ(QJsonDocument::fromJson(dashboard.Received().back().second).object().value("level").toString(),
              QStringLiteral("WARNING"));

    // Malformed messages and an unknown sensor: dropped with the topic logged, nothing stored.
    QByteArray nan = Waveform(4000);
    qToLittleEndian<float>(std::numeric_limits<float>::quiet_NaN(), nan.data() + nan.indexOf('\n') + 1);
    const std::pair<QString, QByteArray> bad[] = {
        {overall, "{\"time\": nope"},
        {waveform, Waveform(4000).chopped(4)},
        {waveform, nan},
        {waveform, QByteArray(R"({"time":"2026-03-02T13:00:00Z","rate_hz":5,"unit":"g","samples":256})") +
                       '\n' + QByteArray(1024, '\0')},
        {overall, QByteArray(kMaxOverallPayload + 10, ' ')},
        {QStringLiteral("vantor/plant/s9/overall"), Overall(800, 1.0)},
    };
    for (const auto& [topic, payload] : bad) {
        sensor.Publish(topic, payload);
    }
    sensor.Publish(overall, Overall(1400, 2.0));
    ASSERT_TRUE(WaitFor([&] { return Overalls() == 3; }, 20000))
        << service.readAllStandardError().toStdString();
    EXPECT_EQ(service.state(), QProcess::Running);
    EXPECT_EQ(Db().ListVibReadings(point.sItemGUID).size(), 1U);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblOnlineOveralls WHERE sSensorID = 's9'")), 0);

    service.terminate();
    ASSERT_TRUE(service.waitForFinished(10000));
    EXPECT_EQ(service.exitCode(), 0);
    const QByteArray log = service.readAllStandardError();
    EXPECT_EQ(log.count("message dropped"), 5) << log.toStdString();
    EXPECT_TRUE(log.contains("vantor/plant/s9/overall: not stored: sensor s9 is bound to no vibration point"))
        << log.toStdString();
    EXPECT_TRUE(log.contains("vantor/plant/s1/waveform: message dropped: the header announces 4096 samples"));
}

TEST_F(IngestService, ABrokerThatGoesAwayIsReconnectedToWithALogLineEachTime) {
    StartService(Settings(0, 3600));
    const QString overall = QStringLiteral("vantor/plant/s1/overall");
    {
        TestClient sensor(broker->Port());
        ASSERT_TRUE(WaitFor(
            [&] {
                sensor.Publish(overall, Overall(0, 1.0));
                return WaitFor([&] { return Overalls() == 1; }, 1000);
            },
            20000));
    }
    broker->Stop();
    QThread::msleep(3500); // the service tries at 1 s and 2 s (its cap) meanwhile
    broker->Start();
    ASSERT_TRUE(broker->Ready());
    // The broker kept nothing (no persistence): the service subscribes again on reconnecting.
    TestClient sensor(broker->Port());
    ASSERT_TRUE(WaitFor(
        [&] {
            sensor.Publish(overall, Overall(60, 1.0));
            return WaitFor([&] { return Overalls() == 2; }, 1000);
        },
        20000))
        << service.readAllStandardError().toStdString();
    service.terminate();
    ASSERT_TRUE(service.waitForFinished(10000));
    const QByteArray log = service.readAllStandardError();
    EXPECT_TRUE(log.contains("lost the broker at 127.0.0.1")) << log.toStdString();
    EXPECT_GE(log.count("cannot reach the broker at 127.0.0.1"), 2) << log.toStdString();
    EXPECT_TRUE(log.contains("trying again in 2 s")) << log.toStdString();
    EXPECT_EQ(log.count("connected to 127.0.0.1"), 2) << log.toStdString();
}

// A certificate authority and a server certificate for 127.0.0.1 it signed, made by openssl.
struct TestCertificates {
    QString ca;
    QString certificate;
    QString key;
};
std::optional<TestCertificates> MakeCertificates(const QString& folder, const QString& name) {
    const auto run = [&](const QStringList& arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(folder);
        openssl.start(QStringLiteral("openssl"), arguments);
        return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit &&
               openssl.exitCode() == 0;
    };
    QFile extensions(folder + QStringLiteral("/san.ext"));
    if (!extensions.open(QIODevice::WriteOnly)) {
        return std::nullopt;
    }
    extensions.write("subjectAltName=IP:127.0.0.1\n");
    extensions.close();
    const QString ca = name + QStringLiteral("-ca");
    const QString server = name + QStringLiteral("-server");
    const bool made = run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca + ".key", "-out",
                           ca + ".crt", "-days", "2", "-subj", "/CN=" + ca}) &&
                      run({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", server + ".key", "-out",
                           server + ".csr", "-subj", "/CN=127.0.0.1"}) &&
                      run({"x509", "-req", "-in", server + ".csr", "-CA", ca + ".crt", "-CAkey", ca + ".key",
                           "-CAcreateserial", "-out", server + ".crt", "-days", "2", "-extfile", "san.ext"});
    if (!made) {
        return std::nullopt;
    }
    for (const QString& file : {ca + ".crt", server + ".crt", server + ".key"}) {
        QFile::setPermissions(folder + '/' + file,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return TestCertificates{folder + '/' + ca + ".crt", folder + '/' + server + ".crt",
                            folder + '/' + server + ".key"};
}

TEST_F(IngestService, ConnectsOverTlsWithTheSettingsCaAndRefusesAnotherCa) {
    // The broker started as root reads its certificates as the mosquitto user: a folder it may enter.
    QTemporaryDir certificates;
    QFile::setPermissions(certificates.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                   QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                   QFile::ExeOther);
    const std::optional<TestCertificates> site =
        MakeCertificates(certificates.path(), QStringLiteral("site"));
    const std::optional<TestCertificates> other =
        MakeCertificates(certificates.path(), QStringLiteral("other"));
    ASSERT_TRUE(site && other) << "openssl could not make the test certificates";
    TestBroker tls(
        QStringLiteral("cafile %1\ncertfile %2\nkeyfile %3").arg(site->ca, site->certificate, site->key));
    ASSERT_TRUE(tls.Ready());
    broker = nullptr; // the plain broker is not used here
    const QString overall = QStringLiteral("vantor/plant/s1/overall");

    // Trusting another authority, the service cannot connect and says why.
    const QString settings = env.Root() + QStringLiteral("/ingest.conf");
    const auto write = [&](const QString& ca) {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral("host = 127.0.0.1\nport = %1\nsite = plant\noverall_interval_s = 0\n"
                                  "max_backoff_s = 1\nca_file = %2\n")
                       .arg(tls.Port())
                       .arg(ca)
                       .toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    };
    write(other->ca);
    StartService(settings);
    QThread::msleep(2500);
    service.terminate();
    ASSERT_TRUE(service.waitForFinished(10000));
    const QByteArray refused = service.readAllStandardError();
    EXPECT_FALSE(refused.contains("connected to")) << refused.toStdString();
    EXPECT_TRUE(refused.contains("127.0.0.1:" + QByteArray::number(tls.Port()))) << refused.toStdString();

    write(site->ca);
    StartService(settings);
    TestClient sensor(tls.Port(), site->ca);
    ASSERT_TRUE(sensor.Connected());
    ASSERT_TRUE(WaitFor(
        [&] {
            sensor.Publish(overall, Overall(0, 1.0));
            return WaitFor([&] { return Overalls() == 1; }, 1000);
        },
        20000))
        << service.readAllStandardError().toStdString();
}

TEST_F(IngestService, ASettingsFileOthersMayReadIsRefused) {
    const QString settings = Settings(600, 3600);
    QFile::setPermissions(settings,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    StartService(settings);
    ASSERT_TRUE(service.waitForFinished(10000));
    EXPECT_EQ(service.exitCode(), 1);
    EXPECT_TRUE(service.readAllStandardError().contains("has mode 0644: it holds the broker's password"));
}

TEST_F(IngestService, AServiceKilledDuringABurstStoresEveryMessageExactlyOnceAfterItsRestart) {
    constexpr int kBurst = 10000;
    const QString settings = Settings(0, 3600);
    StartService(settings);
    TestClient sensor(broker->Port());
    ASSERT_TRUE(sensor.Connected());
    const QString overall = QStringLiteral("vantor/plant/s1/overall");
    // The persistent session exists once the first message is stored; from then on the broker
    // keeps the service's messages while it is away.
    ASSERT_TRUE(WaitFor(
        [&] {
            sensor.Publish(overall, Overall(-1, 1.0));
            return WaitFor([&] { return Overalls() >= 1; }, 1000);
        },
        20000));
    const qint64 before = Overalls();
    for (int i = 0; i < kBurst; ++i) {
        sensor.Publish(overall, Overall(i, 1.0 + i % 7 * 0.1));
    }
    ASSERT_TRUE(WaitFor([&] { return Overalls() >= before + kBurst / 4; }, 60000));
    service.kill(); // SIGKILL, mid-burst
    ASSERT_TRUE(service.waitForFinished(10000));
    const qint64 atKill = Overalls();
    EXPECT_LT(atKill, before + kBurst) << "the burst was over before the kill";
    ASSERT_TRUE(sensor.WaitAcknowledged(60000));

    StartService(settings);
    EXPECT_TRUE(WaitFor([&] { return Overalls() >= before + kBurst; }, 120000))
        << Overalls() << " rows\n"
        << service.readAllStandardError().toStdString();
    QThread::msleep(500); // anything delivered twice would be stored by now
    EXPECT_EQ(Overalls(), before + kBurst);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(DISTINCT sTaken) FROM tblOnlineOveralls")), before + kBurst);
}

} // namespace
} // namespace vantor::ingest
