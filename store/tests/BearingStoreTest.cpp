// The bearing library's tables: added to an older file on opening (with the starter bearings, once),
// the documented tables left as they were, and no assignment outliving its bearing or its point.
#include "StoreFixture.h"

#include "store/BearingStore.h"
#include "store/StarterBearings.h"

#include <QSqlRecord>

using namespace vantor;
using namespace vantor::testing;

class BearingStore : public StoreFixture {
protected:
    CBearing AddBearing(const QString& designation) {
        CBearingStore store(*db);
        CBearing bearing;
        bearing.sItemGUID = MakeItemGuid();
        bearing.fOrder = store.NextBearingOrder();
        bearing.sDesignation = designation;
        bearing.fFTF = 0.4f;
        bearing.fBSF = 2.3f;
        bearing.fBPFO = 3.5f;
        bearing.fBPFI = 5.5f;
        EXPECT_TRUE(store.UpsertBearing(bearing));
        return bearing;
    }

    CPointBearing Assign(const CVib& point, const CBearing& bearing, const QString& location) {
        CBearingStore store(*db);
        CPointBearing assignment;
        assignment.sItemGUID = MakeItemGuid();
        assignment.sParentGUID = point.sItemGUID;
        assignment.fOrder = store.NextPointBearingOrder(point.sItemGUID);
        assignment.sBearingGUID = bearing.sItemGUID;
        assignment.sLocation = location;
        EXPECT_TRUE(store.UpsertPointBearing(assignment));
        return assignment;
    }

    QStringList Locations(const CVib& point) {
        QStringList locations;
        for (const CPointBearing& assignment : CBearingStore(*db).ListPointBearings(point.sItemGUID)) {
            locations << QStringLiteral("%1@%2").arg(assignment.sLocation).arg(assignment.fOrder);
        }
        return locations;
    }

    void Reopen() {
        db->Close();
        db = std::make_unique<CMainConnection>(context);
        ASSERT_TRUE(db->Open());
    }
};

TEST_F(BearingStore, AnOlderFileGainsTheTablesAndTheStarterBearingsOnceAndKeepsItsOwnTables) {
    // The fixture's file was made with the ten documented tables only; opening added the library.
    CBearingStore store(*db);
    const std::vector<CBearing> starters = StarterBearings();
    std::vector<CBearing> listed = store.ListBearings();
    ASSERT_EQ(listed.size(), starters.size());
    for (std::size_t i = 0; i < starters.size(); ++i) {
        EXPECT_EQ(listed[i].sItemGUID, starters[i].sItemGUID);
        EXPECT_EQ(listed[i].sDesignation, starters[i].sDesignation);
        EXPECT_FALSE(listed[i].sSource.isEmpty()) << listed[i].sDesignation.toStdString();
    }
    EXPECT_EQ(db->Connection().Database().record(QStringLiteral("tblVibs")).count(), 12);
    EXPECT_EQ(db->Connection().Database().record(QStringLiteral("tblVibReadings")).count(), 34);

    // A starter bearing the user deleted stays deleted: the list is filled only when the table is made.
    ASSERT_TRUE(store.DeleteBearing(starters.front().sItemGUID));
    Reopen();
    listed = CBearingStore(*db).ListBearings();
    EXPECT_EQ(listed.size(), starters.size() - 1);
    EXPECT_EQ(listed.front().fOrder, 0.0f);
}

TEST_F(BearingStore, AFileWithOnlyTheBearingTableGainsTheAssignmentTableAndKeepsItsBearings) {
    Execute(QStringLiteral("DROP TABLE tblPointBearings"));
    Execute(QStringLiteral("DELETE FROM tblBearings"));
    const CBearing own = AddBearing(QStringLiteral("Own"));
    Reopen();
    const std::vector<CBearing> listed = CBearingStore(*db).ListBearings();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed.front().sItemGUID, own.sItemGUID);
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddVib(pump.sItemGUID, QStringLiteral("NDE"));
    Assign(point, own, QStringLiteral("Pump NDE"));
    EXPECT_EQ(CBearingStore(*db).CountPointBearings(point.sItemGUID), 1);
}

