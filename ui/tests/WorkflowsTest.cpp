// What a new user does from the menus to the end: the catalogue from File, a first start on an empty
// database, the report's file and its end, the meter port from Set-up to the sync run and To Meter's
// end text, the editors' focus, limits and decimals, and every changed dialog within 1024 x 768.
#include "app/CatalogueEditor.h"
#include "app/ReportSetup.h"
#include "app/RouteEditor.h"
#include "app/RouteSelection.h"
#include "app/Startup.h"
#include "app/SyncRunSettings.h"
#include "app/tests/ReportTestData.h"
#include "device/tests/EmulatedMeter.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "reports/document/ReportTexts.h"
#include "store/Validation.h"
#include "texts/UiText.h"
#include "ui/common/RecordList.h"
#include "ui/report/ReportDoneDialog.h"
#include "ui/report/ReportProgressDialog.h"
#include "ui/report/ReportWizard.h"
#include "ui/setup/CatalogueImportDialog.h"
#include "ui/setup/EditableList.h"
#include "ui/setup/EditorFields.h"
#include "ui/setup/MachineManagerDialog.h"
#include "ui/setup/MachineSetupDialog.h"
#include "ui/setup/PointSetupDialogs.h"
#include "ui/setup/RouteManagerDialog.h"
#include "ui/sync/MeterPortDialog.h"
#include "ui/sync/OffRouteDialog.h"
#include "ui/sync/SyncDialog.h"
#include "ui/tests/DialogTesting.h"
#include "ui/window/MachineStatusTable.h"
#include "ui/window/MainWindow.h"
#include <VantorLabel/VantorLabelCtrl.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using vantor::testing::Grab;
using vantor::testing::WhenModal;

using namespace vantor;
using namespace std::chrono_literals;

namespace {

// Saves a picture of a dialog into $VANTOR_DIALOG_GRABS (when set) to look at.

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WorkflowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter, Edition::For(2, 0));
        ASSERT_TRUE(InitDataRoot(*app));
    }
    void TearDown() override { UiTextTable::ResetToDefaults(); }

    // A started main window on the data root.
    MainWindow& Window() {
        if (!mainWindow) {
            mainWindow = std::make_unique<MainWindow>(
                *app, [](const QString&) {}, 1ms);
            EXPECT_TRUE(mainWindow->Initialise(QStringLiteral("Corvane")));
        }
        return *mainWindow;
    }
    CMainConnection& Db() { return *app->MainConnection(); }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    std::unique_ptr<MainWindow> mainWindow;
};

TEST_F(WorkflowsTest, AnEmptyDatabaseSaysWhatToDoFirstAndTheFileMenuImportsAndExportsTheCatalogue) {
    MainWindow& window = Window();
    EXPECT_EQ(window.ViewPane()->currentWidget(), window.FirstStartHint());
    EXPECT_EQ(window.FirstStartHint()->text(), UiText(text::added::FirstStartHint));

    const QString sheet = env.Root() + QStringLiteral("/plant.csv");
    QFile file(sheet);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Machine,Kind,Point,Run speed Hz\r\nPump,vib,Inlet,25\r\nPump,vib,Outlet,25\r\n");
    file.close();
    std::vector<FileRequest> asked;
    QString answer = sheet;
    window.SetFileQuestion([&](QWidget*, const FileRequest& request) {
        asked.push_back(request);
        return answer;
    });
    // The preview comes up; Import stores the rows and the tree shows them.
    QString previewTitle;
    WhenModal([&previewTitle](QWidget* dialog) {
        previewTitle = dialog->windowTitle();
        auto* preview = qobject_cast<CCatalogueImportDialog*>(dialog);
        ASSERT_NE(preview, nullptr);
        ASSERT_TRUE(preview->ImportButton()->isEnabled());
        preview->ImportButton()->click();
    });
    window.ImportCatalogueAction()->trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].save);
    EXPECT_EQ(asked[0].title, UiText(text::added::ImportCatalogue));
    EXPECT_EQ(previewTitle, UiText(text::added::ImportCatalogue) + QStringLiteral(" - plant.csv"));
    ASSERT_EQ(Db().ListMachines().size(), 1u);
    EXPECT_EQ(Db().CountVibs(Db().ListMachines()[0].sItemGUID), 2);
    EXPECT_EQ(window.ViewPane()->currentWidget(), window.StatusTable());
    EXPECT_EQ(window.StatusTable()->RowCount(), 2);

    // Export: the name without its extension gains ".csv"; the file names both points.
    answer = env.Root() + QStringLiteral("/exported");
    window.ExportCatalogueAction()->trigger();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_TRUE(asked[1].save);
    const QByteArray exported = ReadAll(answer + QStringLiteral(".csv"));
    EXPECT_TRUE(exported.contains("Inlet") && exported.contains("Outlet")) << exported.constData();
    // The menu entries carry their own texts and mnemonics.
    EXPECT_EQ(QString(window.ImportCatalogueAction()->text()).remove(QLatin1Char('&')),
              UiText(text::added::ImportCatalogue) + QStringLiteral("..."));
    EXPECT_TRUE(window.ImportCatalogueAction()->text().contains(QLatin1Char('&')));
}

