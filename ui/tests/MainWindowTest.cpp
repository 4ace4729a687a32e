#include "ui/window/MainWindow.h"

#include "app/Startup.h"
#include "archive/ArchiveWriter.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/DataFile.h"
#include "store/MainConnection.h"
#include "store/Schema.h"
#include "texts/UiText.h"
#include "ui/common/MainWindowTexts.h"
#include "ui/tests/DataFileTesting.h"
#include "ui/window/DisplayCommands.h"
#include "ui/window/MachineStatusTable.h"
#include "ui/window/MachineTreeModel.h"
#include <VantorLabel/VantorLabelCtrl.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

using namespace vantor;
using namespace std::chrono_literals;

namespace {

void WriteArchive(const QString& path, const std::function<void(ArchiveWriter&)>& fill) {
    QByteArray bytes;
    ArchiveWriter writer(bytes);
    fill(writer);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An installed French pack: the descriptor and "Francais.vpl" with a few translated entries.
void InstallFrenchPack(const QString& languageFolder) {
    const QDateTime date(QDate(2012, 3, 4), QTime(5, 6));
    WriteArchive(QDir(languageFolder).filePath(QStringLiteral("LangPack.vpl")), [&](ArchiveWriter& w) {
        w.WriteFloat(kPackFormatVersion);
        w.WriteFloat(kLanguageSetVersion);
        w.WriteDateTime(date);
        for (const char* text : {"Set", "Set-A", "Set-B"}) {
            w.WriteString(QLatin1String(text));
        }
    });
    WriteArchive(QDir(languageFolder).filePath(QStringLiteral("Francais.vpl")), [&](ArchiveWriter& w) {
        w.WriteFloat(kPackFormatVersion);
        w.WriteDateTime(date);
        for (const char* text : {"Français", "Set-A", "Set-B"}) {
            w.WriteString(QString::fromUtf8(text));
        }
        w.WriteInt32(UiTextCount);
        for (int i = 0; i < UiTextCount; ++i) {
            QString translated = EnglishDefaultText(i);
            if (i == text::FileMenu) {
                translated = QStringLiteral("Fichier");
            } else if (i == text::Exit) {
                translated = QStringLiteral("Quitter");
            } else if (i == text::LocalDatabase) {
                translated = QStringLiteral("Base locale");
            } else if (i == text::Language) {
                translated = QStringLiteral("Langue"); // entry 9 always reads "Language"
            } else if (i == text::window::Machines) {
                translated = QStringLiteral("Machines (FR)");
            } else if (i == text::window::LatestMachineStatus) {
                translated = QStringLiteral("Dernier état");
            } else if (i == text::StatusNoReadings) {
                translated = QStringLiteral("Pas de mesures");
            } else if (i == text::window::BoldOnOff) {
                translated = QStringLiteral("Gras");
            }
            w.WriteString(translated);
        }
    });
}

QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << QStringLiteral("%1 %2%3")
                     .arg(action->data().toInt())
                     .arg(action->text(), action->isChecked() ? QStringLiteral(" *") : QString());
    }
    return texts;
}

} // namespace

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CAppData setup(prompter, Edition::For(2, 0));
        ASSERT_TRUE(InitDataRoot(setup));
    }
    void TearDown() override { UiTextTable::ResetToDefaults(); }

    QString SettingsValue(const QString& name) {
        QSettings raw(SettingsStore(app.edition).FilePath(), QSettings::IniFormat);
        return raw.value(QStringLiteral("Settings/") + name).toString();
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
    QStringList imported;
    MainWindow window{app, [this](const QString& path) { imported << path; }, 1ms};
};

TEST_F(MainWindowTest, StartsWithTheTitleTheMenusAndEnglishAlone) {
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Local Database"));
    EXPECT_EQ(MenuTexts(window.LanguageMenu()), QStringList{QStringLiteral("9000 English *")});
    EXPECT_EQ(window.LanguageMenu()->title(), QStringLiteral("&Language"));
    EXPECT_NE(window.findChild<QWidget*>(QStringLiteral("MachineTreeArea")), nullptr);
    EXPECT_TRUE(prompter.records.empty());
    // Every menu-bar entry and every item has its own keyboard mnemonic.
    QStringList bar;
    for (const QAction* action : window.menuBar()->actions()) {
        bar << action->text();
    }
    const QStringList expectedBar{"&File",          "&Set-up",   "&Connection", "&To Meter", "F&rom Meter",
                                  "R&eport Wizard", "&Language", "&App Look",   "&Help"};
    EXPECT_EQ(bar, expectedBar) << qPrintable(bar.join(QLatin1Char('|')));
    EXPECT_EQ(window.menuBar()->actions().at(0)->menu()->actions().at(0)->text(),
              QStringLiteral("&Import..."));
}

