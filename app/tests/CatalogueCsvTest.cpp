// The catalogue spreadsheet: the round trip, row checks that store nothing, updates in place.
#include "app/CatalogueCsv.h"
#include "DatabaseFixture.h"
#include "app/BearingEditor.h"
#include "app/CatalogueEditor.h"
#include "app/CsvText.h"
#include "store/BearingStore.h"
#include "store/StarterBearings.h"
#include "texts/UiText.h"

namespace vantor::testing {
namespace {

const QByteArray kHeader = "Machine,Machine meter name,Kind,Point,Point meter name,Run speed Hz,ISO alarms,"
                           "ISO warning mm/s,ISO critical mm/s,BDU alarms,BDU warning,BDU critical,Lube type,"
                           "Lube units,Machine GUID,Point GUID\r\n";
const QByteArray kEnvelopeHeader = kHeader.chopped(2) + ",Envelope low Hz,Envelope high Hz\r\n";

class CatalogueCsvTest : public DatabaseFixture {
protected:
    void SetUp() override {
        DatabaseFixture::SetUp();
        editor = std::make_unique<CatalogueEditor>(Db(), prompter);
    }
    QString Machine(const QString& name, const QString& meterName) {
        CMachine machine;
        machine.sName = name;
        machine.sVMName = meterName;
        return editor->SaveMachine(machine, {QStringLiteral("a@plant.org")}).value();
    }
    QString Vib(const QString& machine, const QString& name, float hz, bool iso, float warning,
                float critical) {
        CVib vib;
        vib.sParentGUID = machine;
        vib.sName = name;
        vib.sVMName = name.left(14);
        vib.fRunSpeedHz = hz;
        vib.bISOAlarmsOn = iso;
        vib.fISOWarningMMS = warning;
        vib.fISOCriticalMMS = critical;
        return editor->SaveVib(vib).value();
    }
    void EmptyCatalogue() {
        ASSERT_TRUE(Exec(QStringLiteral("DELETE FROM tblMachines")));
        ASSERT_TRUE(Exec(QStringLiteral("DELETE FROM tblVibs")));
        ASSERT_TRUE(Exec(QStringLiteral("DELETE FROM tblLubes")));
    }
    CatalogueImportPlan Import(const QByteArray& csv) {
        CatalogueImportPlan plan = PlanCatalogueImport(Db(), csv);
        if (plan.Ok()) {
            EXPECT_TRUE(ApplyCatalogueImport(Db(), plan));
        }
        return plan;
    }

