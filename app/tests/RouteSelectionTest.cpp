// The check that runs when a route is chosen for the download.
#include "app/RouteSelection.h"
#include "DatabaseFixture.h"
#include "texts/UiText.h"

namespace vantor::testing {
namespace {

class RouteSelectionTest : public DatabaseFixture {
protected:
    void SetUp() override {
        DatabaseFixture::SetUp();
        route.sItemGUID = MakeItemGuid();
        route.sName = QStringLiteral("Boiler house");
        ASSERT_TRUE(Db().UpsertRoute(route));
    }
    void AddToRoute(const CMachine& machine) {
        CRouteItem item;
        item.sItemGUID = MakeItemGuid();
        item.sParentGUID = route.sItemGUID;
        item.fOrder = static_cast<float>(Db().CountRouteItems(route.sItemGUID));
        item.sMachineGUID = machine.sItemGUID;
        item.sMachineName = machine.sName;
        ASSERT_TRUE(Db().UpsertRouteItem(item));
    }
    QStringList MachinesOnRoute() {
        QStringList names;
        for (const CRouteItem& item : Db().ListRouteItems(route.sItemGUID)) {
            names << item.sMachineName;
        }
        return names;
    }
    static QString Removed(const QString& machine) {
        return UiText(text::RouteMachineWithoutPoints) + QStringLiteral(" (") + machine + QLatin1Char(')');
    }
    RouteChoice Choice() const { return {route.sItemGUID, route.sName}; }

    CRoute route;
};

TEST_F(RouteSelectionTest, NothingChosenAsksForASelection) {
    EXPECT_FALSE(AcceptRouteChoice(Db(), {}, prompter));
    EXPECT_FALSE(AcceptRouteChoice(Db(), {route.sItemGUID, {}}, prompter));
    EXPECT_EQ(prompter.Messages(), QStringList(2, UiText(text::PleaseMakeSelection)));
}

TEST_F(RouteSelectionTest, MachinesWithoutPointsLeaveTheRouteEachWithItsMessage) {
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CMachine mixer = AddMachine(QStringLiteral("Mixer"));
    AddPoint(pump, QStringLiteral("Motor DE"));
    AddToRoute(fan);
    AddToRoute(pump);
    AddToRoute(mixer);

    EXPECT_TRUE(AcceptRouteChoice(Db(), Choice(), prompter));
    EXPECT_EQ(prompter.Messages(),
              (QStringList{Removed(QStringLiteral("Fan")), Removed(QStringLiteral("Mixer"))}));
    EXPECT_EQ(MachinesOnRoute(), QStringList{QStringLiteral("Pump")});
    // The machines themselves stay in the catalogue.
    CMachine kept;
    EXPECT_TRUE(Db().GetMachine(fan.sItemGUID, kept));

    // A second check of the cleaned route passes silently.
    prompter.records.clear();
    EXPECT_TRUE(AcceptRouteChoice(Db(), Choice(), prompter));
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(RouteSelectionTest, ARouteLeftEmptyIsRefusedAndStaysOpen) {
    AddToRoute(AddMachine(QStringLiteral("Fan")));
    AddToRoute(AddMachine(QStringLiteral("Pump")));

    EXPECT_FALSE(AcceptRouteChoice(Db(), Choice(), prompter));
    EXPECT_EQ(prompter.Messages(),
              (QStringList{Removed(QStringLiteral("Fan")), Removed(QStringLiteral("Pump")),
                           UiText(text::RouteWithoutMachines)}));
    EXPECT_TRUE(MachinesOnRoute().isEmpty());

    prompter.records.clear();
    EXPECT_FALSE(AcceptRouteChoice(Db(), Choice(), prompter));
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::RouteWithoutMachines)});
}

TEST_F(RouteSelectionTest, AnItemNamingAMissingMachineIsRemovedLikeOneWithoutPoints) {
    CMachine gone;
    gone.sItemGUID = MakeItemGuid();
    gone.sName = QStringLiteral("Scrapped");
    AddToRoute(gone);
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    AddPoint(pump, QStringLiteral("Motor DE"));
    AddToRoute(pump);

    EXPECT_TRUE(AcceptRouteChoice(Db(), Choice(), prompter));
    EXPECT_EQ(prompter.Messages(), QStringList{Removed(QStringLiteral("Scrapped"))});
    EXPECT_EQ(MachinesOnRoute(), QStringList{QStringLiteral("Pump")});
}

} // namespace
} // namespace vantor::testing
