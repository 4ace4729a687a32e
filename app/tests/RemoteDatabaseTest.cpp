#include "app/DatabaseSwitch.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/Schema.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace vantor {
namespace {

class RemoteDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitDataRoot(app));
        ASSERT_TRUE(RunLocalStartup(app));
    }
    // A folder on the "share" holding a database.
    QString MakeRemote(const QString& name) {
        const QString folder = QDir(env.Root()).filePath(QStringLiteral("share/") + name);
        QDir().mkpath(folder + QStringLiteral("/Database"));
        EXPECT_TRUE(CreateEmptyDatabase(RemoteDatabaseFile(app, folder), nullptr));
        return folder;
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
};

TEST_F(RemoteDatabase, SwitchesToARemoteFolderInRollbackModeAndBack) {
    const QString folder = MakeRemote(QStringLiteral("Plant A"));
    ASSERT_EQ(SelectRemoteFolder(app, folder), 0);
    EXPECT_TRUE(app.remoteDatabaseInUse);
    EXPECT_EQ(app.settings.localOrRemote, 1);
    EXPECT_EQ(DatabaseCaption(app), QStringLiteral("Corvane - Remote Database (Plant A)"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Database/VantorV1.ldb")));
    QSqlQuery mode(app.MainConnection()->Connection().Database());
    ASSERT_TRUE(mode.exec(QStringLiteral("PRAGMA journal_mode")) && mode.next());
    EXPECT_EQ(mode.value(0).toString(), QStringLiteral("delete"));
    ASSERT_TRUE(SwitchToLocal(app));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Database/VantorV1.ldb")));
    EXPECT_EQ(DatabaseCaption(app), QStringLiteral("Corvane - Local Database"));
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(RemoteDatabase, RememberedFoldersKeepFiveMostRecentFirstWithoutDuplicates) {
    QStringList folders;
    for (int i = 1; i <= 6; ++i) {
        folders << MakeRemote(QStringLiteral("F%1").arg(i));
        ASSERT_EQ(SelectRemoteFolder(app, folders.back()), 0);
    }
    CSettings stored;
    SettingsStore(app.edition).Read(stored);
    EXPECT_EQ(stored.remoteFolders,
              (QStringList{folders[5], folders[4], folders[3], folders[2], folders[1]}));
    ASSERT_EQ(UseRememberedFolder(app, 3), 0); // F3 again
    SettingsStore(app.edition).Read(stored);
    EXPECT_EQ(stored.remoteFolders,
              (QStringList{folders[2], folders[5], folders[4], folders[3], folders[1]}));
}

TEST_F(RemoteDatabase, FailuresFallBackToTheLocalDatabase) {
    const QString busy = MakeRemote(QStringLiteral("Busy"));
    QFile lock(busy + QStringLiteral("/Database/VantorV1.ldb"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(FormatLockFile({{QStringLiteral("OTHERPC"), 1, QDateTime::currentDateTimeUtc()}}));
    lock.close();
    const QString empty = QDir(env.Root()).filePath(QStringLiteral("share/Empty"));
    QDir().mkpath(empty);
    struct Case {
        QString folder;
        QString message;
    } cases[] = {
        {busy, UiText(text::RemoteDatabaseInUse) + QStringLiteral("\r\n\r\nUser1: OTHERPC\r\n")},
        {empty, UiText(text::FolderHasNoDatabase)},
        {app.folders.dataRoot, UiText(text::CantSelectLocalPath)},
    };
    for (const Case& c : cases) {
        prompter.records.clear();
        EXPECT_EQ(SelectRemoteFolder(app, c.folder), -1);
        ASSERT_FALSE(prompter.Messages().isEmpty());
        EXPECT_EQ(prompter.Messages().front(), c.message);
        EXPECT_FALSE(app.remoteDatabaseInUse);
        EXPECT_NE(app.MainConnection(), nullptr);
    }
    // A remote folder the program may not write to: the security warning, then the fallback.
    const QString readOnly = MakeRemote(QStringLiteral("ReadOnly"));
    prompter.records.clear();
    app.settings.AddRemoteFolder(readOnly);
    const auto refusesRemote = [&readOnly](const QString& f) {
        return !f.startsWith(readOnly) && CreateAndDeleteTestFile(f);
    };
    EXPECT_EQ(SwitchToRemote(app, refusesRemote), -1);
    EXPECT_EQ(prompter.Messages(),
              (QStringList{SecurityWarningText(readOnly), UiText(text::UnableToMakeRemoteConnection)}));
    EXPECT_FALSE(app.shuttingDown);
}

} // namespace
} // namespace vantor