TEST_F(WorkflowsTest, AFinishedToMeterSaysWhatWasSentAndTheRunShowsNoEarlierWords) {
    MainWindow& window = Window();
    SyncOutcome outcome;
    outcome.finalText = UiText(text::SyncCompleted);
    window.ShowSyncOutcome(outcome, QStringLiteral("Route Week 50: 2 machines, 4 points sent to Demo meter"));
    EXPECT_EQ(
        window.SyncCaption()->property("Caption").toString(),
        QStringLiteral("Sync Completed - 0 Readings uploaded - Route Week 50: 2 machines, 4 points sent "
                       "to Demo meter"));
    // From Meter's end stays as it was.
    window.ShowSyncOutcome(outcome);
    EXPECT_EQ(window.SyncCaption()->property("Caption").toString(),
              QStringLiteral("Sync Completed - 0 Readings uploaded"));
}

TEST_F(WorkflowsTest, TheMeterPortChosenInSetUpReachesToMeterWhichEndsWithWhatWasSent) {
    ASSERT_TRUE(RunHeadlessStartup(*app));
    CatalogueEditor editor(Db(), prompter);
    CMachine fan;
    fan.sName = fan.sVMName = QStringLiteral("Fan 3");
    const QString fanGuid = editor.SaveMachine(fan, {}).value();
    for (const char* name : {"DE", "NDE"}) {
        CVib vib;
        vib.sParentGUID = fanGuid;
        vib.sName = vib.sVMName = QString::fromLatin1(name);
        vib.fRunSpeedHz = 24.5f;
        ASSERT_TRUE(editor.SaveVib(vib));
    }
    RouteEditor routes(Db(), prompter);
    const QString route = routes.AddRoute(QStringLiteral("Week 50 Fans")).value_or(QString());
    ASSERT_TRUE(routes.AddMachines(route, {fanGuid}));

    const auto meter = vantor::testing::StartMeter(R"({"meter": {"version": "1.1"}})");
    ASSERT_NE(meter, nullptr);
    // Set-up > Meter Port: the emulator's pseudo-terminal typed into the port box.
    WhenModal([&meter](QWidget* dialog) {
        auto* ports = qobject_cast<CMeterPortDialog*>(dialog);
        ASSERT_NE(ports, nullptr);
        EXPECT_EQ(ports->windowTitle(), UiText(text::added::MeterPort));
        EXPECT_TRUE(ports->Message()->isHidden());
        ports->Choice()->setCurrentText(meter->DevicePath());
        ports->accept();
    });
    ASSERT_TRUE(RunMeterPortSetting(*app, nullptr));
    EXPECT_EQ(app->settings.meterPort, meter->DevicePath());

    SyncSettings settings = MakeSyncSettings(*app, false, route);
    EXPECT_EQ(settings.port, meter->DevicePath());
    settings.linkTimings = vantor::testing::kTestTimings;
    settings.announcePause = 1ms;
    prompter.nameAnswers = {QStringLiteral("Demo meter")};
    MeterPortPrompter ports(*app, prompter, nullptr);
    CSyncDialog dialog(settings, ports, nullptr, {10ms, 10ms});
    dialog.exec();
    ASSERT_NE(dialog.Outcome(), nullptr);
    ASSERT_EQ(dialog.Outcome()->result, 0) << qPrintable(dialog.Outcome()->message);
    EXPECT_EQ(dialog.Outcome()->deviceName, QStringLiteral("Demo meter"));
    EXPECT_FALSE(ports.PortChanged());
    EXPECT_EQ(RouteSentText(*app, route, dialog.Outcome()->deviceName),
              QStringLiteral("Route Week 50 Fans: 1 machines, 2 points sent to Demo meter"));
    EXPECT_EQ(meter->State().assets.size(), 2u); // the route's machine and Off Route
}

