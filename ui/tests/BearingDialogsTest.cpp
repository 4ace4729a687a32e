// The bearing library dialog, a bearing's own dialog and the point set-up's bearing section under
// the offscreen platform, on a fresh database with the starter library.
#include "analysis/BearingFactors.h"
#include "app/CatalogueEditor.h"
#include "app/tests/DatabaseFixture.h"
#include "store/StarterBearings.h"
#include "ui/setup/BearingLibraryDialog.h"
#include "ui/setup/PointBearingsSection.h"
#include "ui/setup/PointSetupDialogs.h"
#include "ui/tests/DialogTesting.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace vantor {
namespace {

class BearingDialogsTest : public testing::DatabaseFixture {
protected:
    // A new point on a new machine, not stored yet.
    CVib NewPoint() {
        CVib vib;
        vib.sParentGUID = AddMachine(QStringLiteral("Pump")).sItemGUID;
        vib.sName = QStringLiteral("NDE");
        vib.sVMName = QStringLiteral("NDE");
        vib.fRunSpeedHz = 29.988f;
        return vib;
    }
    std::vector<CPointBearing> StoredOf(const QString& point) {
        return CBearingStore(Db()).ListPointBearings(point);
    }
};

// A bearing typed in by its geometry: the factors follow what is typed, a bad geometry is refused
// with the dialog left open, and the library finds the new bearing by its designation.
TEST_F(BearingDialogsTest, LibrarySearchesAndAddsABearingByGeometry) {
    CBearingLibraryDialog library(*app);
    EXPECT_EQ(library.ShownGuids().size(), static_cast<qsizetype>(StarterBearings().size()));
    library.SetSearch(QStringLiteral("620"));
    EXPECT_EQ(library.ShownGuids(),
              (QStringList{StarterBearings()[0].sItemGUID, StarterBearings()[1].sItemGUID}));
    library.SetSearch(QStringLiteral("no such bearing"));
    EXPECT_TRUE(library.ShownGuids().isEmpty());

    BearingEditor editor(Db(), prompter);
    CBearingDialog dialog(editor, CBearing{});
    dialog.findChild<QLineEdit*>(QStringLiteral("Designation"))->setText(QStringLiteral("6206"));
    dialog.findChild<QSpinBox*>(QStringLiteral("RollingElements"))->setValue(9);
    dialog.findChild<QDoubleSpinBox*>(QStringLiteral("ElementDiameter"))->setValue(9.525);
    dialog.findChild<QDoubleSpinBox*>(QStringLiteral("PitchDiameter"))->setValue(46.0);
    const QLabel* computed = dialog.findChild<QLabel*>(QStringLiteral("ComputedFactors"));
    const BearingFactors f = FactorsFromGeometry({9, 9.525, 46.0, 0});
    EXPECT_TRUE(computed->text().contains(QString::number(f.bpfo, 'f', 4))) << computed->text().toStdString();
    EXPECT_FALSE(dialog.findChild<QDoubleSpinBox*>(QStringLiteral("BPFO"))->isEnabled());
    dialog.findChild<QDoubleSpinBox*>(QStringLiteral("PitchDiameter"))->setValue(9.0);
    EXPECT_FALSE(computed->text().contains(QStringLiteral("BPFO"))) << computed->text().toStdString();
    dialog.accept(); // refused: the message is shown, nothing stored, the dialog stays
    EXPECT_TRUE(dialog.SavedGuid().isEmpty());
    EXPECT_TRUE(prompter.Messages().last().startsWith(QStringLiteral("Bearing refused")));
    dialog.findChild<QDoubleSpinBox*>(QStringLiteral("PitchDiameter"))->setValue(46.0);
    dialog.accept();
    ASSERT_FALSE(dialog.SavedGuid().isEmpty());
    CBearing stored;
    ASSERT_TRUE(CBearingStore(Db()).GetBearing(dialog.SavedGuid(), stored));
    EXPECT_EQ(stored.iRollingElements, 9);
    EXPECT_NEAR(FactorsOf(stored).bpfi, f.bpfi, 1e-4);
    library.SetSearch(QStringLiteral("6206"));
    EXPECT_EQ(library.ShownGuids(), QStringList{dialog.SavedGuid()});

    // A maker's factors instead of the geometry.
    CBearingDialog factors(editor, CBearing{});
    factors.findChild<QLineEdit*>(QStringLiteral("Designation"))->setText(QStringLiteral("NU 210"));
    factors.findChild<QComboBox*>(QStringLiteral("DescribedBy"))->setCurrentIndex(1);
    const double published[4] = {0.43, 2.9, 7.4, 9.6};
    for (int i = 0; const char* name : {"FTF", "BSF", "BPFO", "BPFI"}) {
        factors.findChild<QDoubleSpinBox*>(QLatin1String(name))->setValue(published[i++]);
    }
    factors.accept();
    ASSERT_TRUE(CBearingStore(Db()).GetBearing(factors.SavedGuid(), stored));
    EXPECT_EQ(stored.iRollingElements, 0);
    EXPECT_FLOAT_EQ(stored.fBPFI, 9.6f);
}

// The round trip an analyst makes: a bearing added through the library's Add, assigned in the
// point set-up, shown again when the set-up reopens; a row without location refused before the
// point is stored; a deleted bearing leaves the point with one bearing fewer.
TEST_F(BearingDialogsTest, AddAssignReopenAndDelete) {
    CBearingLibraryDialog library(*app);
    testing::WhenModal([](QWidget* modal) {
        modal->findChild<QLineEdit*>(QStringLiteral("Designation"))->setText(QStringLiteral("6309"));
        modal->findChild<QSpinBox*>(QStringLiteral("RollingElements"))->setValue(8);
        modal->findChild<QDoubleSpinBox*>(QStringLiteral("ElementDiameter"))->setValue(17.462);
        modal->findChild<QDoubleSpinBox*>(QStringLiteral("PitchDiameter"))->setValue(72.5);
        static_cast<QDialog*>(modal)->accept();
    });
    library.Add();
    EXPECT_TRUE(library.Changed());
    library.SetSearch(QStringLiteral("6309"));
    ASSERT_EQ(library.ShownGuids().size(), 1);
    const QString added = library.ShownGuids().front();

    CatalogueEditor catalogue(Db(), prompter);
    CVibPointSetupDialog dialog(catalogue, prompter, NewPoint(), DisplayUnits());
    PointBearingsSection& section = dialog.Bearings();
    section.SetRow(0, added, QString(), 1.0);
    dialog.accept();
    EXPECT_TRUE(dialog.SavedGuid().isEmpty()); // no location: refused before the point is stored
    EXPECT_TRUE(prompter.Messages().last().contains(QStringLiteral("location")));
    section.SetRow(0, added, QStringLiteral("Pump NDE"), 1.0);
    section.SetRow(1, StarterBearings()[4].sItemGUID, QStringLiteral("Fan DE"), 2.5);
    dialog.accept();
    ASSERT_FALSE(dialog.SavedGuid().isEmpty());
    const QString point = dialog.SavedGuid();
    const std::vector<CPointBearing> stored = StoredOf(point);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].sBearingGUID, added);
    EXPECT_EQ(stored[0].sLocation, QStringLiteral("Pump NDE"));
    EXPECT_FLOAT_EQ(stored[1].fSpeedRatio, 2.5f);

    // Reopened, the section shows them; OK without a change keeps the assignments as they are.
    const std::optional<CVib> vib = catalogue.LoadVib(point);
    ASSERT_TRUE(vib);
    CVibPointSetupDialog again(catalogue, prompter, *vib, DisplayUnits());
    EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("Bearing1"))->currentData().toString(), added);
    EXPECT_EQ(again.findChild<QLineEdit*>(QStringLiteral("Bearing1Location"))->text(),
              QStringLiteral("Pump NDE"));
    EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("Bearing2"))->currentData().toString(),
              StarterBearings()[4].sItemGUID);
    EXPECT_DOUBLE_EQ(again.findChild<QDoubleSpinBox*>(QStringLiteral("Bearing2Ratio"))->value(), 2.5);
    EXPECT_TRUE(again.findChild<QComboBox*>(QStringLiteral("Bearing3"))->currentData().toString().isEmpty());
    again.accept();
    EXPECT_EQ(StoredOf(point)[0].sItemGUID, stored[0].sItemGUID);

    // Delete asks first; No keeps the bearing, Yes removes it and its assignment.
    library.SetSearch(QStringLiteral("6309"));
    library.Select(added);
    prompter.yesNoAnswers = {false};
    library.Delete();
    EXPECT_EQ(library.ShownGuids(), QStringList{added});
    EXPECT_TRUE(prompter.Texts().last().contains(QStringLiteral("1 point bearing")));
    prompter.yesNoAnswers = {true};
    library.Delete();
    EXPECT_TRUE(library.ShownGuids().isEmpty());
    const std::vector<CPointBearing> left = StoredOf(point);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].sBearingGUID, StarterBearings()[4].sItemGUID);
}

