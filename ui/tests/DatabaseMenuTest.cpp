// The Connection menu of the main window on real databases in folders standing in for a share.
#include "ui/window/DatabaseMenu.h"

#include "app/DatabaseSwitch.h"
#include "app/ServerDatabase.h"
#include "platform/testing/PostgresCluster.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/Schema.h"
#include "store/ServerSchema.h"
#include "texts/UiText.h"
#include "ui/window/MainWindow.h"
#include "ui/window/ServerDatabaseDialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
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

TEST_F(DatabaseMenuTest, ServerDialogExplainsARefusalInPlaceAndConnectsTheWindowToTheServer) {
    vantor::testing::PostgresCluster& cluster = vantor::testing::PostgresCluster::Shared();
    ASSERT_TRUE(cluster.Ready()) << "the test PostgreSQL cluster did not start: "
                                 << cluster.Error().toStdString();
    const QString url = cluster.CreateDatabase();
    ASSERT_FALSE(url.isEmpty()) << cluster.Error().toStdString();

    ServerDatabaseDialog dialog(app, &window);
    struct Case {
        QString address;
        const char* says;
    };
    for (const Case& c :
         {Case{QStringLiteral("host= = ="), "cannot be read"}, Case{url, "holds no Vantor tables yet"}}) {
        dialog.Address()->setCurrentText(c.address);
        EXPECT_FALSE(dialog.Test());
        EXPECT_TRUE(dialog.Result()->text().contains(QLatin1String(c.says)))
            << dialog.Result()->text().toStdString();
        EXPECT_FALSE(dialog.Connect()); // the dialog stays open with the reason
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(app.server.has_value());
    }
    EXPECT_TRUE(menu->LocalAction()->isChecked());

    {
        SqlConnection setup(*ServerAddress::Parse(url));
        ASSERT_TRUE(setup.Open());
        ASSERT_EQ(InitServerSchema(setup), SchemaInit::Created);
    }
    EXPECT_TRUE(dialog.Test());
    EXPECT_TRUE(dialog.Result()->text().startsWith(QStringLiteral("Connected to")))
        << dialog.Result()->text().toStdString();
    ASSERT_TRUE(dialog.Connect());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(app.server.has_value());
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("Corvane - Server Database (")))
        << window.windowTitle().toStdString();
    EXPECT_TRUE(menu->ServerAction()->isChecked());
    EXPECT_FALSE(menu->LocalAction()->isChecked());

    // Back to the local file; the server is offered again next time.
    menu->LocalAction()->trigger();
    EXPECT_FALSE(app.server.has_value());
    EXPECT_TRUE(menu->LocalAction()->isChecked());
    EXPECT_FALSE(menu->ServerAction()->isChecked());
    const ServerDatabaseDialog again(app, &window);
    EXPECT_GE(again.Address()->findText(ServerAddress::Parse(url)->ToStorable()), 0);
}
