// The Connection menu of the main window on real databases in folders standing in for a share.
#include "ui/window/DatabaseMenu.h"

#include "app/DatabaseSwitch.h"
#include "app/ServerDatabase.h"
#include "platform/testing/PostgresCluster.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/DataFile.h"
#include "store/MainConnection.h"
#include "store/Schema.h"
#include "store/ServerSchema.h"
#include "texts/UiText.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"
#include "ui/tests/DataFileTesting.h"
#include "ui/window/MainWindow.h"
#include "ui/window/ServerDatabaseDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSqlQuery>
#include <QTimer>

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

// A meter with one reading waiting for upload on a pseudo-terminal.
std::unique_ptr<sim::MeterEmulator> MeterWithAReading() {
    sim::Scenario scenario;
    QString error;
    EXPECT_TRUE(sim::ParseScenario(R"({
        "assets": [{"guid": "0a1b2c3d-0000-4000-8000-00000000000a", "name": "Fan 3"}],
        "points": [{"asset": "0a1b2c3d-0000-4000-8000-00000000000a",
                    "guid": "0a1b2c3d-0000-4000-8000-0000000000b1", "name": "DE H", "runSpeedHz": 24.5}],
        "readings": [{"point": 0, "slot": 0, "taken": "2026-11-10T09:10:00Z"}]})",
                                   scenario, error))
        << error.toStdString();
    return sim::MeterEmulator::OnPseudoTerminal(sim::MeterResponder(scenario.state, scenario.faults), error);
}

QAction* MenuBarAction(QMainWindow& window, int textId) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text().remove(u'&') == UiText(textId)) {
            return action;
        }
    }
    return nullptr;
}

int MachinesIn(const QString& databaseFile) {
    StoreContext context;
    context.databaseFile = databaseFile;
    CMainConnection db(context);
    return db.Open() ? static_cast<int>(db.ListMachines().size()) : -1;
}

int ReadingsIn(const QString& databaseFile) {
    StoreContext context;
    context.databaseFile = databaseFile;
    CMainConnection db(context);
    if (!db.Open()) {
        return -1;
    }
    QSqlQuery query(db.Connection().Database());
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM tblVibReadings")) && query.next()
               ? query.value(0).toInt()
               : -1;
}