// The set-up stores the point and its bearings in one step: when the database refuses the bearing
// rows, the dialog stays open with the reason, the point keeps its stored name, and OK once the
// fault is gone stores both, the new point once.
TEST_F(BearingDialogsTest, ARefusedBearingRowKeepsThePointAsItWas) {
    CatalogueEditor catalogue(Db(), prompter);
    const std::optional<QString> point = catalogue.SaveVib(NewPoint());
    ASSERT_TRUE(point);
    const std::optional<CVib> vib = catalogue.LoadVib(*point);
    ASSERT_TRUE(vib);
    ASSERT_TRUE(Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblPointBearings "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END")));

    CVibPointSetupDialog dialog(catalogue, prompter, *vib, DisplayUnits());
    dialog.findChild<QLineEdit*>(QStringLiteral("Name"))->setText(QStringLiteral("NDE renamed"));
    dialog.Bearings().SetRow(0, StarterBearings()[0].sItemGUID, QStringLiteral("Pump NDE"), 1.0);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.SavedGuid().isEmpty());
    EXPECT_TRUE(prompter.Messages().last().startsWith(UiText(text::added::Bearings)));
    EXPECT_TRUE(prompter.Messages().last().contains(UiText(text::ErrorSavingRecord)));
    EXPECT_EQ(catalogue.LoadVib(*point)->sName, QStringLiteral("NDE"));
    EXPECT_TRUE(StoredOf(*point).empty());

    // A new point refused the same way is not added; once the fault is gone it is added once.
    const CVib newPoint = NewPoint();
    CVibPointSetupDialog fresh(catalogue, prompter, newPoint, DisplayUnits());
    fresh.Bearings().SetRow(0, StarterBearings()[0].sItemGUID, QStringLiteral("Fan DE"), 1.0);
    fresh.accept();
    EXPECT_TRUE(fresh.SavedGuid().isEmpty());
    EXPECT_TRUE(Db().ListVibs(newPoint.sParentGUID).empty());
    ASSERT_TRUE(Exec(QStringLiteral("DROP TRIGGER refuse")));
    fresh.accept();
    ASSERT_FALSE(fresh.SavedGuid().isEmpty());
    EXPECT_EQ(StoredOf(fresh.SavedGuid()).size(), 1u);
    EXPECT_EQ(Db().ListVibs(newPoint.sParentGUID).size(), 1u);

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(catalogue.LoadVib(*point)->sName, QStringLiteral("NDE renamed"));
    EXPECT_EQ(StoredOf(*point).size(), 1u);
}

