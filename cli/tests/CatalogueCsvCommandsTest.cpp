// vantor catalogue export and import as a user runs them, on a temporary data root.
#include "app/CatalogueCsv.h"
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

TEST(CatalogueCsvCommandsTest, DryRunAndARefusedFileStoreNothingAndExportWritesWhatWasImported) {
    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    CAppData app(prompter);
    ASSERT_TRUE(InitDataRoot(app));
    ASSERT_TRUE(RunHeadlessStartup(app));
    CMainConnection& db = *app.MainConnection();

    const QString dir =
        QDir::tempPath() + QStringLiteral("/vantor-catalogue-csv-") + QString::number(getpid());
    ASSERT_TRUE(QDir().mkpath(dir));
    const auto write = [&dir](const QString& name, const QByteArray& content) {
        QFile file(dir + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    };
    const QByteArray header =
        "Machine;Machine meter name;Kind;Point;Run speed Hz;ISO alarms;ISO warning mm/s;"
        "ISO critical mm/s\r\n";
    const QString good = write(QStringLiteral("good.csv"), header + "Fan;FAN;vib;Motor DE;24,5;1;2,8;7,1\r\n"
                                                                    "Fan;FAN;vib;Motor NDE;24,5;0;0;0\r\n");
    const QString bad = write(QStringLiteral("bad.csv"), header + "Fan;FAN;vib;Motor DE;24,5;1;2,8;7,1\r\n"
                                                                  "Fan;FAN;vib;Motor NDE;24,5;1;3;3\r\n"
                                                                  "Pump;PUMP;vib;Inlet;0;0;0;0\r\n");

    const testing::VantorRun dryRun = testing::RunVantor({"catalogue", "import", good, "--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err.toStdString();
    EXPECT_TRUE(dryRun.out.contains("Machines: 1 new, 0 updated; points: 2 new, 0 updated"));
    EXPECT_TRUE(db.ListMachines().empty());

    const testing::VantorRun refused = testing::RunVantor({"catalogue", "import", bad});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "line 3: " + UiText(text::CriticalMustExceedWarning).toUtf8() +
                               "\nline 4: " + UiText(text::RunSpeedMustBePositive).toUtf8() + "\n");
    EXPECT_TRUE(db.ListMachines().empty());

    const testing::VantorRun imported = testing::RunVantor({"catalogue", "import", good});
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    ASSERT_EQ(db.ListMachines().size(), 1u);
    const std::vector<CVib> points = db.ListVibs(db.ListMachines()[0].sItemGUID);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].fISOWarningMMS, 2.8f);
    EXPECT_TRUE(points[0].bISOAlarmsOn);

    const QString out = dir + QStringLiteral("/out.csv");
    const testing::VantorRun exported = testing::RunVantor({"catalogue", "export", out});
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ExportCatalogueCsv(db));
    QDir(dir).removeRecursively();
}

} // namespace
} // namespace vantor