// Closes whatever modal dialog an action that should have stopped opened, so such a fault fails
// the test rather than hanging it.
class ModalCloser {
public:
    ModalCloser() {
        timer_.callOnTimeout([] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        timer_.start(3000);
    }

private:
    QTimer timer_;
};

TEST_F(DatabaseMenuTest, ARemoteDatabaseRefusedAtStartLeavesNoDatabaseAndNoWorkGoesToTheLocalOne) {
    const QString folder = Share(QStringLiteral("Shared"));
    const QString remoteFile = RemoteDatabaseFile(app, folder);
    const QString localFile = app.folders.databaseFile;
    // The settings name the remote database; another computer holds it open.
    app.settings.AddRemoteFolder(folder);
    app.settings.localOrRemote = 1;
    ASSERT_TRUE(app.WriteSettings());
    {
        QFile lock(folder + QStringLiteral("/Database/VantorV1.ldb"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(FormatLockFile({{QStringLiteral("OTHERPC"), 1, QDateTime::currentDateTimeUtc()}}));
    }
    const QString dataFile = env.Root() + QStringLiteral("/plant.rmd");
    ASSERT_NO_FATAL_FAILURE(vantor::testing::WriteDataFileOfOneMachine(dataFile));
    const auto meter = MeterWithAReading();
    ASSERT_NE(meter, nullptr);

    vantor::testing::RecordingPrompter otherPrompter;
    CAppData other(otherPrompter, Edition::For(2, 0));
    other.ReadSettings();
    other.settings.meterPort = meter->DevicePath();
    MainWindow second(other);
    ASSERT_TRUE(second.Initialise(QStringLiteral("Corvane")));
    const QString inUse = UiText(text::RemoteDatabaseInUse) + QStringLiteral("\r\n\r\nUser1: OTHERPC\r\n");
    EXPECT_EQ(otherPrompter.Messages(), (QStringList{inUse, RemoteUnavailableStopText()}));
    EXPECT_EQ(other.MainConnection(), nullptr);
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Corvane - Remote Database (Shared)"));
    EXPECT_TRUE(second.Databases()->RemoteAction()->isChecked());
    EXPECT_FALSE(second.Databases()->LocalAction()->isChecked());

    // Every action that would write stops with the reason; the meter keeps its reading.
    const ModalCloser closer;
    QAction* fromMeter = MenuBarAction(second, text::FromMeter);
    ASSERT_NE(fromMeter, nullptr);
    const std::vector<std::function<void()>> actions{
        [&] { EXPECT_EQ(second.ImportFile(dataFile), DataFileOutcome::Failed); },
        [&] { fromMeter->trigger(); },
        [&] { MenuBarAction(second, text::ToMeter)->trigger(); },
        [&] { second.ImportCatalogueAction()->trigger(); },
        [&] { second.Databases()->ExportToOtherAction()->trigger(); },
        // Trying the remote database again while it is held stays without a database.
        [&] { second.Databases()->RemoteAction()->trigger(); },
    };
    for (std::size_t i = 0; i < actions.size(); ++i) {
        otherPrompter.records.clear();
        actions[i]();
        ASSERT_FALSE(otherPrompter.Messages().isEmpty()) << i;
        EXPECT_EQ(otherPrompter.Messages().back(), RemoteUnavailableStopText()) << i;
        EXPECT_EQ(other.MainConnection(), nullptr) << i;
    }
    EXPECT_NE(meter->State().points.at(0).newData, 0u);
    EXPECT_EQ(MachinesIn(localFile), 0);
    EXPECT_EQ(ReadingsIn(localFile), 0);
    EXPECT_EQ(MachinesIn(remoteFile), 0);

    // The user chooses the local database: now the work goes there.
    otherPrompter.records.clear();
    second.Databases()->LocalAction()->trigger();
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Corvane - Local Database"));
    otherPrompter.yesNoAnswers = {true};
    EXPECT_EQ(second.ImportFile(dataFile), DataFileOutcome::Done);
    EXPECT_EQ(MachinesIn(localFile), 1);
}

TEST_F(DatabaseMenuTest, ASwitchFromOneRemoteDatabaseToAHeldOneDoesNotLandInTheLocalDatabase) {
    const QString first = Share(QStringLiteral("First"));
    const QString held = Share(QStringLiteral("Held"));
    answers << first;
    menu->SelectAction()->trigger();
    ASSERT_TRUE(app.remoteDatabaseInUse);
    {
        QFile lock(held + QStringLiteral("/Database/VantorV1.ldb"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(FormatLockFile({{QStringLiteral("OTHERPC"), 1, QDateTime::currentDateTimeUtc()}}));
    }
    answers << held;
    menu->SelectAction()->trigger();
    EXPECT_EQ(app.MainConnection(), nullptr);
    EXPECT_EQ(prompter.Messages().back(), RemoteUnavailableStopText());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Remote Database (Held)"));
    // The first one again, from its menu entry.
    menu->FolderActions()[1]->trigger();
    EXPECT_TRUE(app.remoteDatabaseInUse);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Remote Database (First)"));
}

TEST_F(DatabaseMenuTest, AnUploadOnARemoteDatabaseThatVanishedStopsAndLeavesTheMeterItsReadings) {
    const QString folder = Share(QStringLiteral("Share"));
    answers << folder;
    menu->SelectAction()->trigger();
    ASSERT_TRUE(app.remoteDatabaseInUse);
    const auto meter = MeterWithAReading();
    ASSERT_NE(meter, nullptr);
    app.settings.meterPort = meter->DevicePath();
    ASSERT_TRUE(QDir(folder).removeRecursively()); // the share is gone
    const ModalCloser closer;
    prompter.records.clear();
    MenuBarAction(window, text::FromMeter)->trigger();
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::RemoteConnectionLost)});
    EXPECT_NE(meter->State().points.at(0).newData, 0u);
    EXPECT_EQ(ReadingsIn(app.folders.databaseFile), 0);
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
