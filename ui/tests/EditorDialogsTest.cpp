// The machine manager, the point set-up, the route manager, the settings dialogs and the
// catalogue import preview under the offscreen platform, on a real database. With
// VANTOR_DIALOG_GRABS naming a folder, each dialog is also painted there as a PNG.
#include "app/CatalogueCsv.h"
#include "app/CatalogueEditor.h"
#include "app/Secrets.h"
#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/RouteScheduleRecords.h"
#include "store/Validation.h"
#include "texts/UiText.h"
#include "ui/setup/CatalogueImportDialog.h"
#include "ui/setup/EditableList.h"
#include "ui/setup/EditorFields.h"
#include "ui/setup/IsoStandardsDialog.h"
#include "ui/setup/MachineManagerDialog.h"
#include "ui/setup/MachineSetupDialog.h"
#include "ui/setup/PointSetupDialogs.h"
#include "ui/setup/RouteManagerDialog.h"
#include "ui/setup/SettingsDialogs.h"
#include "ui/tests/DialogTesting.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using vantor::testing::Grab;
using vantor::testing::WhenModal;

using namespace vantor;

namespace {

class EditorDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        editor = std::make_unique<CatalogueEditor>(Db(), prompter);
    }
    CMainConnection& Db() { return *app->MainConnection(); }
    QString Machine(const QString& name, int vibs) {
        CMachine machine;
        machine.sName = name;
        machine.sVMName = name.left(14);
        const QString guid = editor->SaveMachine(machine, {}).value();
        for (int i = 0; i < vibs; ++i) {
            CVib vib;
            vib.sParentGUID = guid;
            vib.sName = vib.sVMName = QStringLiteral("P%1").arg(i + 1);
            vib.fRunSpeedHz = 25;
            EXPECT_TRUE(editor->SaveVib(vib));
        }
        return guid;
    }
    template <class W = QLineEdit> static W* Field(QWidget& dialog, const char* name) {
        W* widget = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    std::unique_ptr<CatalogueEditor> editor;
};

