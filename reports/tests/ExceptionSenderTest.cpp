#include "reports/mail/ExceptionSender.h"
#include "reports/mail/SystemMailTransport.h"

#include "platform/testing/RecordingPrompter.h"
#include "texts/UiText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using testing::RecordingPrompter;

// Records each step and fails the step it is told to.
class RecordingTransport final : public MailTransport {
public:
    bool present = true;
    std::uint32_t openStatus = 0;
    bool storeOk = true;
    bool createOk = true;
    bool deliverOk = true;

    int opens = 0;
    QStringList steps;
    std::vector<MailMessage> delivered;
    std::vector<MailDelivery> deliveries;

    bool Present() const override { return present; }
    std::uint32_t Open() override {
        ++opens;
        steps << "open";
        return openStatus;
    }
    bool OpenStore() override {
        steps << "store";
        return storeOk;
    }
    std::optional<QString> CreateMessage(const MailMessage& message, MailDelivery) override {
        steps << "create " + message.to;
        return createOk ? std::optional<QString>(QStringLiteral("msg")) : std::nullopt;
    }
    bool Deliver(const QString&, const MailMessage& message, MailDelivery delivery) override {
        steps << "deliver " + message.to;
        delivered.push_back(message);
        deliveries.push_back(delivery);
        return deliverOk;
    }
    void CloseStore() override { steps << "close"; }
    QString LastError() const override { return {}; }
};

class RecordingProgress final : public ExceptionProgress {
public:
    QStringList shown;
    void Show(const QString& text, int position) override {
        shown << QStringLiteral("%1@%2").arg(text).arg(position);
    }
    void Close() override { shown << "close"; }
};

MachineExceptions Group(const QString& guid, const QString& name, const QString& to) {
    MachineExceptions group{guid, name, to, {}};
    PointException point;
    point.pointName = QStringLiteral("DE");
    point.dateTaken = QDateTime(QDate(2026, 3, 4), QTime(10, 0, 0));
    point.measures[0] = {QStringLiteral("5.000"), ExceptionStatus::Critical};
    group.points.push_back(point);
    return group;
}

class ExceptionSenderTest : public ::testing::Test {
protected:
    ExceptionSendOptions Options() const {
        ExceptionSendOptions options;
        options.dataFolder = root.path();
        options.editionTitle = QStringLiteral("Corvane");
        options.labels = MakeExceptionEmailLabels(
            {QStringLiteral("Unbalance"), QStringLiteral("Misalignment"), QStringLiteral("Looseness")},
            DisplayUnits(), QLocale::c());
        return options;
    }
    QString Temp(const QString& file) const { return QDir(root.path()).filePath("Temp/" + file); }
    ExceptionSendOutcome Send(const std::vector<MachineExceptions>& groups,
                              const ExceptionSendOptions& options) {
        return SendExceptionEmails(groups, options, transport, prompter, progress);
    }

    QTemporaryDir root;
    RecordingTransport transport;
    RecordingPrompter prompter;
    RecordingProgress progress;
};

TEST_F(ExceptionSenderTest, OneMailPerMachineWithSubjectRecipientsBodyAndAttachment) {
    const std::vector groups = {Group("{m1}", "Fan", "a@x.org;b@x.org"), Group("{m2}", "Pümpe", "c@x.org")};
    EXPECT_EQ(Send(groups, Options()), ExceptionSendOutcome::Done);
    EXPECT_TRUE(prompter.Messages().isEmpty()) << prompter.Messages().join('|').toStdString();
    EXPECT_EQ(transport.opens, 1);
    EXPECT_EQ(transport.steps,
              (QStringList{"open", "store", "create a@x.org;b@x.org", "deliver a@x.org;b@x.org", "close",
                           "store", "create c@x.org", "deliver c@x.org", "close"}));
    ASSERT_EQ(transport.delivered.size(), 2u);
    const MailMessage& first = transport.delivered[0];
    EXPECT_EQ(first.subject, "Corvane - Exception Report");
    EXPECT_EQ(first.attachmentPath, Temp("Fan.csv"));
    EXPECT_TRUE(first.htmlBody.startsWith("<html><body><h1>Machine Name: Fan</h1>"));
    EXPECT_EQ(transport.deliveries[0], MailDelivery::Send);

    QFile csv(Temp("Pümpe.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), QByteArray("Machine Name:,P\xFCmpe\r\nVib Point Name:,DE\r\n"
                                        "ISO (mm/s):,4 Mar 2026 10:00:00,5.000,CRITICAL\r\n\r\n"));
    EXPECT_EQ(progress.shown,
              (QStringList{"Creating Exception Email...@10", "Trying to open Outlook...@66",
                           "Creating Email...@66", "Creating Email...@100", "close", "Creating Email...@66",
                           "Creating Email...@100", "close", "close"}));
}