TEST_F(WorkflowsTest, TheSyncBarCountsTheReadingsAsTheyAreUploaded) {
    ASSERT_TRUE(RunHeadlessStartup(*app));
    CSyncDialog dialog(MakeSyncSettings(*app, true), prompter, nullptr, {60s, 10ms});
    const QString uploading =
        QStringLiteral("%1: 3 %2 10").arg(UiText(text::UploadingReading), UiText(text::Of));
    dialog.ShowProgress(uploading);
    EXPECT_EQ(dialog.ProgressText(), uploading);
    EXPECT_EQ(dialog.Bar()->maximum(), 10);
    EXPECT_EQ(dialog.Bar()->value(), 3);
    EXPECT_EQ(dialog.Bar()->text(), QStringLiteral("3 of 10"));
    // Any other step runs the busy bar without a count.
    dialog.ShowProgress(UiText(text::CheckingForNewData));
    EXPECT_EQ(dialog.Bar()->maximum(), 0);
    EXPECT_FALSE(dialog.Bar()->isTextVisible());
    dialog.AbortButton()->click();
    dialog.exec();
}

TEST_F(WorkflowsTest, NoCradleOffersThePortInTheSameQuestionAndAnotherPortStartsTheRunAgain) {
    app->settings.meterPort = QStringLiteral("/dev/ttyS0");
    struct Row {
        QString question;
        std::optional<QString> chosen; // none: Cancel
        bool retry;
        bool portChanged;
        QString setting;
    };
    const Row rows[] = {
        {UiText(text::NoCradleDetected), std::nullopt, false, false, QStringLiteral("/dev/ttyS0")},
        {UiText(text::NoCradleDetected), QStringLiteral("/dev/ttyS0"), true, false,
         QStringLiteral("/dev/ttyS0")},
        {UiText(text::NoDeviceDetected), QStringLiteral("/dev/pts/4"), false, true,
         QStringLiteral("/dev/pts/4")},
        {UiText(text::NoCradleDetected), QString(), false, true, QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen.value_or(QStringLiteral("cancel")).toStdString());
        MeterPortPrompter ports(*app, prompter, nullptr);
        QString shownReason;
        ports.SetPortDialog([&](const QString&, const QString& reason) {
            shownReason = reason;
            return row.chosen;
        });
        EXPECT_EQ(ports.AskRetryCancel(row.question), row.retry);
        EXPECT_EQ(shownReason, row.question);
        EXPECT_EQ(ports.PortChanged(), row.portChanged);
        EXPECT_EQ(app->settings.meterPort, row.setting);
    }
    // Every other question goes on to the user's prompter unchanged.
    MeterPortPrompter ports(*app, prompter, nullptr);
    ports.SetPortDialog([](const QString&, const QString&) -> std::optional<QString> {
        ADD_FAILURE() << "the port dialog answered another question";
        return std::nullopt;
    });
    prompter.retryAnswers = {true};
    EXPECT_TRUE(ports.AskRetryCancel(QStringLiteral("Another question")));
    ASSERT_EQ(prompter.records.size(), 1u);
    EXPECT_EQ(prompter.records[0].text, QStringLiteral("Another question"));
}