TEST_F(EditorDialogsTest, VibPointDialogReachesTheHeadlessEditorsMessagesInItsOrder) {
    const QString fan = Machine(QStringLiteral("Fan"), 0);
    struct Case {
        QString name, meterName, hz;
        bool isoOn;
        QString isoWarning, isoCritical;
        bool bduOn;
        QString bduWarning, bduCritical;
    };
    const QString longName(51, QLatin1Char('x'));
    const Case cases[] = {
        {{}, QStringLiteral("a*b"), QStringLiteral("0"), true, QStringLiteral("-1"), {}, false, {}, {}},
        {QStringLiteral("a?b"), {}, QStringLiteral("0"), false, {}, {}, false, {}, {}},
        {longName, {}, QStringLiteral("0"), false, {}, {}, false, {}, {}},
        {QStringLiteral("Motor DE"), {}, QStringLiteral("0"), false, {}, {}, false, {}, {}},
        {QStringLiteral("Motor DE"),
         QStringLiteral("M|DE"),
         QStringLiteral("0"),
         false,
         {},
         {},
         false,
         {},
         {}},
        {QStringLiteral("Motor DE"),
         QStringLiteral("Motor drive end"),
         QStringLiteral("0"),
         false,
         {},
         {},
         false,
         {},
         {}},
        {QStringLiteral("Motor DE"),
         QStringLiteral("MDE"),
         QStringLiteral("0"),
         true,
         QStringLiteral("-1"),
         {},
         false,
         {},
         {}},
        {QStringLiteral("Motor DE"), QStringLiteral("MDE"), QStringLiteral("25"), true, QStringLiteral("-1"),
         QStringLiteral("2"), true, QStringLiteral("5"), QStringLiteral("5")},
        {QStringLiteral("Motor DE"),
         QStringLiteral("MDE"),
         QStringLiteral("25"),
         true,
         QStringLiteral("2"),
         QStringLiteral("2"),
         false,
         {},
         {}},
        // Levels are not looked at while their alarms are off.
        {QStringLiteral("Motor DE"),
         QStringLiteral("MDE"),
         QStringLiteral("25"),
         false,
         QStringLiteral("-1"),
         {},
         true,
         QStringLiteral("6"),
         QStringLiteral("5")},
        {QStringLiteral("Motor DE"), QStringLiteral("Mötor DE"), QStringLiteral("25"), true,
         QStringLiteral("2.8"), QStringLiteral("7.1"), true, QStringLiteral("5"), QStringLiteral("10")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + " / " + c.meterName.toStdString());
        CVib fresh;
        fresh.sParentGUID = fan;
        CVibPointSetupDialog dialog(*editor, prompter, fresh, DisplayUnits());
        Field(dialog, "Name")->setText(c.name);
        Field<QCheckBox>(dialog, "SameAsName")->setChecked(false);
        Field(dialog, "MeterName")->setText(c.meterName);
        Field(dialog, "RunSpeedHz")->setText(c.hz);
        Field<QCheckBox>(dialog, "IsoAlarms")->setChecked(c.isoOn);
        Field(dialog, "IsoWarning")->setText(c.isoWarning);
        Field(dialog, "IsoCritical")->setText(c.isoCritical);
        Field<QCheckBox>(dialog, "BduAlarms")->setChecked(c.bduOn);
        Field(dialog, "BduWarning")->setText(c.bduWarning);
        Field(dialog, "BduCritical")->setText(c.bduCritical);

        // The fields stop at their longest length: the checks see what the fields hold.
        EXPECT_LE(Field(dialog, "Name")->text().size(), kNameMaxLength);
        EXPECT_LE(Field(dialog, "MeterName")->text().size(), kMeterNameMaxLength);
        CVib headless = fresh;
        headless.sName = Field(dialog, "Name")->text();
        headless.sVMName = Field(dialog, "MeterName")->text();
        headless.fRunSpeedHz = c.hz.toFloat();
        headless.bISOAlarmsOn = c.isoOn;
        headless.fISOWarningMMS = c.isoWarning.toFloat();
        headless.fISOCriticalMMS = c.isoCritical.toFloat();
        headless.bBDUAlarmsOn = c.bduOn;
        headless.fBDUWarning = c.bduWarning.toFloat();
        headless.fBDUCritical = c.bduCritical.toFloat();
        const std::optional<QString> expected = CheckVibPoint(headless);

        prompter.records.clear();
        dialog.accept();
        if (expected) {
            EXPECT_EQ(prompter.Messages(), QStringList{*expected});
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(Db().CountVibs(fan), 0);
        } else {
            EXPECT_TRUE(prompter.Messages().isEmpty()) << prompter.Messages().join('|').toStdString();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            CVib stored;
            ASSERT_TRUE(Db().GetVib(dialog.SavedGuid(), stored));
            EXPECT_EQ(stored.sVMName, QStringLiteral("Mtor DE"));
            EXPECT_EQ(stored.fISOCriticalMMS, 7.1f);
            Grab(dialog, QStringLiteral("vib-point-setup"));
        }
    }
}