TEST_F(ExceptionSenderTest, MachinesOfTheSameNameKeepTheirOwnAttachments) {
    MachineExceptions second = Group("{m2}", "Fan", "b@x.org");
    second.points[0].pointName = QStringLiteral("NDE");
    EXPECT_EQ(Send({Group("{m1}", "Fan", "a@x.org"), second}, Options()), ExceptionSendOutcome::Done);
    ASSERT_EQ(transport.delivered.size(), 2u);
    EXPECT_EQ(transport.delivered[0].attachmentPath, Temp("Fan.csv"));
    EXPECT_EQ(transport.delivered[1].attachmentPath, Temp("Fan (2).csv"));
    QFile first(Temp("Fan.csv"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_TRUE(first.readAll().contains("Vib Point Name:,DE\r\n"));
}

TEST_F(ExceptionSenderTest, ReviewInsteadOfSendingAndAnExistingFileIsReplaced) {
    QDir(root.path()).mkpath("Temp");
    QFile old(Temp("Fan.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();

    ExceptionSendOptions options = Options();
    options.autoSend = false;
    EXPECT_EQ(Send({Group("{m1}", "Fan", "a@x.org")}, options), ExceptionSendOutcome::Done);
    ASSERT_EQ(transport.deliveries.size(), 1u);
    EXPECT_EQ(transport.deliveries[0], MailDelivery::Display);
    EXPECT_LT(QFileInfo(Temp("Fan.csv")).size(), 200);
}

TEST_F(ExceptionSenderTest, SwitchedOffOrNoMailClient) {
    ExceptionSendOptions off = Options();
    off.emailExceptionsOnUpload = false;
    EXPECT_EQ(Send({Group("{m1}", "Fan", "a@x.org")}, off), ExceptionSendOutcome::Off);
    EXPECT_TRUE(prompter.records.empty());

    // Without a mail facility an empty list says nothing; a list with exceptions says why none goes out.
    transport.present = false;
    EXPECT_EQ(Send({}, Options()), ExceptionSendOutcome::Done);
    EXPECT_TRUE(prompter.records.empty());
    EXPECT_EQ(Send({Group("{m1}", "Fan", "a@x.org")}, Options()), ExceptionSendOutcome::NoMailClient);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::MailClientUnavailable)});
    EXPECT_TRUE(transport.steps.isEmpty());
    EXPECT_FALSE(QDir(root.path()).exists("Temp"));

    transport.present = true;
    prompter.records.clear();
    EXPECT_EQ(Send({}, Options()), ExceptionSendOutcome::Done);
    EXPECT_TRUE(prompter.records.empty());
    EXPECT_TRUE(progress.shown.isEmpty());
}

struct FailureCase {
    const char* name;
    void (*arrange)(RecordingTransport&);
    QString message;
    QStringList steps;
};

TEST_F(ExceptionSenderTest, EachFailureShowsItsMessageAndStopsLaterMailButNotLaterFiles) {
    const std::vector<FailureCase> cases = {
        {"integrity",
         [](RecordingTransport& t) { t.openStatus = MailTransport::kServerExecutionFailed; },
         UiText(text::MailIntegrityLevel),
         {"open"}},
        {"open",
         [](RecordingTransport& t) { t.openStatus = 0x1234ABCD; },
         QStringLiteral("CreateDispatch() failed w/error 0x1234abcd"),
         {"open"}},
        {"store",
         [](RecordingTransport& t) { t.storeOk = false; },
         QStringLiteral("Can't get MAPI namespace"),
         {"open", "store"}},
        {"create",
         [](RecordingTransport& t) { t.createOk = false; },
         UiText(text::CantCreateMailMessage),
         {"open", "store", "create a@x.org", "close"}},
        {"deliver",
         [](RecordingTransport& t) { t.deliverOk = false; },
         UiText(text::MailAccessDenied),
         {"open", "store", "create a@x.org", "deliver a@x.org", "close"}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        RecordingTransport t;
        c.arrange(t);
        RecordingPrompter p;
        ExceptionProgress quiet;
        ExceptionSendOptions options = Options();
        options.dataFolder = dir.path();
        const auto outcome = SendExceptionEmails(
            {Group("{m1}", "Fan", "a@x.org"), Group("{m2}", "Pump", "b@x.org")}, options, t, p, quiet);
        EXPECT_EQ(outcome, ExceptionSendOutcome::Failed);
        EXPECT_EQ(p.Messages(), QStringList{c.message});
        EXPECT_EQ(t.steps, c.steps);
        EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("Temp/Pump.csv")));
    }
}

