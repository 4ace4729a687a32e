// The follow-up loop on the server, with two users acknowledging at once, and the server copy
// bringing every follow-up row back into a local file.
#include "cli/tests/FollowUpLoop.h"
#include "platform/testing/PostgresCluster.h"
#include "platform/testing/TempEnvironment.h"

using namespace vantor::testing;

TEST(FollowUpOnServer, FromAnAlarmToAConfirmedRepairAndBackIntoALocalFile) {
    PostgresCluster& cluster = PostgresCluster::Shared();
    ASSERT_TRUE(cluster.Ready()) << "the test PostgreSQL cluster did not start: "
                                 << cluster.Error().toStdString();
    const QString url = cluster.CreateDatabase();
    ASSERT_FALSE(url.isEmpty()) << cluster.Error().toStdString();
    TempEnvironment env;
    Checked({"init"});
    Checked({"server", "init", url});
    Checked({"server", "use", url});

    const LoopPlant plant = MakeLoopPlant(env.Root());
    RunFollowUpLoop(plant, env.Root());
    Checked({"note", "add", plant.machine, "Coupling aligned"});
    const QByteArray events = Checked({"events", "--json"}).out;
    const QByteArray notes = Checked({"note", "list", "--json"}).out;
    const QByteArray recommendations = Checked({"recommendations", "--json"}).out;

    Checked({"server", "copy-to-local", "--replace"});
    Checked({"server", "local"});
    EXPECT_EQ(Checked({"events", "--json"}).out, events);
    EXPECT_EQ(Checked({"note", "list", "--json"}).out, notes);
    EXPECT_EQ(Checked({"recommendations", "--json"}).out, recommendations);
}
