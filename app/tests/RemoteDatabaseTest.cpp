#include "app/DatabaseSwitch.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/AlarmRecords.h"
#include "store/Schema.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    void AddMachine(const QString& name) {
        CMachine machine;
        machine.sItemGUID = MakeItemGuid();
        machine.sName = name;
        machine.sVMName = name;
        ASSERT_TRUE(app.MainConnection()->UpsertMachine(machine));
    }
    QStringList MachineNames() {
        QStringList names;
        for (const CMachine& m : app.MainConnection()->ListMachines()) {
            names << m.sName;
        }
        return names;
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

TEST_F(RemoteDatabase, CreatesARemoteDatabaseFromTheTemplateAndNeverOverwritesOne) {
    const QString share = QDir(env.Root()).filePath(QStringLiteral("share"));
    QDir().mkpath(share);
    prompter.yesNoAnswers = {false};
    EXPECT_EQ(CreateRemoteDatabase(app, share), -1); // declined: nothing made
    EXPECT_FALSE(QFileInfo::exists(NewRemoteFolder(share)));
    EXPECT_TRUE(prompter.records.front().text.contains(NewRemoteFolder(share)));

    ASSERT_EQ(CreateRemoteDatabase(app, share, false), 0);
    const QString folder = QDir(share).filePath(QString::fromLatin1(kNewRemoteFolderName));
    EXPECT_TRUE(app.remoteDatabaseInUse);
    EXPECT_EQ(app.settings.remoteFolders.value(0), folder);
    EXPECT_TRUE(QFileInfo(folder).permissions().testFlag(QFile::WriteGroup));
    AddMachine(QStringLiteral("Pump"));
    ASSERT_TRUE(SwitchToLocal(app));
    // Creating again where a database already is keeps its rows.
    ASSERT_EQ(CreateRemoteDatabase(app, share, false), 0);
    EXPECT_EQ(MachineNames(), QStringList{QStringLiteral("Pump")});
    ASSERT_TRUE(SwitchToLocal(app));

    const QString templateFile = app.folders.emptyDatabaseFile;
    struct Case {
        QString location;
        bool hideTemplate;
        int message;
    } cases[] = {
        {app.folders.dataRoot, false, text::CantCreateInLocalPath},
        {app.folders.databaseFolder, false, text::CantCreateInLocalPath},
        {QDir(env.Root()).filePath(QStringLiteral("other")), true, text::NoEmptyDbToCopy},
    };
    for (const Case& c : cases) {
        QDir().mkpath(c.location);
        if (c.hideTemplate) {
            ASSERT_TRUE(QFile::rename(templateFile, templateFile + QStringLiteral(".away")));
        }
        prompter.records.clear();
        EXPECT_EQ(CreateRemoteDatabase(app, c.location, false), -1);
        EXPECT_EQ(prompter.Messages(), QStringList{UiText(c.message)});
        EXPECT_FALSE(QFileInfo::exists(NewRemoteFolder(c.location)));
        EXPECT_FALSE(app.remoteDatabaseInUse);
        if (c.hideTemplate) {
            QFile::rename(templateFile + QStringLiteral(".away"), templateFile);
        }
    }
}

TEST_F(RemoteDatabase, ExportToTheOtherDatabaseAndBackKeepsEveryRow) {
    const QString folder = MakeRemote(QStringLiteral("Plant"));
    RememberRemoteFolder(app, folder);
    AddMachine(QStringLiteral("Fan"));
    AddMachine(QStringLiteral("Gearbox"));
    QStringList notes;
    app.databaseView.showStatus = [&notes](const QString& note) { notes << note; };
    const ProgressOpener open = [] { return std::make_unique<DataFileProgress>(); };

    ASSERT_TRUE(ExportToOtherDatabase(app, open));
    EXPECT_FALSE(app.remoteDatabaseInUse); // back where it started
    EXPECT_EQ(notes, (QStringList{UiText(text::SwitchingToRemote) + QStringLiteral("..."),
                                  UiText(text::SwitchingToLocal) + QStringLiteral("...")}));
    EXPECT_FALSE(QFileInfo::exists(OtherDatabaseTransferFile(app)));
    ASSERT_EQ(SwitchToRemote(app), 0);
    EXPECT_EQ(MachineNames(), (QStringList{QStringLiteral("Fan"), QStringLiteral("Gearbox")}));

    // And from the remote database into an emptied local one.
    AddMachine(QStringLiteral("Compressor"));
    ASSERT_TRUE(ExportToOtherDatabase(app, open));
    EXPECT_TRUE(app.remoteDatabaseInUse);
    const QStringList remoteNames = MachineNames();
    ASSERT_TRUE(SwitchToLocal(app));
    EXPECT_EQ(MachineNames(), remoteNames);
    EXPECT_TRUE(prompter.Messages().isEmpty());
}

// A progress that pulls the share away once the export has written its first records.
class ShareDrops : public DataFileProgress {
public:
    explicit ShareDrops(QString folder) : folder_(std::move(folder)) {}
    void Step(const QString&, int, int) override {
        if (!dropped_) {
            dropped_ = true;
            QDir(folder_).removeRecursively();
        }
    }

private:
    QString folder_;
    bool dropped_ = false;
};

TEST_F(RemoteDatabase, AShareThatDropsDuringAnExportFallsBackToLocalWithoutAPartialFile) {
    const QString folder = MakeRemote(QStringLiteral("Flaky"));
    ASSERT_EQ(SelectRemoteFolder(app, folder), 0);
    for (int i = 0; i < 5; ++i) {
        AddMachine(QStringLiteral("M%1").arg(i));
    }
    const QString out = QDir(env.Root()).filePath(QStringLiteral("out.rmd"));
    const DataFileTransfer transfer = ExportDataFileFrom(
        app, out, {}, [&folder] { return std::make_unique<ShareDrops>(folder); }, false);
    EXPECT_EQ(transfer.outcome, DataFileOutcome::ConnectionLost);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(app.remoteDatabaseInUse);
    EXPECT_EQ(app.settings.localOrRemote, 0);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::RemoteConnectionLost)});
    ASSERT_NE(app.MainConnection(), nullptr);
    EXPECT_TRUE(MachineNames().isEmpty()); // the local database as it was
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

// The export into the other database replaces a point's alarm setting of the same measure there
// instead of adding a second one.
TEST_F(RemoteDatabase, ExportToTheOtherDatabaseReplacesAPointsSettingInsteadOfDoublingIt) {
    const QString folder = MakeRemote(QStringLiteral("Plant"));
    RememberRemoteFolder(app, folder);
    const QString point = MakeItemGuid();
    const auto settingIn = [&](double warning) {
        alarmrows::PutSetting(
            app.MainConnection()->Connection(),
            PointAlarmSettingRow{point, QStringLiteral("iso"), 6, {}, {}, warning, 3, 2, 4});
    };
    ASSERT_EQ(SwitchToRemote(app), 0);
    settingIn(2.5);
    ASSERT_TRUE(SwitchToLocal(app));
    settingIn(2.0);
    const ProgressOpener open = [] { return std::make_unique<DataFileProgress>(); };
    ASSERT_TRUE(ExportToOtherDatabase(app, open));
    ASSERT_EQ(SwitchToRemote(app), 0);
    const auto settings = alarmrows::SettingsOf(app.MainConnection()->Connection(), point);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].sigmaWarning, 2.0);
}

} // namespace
} // namespace vantor
