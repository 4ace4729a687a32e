#include "StoreFixture.h"

#include "store/SignalCachePath.h"

#include <QFile>

using namespace vantor;
using namespace vantor::testing;

namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("cache");
}

} // namespace

class Cascade : public OnBothEngines<> {
protected:
    QString CacheOf(const CVibReading& r) const {
        return SignalCacheFilePath(context.dataFolder, r.sItemGUID);
    }
};
VANTOR_ON_BOTH_ENGINES(Cascade);

TEST_P(Cascade, RemovingAMachineTakesPointsReadingsCacheFilesAndRouteItemsButKeepsRoutes) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CVib drive = AddVib(pump.sItemGUID, QStringLiteral("Drive end"));
    const CVib fanPoint = AddVib(fan.sItemGUID, QStringLiteral("Fan end"));
    const CVibReading r1 = AddReading(drive.sItemGUID, At(1));
    const CVibReading r2 = AddReading(drive.sItemGUID, At(2));
    const CVibReading kept = AddReading(fanPoint.sItemGUID, At(1));
    for (const auto* r : {&r1, &r2, &kept}) {
        Touch(CacheOf(*r));
    }
    CLube grease;
    grease.sItemGUID = MakeItemGuid();
    grease.sParentGUID = pump.sItemGUID;
    ASSERT_TRUE(db->UpsertLube(grease));
    CLubeReading greased;
    greased.sItemGUID = MakeItemGuid();
    greased.sParentGUID = grease.sItemGUID;
    ASSERT_TRUE(db->UpsertLubeReading(greased));

    CRoute north{MakeItemGuid(), 0, QStringLiteral("North")};
    CRoute south{MakeItemGuid(), 1, QStringLiteral("South")};
    ASSERT_TRUE(db->UpsertRoute(north));
    ASSERT_TRUE(db->UpsertRoute(south));
    AddRouteItem(north.sItemGUID, pump);
    AddRouteItem(north.sItemGUID, fan);
    AddRouteItem(south.sItemGUID, pump);

    ASSERT_TRUE(db->RemoveMachine(pump.sItemGUID));

    CMachine any;
    EXPECT_FALSE(db->GetMachine(pump.sItemGUID, any));
    EXPECT_TRUE(db->ListVibs(pump.sItemGUID).empty());
    EXPECT_TRUE(db->ListLubes(pump.sItemGUID).empty());
    EXPECT_TRUE(db->ListVibReadings(drive.sItemGUID).empty());
    EXPECT_TRUE(db->ListLubeReadingsNewestFirst(grease.sItemGUID).empty());
    EXPECT_FALSE(QFile::exists(CacheOf(r1)));
    EXPECT_FALSE(QFile::exists(CacheOf(r2)));
    EXPECT_TRUE(QFile::exists(CacheOf(kept)));
    EXPECT_EQ(db->ListRoutes().size(), 2u);
    const auto northItems = db->ListRouteItems(north.sItemGUID);
    ASSERT_EQ(northItems.size(), 1u);
    EXPECT_EQ(northItems[0].sMachineGUID, fan.sItemGUID);
    EXPECT_TRUE(db->ListRouteItems(south.sItemGUID).empty());
    // The remaining machine is renumbered from 0.
    const auto machines = db->ListMachines();
    ASSERT_EQ(machines.size(), 1u);
    EXPECT_EQ(machines[0].fOrder, 0.0f);
    EXPECT_EQ(db->ListVibReadings(fanPoint.sItemGUID).size(), 1u);
    EXPECT_TRUE(prompter.records.empty());
}

TEST_P(Cascade, DeletesSweepRowsWhoseKeyIsNull) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    Execute(QStringLiteral("INSERT INTO tblMachines ([sName]) VALUES ('lost machine')"));
    Execute(
        QStringLiteral("INSERT INTO tblVibs ([sItemGUID], [sName]) VALUES ('{orphan-point}', 'lost point')"));
    Execute(QStringLiteral("INSERT INTO tblVibReadings ([sParentGUID]) VALUES ('{orphan-point}')"));
    Execute(QStringLiteral("INSERT INTO tblVibReadings ([sItemGUID]) VALUES ('{orphan-reading}')"));

    ASSERT_TRUE(db->DeleteMachine(pump.sItemGUID));

    const auto machines = db->ListMachines();
    ASSERT_EQ(machines.size(), 1u);
    EXPECT_EQ(machines[0].sItemGUID, fan.sItemGUID);
    EXPECT_TRUE(db->ListVibs({}).empty());
    // The point without parent took its reading with it; the reading without parent went too.
    EXPECT_TRUE(db->ListVibReadings({}).empty());
}

