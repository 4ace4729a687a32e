#include "app/Edition.h"
#include "app/AppFolders.h"
#include "app/CAppData.h"

#include <QSet>
#include <QUuid>

#include <gtest/gtest.h>

using vantor::AppFolders;
using vantor::Edition;

TEST(Edition, BrandAndKindChooseTheStrings) {
    const Edition second = Edition::For(2, 0);
    EXPECT_EQ(second.title, QStringLiteral("Corvane"));
    EXPECT_EQ(second.companyName, QStringLiteral("Norhall Instruments"));
    EXPECT_EQ(second.singleInstanceName, QStringLiteral("Corvane123456789"));
    EXPECT_EQ(second.fileTypeClass, QStringLiteral("CorvaneDataFile"));
    EXPECT_EQ(second.fileTypeDescription, QStringLiteral("Corvane DataFile"));
    EXPECT_EQ(second.shellVerb, QStringLiteral("&Import Corvane DataFile"));
    const Edition firstLube = Edition::For(1, 1);
    EXPECT_EQ(firstLube.title, QStringLiteral("Vantor (Lube)"));
    EXPECT_EQ(firstLube.productName, QStringLiteral("Vantor"));
    EXPECT_EQ(firstLube.companyName, QStringLiteral("Halvard Ltd"));
    EXPECT_EQ(firstLube.profileName, QStringLiteral("VantorV1"));
    EXPECT_EQ(Edition::Built().title, QStringLiteral("Corvane"));
}

TEST(AppFolders, EveryPathFollowsTheRootsAndTheEdition) {
    const AppFolders f = AppFolders::Resolve(Edition::For(2, 0), QStringLiteral("/c"), QStringLiteral("/u"));
    EXPECT_EQ(f.dataRoot, QStringLiteral("/c/Norhall Instruments/Corvane"));
    EXPECT_EQ(f.userRoot, QStringLiteral("/u/Norhall Instruments/Corvane"));
    EXPECT_EQ(f.databaseFile, QStringLiteral("/c/Norhall Instruments/Corvane/Database/VantorV1.mdb"));
    EXPECT_EQ(f.emptyDatabaseFile,
              QStringLiteral("/c/Norhall Instruments/Corvane/Database/Empty/VantorV1.mdb"));
    EXPECT_EQ(f.syncFolder, QStringLiteral("/c/Norhall Instruments/Corvane/Data/Sync"));
    EXPECT_EQ(f.userSettingsFile, QStringLiteral("/u/Norhall Instruments/Corvane/UserSettings.cfg"));
    EXPECT_TRUE(f.securityWarning.contains(QStringLiteral("\r\n\r\n/c/Norhall Instruments/Corvane\r\n\r\n")));
    AppFolders remote = f;
    remote.SetCurrentRoot(QStringLiteral("/remote"), Edition::For(2, 0));
    EXPECT_EQ(remote.databaseFile, QStringLiteral("/remote/Database/VantorV1.mdb"));
    EXPECT_EQ(remote.languageFolder, QStringLiteral("/remote/Language"));
    EXPECT_EQ(remote.dataFolder, f.dataFolder); // cache files stay with the local data root
}

TEST(AppDataIdentifiers, TheOffRouteGuidsAreDistinctBracedGuids) {
    QSet<QUuid> seen;
    for (const char* text : vantor::CAppData::OffRoutePointGuids) {
        const QString guid = QLatin1String(text);
        EXPECT_TRUE(guid.startsWith(QLatin1Char('{')) && guid.endsWith(QLatin1Char('}'))) << text;
        const QUuid uuid(guid);
        EXPECT_FALSE(uuid.isNull()) << text;
        seen.insert(uuid);
    }
    seen.insert(QUuid(QLatin1String(vantor::CAppData::OffRouteAssetGuid)));
    EXPECT_EQ(seen.size(), 11);
    EXPECT_FALSE(seen.contains(QUuid()));
}