TEST_F(EditorDialogsTest, RunSpeedKeepsHzAndRpmInStepAndLevelsAreEnteredInTheDisplayUnit) {
    const QString fan = Machine(QStringLiteral("Fan"), 0);
    CVib vib;
    vib.sParentGUID = fan;
    vib.sName = vib.sVMName = QStringLiteral("DE");
    vib.fRunSpeedHz = 10;
    vib.bISOAlarmsOn = true;
    vib.fISOWarningMMS = 2.8f;
    vib.fISOCriticalMMS = 7.1f;
    const QString guid = editor->SaveVib(vib).value();
    CVib stored;
    ASSERT_TRUE(Db().GetVib(guid, stored));

    const DisplayUnits imperial(FrequencyUnit::Hz, AmplitudeUnit::Imperial);
    CVibPointSetupDialog dialog(*editor, prompter, stored, imperial);
    QLineEdit* hz = Field(dialog, "RunSpeedHz");
    QLineEdit* rpm = Field(dialog, "RunSpeedRpm");
    EXPECT_EQ(rpm->text(), QStringLiteral("600"));
    EXPECT_EQ(Field(dialog, "IsoWarning")->text(),
              FormatShown(2.8 * kImperialAmplitudeFactor, kLevelDecimals));
    rpm->clear();
    QTest::keyClicks(rpm, QStringLiteral("12."));
    EXPECT_EQ(hz->text(), QStringLiteral("0.2")); // "12." waits for its decimals
    QTest::keyClicks(rpm, QStringLiteral("5"));
    EXPECT_EQ(hz->text(), QStringLiteral("0.208")); // the field's three decimals
    hz->clear();
    QTest::keyClicks(hz, QStringLiteral("24.5"));
    EXPECT_EQ(rpm->text(), QStringLiteral("1470"));

    CIsoLimitsDialog chooser(imperial.VelocityLabel(), imperial.AmplitudeFactor());
    Grab(chooser, QStringLiteral("iso-standards"));
    chooser.findChild<QPushButton*>(QStringLiteral("Group3Flexible"))->click();
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.Group(), 3);
    EXPECT_EQ(chooser.Foundation(), 1);

    // A group outside the table leaves the levels; group 2 on a rigid foundation proposes
    // 2.8 / 4.5 mm/s, shown in inch/s and stored back in mm/s.
    dialog.ProposeIsoLimits(5, 0);
    EXPECT_EQ(Field(dialog, "IsoCritical")->text(),
              FormatShown(7.1 * kImperialAmplitudeFactor, kLevelDecimals));
    dialog.ProposeIsoLimits(2, 0);
    EXPECT_EQ(Field(dialog, "IsoCritical")->text(),
              FormatShown(4.5 * kImperialAmplitudeFactor, kLevelDecimals));
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(Db().GetVib(guid, stored));
    EXPECT_EQ(stored.fRunSpeedHz, 24.5f);
    EXPECT_NEAR(stored.fISOWarningMMS, 2.8f, 1e-5);
    EXPECT_NEAR(stored.fISOCriticalMMS, 4.5f, 1e-5);
    EXPECT_EQ(stored.sItemGUID, guid);
}

TEST_F(EditorDialogsTest, MachineManagerRefusesTheEleventhVibPointButTakesLubePointsAndInsertsBefore) {
    app->lubePointsEnabled = true;
    const QString full = Machine(QStringLiteral("Full fan"), kPointsPerMachine);
    CMachineManagerDialog manager(*app);
    EditableList& machines = *manager.Machines();
    ASSERT_EQ(machines.List()->topLevelItemCount(), 1);
    EXPECT_EQ(machines.List()->SelectedGuid(), full);
    EXPECT_EQ(manager.VibPoints()->List()->topLevelItemCount(), kPointsPerMachine);
    Grab(manager, QStringLiteral("machine-manager"));

    manager.AddVib(); // refused before any dialog opens
    EXPECT_EQ(
        prompter.Messages(),
        QStringList{QStringLiteral("%1 %2").arg(kPointsPerMachine).arg(UiText(text::PointsPerMachineMax))});
    EXPECT_EQ(Db().CountVibs(full), kPointsPerMachine);

    WhenModal([](QWidget* modal) {
        auto* lube = qobject_cast<CLubePointSetupDialog*>(modal);
        ASSERT_NE(lube, nullptr);
        lube->findChild<QLineEdit*>(QStringLiteral("Name"))->setText(QStringLiteral("Grease DE"));
        lube->findChild<QLineEdit*>(QStringLiteral("LubeType"))->setText(QStringLiteral("EP2"));
        Grab(*lube, QStringLiteral("lube-point-setup"));
        lube->accept();
    });
    manager.AddLube();
    ASSERT_EQ(Db().ListLubes(full).size(), 1u);
    EXPECT_EQ(Db().ListLubes(full)[0].sVMName, QStringLiteral("Grease DE"));
    EXPECT_EQ(Db().ListLubes(full)[0].sLubeType, QStringLiteral("EP2"));

    // Insert puts the new machine before the selected one; the order is compacted.
    WhenModal([](QWidget* modal) {
        auto* setup = qobject_cast<CMachineSetupDialog*>(modal);
        ASSERT_NE(setup, nullptr);
        setup->findChild<QLineEdit*>(QStringLiteral("Name"))->setText(QStringLiteral("Pump"));
        setup->findChild<QLineEdit*>(QStringLiteral("Address"))->setText(QStringLiteral("not an address"));
        setup->AddAddress();
        setup->findChild<QLineEdit*>(QStringLiteral("Address"))->setText(QStringLiteral("ops@plant.org"));
        setup->AddAddress();
        Grab(*setup, QStringLiteral("machine-setup"));
        setup->accept();
    });
    prompter.records.clear();
    emit machines.insertRequested(full);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::EmailAddressInvalid)});
    const std::vector<CMachine> rows = Db().ListMachines();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].sName, QStringLiteral("Pump"));
    EXPECT_EQ(rows[0].sEMails, QStringLiteral("ops@plant.org"));
    EXPECT_EQ(rows[0].fOrder, 0.0f);
    EXPECT_EQ(rows[1].fOrder, 1.0f);
    EXPECT_EQ(machines.List()->SelectedGuid(), rows[0].sItemGUID);
    EXPECT_TRUE(manager.Changed());

    // Down moves it after the full fan.
    manager.MoveMachine(rows[0].sItemGUID, +1);
    EXPECT_EQ(Db().ListMachines()[1].sName, QStringLiteral("Pump"));
}

