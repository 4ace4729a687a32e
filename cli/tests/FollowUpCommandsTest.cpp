// The follow-up commands on a local file and on a shared folder's file: the loop from an imported
// reading's event to the diagnosis's record, due points and compliance with a route never measured,
// the schedule's checks, and the trail kept when its machine is deleted.
#include "cli/tests/FollowUpLoop.h"
#include "platform/testing/TempEnvironment.h"

using namespace vantor::testing;

namespace {

class FollowUpCommands : public ::testing::Test {
protected:
    void SetUp() override { Checked({"init"}); }
    TempEnvironment env;
};

} // namespace

TEST_F(FollowUpCommands, FromAnAlarmToAConfirmedRepairOnTheLocalFile) {
    const LoopPlant plant = MakeLoopPlant(env.Root());
    RunFollowUpLoop(plant, env.Root());

    // Deleting the machine leaves the events and their trail.
    Checked({"machine", "delete", plant.machine, "--yes"});
    const QJsonArray events = JsonArrayOf({"events", "--json"});
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].toObject().value("acknowledgements").toArray().size(), 2);
}

TEST_F(FollowUpCommands, FromAnAlarmToAConfirmedRepairOnASharedFolder) {
    const QString shared = QDir(env.Root()).filePath(QStringLiteral("share"));
    ASSERT_TRUE(QDir().mkpath(shared));
    Checked({"remote", "create", shared, "--yes"});
    const QString listed = QString::fromUtf8(Checked({"remote", "list"}).out);
    ASSERT_TRUE(listed.contains(QStringLiteral("share"))) << listed.toStdString();
    RunFollowUpLoop(MakeLoopPlant(env.Root()), env.Root());
}

TEST_F(FollowUpCommands, DueAndComplianceWithARouteNeverMeasured) {
    MakeLoopPlant(env.Root()); // Pump NDE measured 10 May 2024 on Route 1; Fan DE never, Route 2
    Checked({"schedule", "Route 2", "--interval", "14", "--start", "2024-05-01"});
    Checked({"schedule", "Route 9", "--interval", "14"}, 1);
    Checked({"schedule", "Route 2", "--interval", "0"}, 1);
    const QString schedules = QString::fromUtf8(Checked({"schedule"}).out);
    EXPECT_TRUE(schedules.contains(QStringLiteral("Route 1\t30\t\n"))) << schedules.toStdString();
    EXPECT_TRUE(schedules.contains(QStringLiteral("Route 2\t14\t2024-05-01"))) << schedules.toStdString();

    const QJsonArray due = JsonArrayOf({"due", "--on", "2024-06-15", "--json"});
    ASSERT_EQ(due.size(), 2);
    EXPECT_EQ(due[0].toObject().value("point").toString(), QStringLiteral("Fan DE"));
    EXPECT_EQ(due[0].toObject().value("daysLate").toInt(), 45);
    EXPECT_TRUE(due[0].toObject().value("lastReading").isNull());
    EXPECT_EQ(due[1].toObject().value("point").toString(), QStringLiteral("Pump NDE"));
    EXPECT_EQ(due[1].toObject().value("due").toString(), QStringLiteral("2024-06-09"));
    EXPECT_EQ(due[1].toObject().value("daysLate").toInt(), 6);
    EXPECT_EQ(JsonArrayOf({"due", "--route", "Route 1", "--on", "2024-06-15", "--json"}).size(), 1);
    EXPECT_TRUE(JsonArrayOf({"due", "--on", "2024-05-20", "--days", "3", "--json"}).size() ==
                1); // Fan DE only
    Checked({"due", "--route", "Route 9"}, 1);
    Checked({"due", "--on", "June"}, 2);

    const QJsonObject compliance =
        QJsonDocument::fromJson(
            Checked({"compliance", "--from", "2024-05-01", "--to", "2024-06-30", "--json"}).out)
            .object();
    const QJsonArray routes = compliance.value("routes").toArray();
    ASSERT_EQ(routes.size(), 2);
    // Route 1: Pump NDE never measured before May is due on 1 May and measured late on 10 May
    // (missed), then due 9 June and missed. Route 2: due 1, 15, 29 May, 12 and 26 June, all missed.
    EXPECT_EQ(routes[0].toObject().value("due").toInt(), 2);
    EXPECT_EQ(routes[0].toObject().value("onTime").toInt(), 0);
    EXPECT_EQ(routes[1].toObject().value("due").toInt(), 5);
    EXPECT_EQ(routes[1].toObject().value("onTime").toInt(), 0);
    EXPECT_EQ(compliance.value("total").toObject().value("due").toInt(), 7);
    EXPECT_DOUBLE_EQ(compliance.value("total").toObject().value("percent").toDouble(), 0.0);
    Checked({"compliance", "--from", "2024-06-30", "--to", "2024-05-01"}, 2);
}
