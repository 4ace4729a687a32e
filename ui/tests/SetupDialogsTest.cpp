// The route choice, off-route readings and meter names dialogs under the offscreen platform.
#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "texts/UiText.h"
#include "ui/common/RecordList.h"
#include "ui/common/SelectVibPointDialog.h"
#include "ui/setup/DeviceNamesDialog.h"
#include "ui/sync/OffRouteDialog.h"
#include "ui/sync/SelectRouteDialog.h"
#include "ui/window/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

class SetupDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        sync = app->MakeSyncConnection();
        ASSERT_TRUE(sync->Open());
    }
    CMainConnection& Db() { return *app->MainConnection(); }
    CRoute AddRoute(const QString& name) {
        CRoute route{MakeItemGuid(), static_cast<float>(Db().ListRoutes().size()), name};
        EXPECT_TRUE(Db().UpsertRoute(route));
        return route;
    }
    CVib AddMachineWithPoint(const QString& machineName, const QString& pointName) {
        CMachine machine{MakeItemGuid(), 0, machineName, machineName, {}};
        EXPECT_TRUE(Db().UpsertMachine(machine));
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = pointName;
        EXPECT_TRUE(Db().UpsertVib(point));
        return point;
    }
    static QStringList VisibleHeaders(const RecordList& list) {
        QStringList headers;
        for (int column = 0; column < list.columnCount(); ++column) {
            if (!list.isColumnHidden(column)) {
                headers << list.headerItem()->text(column);
            }
        }
        return headers;
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    std::unique_ptr<CRecordSyncConnection> sync;
};

TEST_F(SetupDialogsTest, RouteTreeSelectsTheHeldRouteOrTheFirstAndDoubleClickActsAsOk) {
    const CRoute first = AddRoute(QStringLiteral("East"));
    const CRoute second = AddRoute(QStringLiteral("West"));
    CSelectRouteDialog fresh(*app);
    EXPECT_EQ(fresh.windowTitle(), UiText(text::SelectRouteTitle));
    ASSERT_EQ(fresh.Tree()->topLevelItemCount(), 1);
    QTreeWidgetItem* root = fresh.Tree()->topLevelItem(0);
    EXPECT_EQ(root->text(0), UiText(text::ListOfRoutes));
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(fresh.Choice().guid, first.sItemGUID);

    CSelectRouteDialog held(*app, second.sItemGUID);
    EXPECT_EQ(held.Choice().guid, second.sItemGUID);
    EXPECT_EQ(held.Choice().name, QStringLiteral("West"));

    // The root is no route: OK asks for a selection and the dialog stays.
    held.Tree()->setCurrentItem(held.Tree()->topLevelItem(0));
    EXPECT_TRUE(held.Choice().guid.isEmpty());
    held.accept();
    EXPECT_EQ(held.result(), QDialog::Rejected);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::PleaseMakeSelection)});

    // A route whose machine has points closes the dialog with OK on a double-click.
    const CVib point = AddMachineWithPoint(QStringLiteral("Fan"), QStringLiteral("Motor DE"));
    CRouteItem item{MakeItemGuid(), second.sItemGUID, 0, point.sParentGUID, QStringLiteral("Fan")};
    ASSERT_TRUE(Db().UpsertRouteItem(item));
    QTreeWidgetItem* west = held.Tree()->topLevelItem(0)->child(1);
    held.Tree()->setCurrentItem(west);
    emit held.Tree()->itemDoubleClicked(west, 0);
    EXPECT_EQ(held.result(), QDialog::Accepted);
}

