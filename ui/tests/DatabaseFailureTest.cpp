// The desktop's dialogs on a database that has become unreadable under them: every action ends in a
// message and the dialog goes on; nothing escapes into the event loop. And the event loop's last
// resort, which catches what would otherwise end the program.
#include "app/CatalogueEditor.h"
#include "app/LastResort.h"
#include "app/RouteEditor.h"
#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"
#include "ui/common/SelectVibPointDialog.h"
#include "ui/setup/EditableList.h"
#include "ui/setup/MachineManagerDialog.h"
#include "ui/setup/RouteManagerDialog.h"
#include "ui/sync/SelectRouteDialog.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

using namespace vantor;

namespace {

Q_LOGGING_CATEGORY(lcTest, "vantor.ui.test", QtFatalMsg) // the caught errors stay quiet here

// A fresh data root with two machines, each with two vibration points, on one route.
struct Plant {
    Plant() {
        app = std::make_unique<CAppData>(prompter);
        EXPECT_TRUE(InitDataRoot(*app));
        EXPECT_TRUE(RunHeadlessStartup(*app));
        CatalogueEditor editor(*app->MainConnection(), prompter);
        for (const QString& name : {QStringLiteral("Fan"), QStringLiteral("Pump")}) {
            CMachine machine;
            machine.sName = machine.sVMName = name;
            machines << editor.SaveMachine(machine, {}).value();
            for (const QString& point : {QStringLiteral("DE"), QStringLiteral("NDE")}) {
                CVib vib;
                vib.sParentGUID = machines.back();
                vib.sName = vib.sVMName = point;
                vib.fRunSpeedHz = 25;
                vibs << editor.SaveVib(vib).value();
            }
        }
        RouteEditor routes(*app->MainConnection(), prompter);
        route = routes.AddRoute(QStringLiteral("North")).value();
        items = routes.AddMachines(route, machines).value();
    }

    // Every table the dialogs read is dropped behind the record access layer's back.
    void MakeUnreadable() {
        QSqlQuery query(app->MainConnection()->Connection().Database());
        for (const char* table : {"tblRouteItems", "tblRoutes", "tblVibs", "tblLubes", "tblMachines"}) {
            EXPECT_TRUE(query.exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))));
        }
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    QStringList machines, vibs, items;
    QString route;
};

template <class D> EditableList* ListOf(D& dialog, const char* name) {
    auto* list = dialog.template findChild<EditableList*>(QLatin1String(name));
    EXPECT_NE(list, nullptr) << name;
    return list;
}

TEST(DatabaseFailure, EveryManagerActionOnAnUnreadableDatabaseEndsInAMessage) {
    struct Open {
        Plant& plant;
        CMachineManagerDialog machines{*plant.app};
        CRouteManagerDialog routes{*plant.app};
    };
    struct Case {
        const char* name;
        std::function<void(Plant&, Open&)> act; // runs on the unreadable database
    };
    const Case cases[] = {
        {"open the machine manager", [](Plant& p, Open&) { CMachineManagerDialog dialog(*p.app); }},
        {"edit a machine",
         [](Plant& p, Open& o) { emit ListOf(o.machines, "Machines")->editRequested(p.machines[0]); }},
        {"delete a machine",
         [](Plant& p, Open& o) { emit ListOf(o.machines, "Machines")->deleteRequested(p.machines[0]); }},
        {"move a machine",
         [](Plant& p, Open& o) { emit ListOf(o.machines, "Machines")->moveRequested(p.machines[0], 1); }},
        {"select another machine",
         [](Plant& p, Open& o) { ListOf(o.machines, "Machines")->List()->SelectGuid(p.machines[1]); }},
        {"add a vibration point",
         [](Plant&, Open& o) { emit ListOf(o.machines, "VibPoints")->addRequested(); }},
        {"edit a vibration point",
         [](Plant& p, Open& o) { emit ListOf(o.machines, "VibPoints")->editRequested(p.vibs[0]); }},
        {"delete a vibration point",
         [](Plant& p, Open& o) { emit ListOf(o.machines, "VibPoints")->deleteRequested(p.vibs[0]); }},
        {"move a vibration point",
         [](Plant& p, Open& o) { emit ListOf(o.machines, "VibPoints")->moveRequested(p.vibs[0], 1); }},
        {"add a lubrication point",
         [](Plant&, Open& o) { emit ListOf(o.machines, "LubePoints")->addRequested(); }},
        {"open the route manager", [](Plant& p, Open&) { CRouteManagerDialog dialog(*p.app); }},
        {"rename a route",
         [](Plant& p, Open& o) { emit ListOf(o.routes, "Routes")->editRequested(p.route); }},
        {"delete a route",
         [](Plant& p, Open& o) { emit ListOf(o.routes, "Routes")->deleteRequested(p.route); }},
        {"list a route's machines",
         [](Plant& p, Open& o) {
             ListOf(o.routes, "Routes")->List()->clearSelection();
             ListOf(o.routes, "Routes")->List()->SelectGuid(p.route);
         }},
        {"remove a machine from a route",
         [](Plant& p, Open& o) { emit ListOf(o.routes, "RouteItems")->deleteRequested(p.items[0]); }},
        {"open the route chooser", [](Plant& p, Open&) { CSelectRouteDialog dialog(*p.app); }},
        {"confirm the route chooser",
         [](Plant& p, Open&) {
             CSelectRouteDialog dialog(*p.app, p.route);
             dialog.accept();
         }},
        {"open the point chooser", [](Plant& p, Open&) { CSelectVibPointDialog dialog(*p.app); }},
        {"open the machine chooser", [](Plant& p, Open&) { CSelectMachinesDialog dialog(*p.app, true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Plant plant;
        Open open{plant};
        ASSERT_TRUE(plant.prompter.records.empty());
        plant.MakeUnreadable();
        EXPECT_NO_THROW(c.act(plant, open));
        const QStringList messages = plant.prompter.Messages();
        ASSERT_FALSE(messages.isEmpty());
        EXPECT_TRUE(messages.contains(UiText(text::ErrorLoadingRecord)) ||
                    messages.contains(UiText(text::ErrorSavingRecord)))
            << messages.join(QLatin1Char('|')).toStdString();
    }
}

TEST(LastResort, AnErrorReachingTheEventLoopIsCaughtAndADatabaseErrorShown) {
    vantor::testing::RecordingPrompter prompter;
    EXPECT_TRUE(DeliverGuarded([] { return true; }, &prompter, QStringLiteral("QWidget"), lcTest()));
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw DatabaseError(QStringLiteral("disk I/O error")); },
                                &prompter, QStringLiteral("QPushButton"), lcTest()));
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw std::runtime_error("other"); }, &prompter,
                                QStringLiteral("QPushButton"), lcTest()));
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw DatabaseError(QStringLiteral("gone")); }, nullptr,
                                QStringLiteral("QTimer"), lcTest()));
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::ConnectionErrorTryAgain)});
}

} // namespace
