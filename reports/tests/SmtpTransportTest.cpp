// End to end over SMTP: the product transport against a local mail server (Debian's aiosmtpd)
// started on the loopback address for each test.
#include "reports/mail/ExceptionSender.h"
#include "reports/mail/SystemMailTransport.h"

#include "platform/testing/RecordingPrompter.h"
#include "texts/UiText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using testing::RecordingPrompter;

// Debian's interpreter, which sees the python3-aiosmtpd package.
const QString kPython = QStringLiteral("/usr/bin/python3");

bool AiosmtpdInstalled() {
    QProcess probe;
    probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
    return probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

class SmtpTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!AiosmtpdInstalled()) {
            GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/setup.sh installs it)";
        }
        ASSERT_TRUE(QDir(root.path()).mkpath("received"));
    }
    // Starts the server; `extra` selects STARTTLS or TLS. The port it listens on is its first line.
    void Start(const QStringList& extra = {}) {
        server.setProgram(kPython);
        server.setArguments(QStringList{QStringLiteral(VANTOR_SMTP_SINK), received(),
                                        QStringLiteral("meter-user"), QStringLiteral("s3cret")}
                            << extra);
        server.setProcessChannelMode(QProcess::SeparateChannels);
        server.start();
        ASSERT_TRUE(server.waitForStarted(10000));
        QElapsedTimer timer;
        timer.start();
        while (!server.canReadLine() && timer.elapsed() < 30000) {
            server.waitForReadyRead(500);
        }
        bool ok = false;
        port = QString::fromLatin1(server.readLine()).trimmed().toInt(&ok);
        ASSERT_TRUE(ok) << server.readAllStandardError().toStdString();
    }
    // A certificate for 127.0.0.1, signed by itself; false when openssl is missing.
    bool MakeCertificate() {
        certificate = QDir(root.path()).filePath("server.pem");
        key = QDir(root.path()).filePath("server.key");
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out",
                       certificate});
        return openssl.waitForFinished(60000) && openssl.exitCode() == 0;
    }
    void TearDown() override {
        if (server.state() != QProcess::NotRunning) {
            server.kill();
            server.waitForFinished(10000);
        }
    }
    QString received() const { return QDir(root.path()).filePath("received"); }

    SystemMailOptions MailOptions() const {
        SystemMailOptions options;
        options.outboxFolder = OutboxFolder(root.path());
        options.programSearchPath = {QDir(root.path()).filePath("no-programs")};
        options.smtp.host = QStringLiteral("127.0.0.1");
        options.smtp.port = port;
        options.smtp.user = QStringLiteral("meter-user");
        options.smtp.password = QStringLiteral("s3cret");
        options.smtp.allowPlainAuth = true; // this server offers logins without encryption
        options.smtp.from = QStringLiteral("Plant Monitor <monitor@plant.example>");
        options.smtpOptions.connect = std::chrono::seconds(10);
        options.smtpOptions.transfer = std::chrono::seconds(30);
        return options;
    }
    ExceptionSendOptions SendOptions() const {
        ExceptionSendOptions options;
        options.dataFolder = root.path();
        options.editionTitle = QStringLiteral("Corvane");
        options.labels = MakeExceptionEmailLabels(
            {QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3")}, DisplayUnits(), QLocale::c());
        return options;
    }
    static MachineExceptions Group(const QString& name, const QString& to) {
        MachineExceptions group{QStringLiteral("{m-") + name + QLatin1Char('}'), name, to, {}};
        PointException point;
        point.pointName = QStringLiteral("DE");
        point.dateTaken = QDateTime(QDate(2026, 3, 4), QTime(10, 0, 0));
        point.measures[1] = {QStringLiteral("35"), ExceptionStatus::Critical};
        group.points.push_back(point);
        return group;
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir root;
    QProcess server;
    int port = 0;
    QString certificate;
    QString key;
    RecordingPrompter prompter;
    ExceptionProgress progress;
};

TEST_F(SmtpTransportTest, EachMachinesMailArrivesAsWrittenInTheOutbox) {
    Start();
    SystemMailTransport mail(MailOptions());
    ASSERT_TRUE(mail.Present());
    const auto outcome = SendExceptionEmails(
        {Group("Fan", "a@plant.example;b@plant.example"), Group("Pump", "c@plant.example")}, SendOptions(),
        mail, prompter, progress);
    EXPECT_EQ(outcome, ExceptionSendOutcome::Done) << mail.LastError().toStdString();
    EXPECT_TRUE(prompter.Messages().isEmpty());

    const QDir outbox(OutboxFolder(root.path()));
    const QStringList written = outbox.entryList(QDir::Files, QDir::Time | QDir::Reversed);
    ASSERT_EQ(written.size(), 2);
    const QDir inbox(received());
    ASSERT_TRUE(inbox.exists("1.eml") && inbox.exists("2.eml"));

    EXPECT_EQ(QString::fromUtf8(Read(inbox.filePath("1.envelope"))).split('\n'),
              (QStringList{"monitor@plant.example", "meter-user", "a@plant.example", "b@plant.example", ""}));
    EXPECT_EQ(QString::fromUtf8(Read(inbox.filePath("2.envelope"))).split('\n'),
              (QStringList{"monitor@plant.example", "meter-user", "c@plant.example", ""}));

    for (const QString& name : {QStringLiteral("1.eml"), QStringLiteral("2.eml")}) {
        const QByteArray arrived = Read(inbox.filePath(name));
        const bool fan = arrived.contains("name=\"Fan.csv\"");
        const QString stored = *std::find_if(written.begin(), written.end(), [fan](const QString& file) {
            return file.endsWith(fan ? QStringLiteral(" Fan.eml") : QStringLiteral(" Pump.eml"));
        });
        EXPECT_EQ(arrived, Read(outbox.filePath(stored))) << name.toStdString();
        EXPECT_TRUE(arrived.startsWith("From: Plant Monitor <monitor@plant.example>\r\n"));
        EXPECT_FALSE(arrived.contains("X-Unsent"));
    }
}

TEST_F(SmtpTransportTest, RefusedLoginOrNoServerIsReportedAndStopsTheRun) {
    Start();
    SystemMailOptions options = MailOptions();
    options.smtp.password = QStringLiteral("wrong");
    SystemMailTransport refused(options);
    EXPECT_EQ(SendExceptionEmails({Group("Fan", "a@plant.example"), Group("Pump", "c@plant.example")},
                                  SendOptions(), refused, prompter, progress),
              ExceptionSendOutcome::Failed);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::MailAccessDenied)});
    EXPECT_FALSE(refused.LastError().isEmpty());
    EXPECT_TRUE(QDir(received()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(QDir(OutboxFolder(root.path())).entryList(QDir::Files).size(), 1); // the second was never made

    server.kill();
    server.waitForFinished(10000);
    prompter.records.clear();
    SystemMailTransport unreachable(MailOptions());
    const MailMessage message{
        QStringLiteral("a@plant.example"), QStringLiteral("Test"), QStringLiteral("<p>x</p>"), {}};
    ASSERT_EQ(unreachable.Open(), 0u);
    ASSERT_TRUE(unreachable.OpenStore());
    const auto location = unreachable.CreateMessage(message, MailDelivery::Send);
    ASSERT_TRUE(location.has_value());
    EXPECT_FALSE(unreachable.Deliver(*location, message, MailDelivery::Send));
    EXPECT_FALSE(unreachable.LastError().isEmpty());
}

// Without encryption the password would cross the network readable: refused before connecting
// unless the user allowed it for this server.
TEST_F(SmtpTransportTest, ALoginWithoutEncryptionNeedsTheUsersPermission) {
    Start();
    const MailMessage message{
        QStringLiteral("a@plant.example"), QStringLiteral("Test"), QStringLiteral("<p>x</p>"), {}};
    const struct {
        bool allowed;
        bool delivered;
    } cases[] = {{false, false}, {true, true}};
    for (const auto& c : cases) {
        SystemMailOptions options = MailOptions();
        options.smtp.allowPlainAuth = c.allowed;
        SystemMailTransport mail(options);
        ASSERT_EQ(mail.Open(), 0u);
        ASSERT_TRUE(mail.OpenStore());
        const auto location = mail.CreateMessage(message, MailDelivery::Send);
        ASSERT_TRUE(location.has_value());
        EXPECT_EQ(mail.Deliver(*location, message, MailDelivery::Send), c.delivered) << c.allowed;
        EXPECT_EQ(QDir(received()).exists("1.eml"), c.delivered) << c.allowed;
        if (!c.delivered) {
            EXPECT_EQ(mail.LastError(),
                      UiText(text::added::PlainAuthRefused).arg(QStringLiteral("127.0.0.1")));
        }
    }
}

TEST_F(SmtpTransportTest, StartTlsAndTlsEncryptAndCheckTheServersCertificate) {
    if (!MakeCertificate()) {
        GTEST_SKIP() << "openssl could not make a test certificate";
    }
    const MailMessage message{
        QStringLiteral("a@plant.example"), QStringLiteral("Test"), QStringLiteral("<p>x</p>"), {}};
    const auto send = [&](int security, const QString& caFile) {
        SystemMailOptions options = MailOptions();
        options.smtp.security = security;
        options.smtpOptions.caFile = caFile;
        SystemMailTransport mail(options);
        EXPECT_EQ(mail.Open(), 0u);
        EXPECT_TRUE(mail.OpenStore());
        const auto location = mail.CreateMessage(message, MailDelivery::Send);
        return location && mail.Deliver(*location, message, MailDelivery::Send);
    };

    Start({QStringLiteral("--starttls"), certificate, key});
    EXPECT_FALSE(send(0, certificate)) << "the server requires STARTTLS";
    EXPECT_FALSE(send(1, QString())) << "a certificate no trusted authority signed is refused";
    EXPECT_TRUE(send(1, certificate));
    EXPECT_TRUE(QDir(received()).exists("1.eml"));
    server.kill();
    server.waitForFinished(10000);
    ASSERT_TRUE(QFile::remove(QDir(received()).filePath("1.eml")));

    Start({QStringLiteral("--tls"), certificate, key});
    EXPECT_TRUE(send(2, certificate));
    EXPECT_TRUE(QDir(received()).exists("1.eml")); // the new server numbers from 1
}

} // namespace
} // namespace vantor