TEST_F(BearingStore, DeletingABearingRemovesItsAssignmentsAndRenumbersTheRest) {
    const CBearing a = AddBearing(QStringLiteral("A"));
    const CBearing b = AddBearing(QStringLiteral("B"));
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CVib motor = AddVib(fan.sItemGUID, QStringLiteral("Motor"));
    const CVib shaft = AddVib(fan.sItemGUID, QStringLiteral("Shaft"));
    Assign(motor, a, QStringLiteral("Motor DE"));
    Assign(motor, b, QStringLiteral("Motor NDE"));
    Assign(shaft, a, QStringLiteral("Fan DE"));

    ASSERT_TRUE(CBearingStore(*db).DeleteBearing(a.sItemGUID));
    EXPECT_EQ(Locations(motor), QStringList{QStringLiteral("Motor NDE@0")});
    EXPECT_TRUE(Locations(shaft).isEmpty());
    CBearing gone;
    EXPECT_FALSE(CBearingStore(*db).GetBearing(a.sItemGUID, gone));
    EXPECT_TRUE(CBearingStore(*db).ListAssignmentsOf(a.sItemGUID).empty());
}

TEST_F(BearingStore, DeletingAPointOrItsMachineRemovesItsAssignments) {
    const CBearing a = AddBearing(QStringLiteral("A"));
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CVib de = AddVib(pump.sItemGUID, QStringLiteral("DE"));
    const CVib nde = AddVib(pump.sItemGUID, QStringLiteral("NDE"));
    const CVib fanPoint = AddVib(fan.sItemGUID, QStringLiteral("Fan"));
    Assign(de, a, QStringLiteral("Pump DE"));
    Assign(nde, a, QStringLiteral("Pump NDE"));
    Assign(fanPoint, a, QStringLiteral("Fan DE"));

    ASSERT_TRUE(db->DeleteVib(de.sItemGUID));
    EXPECT_EQ(CBearingStore(*db).ListAssignmentsOf(a.sItemGUID).size(), 2u);
    ASSERT_TRUE(db->RemoveMachine(pump.sItemGUID));
    const std::vector<CPointBearing> left = CBearingStore(*db).ListAssignmentsOf(a.sItemGUID);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.front().sParentGUID, fanPoint.sItemGUID);
}

TEST_F(BearingStore, ReplacingAPointsBearingsKeepsTheirOrderAndRefusesAFifth) {
    const CBearing a = AddBearing(QStringLiteral("A"));
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddVib(pump.sItemGUID, QStringLiteral("DE"));
    Assign(point, a, QStringLiteral("Old"));
    std::vector<CPointBearing> four;
    for (const char* location : {"Motor DE", "Motor NDE", "Pump DE", "Pump NDE"}) {
        CPointBearing assignment;
        assignment.sBearingGUID = a.sItemGUID;
        assignment.sLocation = QString::fromLatin1(location);
        assignment.fSpeedRatio = 1.5f;
        four.push_back(assignment);
    }
    CBearingStore store(*db);
    ASSERT_TRUE(store.ReplacePointBearings(point.sItemGUID, four));
    EXPECT_EQ(Locations(point), (QStringList{QStringLiteral("Motor DE@0"), QStringLiteral("Motor NDE@1"),
                                             QStringLiteral("Pump DE@2"), QStringLiteral("Pump NDE@3")}));
    EXPECT_EQ(store.ListPointBearings(point.sItemGUID).front().fSpeedRatio, 1.5f);

    four.push_back(four.front());
    EXPECT_FALSE(store.ReplacePointBearings(point.sItemGUID, four));
    EXPECT_EQ(store.CountPointBearings(point.sItemGUID), kBearingsPerPoint);

    const CPointBearing second = store.ListPointBearings(point.sItemGUID)[1];
    ASSERT_TRUE(store.DeletePointBearing(second.sItemGUID));
    EXPECT_EQ(Locations(point), (QStringList{QStringLiteral("Motor DE@0"), QStringLiteral("Pump DE@1"),
                                             QStringLiteral("Pump NDE@2")}));
}