TEST_F(ExceptionSenderTest, AttachmentThatCannotBeSavedFailsTheRun) {
    // A folder where the first machine's file belongs makes that file impossible to create.
    QDir(root.path()).mkpath("Temp/Fan.csv");
    EXPECT_EQ(Send({Group("{m1}", "Fan", "a@x.org"), Group("{m2}", "Pump", "b@x.org")}, Options()),
              ExceptionSendOutcome::Failed);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::CantSaveExceptionFile)});
    EXPECT_TRUE(transport.steps.isEmpty());
    EXPECT_TRUE(QFileInfo(Temp("Pump.csv")).isFile());
}

TEST_F(ExceptionSenderTest, HostileMachineNameWritesOnlyInsideTemp) {
    QDir(root.path()).mkpath("Data");
    ExceptionSendOptions options = Options();
    options.dataFolder = QDir(root.path()).filePath("Data");
    EXPECT_EQ(Send({Group("{m1}", "../../escape", "a@x.org")}, options), ExceptionSendOutcome::Done);
    EXPECT_FALSE(QFile::exists(QDir(root.path()).filePath("escape.csv")));
    const QStringList written = QDir(QDir(options.dataFolder).filePath("Temp")).entryList(QDir::Files);
    EXPECT_EQ(written, QStringList{"%2E.%2F..%2Fescape.csv"});
    EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Data"});
}

// Base64 in lines of 76 characters, each ending in CRLF.
QByteArray Base64Lines(const QByteArray& data) {
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    for (qsizetype i = 0; i < encoded.size(); i += 76) {
        lines += encoded.mid(i, 76) + "\r\n";
    }
    return lines;
}

// The product transport, with a stand-in for the desktop's xdg-email that records its arguments.
class SystemTransportTest : public ExceptionSenderTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(root.path()).mkpath("bin"));
        argsFile = QDir(root.path()).filePath("xdg-email.args");
        const QString script = QDir(root.path()).filePath("bin/xdg-email");
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral(
                "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.tmp'\nmv '%1.tmp' '%1'\n")
                .arg(argsFile)
                .toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    SystemMailOptions MailOptions() const {
        SystemMailOptions options;
        options.outboxFolder = OutboxFolder(root.path());
        options.programSearchPath = {QDir(root.path()).filePath("bin")};
        options.envelope = [](const QString& from) {
            MimeEnvelope envelope;
            envelope.from = from;
            envelope.date = QDateTime(QDate(2026, 3, 4), QTime(11, 0, 0), QTimeZone::utc());
            envelope.messageId = QStringLiteral("fixed@test");
            envelope.boundary = QStringLiteral("=_fixed");
            return envelope;
        };
        return options;
    }
    QStringList WaitForArguments() const {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(argsFile) && timer.elapsed() < 10000) {
            QThread::msleep(20);
        }
        QFile file(argsFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    QString argsFile;
};

