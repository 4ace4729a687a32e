#include "app/Settings.h"
#include "app/CAppData.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"

#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <memory>

using namespace vantor;

class Settings : public ::testing::Test {
protected:
    // The stored values as another program would see them.
    std::unique_ptr<QSettings> Raw() {
        auto raw = std::make_unique<QSettings>(store.FilePath(), QSettings::IniFormat);
        raw->beginGroup(QStringLiteral("Settings"));
        return raw;
    }
    void Put(const QString& name, const QVariant& value) {
        const auto raw = Raw();
        raw->setValue(name, value);
        raw->sync();
    }
    CSettings ReadBack() {
        CSettings read;
        store.Read(read);
        return read;
    }

    vantor::testing::TempEnvironment env;
    Edition edition = Edition::For(2, 0);
    SettingsStore store{edition};
};

TEST_F(Settings, LiveUnderTheCompanyAndTitleInTheConfigHome) {
    EXPECT_EQ(store.FilePath(), env.Root() + QStringLiteral("/config/Norhall Instruments/Corvane.conf"));
    EXPECT_EQ(SettingsStore(Edition::For(1, 1)).FilePath(),
              env.Root() + QStringLiteral("/config/Halvard Ltd/Vantor (Lube).conf"));
}

TEST_F(Settings, AFreshProfileReadsTheDefaultsAndTheFirstWriteStoresEveryValue) {
    const CSettings read = ReadBack();
    EXPECT_FALSE(QFileInfo::exists(store.FilePath()));
    EXPECT_EQ(read.fftLineOrBar, 1);
    EXPECT_EQ(read.band4Name, QStringLiteral("NOT USED"));
    EXPECT_EQ(read.vibStatusColumn3, 2);
    EXPECT_EQ(read.backColor, 0xFFFFFF);
    EXPECT_EQ(read.appLook, 116);
    EXPECT_EQ(read.dpMms, 3);
    EXPECT_TRUE(read.remoteFolders.isEmpty());
    EXPECT_EQ(read.velocityUnitLabel, QStringLiteral("mm/s"));

    ASSERT_TRUE(store.Write(read));
    const auto raw = Raw();
    const QStringList expected{"DialogLeft",
                               "DialogRight",
                               "DialogTop",
                               "DialogBottom",
                               "DialogState",
                               "DialogFlags",
                               "Language",
                               "VarovudOVOOn",
                               "FFTLineOrBar",
                               "XAxisUnits",
                               "YAxisUnits",
                               "Band1Name",
                               "Band2Name",
                               "Band3Name",
                               "Band4Name",
                               "VibDisplayOption",
                               "LubeDisplayOption",
                               "VibStatusValuesOn",
                               "VibStatusColumn1",
                               "VibStatusColumn2",
                               "VibStatusColumn3",
                               "BoldFontOn",
                               "MoveSplitterBy",
                               "BackColor",
                               "AppLook",
                               "LocalOrRemote",
                               "DP g",
                               "DP mms",
                               "DP InchS",
                               "EmailExceptionsOnUpload",
                               "AutoSendEmailExceptionsOnUpload",
                               "ExportToFolder",
                               "UnicodeOrCSV",
                               "SmtpHost",
                               "SmtpPort",
                               "SmtpSecurity",
                               "SmtpUser",
                               "SmtpFrom",
                               "MeterPort",
                               "ServerDatabase",
                               "RememberedServers",
                               "SmtpAllowPlainAuth"};
    QStringList stored = raw->childKeys();
    stored.sort();
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    EXPECT_EQ(stored, sortedExpected);
    EXPECT_EQ(raw->value(QStringLiteral("BackColor")).toInt(), 16777215);
    EXPECT_EQ(raw->value(QStringLiteral("Band2Name")).toString(), QStringLiteral("Misalignment"));
    EXPECT_EQ(raw->value(QStringLiteral("VibDisplayOption")).toInt(), 2);

    QStringList listed;
    for (const auto& [name, value] : ListSettingValues(read)) {
        listed << name;
    }
    EXPECT_EQ(listed, expected);
}