TEST_P(Cascade, ACacheFileThatCannotBeRemovedStopsTheDeleteAndWarns) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib drive = AddVib(pump.sItemGUID, QStringLiteral("Drive end"));
    const CVibReading first = AddReading(drive.sItemGUID, At(1));
    const CVibReading locked = AddReading(drive.sItemGUID, At(2));
    const CVibReading last = AddReading(drive.sItemGUID, At(3));
    Touch(CacheOf(first));
    // A non-empty folder in the file's place cannot be removed as a file, even by root.
    ASSERT_TRUE(QDir().mkpath(CacheOf(locked) + QStringLiteral("/inner")));

    EXPECT_FALSE(db->RemoveMachine(pump.sItemGUID));

    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("Security Warning")});
    const auto left = db->ListVibReadings(drive.sItemGUID);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].sItemGUID, locked.sItemGUID);
    EXPECT_EQ(left[1].sItemGUID, last.sItemGUID);
    EXPECT_FALSE(QFile::exists(CacheOf(first)));
    // Nothing above the stopped reading goes either, so no reading loses its point.
    CVib point;
    EXPECT_TRUE(db->GetVib(drive.sItemGUID, point));
    CMachine machine;
    EXPECT_TRUE(db->GetMachine(pump.sItemGUID, machine));
}

TEST_P(Cascade, DeletesWithAnEmptyGuidDoNothing) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    AddVib(pump.sItemGUID, QStringLiteral("Drive end"));
    Execute(QStringLiteral("INSERT INTO tblMachines ([sName]) VALUES ('lost')"));
    EXPECT_FALSE(db->DeleteMachine({}));
    EXPECT_FALSE(db->DeleteVib({}));
    EXPECT_FALSE(db->DeleteVibReading({}));
    EXPECT_FALSE(db->DeleteRoute({}));
    EXPECT_EQ(db->ListMachines().size(), 2u);
    EXPECT_EQ(db->ListVibs({}).size(), 1u);
}

TEST_P(Cascade, DeletingARouteTakesOnlyItsItems) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    CRoute north{MakeItemGuid(), 0, QStringLiteral("North")};
    CRoute south{MakeItemGuid(), 1, QStringLiteral("South")};
    ASSERT_TRUE(db->UpsertRoute(north));
    ASSERT_TRUE(db->UpsertRoute(south));
    AddRouteItem(north.sItemGUID, pump);
    AddRouteItem(south.sItemGUID, pump);
    ASSERT_TRUE(db->DeleteRoute(north.sItemGUID));
    ASSERT_EQ(db->ListRoutes().size(), 1u);
    EXPECT_TRUE(db->ListRouteItems(north.sItemGUID).empty());
    EXPECT_EQ(db->ListRouteItems(south.sItemGUID).size(), 1u);
    EXPECT_EQ(db->ListMachines().size(), 1u);
}

TEST_P(Cascade, ARouteWhoseItemsCannotBeDeletedStays) {
    CRoute north{MakeItemGuid(), 0, QStringLiteral("North")};
    ASSERT_TRUE(db->UpsertRoute(north));
    // The items' table lost its columns: its rows can be neither read nor deleted.
    Execute(QStringLiteral("DROP TABLE tblRouteItems"));
    Execute(QStringLiteral("CREATE TABLE tblRouteItems (sItemGUID TEXT)"));
    EXPECT_FALSE(db->DeleteRoute(north.sItemGUID));
    EXPECT_EQ(db->ListRoutes().size(), 1u);
}

TEST_P(Cascade, AReadingGuidShapedLikeAPathNeverReachesOutsideTheDataFolder) {
    const QString outside = QDir(env.Root()).filePath(QStringLiteral("precious"));
    Touch(outside);
    CVibReading hostile;
    hostile.sItemGUID = QStringLiteral("../precious");
    hostile.sParentGUID = QStringLiteral("{p}");
    hostile.ctDateTaken = At(1);
    ASSERT_TRUE(db->UpsertVibReading(hostile));
    ASSERT_TRUE(db->DeleteVibReading(hostile.sItemGUID));
    EXPECT_TRUE(QFile::exists(outside));
    EXPECT_TRUE(db->ListVibReadings({}).empty());
}