TEST_F(EditorDialogsTest, RouteManagerAddsChosenMachinesAndRefusesDuplicatesAndMachinesWithoutPoints) {
    const QString fan = Machine(QStringLiteral("Fan"), 1);
    const QString pump = Machine(QStringLiteral("Pump"), 2);
    Machine(QStringLiteral("Empty"), 0);
    prompter.nameAnswers.push_back(QStringLiteral("East:1")); // refused, asked again
    prompter.nameAnswers.push_back(QStringLiteral("East"));
    CRouteManagerDialog manager(*app);
    manager.AddRoute();
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::NamePromptForbiddenCharacters)});
    ASSERT_EQ(Db().ListRoutes().size(), 1u);
    const QString route = Db().ListRoutes()[0].sItemGUID;
    EXPECT_EQ(manager.Routes()->List()->SelectedGuid(), route);

    const auto choose = [](QStringList names) {
        WhenModal([names](QWidget* modal) {
            auto* chooser = qobject_cast<CSelectMachinesDialog*>(modal);
            ASSERT_NE(chooser, nullptr);
            for (int row = 0; row < chooser->List()->count(); ++row) {
                chooser->List()->item(row)->setSelected(names.contains(chooser->List()->item(row)->text()));
            }
            chooser->accept();
        });
    };
    choose({QStringLiteral("Pump")});
    manager.AddItems();
    choose({QStringLiteral("Fan")});
    manager.AddItems(Db().ListRouteItems(route)[0].sItemGUID); // inserted before the pump
    prompter.records.clear();
    choose({QStringLiteral("Empty")});
    manager.AddItems();
    choose({QStringLiteral("Pump")});
    manager.AddItems();
    EXPECT_EQ(prompter.Messages(),
              (QStringList{UiText(text::MachineWithoutVibPoints), UiText(text::MachineAlreadyInRoute)}));

    const std::vector<CRouteItem> items = Db().ListRouteItems(route);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].sMachineGUID, fan);
    EXPECT_EQ(items[1].sMachineGUID, pump);
    EXPECT_EQ(manager.Items()->List()->topLevelItem(0)->text(1), QStringLiteral("Fan"));
    EXPECT_EQ(manager.Items()->List()->topLevelItem(1)->text(2), QStringLiteral("2"));
    EXPECT_TRUE(manager.Changed());
    Grab(manager, QStringLiteral("route-manager"));
}