    std::unique_ptr<CatalogueEditor> editor;
};

TEST_F(CatalogueCsvTest, ExportImportIntoAnEmptyDatabaseExportsTheSameFile) {
    const QString fan = Machine(QStringLiteral("Fan, north hall"), QStringLiteral("FanN"));
    Vib(fan, QStringLiteral("Motor DE"), 24.8f, true, 2.8f, 7.1f);
    Vib(fan, QStringLiteral("Motor; NDE"), 1.0f / 3.0f, false, 0, 0);
    CLube lube;
    lube.sParentGUID = fan;
    lube.sName = QStringLiteral("Bearing grease");
    lube.sVMName = QStringLiteral("Grease");
    lube.sLubeType = QStringLiteral("Lithium \"EP2\"\nsoap");
    lube.sLubeUnits = QStringLiteral("g");
    lube.bBDUAlarmsOn = true;
    lube.fBDUWarning = 15;
    lube.fBDUCritical = 30.5f;
    ASSERT_TRUE(editor->SaveLube(lube));
    Machine(QStringLiteral("Pompe à eau"), QStringLiteral("Pompe"));

    const QByteArray exported = ExportCatalogueCsv(Db());
    ASSERT_TRUE(exported.startsWith(kHeader.chopped(2) + ",Bearing 1,Bearing 1 location,Bearing 1 ratio,"));
    EXPECT_EQ(exported.count("\r\n"), 5); // the header, three points of Fan, the pump without points

    EmptyCatalogue();
    const CatalogueImportPlan plan = Import(exported);
    ASSERT_TRUE(plan.Ok()) << plan.errors.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(plan.machinesAdded, 2);
    EXPECT_EQ(plan.pointsAdded, 3);
    EXPECT_EQ(ExportCatalogueCsv(Db()), exported);
    ASSERT_EQ(Db().ListMachines().size(), 2u);
    EXPECT_EQ(Db().ListMachines()[1].sName, QStringLiteral("Pompe à eau"));
    EXPECT_EQ(Db().ListMachines()[0].fOrder, 0.0f);
    EXPECT_EQ(Db().ListMachines()[1].fOrder, 1.0f);
}

TEST_F(CatalogueCsvTest, ABadRowStoresNothingAndNamesItsLine) {
    const QByteArray good = "Fan,FAN,vib,Motor DE,MDE,25,1,2.8,7.1,0,0,0,,,,\r\n";
    struct Case {
        QByteArray row;
        QString message;
    };
    const Case cases[] = {
        {"Fan,FAN,vib,Motor NDE,MNDE,25,1,2,2,0,0,0,,,,", UiText(text::CriticalMustExceedWarning)},
        {"Fan,FAN,vib,Motor NDE,MNDE,25,1,-1,-2,0,0,0,,,,", UiText(text::ValueMustBePositive)},
        {"Fan,FAN,vib,Motor NDE,MNDE,0,0,0,0,0,0,0,,,,", UiText(text::RunSpeedMustBePositive)},
        {"Fan,FAN,vib,Motor NDE,MNDE,fast,0,0,0,0,0,0,,,,",
         QStringLiteral("Run speed Hz: ") + UiText(text::PleaseInputNumber)},
        {"Fan,FAN,vib,Motor:NDE,MNDE,25,0,0,0,0,0,0,,,,", UiText(text::NameForbiddenCharacters)},
        {"Fan,FAN,vib,Motor NDE,Motor non-drive end,25,0,0,0,0,0,0,,,,", UiText(text::MeterNameMaxLength14)},
        {"Pump,,vib,Motor DE,,25,0,0,0,0,0,0,,,,", QString()}, // accepted: meter names take the names
        {"Fan,FAN2,vib,Fan DE,,25,0,0,0,0,0,0,,,,", QStringLiteral("the machine has other names on line 2")},
        {"Fan,FAN,vib,Motor DE,,30,0,0,0,0,0,0,,,,", QStringLiteral("the same point is on line 2")},
        {"Fan,FAN,pump,Motor DE,,30,0,0,0,0,0,0,,,,", QStringLiteral("Kind must be vib or lube")},
        {",,vib,Motor DE,,30,0,0,0,0,0,0,,,,", UiText(text::PleaseInputName)},
        {"Fan,FAN,lube,Grease,,,,,,1,30,15,EP2,g,,", UiText(text::CriticalMustExceedWarning)},
        {"Fan,FAN,vib,Motor NDE,,25,maybe,0,0,0,0,0,,,,", QStringLiteral("ISO alarms must be 1 or 0")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.toStdString());
        const QByteArray csv =
            kHeader + good + c.row + "\r\n" + "Fan,FAN,vib,Fan NDE,,25,0,0,0,0,0,0,,,,\r\n";
        const CatalogueImportPlan plan = PlanCatalogueImport(Db(), csv);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(plan.Ok()) << plan.errors.join(QLatin1Char('|')).toStdString();
            continue;
        }
        EXPECT_EQ(plan.errors, QStringList{QStringLiteral("line 3: ") + c.message});
        ASSERT_EQ(plan.rows.size(), 3u);
        EXPECT_EQ(plan.rows[1].error, c.message);
        EXPECT_FALSE(ApplyCatalogueImport(Db(), plan));
        EXPECT_TRUE(Db().ListMachines().empty());
    }
}

TEST_F(CatalogueCsvTest, TheEleventhVibPointIsRefusedWhileLubePointsStillFit) {
    const QString fan = Machine(QStringLiteral("Fan"), QStringLiteral("FAN"));
    for (int i = 0; i < 9; ++i) {
        Vib(fan, QStringLiteral("P%1").arg(i), 25, false, 0, 0);
    }
    QByteArray csv = kHeader + "Fan,FAN,vib,P9,,25,0,0,0,0,0,0,,,,\r\n";
    for (int i = 0; i < 10; ++i) {
        csv += QStringLiteral("Fan,FAN,lube,L%1,,,,,,0,0,0,EP2,g,,\r\n").arg(i).toUtf8();
    }
    csv += "Fan,FAN,vib,P10,,25,0,0,0,0,0,0,,,,\r\n";
    const CatalogueImportPlan plan = PlanCatalogueImport(Db(), csv);
    EXPECT_EQ(plan.errors, QStringList{QStringLiteral("line 13: 10 ") + UiText(text::PointsPerMachineMax)});
    EXPECT_EQ(Db().CountVibs(fan), 9);
}

TEST_F(CatalogueCsvTest, RowsUpdateTheirPointsInPlaceByGuidOrByName) {
    const QString fan = Machine(QStringLiteral("Fan"), QStringLiteral("FAN"));
    const QString de = Vib(fan, QStringLiteral("Motor DE"), 25, false, 0, 0);
    const QString nde = Vib(fan, QStringLiteral("Motor NDE"), 25, false, 0, 0);
    CVibReading reading;
    reading.sItemGUID = MakeItemGuid();
    reading.sParentGUID = de;
    reading.ctDateTaken = QDateTime(QDate(2026, 3, 1), QTime(8, 0));
    ASSERT_TRUE(Db().UpsertVibReading(reading));

    // The first point renamed with its GUID; the second found by its name, semicolons and a
    // decimal comma as a spreadsheet in such a locale writes them; the machine's addresses stay.
    QString exported = QString::fromUtf8(ExportCatalogueCsv(Db()));
    exported.replace(QStringLiteral("Motor DE,Motor DE"), QStringLiteral("Drive end,DE"));
    const CatalogueImportPlan renamed = Import(exported.toUtf8());
    ASSERT_TRUE(renamed.Ok()) << renamed.errors.join(QLatin1Char('|')).toStdString();
    const QByteArray byName = "Machine;Kind;Point;Run speed Hz\r\nFan;vib;Motor NDE;12,5\r\n";
    const CatalogueImportPlan updated = Import(byName);
    ASSERT_TRUE(updated.Ok()) << updated.errors.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(updated.pointsUpdated, 1);
    EXPECT_EQ(updated.pointsAdded, 0);

    const std::vector<CVib> points = Db().ListVibs(fan);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].sItemGUID, de);
    EXPECT_EQ(points[0].sName, QStringLiteral("Drive end"));
    EXPECT_EQ(points[0].sVMName, QStringLiteral("DE"));
    EXPECT_EQ(points[1].sItemGUID, nde);
    EXPECT_EQ(points[1].fRunSpeedHz, 12.5f);
    EXPECT_EQ(Db().ListVibReadings(de).size(), 1u);
    ASSERT_EQ(Db().ListMachines().size(), 1u);
    EXPECT_EQ(Db().ListMachines()[0].sEMails, QStringLiteral("a@plant.org"));
}

