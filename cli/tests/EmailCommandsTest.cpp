// `vantor email` as a user runs it, on a temporary profile, against a local mail server.
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

using Outcome = vantor::testing::VantorRun;

const QString kPython = QStringLiteral("/usr/bin/python3");

class EmailCommands : public ::testing::Test {
protected:
    void SetUp() override {
        // No desktop mail program is found on this PATH.
        ASSERT_TRUE(QDir(env.Root()).mkpath("bin"));
        environment.insert(QStringLiteral("PATH"), QDir(env.Root()).filePath("bin"));
        ASSERT_EQ(Vantor({"init"}).status, 0);
    }
    void TearDown() override {
        if (server.state() != QProcess::NotRunning) {
            server.kill();
            server.waitForFinished(10000);
        }
    }
    Outcome Vantor(const QStringList& arguments) {
        return vantor::testing::RunVantor(arguments, environment);
    }
    // Starts the mail server; false when Debian's aiosmtpd is not installed.
    bool StartServer() {
        QProcess probe;
        probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
        if (!probe.waitForFinished(30000) || probe.exitCode() != 0) {
            return false;
        }
        inbox = QDir(env.Root()).filePath("inbox");
        QDir().mkpath(inbox);
        server.start(kPython,
                     {QStringLiteral(VANTOR_SMTP_SINK), inbox, QStringLiteral("u"), QStringLiteral("pw")});
        QElapsedTimer timer;
        timer.start();
        while (!server.canReadLine() && timer.elapsed() < 30000) {
            server.waitForReadyRead(500);
        }
        port = QString::fromLatin1(server.readLine()).trimmed();
        return !port.isEmpty();
    }
    void Set(const QString& name, const QString& value) {
        const Outcome set = Vantor({"settings", "set", name, value});
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
    }
    void SetPassword(const QByteArray& password) {
        const Outcome set = vantor::testing::RunVantor({"settings", "set", "SmtpPassword", "-"}, environment,
                                                       password + '\n');
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
    }

    vantor::testing::TempEnvironment env;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess server;
    QString inbox;
    QString port;
};

TEST_F(EmailCommands, WithoutServerOrDesktopMailProgramNothingCanBeSent) {
    const Outcome test = Vantor({"email", "test", "a@plant.example"});
    EXPECT_EQ(test.status, 1);
    EXPECT_EQ(test.err, "Unable to generate exception report as Outlook is unavailable\n");
    // No exceptions to send: nothing is said about the missing mail facility.
    const Outcome exceptions = Vantor({"email", "exceptions"});
    EXPECT_EQ(exceptions.status, 0);
    EXPECT_FALSE(exceptions.err.contains("Outlook"));
}

TEST_F(EmailCommands, TestMessageGoesThroughTheConfiguredServer) {
    if (!StartServer()) {
        GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/setup.sh installs it)";
    }
    Set("SmtpHost", "127.0.0.1");
    Set("SmtpPort", port);
    Set("SmtpUser", "u");
    SetPassword("pw");
    Set("SmtpFrom", "monitor@plant.example");

    // Security None: the password would go in clear, which the user has not allowed for this server.
    const Outcome inClear = Vantor({"email", "test", "a@plant.example"});
    EXPECT_EQ(inClear.status, 1);
    EXPECT_TRUE(inClear.err.contains("The mail server 127.0.0.1 has no encryption"))
        << inClear.err.toStdString();
    EXPECT_TRUE(QDir(inbox).entryList(QDir::Files).isEmpty());
    Set("SmtpAllowPlainAuth", "localhost"); // another server's permission does not count
    EXPECT_EQ(Vantor({"email", "test", "a@plant.example"}).status, 1);
    Set("SmtpAllowPlainAuth", "127.0.0.1");

    const Outcome test = Vantor({"email", "test", "a@plant.example;b@plant.example"});
    ASSERT_EQ(test.status, 0) << test.err.toStdString();
    EXPECT_EQ(test.err, "Trying to open Outlook...\nCreating Email...\n");
    ASSERT_TRUE(test.out.startsWith("Sent: ")) << test.out.toStdString();
    const QString stored = QString::fromUtf8(test.out.mid(6)).trimmed();
    QFile eml(stored);
    ASSERT_TRUE(eml.open(QIODevice::ReadOnly));
    QFile arrived(QDir(inbox).filePath("1.eml"));
    ASSERT_TRUE(arrived.open(QIODevice::ReadOnly));
    const QByteArray bytes = arrived.readAll();
    EXPECT_EQ(bytes, eml.readAll());
    EXPECT_TRUE(bytes.contains("\r\nSubject: Corvane - Test message\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nTo: a@plant.example, b@plant.example\r\n"));

    // The list is filled by a synchronisation run of the same process: here it is empty.
    const Outcome exceptions = Vantor({"email", "exceptions"});
    EXPECT_EQ(exceptions.status, 0) << exceptions.err.toStdString();
    EXPECT_TRUE(exceptions.out.startsWith("The exception list is empty")) << exceptions.out.toStdString();

    SetPassword("wrong");
    const Outcome refused = Vantor({"email", "test", "a@plant.example"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(
        "Application has been denied access to Outlook therefore unable to display or send email\n"))
        << refused.err.toStdString();
}

} // namespace
