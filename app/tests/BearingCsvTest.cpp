// The bearing library's spreadsheet and editor: the round trip, row refusals that store nothing,
// matching rows to stored bearings, and the checks on a point's bearings.
#include "app/BearingCsv.h"
#include "DatabaseFixture.h"
#include "analysis/BearingFactors.h"
#include "app/BearingEditor.h"
#include "store/BearingStore.h"
#include "store/StarterBearings.h"
#include "store/Validation.h"

#include <limits>

namespace vantor::testing {
namespace {

const QByteArray kHeader = "Designation,Maker,Rolling elements,Element diameter mm,Pitch diameter mm,"
                           "Contact angle deg,FTF,BSF,BPFO,BPFI,Source,Bearing GUID\r\n";

class BearingCsvTest : public DatabaseFixture {
protected:
    CBearingStore Store() { return CBearingStore(Db()); }

    BearingImportPlan Import(const QByteArray& csv) {
        CBearingStore store = Store();
        BearingImportPlan plan = PlanBearingImport(store, csv);
        if (plan.Ok()) {
            EXPECT_TRUE(ApplyBearingImport(Db(), plan));
        }
        return plan;
    }
    QStringList Designations() {
        QStringList names;
        for (const CBearing& bearing : Store().ListBearings()) {
            names << bearing.sDesignation;
        }
        return names;
    }
};

TEST_F(BearingCsvTest, ExportImportIntoAnEmptyLibraryExportsTheSameFile) {
    BearingEditor editor(Db(), prompter);
    CBearing published;
    published.sDesignation = QStringLiteral("22216 E, \"spherical\"");
    published.sMaker = QStringLiteral("Maker; Ltd");
    published.fFTF = 0.4211f;
    published.fBSF = 2.9104f;
    published.fBPFO = 7.1579f;
    published.fBPFI = 9.8421f;
    ASSERT_TRUE(editor.SaveBearing(published));
    CBearingStore store = Store();
    const QByteArray before = ExportBearingCsv(store);
    EXPECT_TRUE(before.startsWith(kHeader));
    // A geometry row leaves the factors empty; a factor row the geometry.
    EXPECT_TRUE(before.contains("6205-2RS JEM,SKF,9,7.94,39.04,0,,,,,"));
    EXPECT_TRUE(before.contains(",,,,0.4211,2.9104,7.1579,9.8421,"));

    ASSERT_TRUE(Exec(QStringLiteral("DELETE FROM tblBearings")));
    const BearingImportPlan plan = Import(before);
    ASSERT_TRUE(plan.Ok()) << plan.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(plan.Summary(), QStringLiteral("Bearings: 6 new, 0 updated"));
    CBearingStore again = Store();
    EXPECT_EQ(ExportBearingCsv(again), before);
}

TEST_F(BearingCsvTest, EveryRowIsCheckedAndOneBadRowStoresNothing) {
    const QStringList stored = Designations();
    const struct {
        QByteArray row;
        QString error;
    } cases[] = {
        {"Z2,,2,7.94,39.04,0,,,,,,", "line 3: the number of rolling elements must be from 3 to 200"},
        {"D0,,9,0,39.04,0,,,,,,", "line 3: the rolling-element diameter must be a finite number above 0"},
        {"DD,,9,40,39.04,,,,,,,",
         "line 3: the pitch diameter (39.04 mm) must be greater than the rolling-element "
         "diameter (40 mm)"},
        {"Phi,,9,7.94,39.04,90,,,,,,", "line 3: the contact angle must be at least 0 and below 90 degrees"},
        {"Crowded,,20,10,40,0,,,,,,",
         "line 3: 20 rolling elements of 10 mm do not fit on a pitch diameter of 40 mm"},
        {"Half,,9,7.94,,0,,,,,,", "line 3: Pitch diameter mm: Please input a Number."},
        {"Frac,,9.5,7.94,39.04,0,,,,,,", "line 3: the number of rolling elements must be a whole number"},
        {"F0,,,,,,0,2,3,5,,", "line 3: FTF must be above 0 and below 1000"},
        {"Fneg,,,,,,0.4,2,-3,5,,", "line 3: BPFO must be above 0 and below 1000"},
        {"F3,,,,,,0.4,2,3,,,", "line 3: BPFI: Please input a Number."},
        {"Both,,9,7.94,39.04,0,0.4,2,3,5,,", "line 3: give the geometry or the four factors, not both"},
        {"None,,,,,,,,,,,", "line 3: give the geometry (rolling elements, diameters) or the four factors"},
        {",,9,7.94,39.04,0,,,,,,", "line 3: a bearing needs its designation"},
        {"Good,,9,7.94,39.04,0,,,,,,", "line 3: the same bearing is on line 2"},
        {"X,,9,7.94,39.04,0,,,,,,{not-a-guid}", "line 3: Bearing GUID is not a GUID"},
    };
    for (const auto& c : cases) {
        const BearingImportPlan plan = Import(kHeader + "Good,,9,7.94,39.04,0,,,,,,\r\n" + c.row + "\r\n");
        EXPECT_EQ(plan.errors, QStringList{c.error}) << c.row.toStdString();
        EXPECT_EQ(Designations(), stored) << c.row.toStdString();
    }
    EXPECT_EQ(Import("Maker,Source\r\nx,y\r\n").errors,
              QStringList{QStringLiteral("line 1: the header has no column \"Designation\"")});
    EXPECT_EQ(Import("Designation,Width\r\n").errors,
              QStringList{QStringLiteral("line 1: unknown column \"Width\"")});
}

TEST_F(BearingCsvTest, RowsUpdateTheirBearingByGuidOrByDesignationAndMaker) {
    const CBearing driveEnd = StarterBearings().front();
    // Semicolons with decimal commas; the designation in other case still names the stored bearing.
    const BearingImportPlan plan = Import("designation;maker;FTF;BSF;BPFO;BPFI\r\n6205-2rs "
                                          "jem;skf;0,4;2,3;3,6;5,4\r\nNew;;0,4;2,3;3,6;5,4\r\n");
    ASSERT_TRUE(plan.Ok()) << plan.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(plan.Summary(), QStringLiteral("Bearings: 1 new, 1 updated"));
    CBearing updated;
    ASSERT_TRUE(Store().GetBearing(driveEnd.sItemGUID, updated));
    EXPECT_EQ(updated.iRollingElements, 0);
    EXPECT_FLOAT_EQ(updated.fBPFO, 3.6f);
    EXPECT_EQ(updated.fOrder, 0.0f);
    EXPECT_EQ(Designations().last(), QStringLiteral("New"));

    const QByteArray byGuid =
        kHeader + "Renamed,SKF,9,7.94,39.04,0,,,,,," + driveEnd.sItemGUID.toLatin1() + "\r\n";
    ASSERT_TRUE(Import(byGuid).Ok());
    ASSERT_TRUE(Store().GetBearing(driveEnd.sItemGUID, updated));
    EXPECT_EQ(updated.sDesignation, QStringLiteral("Renamed"));
    EXPECT_NEAR(FactorsOf(updated).bpfi, 5.4152, 5e-5);
}

// Numbers are judged as their float columns keep them, texts for control characters, by one check
// for the sheet and the editor (`bearing add`): the same bearing gets the same refusal from both.
TEST_F(BearingCsvTest, SheetAndEditorRefuseWhatTheFloatColumnsOrTheListCannotHold) {
    const QStringList stored = Designations();
    const QString control = QStringLiteral(
        "Designation, maker and source cannot contain line breaks, tabs or other control characters");
    const struct {
        QByteArray row;
        QString error;
    } cases[] = {
        {"Huge,,9,7.94,1e300,0,,,,,,", "Pitch diameter mm: 1e+300 is not a finite number"},
        {"Tiny,,9,1e-300,39.04,0,,,,,,", "the rolling-element diameter must be a finite number above 0"},
        {"Speck,,9,0.01,39.04,0,,,,,,",
         "a rolling element of 0.01 mm is too small for a pitch diameter of 39.04 mm (the ball spin would "
         "reach 1000 orders)"},
        {"Angle,,9,7.94,39.04,-1e300,,,,,,", "Contact angle deg: -1e+300 is not a finite number"},
        {"Ftiny,,,,,,1e-300,2,3,5,,", "FTF must be above 0 and below 1000"},
        {"Finf,,,,,,0.4,2,3,1e39,,", "BPFI: 1e+39 is not a finite number"},
        {"Tab\tX,,9,7.94,39.04,0,,,,,,", control},
        {"Soh\x01,,9,7.94,39.04,0,,,,,,", control},
        {"Esc\x1b[2J,,9,7.94,39.04,0,,,,,,", control},
        {QByteArray("Nul") + QByteArray(1, '\0') + "X,,9,7.94,39.04,0,,,,,,", control},
        {"Ok,Maker\x7f,9,7.94,39.04,0,,,,,,", control},
        {"Ok,,9,7.94,39.04,0,,,,,Rig\x1b,", control},
    };
    BearingEditor editor(Db(), prompter);
    for (const auto& c : cases) {
        const BearingImportPlan plan = Import(kHeader + c.row + "\r\n");
        EXPECT_EQ(plan.errors, QStringList{QStringLiteral("line 2: ") + c.error}) << c.row.toStdString();
        EXPECT_EQ(Designations(), stored) << c.row.toStdString();

        // The same bearing through the editor, its numbers as `bearing add` stores them.
        const QList<QByteArray> cells = c.row.split(',');
        const auto number = [&cells](int i) {
            return AsStoredFloat(cells[i].isEmpty() ? 0.0 : cells[i].toDouble());
        };
        CBearing bearing;
        bearing.sDesignation = QString::fromUtf8(cells[0]);
        bearing.sMaker = QString::fromUtf8(cells[1]);
        bearing.iRollingElements = cells[2].toInt();
        bearing.fRollingElementDiameterMM = number(3);
        bearing.fPitchDiameterMM = number(4);
        bearing.fContactAngleDeg = number(5);
        bearing.fFTF = number(6);
        bearing.fBSF = number(7);
        bearing.fBPFO = number(8);
        bearing.fBPFI = number(9);
        bearing.sSource = QString::fromUtf8(cells[10]);
        EXPECT_FALSE(editor.SaveBearing(bearing)) << c.row.toStdString();
        EXPECT_TRUE(prompter.Messages().last().startsWith(QStringLiteral("Bearing refused: ")))
            << prompter.Messages().last().toStdString();
        EXPECT_EQ(Designations(), stored) << c.row.toStdString();
    }
    // A speed ratio is judged as stored too: 1e-300 is 0 there.
    const CVib point = AddPoint(AddMachine(QStringLiteral("Fan")), QStringLiteral("DE"));
    for (const double ratio : {1e-300, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(
            editor.AssignBearing(point.sItemGUID, QStringLiteral("UER204"), QStringLiteral("Fan"), ratio))
            << ratio;
    }
    EXPECT_FALSE(editor.AssignBearing(point.sItemGUID, QStringLiteral("UER204"), QStringLiteral("Fan\tDE")));
    EXPECT_EQ(Store().CountPointBearings(point.sItemGUID), 0);
}

TEST_F(BearingCsvTest, EditorRefusesAbsurdBearingsAndAFifthBearingOnAPoint) {
    BearingEditor editor(Db(), prompter);
    CBearing absurd;
    absurd.sDesignation = QStringLiteral("Absurd");
    absurd.iRollingElements = 9;
    absurd.fRollingElementDiameterMM = 40;
    absurd.fPitchDiameterMM = 39.04f;
    EXPECT_FALSE(editor.SaveBearing(absurd));
    EXPECT_TRUE(prompter.Messages().last().startsWith(QStringLiteral("Bearing refused: the pitch diameter")));
    EXPECT_FALSE(Designations().contains(QStringLiteral("Absurd")));

    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib nde = AddPoint(pump, QStringLiteral("NDE"));
    for (const char* location : {"Pump NDE", "Pump DE", "Motor DE", "Motor NDE"}) {
        ASSERT_TRUE(editor.AssignBearing(nde.sItemGUID, QStringLiteral("6205-2RS JEM"),
                                         QString::fromLatin1(location)));
    }
    EXPECT_FALSE(editor.AssignBearing(nde.sItemGUID, QStringLiteral("UER204"), QStringLiteral("Fan")));
    EXPECT_EQ(prompter.Messages().last(), QStringLiteral("4 bearings per point at most"));
    EXPECT_FALSE(editor.AssignBearing(nde.sItemGUID, QStringLiteral("no such"), QStringLiteral("Fan")));
    EXPECT_EQ(prompter.Messages().last(),
              QStringLiteral("No bearing has the GUID or designation \"no such\""));

    const CVib de = AddPoint(pump, QStringLiteral("DE"));
    EXPECT_FALSE(editor.AssignBearing(de.sItemGUID, QStringLiteral("UER204"), QStringLiteral(" ")));
    EXPECT_FALSE(editor.AssignBearing(de.sItemGUID, QStringLiteral("UER204"), QStringLiteral("Fan"), 0.0));
    EXPECT_FALSE(editor.AssignBearing(de.sItemGUID, QStringLiteral("UER204"), QStringLiteral("Fan"), 101.0));
    ASSERT_TRUE(editor.AssignBearing(de.sItemGUID, QStringLiteral("UER204"), QStringLiteral("Fan"), 2.5));

    // Deleting the bearing asks first; No keeps everything, Yes leaves the points one bearing fewer.
    const QString driveEnd = StarterBearings().front().sItemGUID;
    prompter.yesNoAnswers = {false, true};
    EXPECT_EQ(editor.DeleteBearing(driveEnd), EditOutcome::Declined);
    EXPECT_EQ(Store().CountPointBearings(nde.sItemGUID), 4);
    EXPECT_EQ(editor.DeleteBearing(driveEnd), EditOutcome::Done);
    EXPECT_TRUE(prompter.Texts().contains(
        QStringLiteral("Delete the bearing 6205-2RS JEM? 4 point bearing(s) will lose it.")));
    EXPECT_EQ(Store().CountPointBearings(nde.sItemGUID), 0);
    EXPECT_EQ(Store().CountPointBearings(de.sItemGUID), 1);
}

} // namespace
} // namespace vantor::testing