// The route manager shows each route's interval and its compliance over the last 90 days up to
// today (the period `vantor compliance` takes by default), and stores the selected route's interval
// and start date; a start date unticked is removed again.
TEST_F(EditorDialogsTest, RouteManagerShowsAndEditsTheScheduleWithItsCompliance) {
    const QString fan = Machine(QStringLiteral("Fan"), 1);
    const CRoute route{MakeItemGuid(), 0, QStringLiteral("East")};
    ASSERT_TRUE(Db().UpsertRoute(route));
    ASSERT_TRUE(Db().UpsertRouteItem({MakeItemGuid(), route.sItemGUID, 0, fan, QStringLiteral("Fan")}));
    const QString point = Db().ListVibs(fan).at(0).sItemGUID;
    const QDate today = QDate::currentDate();
    for (const int daysAgo : {88, 62, 36, 10}) {
        CVibReading reading;
        reading.sItemGUID = MakeItemGuid();
        reading.sParentGUID = point;
        reading.ctDateTaken = QDateTime(today.addDays(-daysAgo), QTime(9, 0));
        ASSERT_TRUE(Db().UpsertVibReading(reading));
    }
    const auto expected = [&] {
        const ComplianceCount count = ComplianceOver(Db(), today.addDays(-90), today).total;
        return QStringLiteral("%1 of %2 due measurements on time (%3 %)")
            .arg(count.onTime)
            .arg(count.due)
            .arg(QLocale().toString(*count.Percent(), 'f', 1));
    };

    CRouteManagerDialog manager(*app);
    QTreeWidgetItem* row = manager.Routes()->List()->topLevelItem(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(1), QStringLiteral("30"));
    const QString before = expected();
    EXPECT_TRUE(manager.ComplianceLine()->text().endsWith(before))
        << manager.ComplianceLine()->text().toStdString();

    // Every 20 days from a start date: more due dates in the period, the line follows.
    manager.IntervalField()->setValue(20);
    manager.StartDateOn()->setChecked(true);
    manager.StartDateField()->setDate(today.addDays(-100));
    ASSERT_TRUE(manager.ApplySchedule());
    RouteScheduleRow stored = schedulerows::Of(Db().Connection(), route.sItemGUID);
    EXPECT_EQ(stored.intervalDays, 20);
    EXPECT_EQ(stored.startDate, today.addDays(-100));
    EXPECT_EQ(manager.Routes()->List()->topLevelItem(0)->text(1), QStringLiteral("20"));
    EXPECT_NE(expected(), before);
    EXPECT_TRUE(manager.ComplianceLine()->text().endsWith(expected()));
    EXPECT_TRUE(manager.Changed());

    manager.StartDateOn()->setChecked(false);
    ASSERT_TRUE(manager.ApplySchedule());
    stored = schedulerows::Of(Db().Connection(), route.sItemGUID);
    EXPECT_EQ(stored.intervalDays, 20);
    EXPECT_FALSE(stored.startDate.isValid());
    // A new dialog reads the stored schedule back.
    CRouteManagerDialog again(*app);
    EXPECT_EQ(again.IntervalField()->value(), 20);
    EXPECT_FALSE(again.StartDateOn()->isChecked());
    EXPECT_TRUE(prompter.Messages().isEmpty());
    Grab(again, QStringLiteral("route-manager-schedule"));
}

TEST_F(EditorDialogsTest, SettingsDialogsRefuseWhatTheLimitsForbidAndStoreAtOnce) {
    CStatusColumnsDialog columns(*app);
    Field<QCheckBox>(columns, "Kind4")->click(); // a fourth column
    EXPECT_FALSE(Field<QCheckBox>(columns, "Kind4")->isChecked());
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::MaxThreeSelections)});
    Field<QCheckBox>(columns, "Kind1")->click(); // bearing noise off, band 1 on in its place
    Field<QCheckBox>(columns, "Kind4")->click();
    Field<QCheckBox>(columns, "StatusAsValues")->setChecked(false);
    Grab(columns, QStringLiteral("status-columns"));
    columns.accept();

    CBandNamesDialog bands(*app);
    Field(bands, "Band2Name")->setText(QString(26, QLatin1Char('b')));
    bands.accept();
    EXPECT_NE(bands.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.Messages().last(), UiText(text::MaxLength25));
    Field(bands, "Band2Name")->setText(QStringLiteral("Misalignment 2x"));
    Grab(bands, QStringLiteral("band-names"));
    bands.accept();

    CUnitsDialog units(*app);
    Field<QComboBox>(units, "YAxisUnits")->setCurrentIndex(1);
    Grab(units, QStringLiteral("units"));
    units.accept();

    CSettings stored;
    SettingsStore(app->edition).Read(stored);
    EXPECT_EQ(stored.vibStatusColumn1, 0);
    EXPECT_EQ(stored.vibStatusColumn2, 2);
    EXPECT_EQ(stored.vibStatusColumn3, 4);
    EXPECT_EQ(stored.vibStatusValuesOn, 0);
    EXPECT_EQ(stored.band2Name, QStringLiteral("Misalignment 2x"));
    EXPECT_EQ(stored.yAxisUnits, 1);
    EXPECT_EQ(app->settings.velocityUnitLabel, UiText(text::UnitInchPerSecond));

    for (auto* dialog : std::initializer_list<QDialog*>{
             new CDecimalPlacesDialog(*app), new CFftDisplayDialog(*app), new CEmailExceptionsDialog(*app),
             new CMailServerDialog(*app), new CExceptionAddressesDialog(*app)}) {
        Grab(*dialog, dialog->metaObject()->className());
        delete dialog;
    }
}