TEST_F(WorkflowsTest, TheReportsLastPageChoosesFormatAndFileAndTheEndOffersToOpenIt) {
    vantor::testing::ReportPlant plant;
    plant.AddStandardPlant();
    QTemporaryDir folder;
    std::vector<FileRequest> asked;
    const QString chosen = folder.filePath(QStringLiteral("Fans.odt"));
    CReportWizard wizard(*plant.app, nullptr, [&](QWidget*, const FileRequest& request) {
        asked.push_back(request);
        return chosen;
    });
    wizard.show();
    wizard.MachineList()->item(0)->setCheckState(Qt::Checked);
    for (int guard = 0; guard < 10 && wizard.currentId() != CReportWizard::SavePage; ++guard) {
        wizard.next();
    }
    ASSERT_EQ(wizard.currentId(), CReportWizard::SavePage);
    Grab(wizard, QStringLiteral("report-save-page"));
    // PDF first, a dated name in the reports folder.
    EXPECT_TRUE(wizard.FormatButton(CReportWizard::Format::Pdf)->isChecked());
    const QFileInfo proposed(wizard.OutputPath());
    EXPECT_EQ(proposed.suffix(), QStringLiteral("pdf"));
    EXPECT_TRUE(proposed.fileName().startsWith(UiText(text::VibrationAnalysisReport)));
    // The extension follows the format; Browse chooses the file and, by its extension, the format.
    wizard.FormatButton(CReportWizard::Format::Odt)->setChecked(true);
    EXPECT_EQ(QFileInfo(wizard.OutputPath()).suffix(), QStringLiteral("odt"));
    wizard.BrowseButton()->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(wizard.OutputPath(), chosen);
    wizard.FormatButton(CReportWizard::Format::Pdf)->setChecked(true);
    const QString pdf = folder.filePath(QStringLiteral("Fans.pdf"));
    EXPECT_EQ(wizard.OutputPath(), pdf);
    // A file the user cannot write is refused on the page.
    wizard.PathEdit()->setText(QStringLiteral("/proc/no-such/report.pdf"));
    EXPECT_FALSE(wizard.validateCurrentPage());
    EXPECT_EQ(plant.prompter.Messages(), QStringList{UiText(text::ErrorExportingData)});
    wizard.PathEdit()->setText(pdf);
    EXPECT_TRUE(wizard.validateCurrentPage());

    // The report is written where chosen, as a PDF.
    CReportProgressDialog progress(MakeReportJob(*plant.app, wizard.Options(), wizard.OutputPath()), nullptr,
                                   1ms);
    progress.exec();
    ASSERT_EQ(progress.Outcome().result, ReportOutcome::Result::Written)
        << qPrintable(progress.Outcome().message);
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));

    // The end names the file; a failing opener is said plainly, a working one closes the dialog.
    QStringList opened;
    bool opens = false;
    CReportDoneDialog done(pdf, [&](const QString& path) {
        opened << path;
        return opens;
    });
    EXPECT_TRUE(done.Message()->text().contains(pdf));
    Grab(done, QStringLiteral("report-done"));
    done.OpenButton()->click();
    EXPECT_EQ(opened, QStringList{pdf});
    EXPECT_EQ(done.Message()->text(), UiText(text::added::NoProgramOpensReport).arg(pdf));
    EXPECT_NE(done.result(), QDialog::Accepted);
    Grab(done, QStringLiteral("report-done-no-program"));
    opens = true;
    done.ShowInFolderButton()->click();
    EXPECT_EQ(opened.last(), folder.path());
    EXPECT_EQ(done.result(), QDialog::Accepted);
}