// Every entry of every menu, triggered after the database connection has gone: each one either says
// why it cannot work or does nothing, and none lets an exception out of its handler or ends the
// program. Dialogs it opens are closed as they appear; Exit is left for last.
// Two ways for every query to fail: the connection gone (a dropped server, a lost share), or an open
// database whose tables are gone, where every statement fails as it runs.
class FailingDatabaseTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FailingDatabaseTest, EveryMenuEntryOutlivesADatabaseThatFailsEveryQuery) {
    // A table that cannot be read is tried again after documented waits; here they are short.
    app.columnDiscovery.retryWait = 1ms;
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    window.show();
    SqlConnection& connection = app.MainConnection()->Connection();
    if (GetParam()) {
        connection.Close();
    } else {
        for (const QString& table : connection.Database().tables()) {
            connection.Execute(QStringLiteral("DROP TABLE [%1]").arg(table));
        }
        ASSERT_TRUE(connection.Database().tables().isEmpty());
    }
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* menu = qobject_cast<QMenu*>(top); menu != nullptr && menu->isVisible()) {
                menu->close();
            }
        }
    });
    closer.start(20);
    // A menu rebuilt by an entry (languages, looks) deletes its old entries: those are passed over.
    std::vector<QPointer<QAction>> entries;
    std::function<void(const QMenu*)> collect = [&](const QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr) {
                collect(action->menu());
            } else if (!action->isSeparator()) {
                entries.push_back(action);
            }
        }
    };
    for (const QAction* top : window.menuBar()->actions()) {
        if (top->menu() != nullptr) {
            collect(top->menu());
        }
    }
    ASSERT_GT(entries.size(), 30u);
    int triggered = 0;
    for (const QPointer<QAction>& action : entries) {
        if (action.isNull()) {
            continue;
        }
        if (action->text() == UiText(text::Exit) ||
            action->text().remove(QLatin1Char('&')) == UiText(text::Exit)) {
            continue;
        }
        SCOPED_TRACE(action->text().toStdString());
        EXPECT_NO_THROW(action->trigger());
        QApplication::processEvents();
        ++triggered;
        ASSERT_TRUE(window.isVisible()) << "after " << action->text().toStdString();
    }
    EXPECT_GT(triggered, 30);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, FailingDatabaseTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "ConnectionClosed" : "TablesGone";
                         });

TEST_F(MainWindowTest, TheStatusBarCaptionsShowTheDatabaseAndTheLastRunInItsColour) {
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    EXPECT_EQ(window.DatabaseCaption()->property("Caption").toString(), QStringLiteral("Local Database"));
    struct Case {
        SyncOutcome outcome;
        QString caption;
        short color;
    };
    const Case cases[] = {
        {{0, QStringLiteral("Sync Completed"), {}, 3, {}, {}, {}},
         QStringLiteral("Sync Completed - 3 Readings uploaded"),
         4},
        {{-1014, QStringLiteral("Sync Aborted"), {}, 1, {}, {}, {}},
         QStringLiteral("Sync Aborted - 1 Reading uploaded"),
         2},
    };
    for (const Case& c : cases) {
        window.ShowSyncOutcome(c.outcome);
        EXPECT_EQ(window.SyncCaption()->property("Caption").toString(), c.caption);
        EXPECT_EQ(window.SyncCaption()->property("Color").toInt(), c.color);
    }
}