TEST(CsvTextTest, ReadsQuotedFieldsSeparatorsAndLineNumbers) {
    const CsvTable table = ReadCsv("\xEF\xBB\xBF"
                                   "a;b\r\n\r\n\"x;\"\"y\"\"\";\"two\nlines\"\nlast;\n");
    EXPECT_EQ(table.separator, QLatin1Char(';'));
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_EQ(table.records[0].fields, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(table.records[1].line, 3);
    EXPECT_EQ(table.records[1].fields,
              (QStringList{QStringLiteral("x;\"y\""), QStringLiteral("two\nlines")}));
    EXPECT_EQ(table.records[2].line, 5);
    EXPECT_EQ(table.records[2].fields, (QStringList{QStringLiteral("last"), QString()}));
    EXPECT_EQ(CsvLine({QStringLiteral("a,b"), QStringLiteral("q\"")}),
              QStringLiteral("\"a,b\",\"q\"\"\"\r\n"));
}

// A point's bearings travel in the new columns; an older file without them leaves them alone.
TEST_F(CatalogueCsvTest, APointsBearingsTravelWithItsRow) {
    const QString fan = Machine(QStringLiteral("Fan"), QStringLiteral("FAN"));
    const QString motor = Vib(fan, QStringLiteral("Motor DE"), 24.8f, false, 0, 0);
    BearingEditor bearings(Db(), prompter);
    ASSERT_TRUE(bearings.AssignBearing(motor, QStringLiteral("6205-2RS JEM"), QStringLiteral("Motor DE")));
    ASSERT_TRUE(bearings.AssignBearing(motor, QStringLiteral("UER204"), QStringLiteral("Fan DE"), 2.5));
    const QByteArray exported = ExportCatalogueCsv(Db());
    EXPECT_TRUE(exported.contains(",6205-2RS JEM,Motor DE,1,UER204,Fan DE,2.5,,,,,,,,\r\n"))
        << exported.toStdString();

    // Imported into an empty catalogue, the point gets its bearings back in order.
    EmptyCatalogue();
    ASSERT_TRUE(Exec(QStringLiteral("DELETE FROM tblPointBearings")));
    ASSERT_TRUE(Import(exported).Ok());
    EXPECT_EQ(ExportCatalogueCsv(Db()), exported);

    // An older file (no bearing columns) updates the point and keeps its bearings.
    CBearingStore store(Db());
    ASSERT_TRUE(Import(kHeader + "Fan,FAN,vib,Motor DE,,30,0,0,0,0,0,0,,,,\r\n").Ok());
    const CVib point = Db().ListVibs(Db().ListMachines().front().sItemGUID).front();
    EXPECT_EQ(point.fRunSpeedHz, 30.0f);
    EXPECT_EQ(store.CountPointBearings(point.sItemGUID), 2);

    const QByteArray header = kHeader.chopped(2) + ",Bearing 1,Bearing 1 location,Bearing 1 ratio\r\n";
    const std::pair<QByteArray, QString> refused[] = {
        {"Fan,FAN,vib,Motor DE,,30,0,0,0,0,0,0,,,,,No such,Here,1",
         "line 2: Bearing 1: no single bearing has the GUID or designation \"No such\""},
        {"Fan,FAN,vib,Motor DE,,30,0,0,0,0,0,0,,,,,UER204,,1",
         "line 2: Bearing 1: A bearing's location needs 1 to 50 characters"},
        {"Fan,FAN,vib,Motor DE,,30,0,0,0,0,0,0,,,,,UER204,Here,0",
         "line 2: Bearing 1: The speed ratio must be above 0 and at most 100"},
        {"Fan,FAN,vib,Motor DE,,30,0,0,0,0,0,0,,,,,,Here,", "line 2: Bearing 1 is empty"},
        {"Fan,FAN,lube,Grease,,,,,,0,0,0,,,,,UER204,Here,1", "line 2: only vibration points carry bearings"},
    };
    for (const auto& [row, message] : refused) {
        EXPECT_EQ(Import(header + row + "\r\n").errors, QStringList{message}) << row.toStdString();
    }
    EXPECT_EQ(store.CountPointBearings(point.sItemGUID), 2);
    // Empty bearing cells give the point no bearings.
    ASSERT_TRUE(Import(header + "Fan,FAN,vib,Motor DE,,30,0,0,0,0,0,0,,,,,,,\r\n").Ok());
    EXPECT_EQ(store.CountPointBearings(point.sItemGUID), 0);
}

TEST_F(CatalogueCsvTest, EnvelopeBandColumnsRoundTripAreCheckedAndOlderFilesKeepTheBand) {
    const QString fan = Machine(QStringLiteral("Fan"), QStringLiteral("FAN"));
    const QString de = Vib(fan, QStringLiteral("Motor DE"), 25, false, 0, 0);
    Vib(fan, QStringLiteral("Motor NDE"), 25, false, 0, 0);
    derived::PutEnvelopeBand(Db().Connection(), de, EnvelopeBandRow{500.5, 4000});

    const QByteArray exported = ExportCatalogueCsv(Db());
    const QList<QByteArray> lines = exported.split('\n');
    EXPECT_TRUE(lines[1].endsWith(",500.5,4000\r")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(",,\r")) << lines[2].toStdString(); // the default band: empty
    EmptyCatalogue();
    derived::PutEnvelopeBand(Db().Connection(), de, std::nullopt);
    ASSERT_TRUE(Import(exported).Ok());
    EXPECT_EQ(ExportCatalogueCsv(Db()), exported);

    struct Refused {
        const char* cells;
        const char* message;
    };
    for (const Refused& r : {Refused{"0,4000", "above 0 Hz"}, Refused{"4000,500", "above its low edge"},
                             Refused{"500,", "both empty"}, Refused{"x,600", "both empty"}}) {
        SCOPED_TRACE(r.cells);
        const CatalogueImportPlan plan =
            PlanCatalogueImport(Db(), kEnvelopeHeader + "Fan,FAN,vib,Motor DE,,25,0,0,0,0,0,0,,,,," +
                                          QByteArray(r.cells) + "\r\n");
        ASSERT_EQ(plan.errors.size(), 1);
        EXPECT_TRUE(plan.errors[0].contains(QLatin1String(r.message))) << plan.errors[0].toStdString();
    }

    // A file written before the envelope columns existed imports and leaves the bands as they are.
    const QByteArray older = "Machine,Kind,Point,Run speed Hz\r\nFan,vib,Motor DE,30\r\n";
    ASSERT_TRUE(Import(older).Ok());
    const std::optional<EnvelopeBandRow> kept = derived::GetEnvelopeBand(Db().Connection(), de);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->lowHz, 500.5);
    // Empty cells return the point to the default band.
    ASSERT_TRUE(Import(kEnvelopeHeader + "Fan,FAN,vib,Motor DE,,25,0,0,0,0,0,0,,,,,,\r\n").Ok());
    EXPECT_FALSE(derived::GetEnvelopeBand(Db().Connection(), de));
}

} // namespace
} // namespace vantor::testing
