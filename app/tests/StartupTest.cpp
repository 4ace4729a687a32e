#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vantor;

class Startup : public ::testing::Test {
protected:
    void TearDown() override { UiTextTable::ResetToDefaults(); }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
};

TEST_F(Startup, InitCreatesTheDataRootAndBothDatabasesThenKeepsThem) {
    ASSERT_TRUE(InitDataRoot(app));
    const QDir root(app.folders.dataRoot);
    EXPECT_EQ(app.folders.dataRoot, env.CommonAppData() + QStringLiteral("/Norhall Instruments/Corvane"));
    for (const char* folder : {"Database", "Database/Empty", "Data", "Data/Sync", "Language", "Logos"}) {
        EXPECT_TRUE(root.exists(QLatin1String(folder))) << folder;
    }
    EXPECT_TRUE(QFileInfo(app.folders.databaseFile).isFile());
    EXPECT_TRUE(QFileInfo(app.folders.emptyDatabaseFile).isFile());
    EXPECT_TRUE(QDir(app.folders.userRoot).exists());

    ASSERT_TRUE(RunHeadlessStartup(app));
    CMachine machine;
    machine.sItemGUID = MakeItemGuid();
    ASSERT_TRUE(app.MainConnection()->UpsertMachine(machine));

    CAppData again(prompter, Edition::For(2, 0));
    ASSERT_TRUE(InitDataRoot(again));
    ASSERT_TRUE(RunHeadlessStartup(again));
    EXPECT_EQ(again.MainConnection()->ListMachines().size(), 1u);
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(Startup, MissingDatabaseStopsWithTheEditionsMessage) {
    EXPECT_FALSE(RunHeadlessStartup(app));
    EXPECT_EQ(prompter.Messages(),
              QStringList{QStringLiteral("No Database found, please reinstall Corvane!")});
    EXPECT_TRUE(app.shuttingDown);
    EXPECT_EQ(app.MainConnection(), nullptr);
}

TEST_F(Startup, AnUnwritableFolderInsideTheDataRootStopsWithTheSecurityWarning) {
    ASSERT_TRUE(InitDataRoot(app));
    QStringList probed;
    const auto probe = [&probed](const QString& folder) {
        probed << QFileInfo(folder).fileName();
        return !folder.endsWith(QStringLiteral("/Logos"));
    };
    CAppData other(prompter, Edition::For(2, 0));
    EXPECT_FALSE(RunHeadlessStartup(other, probe));
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_TRUE(prompter.Messages()[0].startsWith(
        QStringLiteral("Security Warning:\r\n\r\nThis application needs Full rights")));
    EXPECT_TRUE(prompter.Messages()[0].contains(other.folders.dataRoot));
    EXPECT_TRUE(other.shuttingDown);
    EXPECT_EQ(probed,
              (QStringList{QStringLiteral("Corvane"), QStringLiteral("Data"), QStringLiteral("Database"),
                           QStringLiteral("Language"), QStringLiteral("Logos")}));
}

TEST_F(Startup, TheRealWriteTestLeavesNoFileBehind) {
    ASSERT_TRUE(InitDataRoot(app));
    EXPECT_TRUE(RunWriteTest(app));
    EXPECT_FALSE(QFileInfo::exists(QDir(app.folders.dataRoot).filePath(QStringLiteral("Test.txt"))));
    EXPECT_FALSE(CreateAndDeleteTestFile(QDir(env.Root()).filePath(QStringLiteral("no/such/folder"))));
}

TEST_F(Startup, ExecutableNameMustEqualTheTitle) {
    ASSERT_TRUE(PrepareFolders(app));
    EXPECT_FALSE(PrepareFolderNames(app, QStringLiteral("corvane")));
    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("App name and exe Name don't match.")});
    EXPECT_TRUE(PrepareFolderNames(app, QStringLiteral("Corvane")));
}

TEST_F(Startup, TextsCarryTheEditionTitle) {
    LoadTexts(app);
    EXPECT_EQ(UiText(10), QStringLiteral("About Corvane"));
    EXPECT_EQ(UiText(11), QStringLiteral("No Database found, please reinstall Corvane!"));
}