TEST_F(MainWindowTest, ChoosingALanguageRefreshesTheWindowAndIsStoredOnClose) {
    InstallFrenchPack(env.CommonAppData() + QStringLiteral("/Norhall Instruments/Corvane/Language"));
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    window.show();
    EXPECT_EQ(MenuTexts(window.LanguageMenu()),
              (QStringList{QStringLiteral("9000 English *"), QStringLiteral("9001 Français")}));

    window.LanguageMenu()->actions().at(1)->trigger();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Base locale"));
    // The tree, the status table and the display commands re-read their captions.
    MachineTreeModel* tree = window.TreeModel();
    EXPECT_EQ(tree->data(tree->PlantIndex()).toString(), QStringLiteral("Machines (FR)"));
    EXPECT_EQ(tree->data(tree->PlantIndex(), Qt::ToolTipRole).toString(),
              QStringLiteral("Machines (FR)\nPas de mesures"));
    EXPECT_EQ(window.StatusTable()->Title(), QStringLiteral("Dernier état"));
    EXPECT_EQ(window.Display()->BoldAction()->text(), QStringLiteral("&Gras"));
    EXPECT_EQ(window.LanguageMenu()->title(), QStringLiteral("&Language"));
    EXPECT_EQ(window.menuBar()->actions().at(0)->text(), QStringLiteral("&Fichier"));
    EXPECT_EQ(MenuTexts(window.LanguageMenu()),
              (QStringList{QStringLiteral("9000 English"), QStringLiteral("9001 Français *")}));
    EXPECT_EQ(app.settings.language, QStringLiteral("Français"));

    window.close();
    EXPECT_EQ(SettingsValue(QStringLiteral("Language")), QStringLiteral("Français"));
    EXPECT_GT(SettingsValue(QStringLiteral("DialogRight")).toInt(),
              SettingsValue(QStringLiteral("DialogLeft")).toInt());

    window.ChooseLanguage(9000);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvane - Local Database"));
    window.ChooseLanguage(9005); // no such item: nothing changes
    EXPECT_EQ(app.settings.language, QStringLiteral("English"));
}

TEST_F(MainWindowTest, AFailedStartShowsItsMessageAndClosesTheWindow) {
    window.show();
    EXPECT_FALSE(window.Initialise(QStringLiteral("corvane")));
    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("App name and exe Name don't match.")});
    EXPECT_TRUE(app.shuttingDown);
    EXPECT_FALSE(window.isVisible());
    // A window that never started stores nothing when it closes.
    EXPECT_FALSE(QFile::exists(SettingsStore(app.edition).FilePath()));
}

TEST_F(MainWindowTest, ASecurityWarningLaterOnClosesTheWindow) {
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    window.show();
    app.SecurityWarning();
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_TRUE(prompter.Messages()[0].startsWith(QStringLiteral("Security Warning:")));
    EXPECT_TRUE(app.shuttingDown);
    QTRY_VERIFY(!window.isVisible());
}

TEST_F(MainWindowTest, TheCommandLineFileIsImportedOnceTheWindowIsReady) {
    window.SetPendingDataFile(QStringLiteral("/d/plant.rmd"));
    QTest::qWait(10);
    EXPECT_TRUE(imported.isEmpty());
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    QTRY_COMPARE(imported, QStringList{QStringLiteral("/d/plant.rmd")});

    window.ReceiveDataFile(QStringLiteral("/d/other.RMD"));
    window.ReceiveDataFile(QStringLiteral("/d/second.rmd"));
    QTRY_COMPARE(imported.size(), 2);
    EXPECT_EQ(imported.back(), QStringLiteral("/d/second.rmd"));
}

TEST_F(MainWindowTest, TheStoredPlacementComesBack) {
    app.settings.dialogLeft = 40;
    app.settings.dialogTop = 50;
    app.settings.dialogRight = 840;
    app.settings.dialogBottom = 650;
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    EXPECT_EQ(window.geometry().size(), QSize(800, 600));
}

TEST(MainWindowImport, APendingDataFileIsImportedAfterTheReplaceQuestion) {
    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    const QString dataFile = env.Root() + QStringLiteral("/handed-over.rmd");
    ASSERT_NO_FATAL_FAILURE(vantor::testing::WriteDataFileOfOneMachine(dataFile));
    CAppData app(prompter, Edition::For(2, 0));
    ASSERT_TRUE(InitDataRoot(app));
    MainWindow window(app, {}, 1ms);
    window.SetPendingDataFile(dataFile);
    prompter.yesNoAnswers = {true};
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !app.MainConnection()->ListMachines().empty(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return prompter.Texts().size() == 2; }, 5000));
    EXPECT_EQ(prompter.Texts().at(0), UiText(text::ImportReplaceQuestion));
    EXPECT_TRUE(prompter.Texts().at(1).startsWith(QStringLiteral("handed-over.rmd\r\nMachines: 1\r\n")));
    EXPECT_EQ(app.MainConnection()->ListMachines().at(0).sName, QStringLiteral("Pump"));
    UiTextTable::ResetToDefaults();
}