TEST_F(EditorDialogsTest, ImportPreviewShowsEachRowsActionAndImportsOnlyAFileWithoutErrors) {
    Machine(QStringLiteral("Fan"), 1);
    const QString path = env.Root() + QStringLiteral("/plant.csv");
    const auto write = [&path](const QByteArray& content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    };
    const QByteArray header = "Machine,Kind,Point,Run speed Hz\r\n";
    write(header + "Fan,vib,P1,30\r\nFan,vib,P2,0\r\nPump,vib,Inlet,25\r\n");
    CCatalogueImportDialog refused(*app, path);
    QTableWidget& table = *refused.Table();
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.item(0, 1)->text(), UiText(text::Update));
    EXPECT_EQ(table.item(1, 0)->text(), QStringLiteral("3"));
    EXPECT_EQ(table.item(1, 1)->text(), UiText(text::RunSpeedMustBePositive));
    EXPECT_EQ(table.item(2, 1)->text(), UiText(text::AddCommand));
    EXPECT_FALSE(refused.ImportButton()->isEnabled());
    Grab(refused, QStringLiteral("catalogue-import-refused"));
    refused.accept();
    EXPECT_EQ(Db().ListMachines().size(), 1u);

    write(header + "Fan,vib,P1,30\r\nPump,vib,Inlet,25\r\n");
    CCatalogueImportDialog accepted(*app, path);
    ASSERT_TRUE(accepted.ImportButton()->isEnabled());
    accepted.ImportButton()->click();
    EXPECT_EQ(accepted.result(), QDialog::Accepted);
    ASSERT_EQ(Db().ListMachines().size(), 2u);
    EXPECT_EQ(Db().ListVibs(Db().ListMachines()[0].sItemGUID)[0].fRunSpeedHz, 30.0f);
}

} // namespace