// Export and import through the dialog: a file with a bad row is refused as a whole with its line,
// a good one stored with its summary shown.
TEST_F(BearingDialogsTest, ImportRefusesBadRowsAndExportWritesTheLibrary) {
    CBearingLibraryDialog library(*app);
    const QString exported = QDir(env.Root()).filePath(QStringLiteral("bearings.csv"));
    library.ExportFile(exported);
    QFile written(exported);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("6205-2RS JEM"));

    const QString bad = QDir(env.Root()).filePath(QStringLiteral("bad.csv"));
    QFile badFile(bad);
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write("Designation,Rolling elements,Element diameter mm,Pitch diameter mm\r\n"
                  "A1,9,7,40\r\n"
                  "A2,2,7,40\r\n");
    badFile.close();
    const qsizetype before = library.ShownGuids().size();
    library.ImportFile(bad);
    EXPECT_TRUE(prompter.Messages().last().startsWith(QStringLiteral("line 3:")))
        << prompter.Messages().last().toStdString();
    EXPECT_EQ(library.ShownGuids().size(), before);
    EXPECT_FALSE(library.Changed());

    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    badFile.write("Designation,Rolling elements,Element diameter mm,Pitch diameter mm\r\nA1,9,7,40\r\n");
    badFile.close();
    library.ImportFile(bad);
    EXPECT_EQ(prompter.Messages().last(), QStringLiteral("Bearings: 1 new, 0 updated"));
    EXPECT_EQ(library.ShownGuids().size(), before + 1);
    EXPECT_TRUE(library.Changed());

    library.ImportFile(QDir(env.Root()).filePath(QStringLiteral("missing.csv")));
    EXPECT_EQ(prompter.Messages().last(), UiText(text::ErrorImportingData));
}

} // namespace
} // namespace vantor