TEST_F(Settings, OldBandNamesAreMigratedByWholeCaseSensitiveMatch) {
    Put(QStringLiteral("Band1Name"), QStringLiteral("Unbalance"));
    Put(QStringLiteral("Band2Name"), QStringLiteral("Unbalance"));
    Put(QStringLiteral("Band3Name"), QStringLiteral("Alignment"));
    Put(QStringLiteral("Band4Name"), QStringLiteral("Looseness"));
    CSettings read = ReadBack();
    EXPECT_EQ(read.band1Name, QStringLiteral("Unbalance"));
    EXPECT_EQ(read.band2Name, QStringLiteral("Misalignment"));
    EXPECT_EQ(read.band3Name, QStringLiteral("Looseness"));
    EXPECT_EQ(read.band4Name, QStringLiteral("Not Used"));
    ASSERT_TRUE(store.Write(read));
    EXPECT_EQ(Raw()->value(QStringLiteral("Band2Name")).toString(), QStringLiteral("Misalignment"));

    Put(QStringLiteral("Band1Name"), QStringLiteral("Instability"));
    Put(QStringLiteral("Band2Name"), QStringLiteral("unbalance"));
    Put(QStringLiteral("Band3Name"), QStringLiteral("Alignment "));
    read = ReadBack();
    EXPECT_EQ(read.band1Name, QStringLiteral("Unbalance"));
    EXPECT_EQ(read.band2Name, QStringLiteral("unbalance"));
    EXPECT_EQ(read.band3Name, QStringLiteral("Alignment "));
}

TEST_F(Settings, RemoteFoldersKeepFiveSkipGapsAndLeaveNoStaleEntry) {
    CSettings settings;
    settings.remoteFolders = {"/r/1", "/r/2", "/r/3", "/r/4", "/r/5", "/r/6"};
    ASSERT_TRUE(store.Write(settings));
    EXPECT_EQ(ReadBack().remoteFolders, (QStringList{"/r/1", "/r/2", "/r/3", "/r/4", "/r/5"}));
    EXPECT_FALSE(Raw()->contains(QStringLiteral("RemoteFolderPath6")));

    Put(QStringLiteral("RemoteFolderPath2"), QString());
    EXPECT_EQ(ReadBack().remoteFolders, (QStringList{"/r/1", "/r/3", "/r/4", "/r/5"}));

    settings.remoteFolders = {"/s/1", "/s/2"};
    ASSERT_TRUE(store.Write(settings));
    EXPECT_EQ(ReadBack().remoteFolders, (QStringList{"/s/1", "/s/2"}));
    for (const char* gone : {"RemoteFolderPath3", "RemoteFolderPath4", "RemoteFolderPath5"}) {
        EXPECT_FALSE(Raw()->contains(QLatin1String(gone))) << gone;
    }
}

TEST_F(Settings, AddingARemoteFolderPutsItFirstOnceAndCutsTheList) {
    CSettings settings;
    for (const char* folder : {"/a", "/b", "/c", "/d", "/e", "/f"}) {
        settings.AddRemoteFolder(QLatin1String(folder));
    }
    EXPECT_EQ(settings.remoteFolders, (QStringList{"/f", "/e", "/d", "/c", "/b"}));
    settings.AddRemoteFolder(QStringLiteral("/c"));
    EXPECT_EQ(settings.remoteFolders, (QStringList{"/c", "/f", "/e", "/d", "/b"}));
}

TEST_F(Settings, UnreadableValuesKeepTheirDefaultsAndAwkwardTextsRoundTrip) {
    Put(QStringLiteral("DialogLeft"), QStringLiteral("abc"));
    Put(QStringLiteral("AppLook"), QStringLiteral("99999999999"));
    CSettings read = ReadBack();
    EXPECT_EQ(read.dialogLeft, 0);
    EXPECT_EQ(read.appLook, 116);

    read.exportToFolder = QStringLiteral("/data/Plant 2, \"north\"; @old\\x");
    read.language = QStringLiteral("Français");
    read.moveSplitterBy = -40;
    ASSERT_TRUE(store.Write(read));
    const CSettings again = ReadBack();
    EXPECT_EQ(again.exportToFolder, read.exportToFolder);
    EXPECT_EQ(again.language, read.language);
    EXPECT_EQ(again.moveSplitterBy, -40);
}

TEST_F(Settings, PersistAcrossTwoApplicationLifetimes) {
    vantor::testing::RecordingPrompter prompter;
    {
        CAppData first(prompter, edition);
        first.ReadSettings();
        first.settings.vibDisplayOption = 0;
        first.settings.xAxisUnits = 2;
        first.settings.vibStatusColumn2 = -1;
        first.settings.band3Name = QStringLiteral("Bearings");
        ASSERT_TRUE(first.AddRemoteFolder(QStringLiteral("/mnt/plant")));
        first.settings.vibDisplayOption = 1;
        ASSERT_TRUE(first.WriteSettings());
    }
    CAppData second(prompter, edition);
    second.ReadSettings();
    EXPECT_EQ(second.settings.vibDisplayOption, 1);
    EXPECT_EQ(second.settings.xAxisUnits, 2);
    EXPECT_EQ(second.settings.vibStatusColumn2, -1);
    EXPECT_EQ(second.settings.band3Name, QStringLiteral("Bearings"));
    EXPECT_EQ(second.settings.remoteFolders, QStringList{QStringLiteral("/mnt/plant")});
}