TEST_F(SetupDialogsTest, OffRouteListShowsItsColumnsAndCommandsNeedASelection) {
    const CVib point = AddMachineWithPoint(QStringLiteral("Fan"), QStringLiteral("Motor DE"));
    COffRouteReading reading;
    reading.sItemGUID = MakeItemGuid();
    reading.ctDateTaken = QDateTime(QDate(2024, 5, 6), QTime(9, 15, 30));
    reading.fISOMMS = 2.5f;
    ASSERT_TRUE(sync->UpsertOffRouteReading(reading));

    COffRouteDialog dialog(*app);
    ASSERT_TRUE(dialog.IsOpen());
    EXPECT_EQ(dialog.windowTitle(), UiText(text::OffRouteReadingsTitle));
    RecordList& list = *dialog.List();
    EXPECT_EQ(VisibleHeaders(list), OffRouteReadingList::Headers(DisplayUnits()));
    EXPECT_EQ(list.columnCount(), 6);
    EXPECT_TRUE(list.isColumnHidden(5));
    EXPECT_FALSE(list.header()->sectionsClickable());
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(list.topLevelItem(0)->text(5), reading.sItemGUID);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("2.500"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("ExitButton"))->text(), UiText(text::Exit));

    // The commands are in the context menu and on buttons, each enabled only with a selection.
    const auto enabled = [&dialog] {
        return std::vector<bool>{dialog.DeleteCommand()->isEnabled(), dialog.MoveToCommand()->isEnabled(),
                                 dialog.DeleteButton()->isEnabled(), dialog.MoveToButton()->isEnabled()};
    };
    EXPECT_EQ(enabled(), std::vector<bool>(4, false));
    EXPECT_EQ(list.ContextMenu()->actions().size(), 2);
    EXPECT_EQ(dialog.MoveToButton()->text(), dialog.MoveToCommand()->text());
    list.topLevelItem(0)->setSelected(true);
    EXPECT_EQ(enabled(), std::vector<bool>(4, true));

    // Move To through the point dialog: choose the point and press OK.
    QTimer::singleShot(0, [] {
        auto* chooser = qobject_cast<CSelectVibPointDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), UiText(text::SelectVibPointTitle));
        QTreeWidgetItem* machine = chooser->Tree()->topLevelItem(0);
        ASSERT_EQ(machine->childCount(), 1);
        chooser->Tree()->setCurrentItem(machine->child(0));
        chooser->accept();
    });
    int treeRebuilds = 0;
    QObject::connect(&dialog, &COffRouteDialog::machinesChanged, [&treeRebuilds] { ++treeRebuilds; });
    dialog.MoveToButton()->click();
    EXPECT_EQ(treeRebuilds, 1);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_EQ(enabled(), std::vector<bool>(4, false));
    EXPECT_EQ(Db().ListVibReadings(point.sItemGUID).size(), 1u);
}

TEST_F(SetupDialogsTest, DeviceListShowsOrderNameAndSerialAndDeletesThroughItsMenu) {
    ASSERT_TRUE(
        sync->UpsertDevice({MakeItemGuid(), 4, QStringLiteral("Line 1"), QStringLiteral("SN-A"), {}}));
    ASSERT_TRUE(
        sync->UpsertDevice({MakeItemGuid(), 9, QStringLiteral("Line 2"), QStringLiteral("SN-B"), {}}));
    CDeviceNamesDialog dialog(*app);
    ASSERT_TRUE(dialog.IsOpen());
    EXPECT_EQ(dialog.windowTitle(), UiText(text::DeviceNamesTitle));
    RecordList& list = *dialog.List();
    EXPECT_EQ(VisibleHeaders(list), DeviceNameList::Headers());
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(1)->text(0), QStringLiteral("2"));
    EXPECT_EQ(list.topLevelItem(1)->text(1), QStringLiteral("Line 2"));
    EXPECT_EQ(list.topLevelItem(1)->text(2), QStringLiteral("SN-B"));
    EXPECT_FALSE(dialog.RenameCommand()->isEnabled());
    EXPECT_FALSE(dialog.DeleteCommand()->isEnabled());

    list.topLevelItem(0)->setSelected(true);
    ASSERT_TRUE(dialog.DeleteCommand()->isEnabled());
    prompter.yesNoAnswers = {true};
    dialog.DeleteCommand()->trigger();
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("1"));
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("Line 2"));
}

TEST_F(SetupDialogsTest, ListsCloseAtOnceWithoutADatabase) {
    sync.reset();
    ASSERT_TRUE(QFile::remove(app->MakeStoreContext().databaseFile));
    COffRouteDialog offRoute(*app);
    EXPECT_FALSE(offRoute.IsOpen());
    EXPECT_EQ(offRoute.exec(), QDialog::Rejected);
    CDeviceNamesDialog devices(*app);
    EXPECT_FALSE(devices.IsOpen());
    EXPECT_EQ(devices.exec(), QDialog::Rejected);
}

TEST_F(SetupDialogsTest, MainWindowHasASetupMenuWithBothListsAndTheMeterCommands) {
    MainWindow window(*app);
    QStringList menus;
    QStringList setup;
    for (QAction* action : window.menuBar()->actions()) {
        // The texts carry their keyboard mnemonics.
        menus << action->text().remove(QLatin1Char('&'));
        if (menus.last() == UiText(text::SetupMenu)) {
            for (QAction* item : action->menu()->actions()) {
                setup << item->text().remove(QLatin1Char('&'));
            }
        }
    }
    EXPECT_TRUE(menus.contains(UiText(text::SetupMenu)));
    EXPECT_TRUE(menus.contains(UiText(text::ToMeter)));
    EXPECT_TRUE(menus.contains(UiText(text::FromMeter)));
    // The catalogue editors and the bearing library come first, then the two lists, the display
    // settings after them.
    EXPECT_EQ(
        setup.mid(0, 6),
        (QStringList{UiText(text::MachineManagerTitle) + "...", UiText(text::RouteManagerTitle) + "...",
                     UiText(text::added::Bearings) + "...", QString(),
                     UiText(text::OffRouteReadingsTitle) + "...", UiText(text::DeviceNamesTitle) + "..."}));
}

} // namespace
