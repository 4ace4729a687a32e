#include "reports/mail/ExceptionEmail.h"
#include "archive/ArchiveReader.h"
#include "reports/mail/ExceptionFilePath.h"
#include "reports/mail/MimeMessage.h"
#include "reports/mail/SingleByteText.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace vantor {
namespace {

ExceptionEmailLabels Labels() {
    ExceptionEmailLabels labels = MakeExceptionEmailLabels(
        {QStringLiteral("Unbalance"), QStringLiteral("Misalignment"), QStringLiteral("Looseness")},
        DisplayUnits(), QLocale::c());
    return labels;
}

MachineExceptions Group() {
    MachineExceptions group;
    group.machineGuid = QStringLiteral("{m1}");
    group.machineName = QStringLiteral("Boiler Fan");
    group.recipients = QStringLiteral("a@x.org;b@x.org");
    PointException first;
    first.pointName = QStringLiteral("Motor DE");
    first.dateTaken = QDateTime(QDate(2026, 3, 4), QTime(10, 5, 7));
    first.measures[0] = {QStringLiteral("4.512"), ExceptionStatus::Critical};
    first.measures[1] = {QStringLiteral("25"), ExceptionStatus::Warning};
    first.measures[3] = {QStringLiteral("2.100"), ExceptionStatus::Warning};
    PointException second;
    second.pointName = QStringLiteral("Fan NDE");
    second.dateTaken = QDateTime(QDate(2026, 3, 4), QTime(10, 9, 0));
    second.measures[4] = {QStringLiteral("6.000"), ExceptionStatus::Critical};
    group.points = {first, second};
    return group;
}

TEST(ExceptionEmailTest, BodyAndAttachmentInTheDocumentedFormats) {
    const ExceptionEmailContent content = BuildExceptionEmail(Group(), Labels());
    EXPECT_EQ(content.csv.toStdString(), "Machine Name:,Boiler Fan\r\n"
                                         "Vib Point Name:,Motor DE\r\n"
                                         "ISO (mm/s):,4 Mar 2026 10:05:07,4.512,CRITICAL\r\n"
                                         "Brg. Noise (BDU):,4 Mar 2026 10:05:07,25,WARNING\r\n"
                                         "Misalignment (mm/s):,4 Mar 2026 10:05:07,2.100,WARNING\r\n"
                                         "\r\n"
                                         "Vib Point Name:,Fan NDE\r\n"
                                         "Looseness (mm/s):,4 Mar 2026 10:09:00,6.000,CRITICAL\r\n"
                                         "\r\n");
    EXPECT_EQ(content.html.toStdString(),
              "<html><body><h1>Machine Name: Boiler Fan</h1>"
              "<h3>Vib Point Name: Motor DE</h3><p>"
              "ISO (mm/s): <b style=\"color: red\">4.512</b> 4 Mar 2026 10:05:07<br/>"
              "Brg. Noise (BDU): <b style=\"color: orange\">25</b> 4 Mar 2026 10:05:07<br/>"
              "Misalignment (mm/s): <b style=\"color: orange\">2.100</b> 4 Mar 2026 10:05:07<br/>"
              "</p>"
              "<h3>Vib Point Name: Fan NDE</h3><p>"
              "Looseness (mm/s): <b style=\"color: red\">6.000</b> 4 Mar 2026 10:09:00<br/>"
              "</p></body></html>");
}

TEST(ExceptionEmailTest, ImperialUnitLabelAndLocaleDates) {
    ExceptionEmailLabels labels =
        MakeExceptionEmailLabels({QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3")},
                                 DisplayUnits(FrequencyUnit::Hz, AmplitudeUnit::Imperial),
                                 QLocale(QLocale::English, QLocale::UnitedStates));
    const ExceptionEmailContent content = BuildExceptionEmail(Group(), labels);
    EXPECT_TRUE(content.csv.contains(QStringLiteral("ISO (inch/s):,3/4/26 10:05:07 AM,4.512,CRITICAL\r\n")))
        << content.csv.toStdString();
}

TEST(ExceptionEmailTest, NamesCannotBreakTheMarkupOrTheColumns) {
    MachineExceptions group = Group();
    group.machineName = QStringLiteral("Fan <b>&\"1\", east");
    group.points[0].pointName = QStringLiteral("DE\r\nInjected:,x");
    const ExceptionEmailContent content = BuildExceptionEmail(group, Labels());
    EXPECT_TRUE(content.html.contains(
        QStringLiteral("<h1>Machine Name: Fan &lt;b&gt;&amp;&quot;1&quot;, east</h1>")));
    EXPECT_TRUE(content.csv.startsWith(QStringLiteral("Machine Name:,\"Fan <b>&\"\"1\"\", east\"\r\n")));
    EXPECT_TRUE(content.csv.contains(QStringLiteral("Vib Point Name:,\"DE\r\nInjected:,x\"\r\n")));
}

TEST(ExceptionFilePathTest, HostileMachineNamesStayInsideTheTempFolder) {
    QTemporaryDir root;
    const QString temp = ExceptionTempFolder(root.path());
    EXPECT_EQ(temp, QDir(root.path()).filePath("Temp"));
    EXPECT_EQ(ExceptionFilePath(temp, QStringLiteral("Boiler Fan #2 (east)")),
              QDir(temp).filePath("Boiler Fan #2 (east).csv"));

    const QStringList hostile = {QStringLiteral("../../etc/passwd"),
                                 QStringLiteral(".."),
                                 QStringLiteral("."),
                                 QStringLiteral("a/b"),
                                 QStringLiteral("a\\b"),
                                 QStringLiteral(""),
                                 QStringLiteral("/abs"),
                                 QStringLiteral("x\ny"),
                                 QStringLiteral("%2E%2E"),
                                 QString(400, QLatin1Char('z')),
                                 QStringLiteral("#") + QString(40, QLatin1Char('a'))};
    QStringList seen;
    for (const QString& name : hostile) {
        const QString path = ExceptionFilePath(temp, name);
        const QFileInfo info(path);
        EXPECT_EQ(QDir::cleanPath(info.absolutePath()), QDir::cleanPath(temp)) << name.toStdString();
        EXPECT_FALSE(info.fileName().startsWith(QLatin1Char('.'))) << name.toStdString();
        EXPECT_LE(info.fileName().toUtf8().size(), 255);
        EXPECT_FALSE(seen.contains(path)) << "two names share " << path.toStdString();
        seen << path;
    }
    EXPECT_EQ(QFileInfo(ExceptionFilePath(temp, "../../etc/passwd")).fileName(),
              "%2E.%2F..%2Fetc%2Fpasswd.csv");
}

TEST(SingleByteTextTest, EncodesTheWindows1252CodePage) {
    const QString text = QStringLiteral("Pümpe € – Ø 20°C →");
    const QByteArray bytes = EncodeWindows1252(text);
    EXPECT_EQ(bytes, QByteArray("P\xFCmpe \x80 \x96 \xD8 20\xB0"
                                "C ?"));
    EXPECT_EQ(DecodeWindows1252(bytes), QStringLiteral("Pümpe € – Ø 20°C ?"));
}

MimeEnvelope FixedEnvelope() {
    MimeEnvelope envelope;
    envelope.from = QStringLiteral("Plant <vantor@example.com>");
    envelope.date = QDateTime(QDate(2026, 3, 4), QTime(10, 20, 30), QTimeZone(3600));
    envelope.messageId = QStringLiteral("id-1@host");
    envelope.boundary = QStringLiteral("=_b1");
    return envelope;
}

TEST(MimeMessageTest, WholeMessageWithHeadersBodyAndAttachment) {
    QTemporaryDir dir;
    const MailMessage message{QStringLiteral("a@x.org; b@x.org"),
                              QStringLiteral("Corvane - Exception Report"),
                              QStringLiteral("<html><body>Hi</body></html>"), dir.filePath("Fan 1.csv")};
    const QByteArray expected = "From: Plant <vantor@example.com>\r\n"
                                "To: a@x.org, b@x.org\r\n"
                                "Subject: Corvane - Exception Report\r\n"
                                "Date: Wed, 04 Mar 2026 10:20:30 +0100\r\n"
                                "Message-ID: <id-1@host>\r\n"
                                "MIME-Version: 1.0\r\n"
                                "Content-Type: multipart/mixed; boundary=\"=_b1\"\r\n"
                                "\r\n"
                                "This is a multi-part message in MIME format.\r\n"
                                "\r\n--=_b1\r\n"
                                "Content-Type: text/html; charset=utf-8\r\n"
                                "Content-Transfer-Encoding: base64\r\n\r\n"
                                "PGh0bWw+PGJvZHk+SGk8L2JvZHk+PC9odG1sPg==\r\n"
                                "\r\n--=_b1\r\n"
                                "Content-Type: text/csv; charset=windows-1252; name=\"Fan 1.csv\"\r\n"
                                "Content-Disposition: attachment; filename=\"Fan 1.csv\"\r\n"
                                "Content-Transfer-Encoding: base64\r\n\r\n"
                                "YSxiDQo=\r\n"
                                "\r\n--=_b1--\r\n";
    EXPECT_EQ(ComposeMimeMessage(message, QByteArray("a,b\r\n"), FixedEnvelope()).toStdString(),
              expected.toStdString());
}

TEST(MimeMessageTest, LongPartsAreWrappedAndNonAsciiHeadersEncoded) {
    MailMessage message{QStringLiteral("a@x.org"),
                        QStringLiteral("Überwachung – ") + QString(40, QChar(0x00E9)),
                        QString(200, QLatin1Char('h')), QStringLiteral("/t/Pümpe.csv")};
    MimeEnvelope envelope = FixedEnvelope();
    envelope.draft = true;
    const QByteArray eml = ComposeMimeMessage(message, QByteArray(100, 'c'), envelope);
    for (const QByteArray& line : eml.split('\n')) {
        EXPECT_LE(line.size(), 77) << line.toStdString(); // 76 plus the CR
    }
    EXPECT_TRUE(eml.contains("\r\nX-Unsent: 1\r\n"));
    EXPECT_TRUE(eml.contains("filename*=UTF-8''P%C3%BCmpe.csv\r\n"));

    // The encoded words decode back to the subject.
    const qsizetype start = eml.indexOf("Subject: ") + 9;
    const QByteArray header = eml.mid(start, eml.indexOf("\r\nDate:") - start);
    QByteArray decoded;
    for (QByteArray word : header.split('\n')) {
        word = word.trimmed();
        ASSERT_TRUE(word.startsWith("=?UTF-8?B?") && word.endsWith("?=")) << word.toStdString();
        EXPECT_LE(word.size(), 75);
        decoded += QByteArray::fromBase64(word.mid(10, word.size() - 12));
    }
    EXPECT_EQ(QString::fromUtf8(decoded), message.subject);
}

TEST(MimeMessageTest, LineBreaksInHeaderValuesCannotAddHeaders) {
    const MailMessage message{QStringLiteral("a@x.org\r\nBcc: spy@evil.org"),
                              QStringLiteral("S\r\nBcc: spy2@evil.org"), QStringLiteral("x"), QString()};
    const QByteArray eml = ComposeMimeMessage(message, {}, FixedEnvelope());
    EXPECT_FALSE(eml.contains("\r\nBcc:")) << eml.toStdString();
    EXPECT_EQ(SplitRecipients(QStringLiteral(" a@x.org;;b@x.org , c@x.org;")),
              (QStringList{"a@x.org", "b@x.org", "c@x.org"}));
}

} // namespace
} // namespace vantor
