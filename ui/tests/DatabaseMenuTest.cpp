// The Connection menu of the main window on real databases in folders standing in for a share.
#include "ui/window/DatabaseMenu.h"

#include "app/DatabaseSwitch.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/Schema.h"
#include "texts/UiText.h"
#include "ui/window/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

class DatabaseMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        CAppData setup(prompter, Edition::For(2, 0));
        ASSERT_TRUE(InitDataRoot(setup));
        ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
        menu = window.Databases();
        menu->SetFolderChooser([this](const QString& caption, const QString&) {
            captions << caption;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    QString Share(const QString& name) {
        const QString folder = QDir(env.Root()).filePath(QStringLiteral("share/") + name);
        QDir().mkpath(folder + QStringLiteral("/Database"));
        EXPECT_TRUE(CreateEmptyDatabase(RemoteDatabaseFile(app, folder), nullptr));
        return folder;
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
    MainWindow window{app};
    DatabaseMenu* menu = nullptr;
    QStringList answers;
    QStringList captions;
};

TEST_F(DatabaseMenuTest, SelectingFoldersSwitchesAndKeepsFiveEntriesWithCheckMarks) {
    EXPECT_TRUE(menu->LocalAction()->isChecked());
    EXPECT_FALSE(menu->RemoteAction()->isEnabled()); // nothing remembered yet
    EXPECT_EQ(menu->ExportToOtherAction()->text().remove(u'&'), UiText(text::ExportToRemoteDb));
    QStringList folders;
    for (int i = 1; i <= 6; ++i) {
        folders << Share(QStringLiteral("Site%1").arg(i));
        answers << folders.back();
        menu->SelectAction()->trigger();
    }
    EXPECT_EQ(captions.front(), UiText(text::SelectRemoteFolder));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Remote Database (Site6)"));
    EXPECT_TRUE(menu->RemoteAction()->isChecked());
    EXPECT_FALSE(menu->LocalAction()->isChecked());
    EXPECT_EQ(menu->ExportToOtherAction()->text().remove(u'&'), UiText(text::ExportToLocalDb));
    ASSERT_EQ(menu->FolderActions().size(), 5u);
    EXPECT_EQ(menu->FolderActions()[0]->data().toInt(), DatabaseMenu::kFirstFolderCommandId);
    EXPECT_EQ(menu->FolderActions()[4]->data().toInt(), DatabaseMenu::kFirstFolderCommandId + 4);
    EXPECT_TRUE(menu->FolderActions()[4]->text().endsWith(QStringLiteral("Site2")));
    EXPECT_TRUE(menu->FolderActions()[0]->isChecked());

    menu->FolderActions()[2]->trigger(); // Site4 moves to the front
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Remote Database (Site4)"));
    EXPECT_TRUE(menu->FolderActions()[0]->text().endsWith(QStringLiteral("Site4")));

    menu->LocalAction()->trigger();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Local Database"));
    EXPECT_TRUE(menu->LocalAction()->isChecked());
    EXPECT_FALSE(menu->FolderActions()[0]->isChecked());
    EXPECT_TRUE(prompter.Messages().isEmpty());
}

TEST_F(DatabaseMenuTest, CreatedRemoteDatabaseIsUsedAtTheNextStart) {
    const QString location = QDir(env.Root()).filePath(QStringLiteral("share"));
    QDir().mkpath(location);
    answers << location;
    prompter.yesNoAnswers = {true};
    menu->CreateAction()->trigger();
    EXPECT_TRUE(app.remoteDatabaseInUse);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Remote Database (Vantor Remote DB)"));

    // A second program starts on the remote database the settings name.
    vantor::testing::RecordingPrompter otherPrompter;
    CAppData other(otherPrompter, Edition::For(2, 0));
    other.ReadSettings(); // as the program does on entry
    MainWindow second(other);
    ASSERT_TRUE(second.Initialise(QStringLiteral("Corvane")));
    EXPECT_TRUE(other.remoteDatabaseInUse);
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Corvane - Remote Database (Vantor Remote DB)"));
    EXPECT_TRUE(otherPrompter.Messages().isEmpty()); // this computer's own programs never block
}

} // namespace
