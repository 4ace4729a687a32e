// vantor report as a user runs it, on the report tests' small plant.
#include "app/tests/ReportTestData.h"
#include "cli/tests/RunVantor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace vantor {
namespace {

using testing::RunVantor;

class ReportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(out.isValid());
        plant.AddStandardPlant();
    }
    QString Out(const QString& name) const { return QDir(out.path()).filePath(name); }

    testing::ReportPlant plant;
    QTemporaryDir out;
};

TEST_F(ReportCommandsTest, StatusAndMessagesOfEachOutcome) {
    struct Case {
        const char* name;
        QStringList arguments;
        int status;
        QString message; // on standard error
        QString file;    // written, or (with status 1 and 2) not left behind
    };
    const QString pdf = Out(QStringLiteral("plant.pdf"));
    const QString odt = Out(QStringLiteral("fan.odt"));
    const QString nowhere = Out(QStringLiteral("missing/plant.pdf"));
    const Case cases[] = {
        {"every machine as PDF",
         {QStringLiteral("--type"), QStringLiteral("manual"), QStringLiteral("--graphs"),
          QStringLiteral("all"), QStringLiteral("--status-table"), QStringLiteral("--out"), pdf},
         0,
         QStringLiteral("Please wait, Creating Report!"),
         pdf},
        {"the documented report alone",
         {QStringLiteral("--type"), QStringLiteral("manual"), QStringLiteral("--status-table"),
          QStringLiteral("--no-findings"), QStringLiteral("--out"), Out(QStringLiteral("documented.odt"))},
         0,
         {},
         Out(QStringLiteral("documented.odt"))},
        {"one machine as ODT",
         {QStringLiteral("--type"), QStringLiteral("exception"), QStringLiteral("--machine"),
          QStringLiteral("Fan"), QStringLiteral("--graphs"), QStringLiteral("iso-trend,bdu-trend"),
          QStringLiteral("--out"), odt},
         0,
         {},
         odt},
        {"unknown machine",
         {QStringLiteral("--type"), QStringLiteral("manual"), QStringLiteral("--machine"),
          QStringLiteral("Boiler"), QStringLiteral("--out"), Out(QStringLiteral("boiler.pdf"))},
         2,
         QStringLiteral("\"Boiler\""),
         Out(QStringLiteral("boiler.pdf"))},
        {"unknown graph",
         {QStringLiteral("--type"), QStringLiteral("manual"), QStringLiteral("--graphs"),
          QStringLiteral("iso-time"), QStringLiteral("--out"), Out(QStringLiteral("g.pdf"))},
         2,
         QStringLiteral("iso-time"),
         Out(QStringLiteral("g.pdf"))},
        {"start after end",
         {QStringLiteral("--type"), QStringLiteral("manual"), QStringLiteral("--period"),
          QStringLiteral("between"), QStringLiteral("--start"), QStringLiteral("2024-05-03 00:00:00"),
          QStringLiteral("--end"), QStringLiteral("2024-05-01 00:00:00"), QStringLiteral("--out"),
          Out(QStringLiteral("p.pdf"))},
         2,
         QStringLiteral("Start Date/Time can't be greater than End Date/Time"),
         Out(QStringLiteral("p.pdf"))},
        {"neither ODT nor PDF",
         {QStringLiteral("--type"), QStringLiteral("manual"), QStringLiteral("--out"),
          Out(QStringLiteral("r.doc"))},
         2,
         QStringLiteral(".odt"),
         Out(QStringLiteral("r.doc"))},
        {"unwritable output",
         {QStringLiteral("--type"), QStringLiteral("manual"), QStringLiteral("--out"), nowhere},
         1,
         nowhere,
         nowhere},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::VantorRun run = RunVantor(QStringList{QStringLiteral("report")} + c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(QFile::exists(c.file), c.status == 0);
    }
}

TEST_F(ReportCommandsTest, OpenHandsTheDocumentToTheOpener) {
    const QString record = Out(QStringLiteral("opened.txt"));
    const QString opener = Out(QStringLiteral("opener.sh"));
    QFile script(opener);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                     .arg(record)
                     .toUtf8());
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VANTOR_OPEN_COMMAND"), opener);
    const QString pdf = Out(QStringLiteral("opened.pdf"));
    const testing::VantorRun run =
        RunVantor({QStringLiteral("report"), QStringLiteral("--type"), QStringLiteral("manual"),
                   QStringLiteral("--out"), pdf, QStringLiteral("--open")},
                  environment);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    // The opener is not waited for.
    for (int attempt = 0; attempt < 100 && !QFile::exists(record); ++attempt) {
        QThread::msleep(50);
    }
    QFile opened(record);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(opened.readAll()), pdf);
}

TEST_F(ReportCommandsTest, CtrlCWritesWhatWasBuiltAndExitsThree) {
    // Enough machines that the report is still being built when the interrupt arrives.
    for (int i = 0; i < 40; ++i) {
        const CMachine machine = plant.AddMachine(QStringLiteral("Extra %1").arg(i));
        const CVib point = plant.AddPoint(machine, QStringLiteral("DE"), true, true);
        plant.AddReading(point, 0, {2.0f, 5.0f, 0.5f, 0.5f, 0.5f});
        plant.AddReading(point, 1, {3.0f, 6.0f, 0.5f, 0.5f, 0.5f});
    }
    const QString pdf = Out(QStringLiteral("interrupted.pdf"));
    QProcess process;
    process.start(QStringLiteral(VANTOR_CLI_PATH),
                  {QStringLiteral("report"), QStringLiteral("--type"), QStringLiteral("manual"),
                   QStringLiteral("--graphs"), QStringLiteral("all"), QStringLiteral("--out"), pdf});
    process.closeWriteChannel();
    process.setReadChannel(QProcess::StandardError);
    QByteArray err;
    // The first progress line comes long before the last machine.
    while (!err.contains("% (") && process.waitForReadyRead(30000)) {
        err += process.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("% (")) << "stderr: " << err.toStdString() << " state " << process.state();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST(ReportCommandsEmptyTest, NoMachineFailsAndLeavesNoFile) {
    testing::ReportPlant plant;
    QTemporaryDir out;
    const QString pdf = QDir(out.path()).filePath(QStringLiteral("empty.pdf"));
    const testing::VantorRun run = RunVantor({QStringLiteral("report"), QStringLiteral("--type"),
                                              QStringLiteral("manual"), QStringLiteral("--out"), pdf});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("no machine")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
} // namespace vantor
