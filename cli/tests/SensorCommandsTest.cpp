// vantor sensor add, list and remove as a user runs them: a sensor bound to a point, rebound, listed
// as text and JSON, refused for an unknown point or an id that is no single topic level, and removed.
#include "analysis/AlarmStatus.h"
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/OnlineTables.h"
#include "store/testing/TestPlant.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using testing::RunVantor;

TEST(SensorCommands, SensorsAreBoundListedAndRemoved) {
    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    CVib point;
    {
        CAppData app(prompter);
        ASSERT_TRUE(InitDataRoot(app));
        ASSERT_TRUE(RunHeadlessStartup(app));
        point = testing::AddFanMotorDE(*app.MainConnection());
    }
    const QString guid = point.sItemGUID;
    {
        CAppData app(prompter);
        ASSERT_TRUE(RunHeadlessStartup(app));
        const QDateTime taken(QDate(2026, 3, 2), QTime(12, 0, 0, 250));
        onlinerows::InsertOverall(app.MainConnection()->Connection(),
                                  {MakeItemGuid(), QStringLiteral("s-02"), guid, taken, 5.25, std::nullopt,
                                   41.5, static_cast<int>(StatusCode::Warning)});
    }
    struct Step {
        QStringList arguments;
        int status;
        const char* err; // a part of standard error
    } const steps[] = {
        {{"sensor", "add", "s-01", guid}, 0, ""},
        {{"sensor", "add", "s-02", guid}, 0, ""},
        {{"sensor", "add", "s-02", "{00000000-0000-4000-8000-000000000099}"}, 1, "No vibration point"},
        {{"sensor", "add", "a/b", guid}, 2, "one topic level"},
        {{"sensor", "add", "#", guid}, 2, "one topic level"},
        {{"sensor", "remove", "s-01"}, 0, ""},
        {{"sensor", "remove", "s-01"}, 1, "No sensor s-01"},
    };
    for (const Step& step : steps) {
        const testing::VantorRun run = RunVantor(step.arguments);
        EXPECT_EQ(run.status, step.status) << step.arguments.join(QLatin1Char(' ')).toStdString() << "\n"
                                           << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(step.err)) << run.err.toStdString();
    }
    const testing::VantorRun text = RunVantor({"sensor", "list"});
    EXPECT_TRUE(text.out.startsWith("sensor\tpoint\tname\tadded\ns-02\t" + guid.toUtf8() + "\t" +
                                    point.sName.toUtf8() + "\t"))
        << text.out.toStdString();
    EXPECT_EQ(
        RunVantor({"sensor", "values", "s-02"}).out,
        "taken\tiso_mms\ttotal_g\ttemperature_c\tstatus\n2026-03-02 12:00:00.250\t5.25\t\t41.5\tWARNING\n");
    const QJsonArray values =
        QJsonDocument::fromJson(RunVantor({"sensor", "values", "s-02", "--json"}).out).array();
    ASSERT_EQ(values.size(), 1);
    EXPECT_TRUE(values[0].toObject().value("total_g").isNull());
    EXPECT_EQ(values[0].toObject().value("iso_mms").toDouble(), 5.25);
    EXPECT_EQ(RunVantor({"sensor", "values", "s-09"}).status, 1);
    const QJsonArray json = QJsonDocument::fromJson(RunVantor({"sensor", "list", "--json"}).out).array();
    ASSERT_EQ(json.size(), 1);
    EXPECT_EQ(json[0].toObject().value("sensor").toString(), QStringLiteral("s-02"));
    EXPECT_EQ(json[0].toObject().value("point").toString(), guid);

    // ingest run is the service program beside vantor, which checks its settings file first.
    const QString settings = env.Root() + QStringLiteral("/ingest.conf");
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("site = plant\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const testing::VantorRun ingest = RunVantor({"ingest", "run", "--settings", settings});
    EXPECT_EQ(ingest.status, 1);
    EXPECT_TRUE(ingest.err.contains("has mode 0640")) << ingest.err.toStdString();
}

} // namespace
} // namespace vantor