TEST_F(WorkflowsTest, EditorsFocusTheNameStopAtTheLimitsWhileTypingAndShowTheFieldsDecimals) {
    ASSERT_TRUE(RunHeadlessStartup(*app));
    CatalogueEditor editor(Db(), prompter);
    CMachineSetupDialog machine(editor, prompter, CMachine{}, {});
    machine.show();
    QApplication::setActiveWindow(&machine);
    auto* name = machine.findChild<QLineEdit*>(QStringLiteral("Name"));
    auto* meterName = machine.findChild<QLineEdit*>(QStringLiteral("MeterName"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(meterName, nullptr);
    EXPECT_EQ(machine.focusWidget(), name);
    // With "Same as Name" the meter name takes what the meter can hold of the name.
    QTest::keyClicks(name, QStringLiteral("Cooling tower fan, north"));
    EXPECT_EQ(meterName->text(), QStringLiteral("Cooling tower ").left(kMeterNameMaxLength));
    QTest::keyClicks(name, QString(60, QLatin1Char('x')));
    EXPECT_EQ(name->text().size(), kNameMaxLength);
    // Typed by hand: no comma, nothing beyond the meter's length, no forbidden character.
    machine.findChild<QCheckBox*>(QStringLiteral("SameAsName"))->setChecked(false);
    meterName->clear();
    QTest::keyClicks(meterName, QStringLiteral("Tower,Fan*North-East"));
    EXPECT_EQ(meterName->text(), QStringLiteral("TowerFanNorth-"));
    machine.accept();
    EXPECT_TRUE(prompter.Messages().isEmpty()) << qPrintable(prompter.Messages().join('|'));
    EXPECT_EQ(machine.result(), QDialog::Accepted);

    CVib vib;
    vib.sParentGUID = machine.SavedGuid();
    vib.sName = vib.sVMName = QStringLiteral("DE");
    vib.fRunSpeedHz = 24.666666f;
    const QString guid = editor.SaveVib(vib).value();
    ASSERT_TRUE(Db().GetVib(guid, vib));
    CVibPointSetupDialog point(editor, prompter, vib, DisplayUnits());
    point.show();
    QApplication::setActiveWindow(&point);
    EXPECT_EQ(point.focusWidget(), point.findChild<QLineEdit*>(QStringLiteral("Name")));
    EXPECT_EQ(point.findChild<QLineEdit*>(QStringLiteral("RunSpeedHz"))->text(), QStringLiteral("24.667"));
    EXPECT_EQ(point.findChild<QLineEdit*>(QStringLiteral("RunSpeedRpm"))->text(), QStringLiteral("1480"));
    // Left as shown, the stored speed is kept exactly.
    point.accept();
    ASSERT_EQ(point.result(), QDialog::Accepted);
    CVib stored;
    ASSERT_TRUE(Db().GetVib(guid, stored));
    EXPECT_EQ(stored.fRunSpeedHz, 24.666666f);
    // The manager lists the speed as the field shows it.
    CMachineManagerDialog manager(*app);
    manager.Machines()->List()->SelectGuid(machine.SavedGuid());
    ASSERT_EQ(manager.VibPoints()->List()->topLevelItemCount(), 1);
    EXPECT_EQ(manager.VibPoints()->List()->topLevelItem(0)->text(2), QStringLiteral("24.667"));
}

TEST(FormatShown, RoundsToTheFieldsDecimalsAndDropsTrailingZeros) {
    const std::tuple<double, int, QString> rows[] = {
        {24.666666, 3, "24.667"}, {1480.0, 1, "1480"}, {25.0, 3, "25"},
        {0.1102, 3, "0.11"},      {-0.0001, 3, "0"},   {12.5, 0, "13"},
    };
    for (const auto& [value, decimals, shown] : rows) {
        EXPECT_EQ(FormatShown(value, decimals), shown) << value;
    }
}

TEST_F(WorkflowsTest, EveryChangedDialogFitsA1024By768Screen) {
    ASSERT_TRUE(RunHeadlessStartup(*app));
    CatalogueEditor editor(Db(), prompter);
    CVib vib;
    const QString sheet = env.Root() + QStringLiteral("/wide.csv");
    QFile file(sheet);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Machine,Kind,Point,Run speed Hz,Machine meter name,Point meter name\r\n"
               "A machine with a long name in the north hall,vib,Drive end bearing horizontal,25,M1,P1\r\n");
    file.close();
    std::vector<std::pair<QString, std::unique_ptr<QWidget>>> dialogs;
    dialogs.emplace_back("machine-manager", std::make_unique<CMachineManagerDialog>(*app));
    dialogs.emplace_back("route-manager", std::make_unique<CRouteManagerDialog>(*app));
    dialogs.emplace_back("machine-setup",
                         std::make_unique<CMachineSetupDialog>(editor, prompter, CMachine{}));
    dialogs.emplace_back("vib-point-setup",
                         std::make_unique<CVibPointSetupDialog>(editor, prompter, vib, DisplayUnits()));
    dialogs.emplace_back("catalogue-import", std::make_unique<CCatalogueImportDialog>(*app, sheet));
    dialogs.emplace_back("meter-port",
                         std::make_unique<CMeterPortDialog>(QString(), UiText(text::NoCradleDetected)));
    dialogs.emplace_back("off-route", std::make_unique<COffRouteDialog>(*app));
    dialogs.emplace_back("report-wizard", std::make_unique<CReportWizard>(*app));
    for (const auto& [name, dialog] : dialogs) {
        dialog->show();
        QApplication::processEvents();
        EXPECT_LE(dialog->frameGeometry().width(), 1024) << name.toStdString();
        EXPECT_LE(dialog->frameGeometry().height(), 768) << name.toStdString();
        EXPECT_LE(dialog->minimumSizeHint().width(), 1024) << name.toStdString();
        Grab(*dialog, name);
        dialog->hide();
    }
}

} // namespace
