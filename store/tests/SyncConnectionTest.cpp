#include "StoreFixture.h"

#include <QSqlRecord>

using namespace vantor;
using namespace vantor::testing;

class SyncConnectionFile : public StoreFixture {
protected:
    std::unique_ptr<CRecordSyncConnection> OpenSync() {
        auto sync = std::make_unique<CRecordSyncConnection>(context);
        EXPECT_TRUE(sync->Open());
        return sync;
    }
};
// Older files and missing files are matters of the database file; the rest runs on both engines.
using SyncConnection = OnBothEngines<SyncConnectionFile>;
VANTOR_ON_BOTH_ENGINES(SyncConnection);

TEST_F(SyncConnectionFile, OpeningUpgradesAnOlderFileOnceAndQuietly) {
    Execute(QStringLiteral("DROP TABLE tblDevices"));
    Execute(QStringLiteral("DROP TABLE tblEmailAddresses"));
    Execute(QStringLiteral("CREATE TABLE tblDevices ([sItemGUID] TEXT(255), [fOrder] REAL, [sName] "
                           "TEXT(255), [sSN] TEXT(255))"));
    Execute(QStringLiteral("INSERT INTO tblDevices VALUES ('{d}', 0, 'Old meter', '123')"));
    {
        auto sync = OpenSync();
        const QSqlRecord columns = sync->Connection().Database().record(QStringLiteral("tblDevices"));
        ASSERT_EQ(columns.count(), 5);
        EXPECT_EQ(columns.fieldName(4), QStringLiteral("sBTAddress"));
        CDevice device;
        ASSERT_TRUE(sync->GetDevice(QStringLiteral("{d}"), device));
        device.sBTAddress = QStringLiteral("00:11:22:33:44:55");
        ASSERT_TRUE(sync->UpsertDevice(device));
        ASSERT_TRUE(sync->AddEmailAddress(QStringLiteral("a@b.c")));
    }
    auto again = OpenSync();
    EXPECT_EQ(again->Connection().Database().record(QStringLiteral("tblDevices")).count(), 5);
    CDevice device;
    ASSERT_TRUE(again->GetDevice(QStringLiteral("{d}"), device));
    EXPECT_EQ(device.sBTAddress, QStringLiteral("00:11:22:33:44:55"));
    EXPECT_EQ(again->ListEmailAddresses(), QStringList{QStringLiteral("a@b.c")});
    EXPECT_TRUE(prompter.records.empty());
    EXPECT_FALSE(shuttingDown);
}

TEST_F(SyncConnectionFile, MissingDatabaseIsReportedAndStopsTheApplication) {
    StoreContext other = context;
    other.databaseFile = QDir(env.Root()).filePath(QStringLiteral("missing.mdb"));
    CRecordSyncConnection sync(other);
    EXPECT_FALSE(sync.Open());
    EXPECT_EQ(prompter.Messages(),
              QStringList{QStringLiteral("No Database found, please reinstall Vantor!")});
    EXPECT_TRUE(shuttingDown);
}

TEST_P(SyncConnection, EmailAddressesAreKeysAndMayHoldQuotes) {
    auto sync = OpenSync();
    const QString quoted = QStringLiteral("o'brien@example.com");
    ASSERT_TRUE(sync->AddEmailAddress(quoted));
    ASSERT_TRUE(sync->AddEmailAddress(quoted));
    ASSERT_TRUE(sync->AddEmailAddress(QStringLiteral("ann@example.com")));
    EXPECT_EQ(sync->ListEmailAddresses(), (QStringList{QStringLiteral("ann@example.com"), quoted}));
    ASSERT_TRUE(sync->RemoveEmailAddress(quoted));
    EXPECT_EQ(sync->ListEmailAddresses(), QStringList{QStringLiteral("ann@example.com")});
    ASSERT_TRUE(sync->RemoveAllEmailAddresses());
    EXPECT_TRUE(sync->ListEmailAddresses().isEmpty());
}

TEST_P(SyncConnection, OffRouteReadingsMatchByGuidOrInstantAndListNewestFirst) {
    auto sync = OpenSync();
    COffRouteReading a;
    a.sItemGUID = MakeItemGuid();
    a.ctDateTaken = At(1);
    COffRouteReading b = a;
    b.sItemGUID = MakeItemGuid();
    b.ctDateTaken = At(2);
    ASSERT_TRUE(sync->UpsertOffRouteReading(a));
    ASSERT_TRUE(sync->UpsertOffRouteReading(b));
    COffRouteReading sameInstant = a;
    sameInstant.sItemGUID = MakeItemGuid();
    sameInstant.fTotalG = 2.5f;
    ASSERT_TRUE(sync->UpsertOffRouteReading(sameInstant));
    const auto readings = sync->ListOffRouteReadings();
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[0].sItemGUID, b.sItemGUID);
    EXPECT_EQ(readings[1].sItemGUID, sameInstant.sItemGUID);
    EXPECT_EQ(readings[1].fTotalG, 2.5f);
    EXPECT_EQ(readings[1].rawADCISODataByteArray.size(), 1);
    ASSERT_TRUE(sync->DeleteOffRouteReading(b.sItemGUID));
    EXPECT_EQ(sync->ListOffRouteReadings().size(), 1u);
}

TEST_P(SyncConnection, MetersAreOrderedRenumberedAndDeleted) {
    auto sync = OpenSync();
    CDevice first{MakeItemGuid(), sync->NextDeviceOrder(), QStringLiteral("One"), QStringLiteral("1"), {}};
    ASSERT_TRUE(sync->UpsertDevice(first));
    CDevice second{MakeItemGuid(), sync->NextDeviceOrder(), QStringLiteral("Two"), QStringLiteral("2"), {}};
    ASSERT_TRUE(sync->UpsertDevice(second));
    CDevice front{MakeItemGuid(), sync->NextDeviceOrder(first.sItemGUID), QStringLiteral("Zero"), {}, {}};
    ASSERT_TRUE(sync->UpsertDevice(front));
    sync->RenumberDevices();
    auto devices = sync->ListDevices();
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].sName, QStringLiteral("Zero"));
    EXPECT_EQ(devices[2].fOrder, 2.0f);
    ASSERT_TRUE(sync->DeleteDevice(first.sItemGUID));
    sync->RenumberDevices();
    devices = sync->ListDevices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[1].sName, QStringLiteral("Two"));
    EXPECT_EQ(devices[1].fOrder, 1.0f);
    EXPECT_EQ(db->NextOrder(ItemKind::Meters, {}), 2.0f);
}