TEST_F(SystemTransportTest, ReviewWritesTheEmlAndOpensTheDesktopComposer) {
    SystemMailTransport mail(MailOptions());
    ASSERT_TRUE(mail.Present());
    ExceptionSendOptions options = Options();
    options.autoSend = true; // no server configured: shown for review all the same
    EXPECT_EQ(
        SendExceptionEmails({Group("{m1}", "Fan", "a@x.org;b@x.org")}, options, mail, prompter, progress),
        ExceptionSendOutcome::Done);
    EXPECT_TRUE(prompter.Messages().isEmpty()) << mail.LastError().toStdString();

    const QString csvPath = Temp("Fan.csv");
    const QString html =
        QStringLiteral("<html><body><h1>Machine Name: Fan</h1><h3>Vib Point Name: DE</h3><p>"
                       "ISO (mm/s): <b style=\"color: red\">5.000</b> 4 Mar 2026 10:00:00<br/>"
                       "</p></body></html>");
    EXPECT_EQ(WaitForArguments(),
              (QStringList{"--utf8", "--subject", "Corvane - Exception Report", "--body", "Machine Name: Fan",
                           "Vib Point Name: DE", "ISO (mm/s): 5.000 4 Mar 2026 10:00:00", "--attach", csvPath,
                           "a@x.org", "b@x.org"}));

    const QStringList outbox = QDir(OutboxFolder(root.path())).entryList(QDir::Files);
    ASSERT_EQ(outbox, QStringList{"20260304-110000 Fan.eml"});
    QFile eml(QDir(OutboxFolder(root.path())).filePath(outbox[0]));
    ASSERT_TRUE(eml.open(QIODevice::ReadOnly));
    const QByteArray csv =
        "Machine Name:,Fan\r\nVib Point Name:,DE\r\nISO (mm/s):,4 Mar 2026 10:00:00,5.000,CRITICAL\r\n\r\n";
    const QByteArray htmlBase64 = Base64Lines(html.toUtf8());
    const QByteArray csvBase64 = Base64Lines(csv);
    EXPECT_EQ(eml.readAll().toStdString(),
              ("To: a@x.org, b@x.org\r\n"
               "Subject: Corvane - Exception Report\r\n"
               "Date: Wed, 04 Mar 2026 11:00:00 +0000\r\n"
               "Message-ID: <fixed@test>\r\n"
               "X-Unsent: 1\r\n"
               "MIME-Version: 1.0\r\n"
               "Content-Type: multipart/mixed; boundary=\"=_fixed\"\r\n"
               "\r\n"
               "This is a multi-part message in MIME format.\r\n"
               "\r\n--=_fixed\r\n"
               "Content-Type: text/html; charset=utf-8\r\n"
               "Content-Transfer-Encoding: base64\r\n\r\n" +
               htmlBase64 +
               "\r\n--=_fixed\r\n"
               "Content-Type: text/csv; charset=windows-1252; name=\"Fan.csv\"\r\n"
               "Content-Disposition: attachment; filename=\"Fan.csv\"\r\n"
               "Content-Transfer-Encoding: base64\r\n\r\n" +
               csvBase64 + "\r\n--=_fixed--\r\n")
                  .toStdString());
}

TEST_F(SystemTransportTest, NoServerAndNoDesktopMailProgramMeansNoMailClient) {
    SystemMailOptions options = MailOptions();
    options.programSearchPath = {QDir(root.path()).filePath("empty")};
    SystemMailTransport mail(options);
    EXPECT_FALSE(mail.Present());
    EXPECT_EQ(SendExceptionEmails({Group("{m1}", "Fan", "a@x.org")}, Options(), mail, prompter, progress),
              ExceptionSendOutcome::NoMailClient);
    EXPECT_EQ(prompter.Messages(),
              QStringList{"Unable to generate exception report as Outlook is unavailable"});

    options.smtp.host = QStringLiteral("mail.example.com");
    EXPECT_TRUE(SystemMailTransport(options).Present());
}

} // namespace
} // namespace vantor
