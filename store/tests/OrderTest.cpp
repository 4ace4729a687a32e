#include "StoreFixture.h"

using namespace vantor;
using namespace vantor::testing;

using Order = OnBothEngines<>;
VANTOR_ON_BOTH_ENGINES(Order);

TEST_P(Order, NewRowBeforeTheFirstSiblingSortsFirstAndRenumberingCompacts) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib a = AddVib(pump.sItemGUID, QStringLiteral("A"));
    const CVib b = AddVib(pump.sItemGUID, QStringLiteral("B"));
    EXPECT_EQ(a.fOrder, 0.0f);
    EXPECT_EQ(b.fOrder, 1.0f);
    EXPECT_EQ(db->NextOrder(ItemKind::VibPoints, pump.sItemGUID), 2.0f);

    CVib first;
    first.sItemGUID = MakeItemGuid();
    first.sParentGUID = pump.sItemGUID;
    first.sName = QStringLiteral("New");
    first.fOrder = db->NextOrder(ItemKind::VibPoints, pump.sItemGUID, a.sItemGUID);
    EXPECT_EQ(first.fOrder, -0.1f);
    ASSERT_TRUE(db->UpsertVib(first));
    db->RenumberOrder(static_cast<int>(ItemKind::VibPoints), pump.sItemGUID);

    const auto vibs = db->ListVibs(pump.sItemGUID);
    ASSERT_EQ(vibs.size(), 3u);
    EXPECT_EQ(vibs[0].sItemGUID, first.sItemGUID);
    EXPECT_EQ(vibs[0].fOrder, 0.0f);
    EXPECT_EQ(vibs[1].sItemGUID, a.sItemGUID);
    EXPECT_EQ(vibs[1].fOrder, 1.0f);
    EXPECT_EQ(vibs[2].fOrder, 2.0f);
}

TEST_P(Order, ANewRowAfterGapsIsAppendedAtTheCount) {
    AddMachine(QStringLiteral("A"));
    const CMachine b = AddMachine(QStringLiteral("B"));
    AddMachine(QStringLiteral("C"));
    ASSERT_TRUE(db->DeleteMachine(b.sItemGUID));
    EXPECT_EQ(db->NextOrder(ItemKind::Machines, {}), 2.0f);
    EXPECT_EQ(db->NextOrder(ItemKind::Machines, {}, QStringLiteral("{unknown}")), 2.0f);
}

TEST_P(Order, ListsThatNeedAParentRefuseAnEmptyOne) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    AddVib(pump.sItemGUID, QStringLiteral("A"));
    EXPECT_EQ(db->NextOrder(ItemKind::VibPoints, {}), -1.0f);
    EXPECT_EQ(db->NextOrder(ItemKind::LubePoints, {}), -1.0f);
    EXPECT_EQ(db->NextOrder(ItemKind::RouteItems, {}), -1.0f);
    EXPECT_EQ(db->NextOrder(ItemKind::Routes, {}), 0.0f);
}

TEST_P(Order, RenumberingIgnoresEmptyParentsAndUnknownKinds) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    CVib odd = AddVib(pump.sItemGUID, QStringLiteral("A"));
    odd.fOrder = 7.5f;
    ASSERT_TRUE(db->UpsertVib(odd));
    CMachine machine = pump;
    machine.fOrder = 4.0f;
    ASSERT_TRUE(db->UpsertMachine(machine));
    for (int kind : {0, 2, 3, 5, 6, 7, 9}) {
        db->RenumberOrder(kind, {});
    }
    CVib vib;
    ASSERT_TRUE(db->GetVib(odd.sItemGUID, vib));
    EXPECT_EQ(vib.fOrder, 7.5f);
    ASSERT_TRUE(db->GetMachine(pump.sItemGUID, machine));
    EXPECT_EQ(machine.fOrder, 4.0f);
    db->RenumberOrder(1, {});
    ASSERT_TRUE(db->GetMachine(pump.sItemGUID, machine));
    EXPECT_EQ(machine.fOrder, 0.0f);
}