namespace {

TEST_F(EditorDialogsTest, AddressListAndMailServerCheckAddressesAndStoreOnlyOnOk) {
    CExceptionAddressesDialog addresses(*app);
    ASSERT_TRUE(addresses.IsOpen());
    QLineEdit* address = Field(addresses, "Address");
    for (const char* typed : {"b@plant.org", "a@plant.org", "A@plant.org", "no-at-sign", "c@plant.org",
                              "d@plant.org", "e@plant.org", "f@plant.org"}) {
        address->setText(QLatin1String(typed));
        addresses.AddAddress();
    }
    // The same address in other case is taken once; the sixth is refused after the invalid one.
    EXPECT_EQ(prompter.Messages(),
              (QStringList{UiText(text::EmailAddressInvalid), UiText(text::FiveAddressesMax)}));
    EXPECT_EQ(addresses.Addresses(),
              (QStringList{"a@plant.org", "b@plant.org", "c@plant.org", "d@plant.org", "e@plant.org"}));
    auto sync = app->MakeSyncConnection();
    ASSERT_TRUE(sync->Open());
    EXPECT_TRUE(sync->ListEmailAddresses().isEmpty());
    addresses.accept();
    EXPECT_EQ(sync->ListEmailAddresses(), addresses.Addresses());

    prompter.records.clear();
    CMailServerDialog server(*app);
    Field(server, "SmtpHost")->setText(QStringLiteral(" mail.plant.org "));
    Field<QSpinBox>(server, "SmtpPort")->setValue(587);
    Field<QComboBox>(server, "SmtpSecurity")->setCurrentIndex(1);
    Field(server, "SmtpFrom")->setText(QStringLiteral("vantor at plant"));
    Field(server, "TestTo")->setText(QStringLiteral("a@plant.org; broken"));
    server.SendTest();
    server.accept();
    EXPECT_EQ(prompter.Messages(),
              (QStringList{UiText(text::EmailAddressInvalid), UiText(text::EmailAddressInvalid)}));
    EXPECT_NE(server.result(), QDialog::Accepted);
    EXPECT_TRUE(app->settings.smtpHost.isEmpty());
    Field(server, "SmtpFrom")->setText(QStringLiteral("vantor@plant.org"));
    server.accept();
    CSettings stored;
    SettingsStore(app->edition).Read(stored);
    EXPECT_EQ(stored.smtpHost, QStringLiteral("mail.plant.org"));
    EXPECT_EQ(stored.smtpPort, 587);
    EXPECT_EQ(stored.smtpSecurity, 1);
    EXPECT_EQ(stored.smtpFrom, QStringLiteral("vantor@plant.org"));
}

// The dialog's password goes to the user's secret store, never into the settings file; the
// permission to send it without encryption names the server it was given for.
TEST_F(EditorDialogsTest, MailServerPasswordGoesToTheSecretStore) {
    {
        CMailServerDialog server(*app);
        Field(server, "SmtpHost")->setText(QStringLiteral("mail.plant.org"));
        Field(server, "SmtpUser")->setText(QStringLiteral("monitor"));
        Field(server, "SmtpPassword")->setText(QStringLiteral("s3cret"));
        server.findChild<QCheckBox*>(QStringLiteral("SmtpAllowPlainAuth"))->setChecked(true);
        server.accept();
        ASSERT_EQ(server.result(), QDialog::Accepted);
    }
    EXPECT_EQ(UserSecrets(app->edition).Read(kSmtpPasswordSecret), QStringLiteral("s3cret"));
    QFile file(SettingsStore(app->edition).FilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("s3cret"));
    EXPECT_TRUE(text.contains("SmtpAllowPlainAuth=mail.plant.org")) << text.toStdString();

    // Opened again: the stored password is shown (hidden); cleared, it leaves the store.
    CMailServerDialog again(*app);
    EXPECT_EQ(Field(again, "SmtpPassword")->text(), QStringLiteral("s3cret"));
    EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("SmtpAllowPlainAuth"))->isChecked());
    Field(again, "SmtpPassword")->clear();
    QTest::keyClicks(Field(again, "SmtpHost"), QStringLiteral(".uk"));
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("SmtpAllowPlainAuth"))->isChecked())
        << "another server starts without the permission";
    again.accept();
    EXPECT_FALSE(UserSecrets(app->edition).Read(kSmtpPasswordSecret).has_value());
    EXPECT_TRUE(app->settings.smtpAllowPlainAuth.isEmpty());
}

TEST_F(EditorDialogsTest, MachineManagerDeletesOnlyAfterYesAndSelectsTheNextMachine) {
    const QString fan = Machine(QStringLiteral("Fan"), 2);
    const QString pump = Machine(QStringLiteral("Pump"), 1);
    CMachineManagerDialog manager(*app);
    manager.Machines()->List()->SelectGuid(fan);
    prompter.yesNoAnswers = {false, true};
    manager.DeleteMachine(fan);
    EXPECT_EQ(Db().ListMachines().size(), 2u);
    EXPECT_FALSE(manager.Changed());
    manager.DeleteMachine(fan);
    ASSERT_EQ(Db().ListMachines().size(), 1u);
    EXPECT_EQ(Db().CountVibs(fan), 0);
    EXPECT_EQ(prompter.Texts().front(),
              UiText(text::DeleteMachineWarning) + QStringLiteral("\r\n") + UiText(text::AreYouSureDelete));
    EXPECT_EQ(manager.Machines()->List()->SelectedGuid(), pump);
    EXPECT_EQ(manager.VibPoints()->List()->topLevelItemCount(), 1);
    EXPECT_TRUE(manager.Changed());
}

} // namespace