TEST_F(Settings, ValuesAreReachableByTheirValueNames) {
    CSettings settings;
    EXPECT_EQ(SettingValue(settings, QStringLiteral("DP g")), QStringLiteral("1"));
    EXPECT_EQ(SettingValue(settings, QStringLiteral("Band4Name")), QStringLiteral("NOT USED"));
    EXPECT_EQ(SettingValue(settings, QStringLiteral("RemoteFolderPath5")), QString());
    EXPECT_EQ(SettingValue(settings, QStringLiteral("RemoteFolderPath6")), std::nullopt);
    EXPECT_EQ(SettingValue(settings, QStringLiteral("dp g")), std::nullopt);

    EXPECT_EQ(SetSettingValue(settings, QStringLiteral("DP g"), QStringLiteral(" 4 ")), SettingUpdate::Done);
    EXPECT_EQ(settings.dpG, 4);
    EXPECT_EQ(SetSettingValue(settings, QStringLiteral("DP g"), QStringLiteral("4.5")),
              SettingUpdate::NotANumber);
    EXPECT_EQ(SetSettingValue(settings, QStringLiteral("BackColor"), QStringLiteral("0xFF")),
              SettingUpdate::NotANumber);
    EXPECT_EQ(settings.dpG, 4);
    EXPECT_EQ(SetSettingValue(settings, QStringLiteral("Colour"), QStringLiteral("1")),
              SettingUpdate::UnknownName);

    EXPECT_EQ(SetSettingValue(settings, QStringLiteral("RemoteFolderPath3"), QStringLiteral("/x")),
              SettingUpdate::Done);
    EXPECT_EQ(settings.remoteFolders, QStringList{QStringLiteral("/x")});
    SetSettingValue(settings, QStringLiteral("RemoteFolderPath2"), QStringLiteral("/y"));
    SetSettingValue(settings, QStringLiteral("RemoteFolderPath1"), QString());
    EXPECT_EQ(settings.remoteFolders, QStringList{QStringLiteral("/y")});
    EXPECT_EQ(SetSettingValue(settings, QStringLiteral("RemoteFolderPath0"), QStringLiteral("/z")),
              SettingUpdate::UnknownName);
}

TEST_F(Settings, MailServerValuesFollowTheOthersAndOnlyTheOwnerReadsTheFile) {
    CSettings written;
    written.smtpHost = QStringLiteral("mail.plant.example");
    written.smtpPort = 587;
    written.smtpSecurity = 1;
    written.smtpUser = QStringLiteral("monitor");
    written.smtpAllowPlainAuth = QStringLiteral("mail.plant.example");
    written.smtpFrom = QStringLiteral("Plant <monitor@plant.example>");
    ASSERT_TRUE(store.Write(written));
    const QFileDevice::Permissions permissions = QFileInfo(store.FilePath()).permissions();
    EXPECT_TRUE(permissions.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_FALSE(permissions & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));
    // Writing again keeps the file private.
    written.smtpPort = 465;
    ASSERT_TRUE(store.Write(written));
    EXPECT_FALSE(QFileInfo(store.FilePath()).permissions() &
                 (QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const CSettings read = ReadBack();
    EXPECT_EQ(read.smtpHost, written.smtpHost);
    EXPECT_EQ(read.smtpPort, 465);
    EXPECT_EQ(read.smtpSecurity, 1);
    EXPECT_EQ(read.smtpUser, written.smtpUser);
    EXPECT_EQ(read.smtpFrom, written.smtpFrom);
    EXPECT_EQ(read.smtpAllowPlainAuth, written.smtpAllowPlainAuth);

    const auto values = ListSettingValues(read);
    ASSERT_GE(values.size(), 6u);
    EXPECT_EQ(values[values.size() - 10].first, "UnicodeOrCSV");
    EXPECT_EQ(values[values.size() - 5].first, "SmtpFrom");
    EXPECT_EQ(values[values.size() - 4].first, "MeterPort");
    EXPECT_EQ(values[values.size() - 2].first, "RememberedServers");
    EXPECT_EQ(values.back().first, "SmtpAllowPlainAuth");
    EXPECT_EQ(CSettings().smtpPort, 25);
    EXPECT_TRUE(CSettings().smtpHost.isEmpty());
}
