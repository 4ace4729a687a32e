#include "ui/window/MainWindow.h"

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"
#include "app/Database.h"
#include "app/DatabaseBackup.h"
#include "app/DatabaseSwitch.h"
#include "app/DatabaseWatch.h"
#include "app/ProcessEntry.h"
#include "app/ReadingFindings.h"
#include "app/RouteSchedule.h"
#include "app/RouteSelection.h"
#include "app/TypedSettings.h"
#include "device/MeterResults.h"
#include "platform/ProgramData.h"
#include "platform/Version.h"
#include "texts/UiText.h"
#include "ui/common/DataFileProgressDialog.h"
#include "ui/common/DisplayLanguage.h"
#include "ui/common/Log.h"
#include "ui/common/MainWindowTexts.h"
#include "ui/common/Mnemonics.h"
#include "ui/report/ReportWizard.h"
#include "ui/setup/BearingLibraryDialog.h"
#include "ui/setup/CatalogueImportDialog.h"
#include "ui/setup/DeviceNamesDialog.h"
#include "ui/setup/MachineManagerDialog.h"
#include "ui/setup/RouteManagerDialog.h"
#include "ui/setup/SettingsDialogs.h"
#include "ui/sync/DesktopSync.h"
#include "ui/sync/MeterPortDialog.h"
#include "ui/sync/OffRouteDialog.h"
#include "ui/sync/SelectRouteDialog.h"
#include "ui/sync/SyncDialog.h"
#include "ui/views/PointViews.h"
#include "ui/window/AppLook.h"
#include "ui/window/DatabaseMenu.h"
#include "ui/window/DisplayCommands.h"
#include "ui/window/FollowUpPane.h"
#include "ui/window/HelpDialogs.h"
#include "ui/window/ImportWaveformDialog.h"
#include "ui/window/MachineStatusTable.h"
#include "ui/window/MachineTreeModel.h"
#include "ui/window/WaveformDrop.h"

#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <array>

namespace vantor {
namespace {

// Show states of the stored window placement.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
const QSize kFirstStartSize(1024, 700);
// The machine tree's width before the user moves the splitter ("MoveSplitterBy" is the offset from
// it), and the least either pane keeps.
constexpr int kTreeDefaultWidth = 260;
constexpr int kLeastPaneWidth = 80;
constexpr std::size_t kMachinesOpenAtStart = 20;
// How long the findings work runs between events, so the window stays responsive meanwhile.
constexpr std::chrono::milliseconds kFindingsSlice{25};

} // namespace

MainWindow::MainWindow(CAppData& app, PendingDataFile::Importer importer,
                       std::chrono::milliseconds importDelay)
    : app_(app),
      pending_(
          app.dataFileExtension,
          importer ? std::move(importer) : [this](const QString& path) { ImportFile(path); }, importDelay),
      guide_(UserGuideFolder()) {
    // A failure found later (the database becoming unusable) closes the window from the event loop.
    app_.closeMainWindow = [this] {
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    };
    resize(kFirstStartSize);
    findingsTimer_ = new QTimer(this);
    findingsTimer_->setInterval(0);
    connect(findingsTimer_, &QTimer::timeout, this, [this] { WorkOnFindings(kFindingsSlice); });
    liveTimer_ = new QTimer(this);
    liveTimer_->setInterval(kLiveRefreshInterval);
    connect(liveTimer_, &QTimer::timeout, this, &MainWindow::CheckForOutsideChanges);
    BuildMenus();
    BuildViewArea();
    BuildStatusBar();
    RefreshTexts();
}

MainWindow::~MainWindow() {
    app_.closeMainWindow = nullptr;
}

bool MainWindow::Initialise(const QString& executableName, const WriteProbe& probe) {
    const StartupResult result = RunStartupSteps(app_, executableName, probe);
    guide_.SetFolder(UserGuideFolder());
    language_ = result.language;
    RebuildLanguageMenu();
    RefreshTexts();
    if (!result.ok) {
        close();
        return false;
    }
    // The remote database when it was in use last time. A refused one is told and leaves no
    // database open: work meant for it never lands in the local database unless the user chooses
    // that in the Connection menu (or tries the remote one again there).
    if (RemoteDatabaseChosen(app_.settings)) {
        SwitchToRemote(app_, probe, RemoteFallback::Stop);
        app_.WriteSettings();
    }
    ApplyAppLook(AppLookFor(app_.settings.appLook));
    RebuildAppLookMenu();
    RestorePlacement();
    initialised_ = true;
    if (isVisible()) {
        splitterPlaced_ = true;
        ApplySplitterOffset();
    }
    RefreshPlant();
    tree_->setCurrentIndex(treeModel_->PlantIndex());
    tree_->expand(treeModel_->PlantIndex());
    // A small plant opens with every machine's points in view.
    if (treeModel_->Plant().machines.size() <= kMachinesOpenAtStart) {
        tree_->expandAll();
    }
    pending_.StartIfPending();
    if (DatabaseOpen(app_)) {
        lastChange_ = DatabaseChangeCounter(Database(app_));
    }
    liveTimer_->start();
    return true;
}

QString MainWindow::Caption() const {
    return vantor::DatabaseCaption(app_);
}

void MainWindow::BringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::ChooseLanguage(int menuId) {
    const std::optional<QString> language = language_.LanguageForMenuId(menuId);
    if (!language) {
        return;
    }
    language_ = ApplyChosenLanguage(app_, *language);
    RebuildLanguageMenu();
    RefreshTexts();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (initialised_ && !splitterPlaced_) {
        splitterPlaced_ = true;
        ApplySplitterOffset();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (initialised_) {
        StorePlacement();
        app_.WriteSettings();
    }
    event->accept();
}

QString MainWindow::DataFileFilter() const {
    const QString& extension = app_.dataFileExtension;
    return QStringLiteral("%1 Data (*.%2)").arg(app_.edition.title, extension);
}

ProgressOpener MainWindow::ProgressWindowFor(const QString& path) {
    return [this, title = QFileInfo(path).fileName()] {
        return std::make_unique<DataFileProgressDialog>(title, this);
    };
}

DataFileOutcome MainWindow::ImportFile(const QString& path) {
    if (!initialised_ || !DatabaseReadyForWork(app_)) {
        return DataFileOutcome::Failed;
    }
    // The question is answered before the progress window exists, so the window never covers it.
    const DataFileOutcome outcome = ImportDataFileInto(app_, path, false, ProgressWindowFor(path)).outcome;
    RefreshPlant(); // a damaged file may still have stored the records before the damage
    return outcome;
}

DataFileOutcome MainWindow::BackupData(const QString& path) {
    if (!initialised_ || !DatabaseOpen(app_)) {
        return DataFileOutcome::Failed;
    }
    return BackupDatabaseTo(app_, path) == BackupOutcome::Done ? DataFileOutcome::Done
                                                               : DataFileOutcome::Failed;
}

DataFileOutcome MainWindow::RestoreData(const QString& path) {
    if (!initialised_ || !DatabaseReadyForWork(app_)) {
        return DataFileOutcome::Failed;
    }
    const BackupOutcome outcome = RestoreDatabaseFrom(app_, path, ProgressWindowFor(path));
    RefreshPlant();
    switch (outcome) {
    case BackupOutcome::Done:
        return DataFileOutcome::Done;
    case BackupOutcome::Cancelled:
        return DataFileOutcome::Cancelled;
    case BackupOutcome::Failed:
        break;
    }
    return DataFileOutcome::Failed;
}

QString MainWindow::BackupFilter() const {
    // A backup is a copy of the database; backups of earlier versions were data files.
    return QStringLiteral("%1 Backup (*.%2);;%1 Data (*.%3)")
        .arg(app_.edition.title, QString::fromLatin1(kBackupExtension), app_.dataFileExtension);
}

void MainWindow::ChooseAndBackup() {
    if (!initialised_) {
        return;
    }
    const QString suggested =
        QDir(app_.settings.exportToFolder)
            .filePath(QStringLiteral("%1 %2.%3")
                          .arg(app_.edition.productName, QDate::currentDate().toString(Qt::ISODate),
                               QString::fromLatin1(kBackupExtension)));
    QString path =
        QFileDialog::getSaveFileName(this, UiText(text::window::BackupData), suggested, BackupFilter());
    if (path.isEmpty()) {
        return;
    }
    path = WithDataFileExtension(path, QString::fromLatin1(kBackupExtension));
    app_.settings.exportToFolder = QFileInfo(path).absolutePath();
    BackupData(path);
}

void MainWindow::ChooseAndRestore() {
    if (!initialised_) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, UiText(text::window::RestoreData),
                                                      app_.settings.exportToFolder, BackupFilter());
    if (!path.isEmpty()) {
        RestoreData(path);
    }
}

void MainWindow::ChooseAndImport() {
    const QString path = QFileDialog::getOpenFileName(this, UiText(text::ImportDataTitle),
                                                      app_.settings.exportToFolder, DataFileFilter());
    if (!path.isEmpty()) {
        ImportFile(path);
    }
}

void MainWindow::ChooseAndExport() {
    if (!initialised_ || !DatabaseOpen(app_)) {
        return;
    }
    QString path = QFileDialog::getSaveFileName(this, UiText(text::ExportDataTitle),
                                                app_.settings.exportToFolder, DataFileFilter());
    if (path.isEmpty()) {
        return;
    }
    path = WithDataFileExtension(path, app_.dataFileExtension);
    app_.settings.exportToFolder = QFileInfo(path).absolutePath();
    ExportDataFileFrom(app_, path, MachineSelection{}, ProgressWindowFor(path));
}

void MainWindow::ShowOffRouteReadings() {
    if (!initialised_) {
        return;
    }
    offRouteOpen_ = true;
    {
        COffRouteDialog dialog(app_, this);
        dialog.exec();
    }
    offRouteOpen_ = false;
    // Readings moved to points or deleted: the statuses and the off-route item change.
    RefreshPlant();
}

void MainWindow::ShowDeviceNames() {
    if (!initialised_) {
        return;
    }
    CDeviceNamesDialog dialog(app_, this);
    dialog.exec();
}

void MainWindow::FromMeter() {
    // The run stores into the database in use; without one the meter's flags stay set.
    if (!initialised_ || !DatabaseReadyForWork(app_)) {
        return;
    }
    RunSync(true, {});
}

void MainWindow::ToMeter() {
    if (!initialised_ || !DatabaseReadyForWork(app_)) {
        return;
    }
    if (!AnyRouteExists(app_)) {
        return;
    }
    CSelectRouteDialog select(app_, chosenRoute_, this);
    if (select.exec() != QDialog::Accepted) {
        return;
    }
    chosenRoute_ = select.Choice().guid;
    RunSync(false, chosenRoute_);
}

void MainWindow::RunSync(bool fromMeter, const QString& routeGuid) {
    for (;;) {
        // A run under way says so; the end of the run before it is not shown meanwhile.
        syncCaption_->setProperty("Caption", UiText(text::added::Synchronising));
        syncCaption_->setProperty("Color", static_cast<short>(CVantorLabelCtrl::Black));
        // No cradle or no meter on it: the run's question offers the meter port; another port
        // starts the run again on it.
        MeterPortPrompter prompter(app_, app_.UserPrompter(), this);
        if (portDialog_) {
            prompter.SetPortDialog(portDialog_);
        }
        {
            CSyncDialog dialog(MakeSyncSettings(app_, fromMeter, routeGuid), prompter, this);
            dialog.exec();
            if (const SyncOutcome* outcome = dialog.Outcome()) {
                const bool sent = !fromMeter && outcome->result == 0;
                ShowSyncOutcome(*outcome,
                                sent ? RouteSentText(app_, routeGuid, outcome->deviceName) : QString());
                AppendMissedPoints(*outcome);
            } else {
                syncCaption_->setProperty("Caption", QString());
            }
        }
        if (!prompter.PortChanged()) {
            break;
        }
    }
    RefreshPlant();
    SendExceptionEmails(app_, app_.UserPrompter(), this);
}

void MainWindow::BuildMenus() {
    fileMenu_ = menuBar()->addMenu(QString());
    importAction_ = fileMenu_->addAction(QString(), this, &MainWindow::ChooseAndImport);
    exportAction_ = fileMenu_->addAction(QString(), this, &MainWindow::ChooseAndExport);
    importWaveformAction_ = fileMenu_->addAction(QString(), this, &MainWindow::ImportWaveform);
    importWaveformAction_->setObjectName(QStringLiteral("ImportWaveform"));
    fileMenu_->addSeparator();
    importCatalogueAction_ = fileMenu_->addAction(QString(), this, [this] {
        if (initialised_ && DatabaseReadyForWork(app_) && RunCatalogueImport(app_, this, fileQuestion_)) {
            RefreshPlant();
        }
    });
    importCatalogueAction_->setObjectName(QStringLiteral("ImportCatalogue"));
    exportCatalogueAction_ = fileMenu_->addAction(QString(), this, [this] {
        if (initialised_) {
            RunCatalogueExport(app_, this, fileQuestion_);
        }
    });
    exportCatalogueAction_->setObjectName(QStringLiteral("ExportCatalogue"));
    fileMenu_->addSeparator();
    backupAction_ = fileMenu_->addAction(QString(), this, &MainWindow::ChooseAndBackup);
    restoreAction_ = fileMenu_->addAction(QString(), this, &MainWindow::ChooseAndRestore);
    fileMenu_->addSeparator();
    exitAction_ = fileMenu_->addAction(QString(), this, &QWidget::close);
    exitAction_->setMenuRole(QAction::QuitRole);
    setupMenu_ = menuBar()->addMenu(QString());
    // The catalogue editors change the plant; the settings dialogs change how it is drawn.
    const auto addEditor = [this](int textId, bool (*run)(CAppData&, QWidget*), bool plant) {
        QAction* action = setupMenu_->addAction(QString(), this, [this, run, plant] {
            if (run(app_, this)) {
                plant ? RefreshPlant() : RedrawViews();
            }
        });
        editorActions_.emplace_back(action, textId);
    };
    addEditor(text::MachineManagerTitle, &RunMachineManager, true);
    addEditor(text::RouteManagerTitle, &RunRouteManager, true);
    addEditor(text::added::Bearings, &RunBearingLibrary, false);
    setupMenu_->addSeparator();
    offRouteAction_ = setupMenu_->addAction(QString(), this, &MainWindow::ShowOffRouteReadings);
    deviceNamesAction_ = setupMenu_->addAction(QString(), this, &MainWindow::ShowDeviceNames);
    meterPortAction_ = setupMenu_->addAction(QString(), this, [this] { RunMeterPortSetting(app_, this); });
    meterPortAction_->setObjectName(QStringLiteral("MeterPortSetting"));
    setupMenu_->addSeparator();
    display_ = new DisplayCommands(app_, this);
    display_->AddMenusTo(setupMenu_);
    connect(display_, &DisplayCommands::Changed, this, &MainWindow::RedrawViews);
    setupMenu_->addSeparator();
    addEditor(text::VaBandNamesTitle, &RunBandNamesDialog, false);
    addEditor(text::EmailExceptionsOnUpload, &RunEmailExceptionsDialog, false);
    addEditor(text::ExceptionAddressesTitle, &RunExceptionAddressesDialog, false);
    addEditor(-1, &RunMailServerDialog, false);
    databaseMenu_ =
        new DatabaseMenu(app_, *this, [this](const QString& path) { return ProgressWindowFor(path); });
    connect(databaseMenu_, &DatabaseMenu::DatabaseChanged, this, [this] {
        RefreshTexts();
        RefreshPlant();
    });
    toMeterAction_ = menuBar()->addAction(QString(), this, &MainWindow::ToMeter);
    fromMeterAction_ = menuBar()->addAction(QString(), this, &MainWindow::FromMeter);
    reportMenu_ = menuBar()->addMenu(QString());
    createReportAction_ = reportMenu_->addAction(QString(), this, [this] { RunReportWizard(app_, this); });
    createReportAction_->setObjectName(QStringLiteral("CreateReport"));
    languageMenu_ = menuBar()->addMenu(QString());
    languageGroup_ = new QActionGroup(languageMenu_);
    languageGroup_->setExclusive(true);
    appLookMenu_ = menuBar()->addMenu(QString());
    appLookGroup_ = new QActionGroup(appLookMenu_);
    appLookGroup_->setExclusive(true);
    RebuildAppLookMenu();
    helpMenu_ = menuBar()->addMenu(QString());
    userGuideAction_ =
        helpMenu_->addAction(QString(), this, [this] { OpenUserGuide(QLatin1String(guide::Contents)); });
    userGuideAction_->setObjectName(QStringLiteral("UserGuide"));
    // F1 opens the guide at the page of the view in front, wherever the focus is in the window.
    contextHelpAction_ = new QAction(this);
    contextHelpAction_->setShortcut(DisplayCommands::HelpKey());
    contextHelpAction_->setShortcutContext(Qt::WindowShortcut);
    connect(contextHelpAction_, &QAction::triggered, this, [this] { OpenUserGuide(GuidePageInFront()); });
    addAction(contextHelpAction_);
    helpMenu_->addSeparator();
    shortcutsAction_ = helpMenu_->addAction(QString(), this, &MainWindow::ShowShortcuts);
    isoStandardsAction_ = helpMenu_->addAction(QString(), this, &MainWindow::ShowIsoStandards);
    helpMenu_->addSeparator();
    aboutAction_ = helpMenu_->addAction(QString(), this, &MainWindow::ShowAbout);
    aboutAction_->setMenuRole(QAction::AboutRole);
}

namespace {

// A status-bar caption: a label control on the bar's background, left aligned, one line.
CVantorLabelCtrl* MakeCaption(const QString& objectName, QWidget* parent) {
    CVantorLabelCtrl* caption =
        createVantorLabelControl(QString::fromLatin1(VantorLabelIds::ProgId), parent).release();
    caption->setObjectName(objectName);
    caption->resetToDefaults();
    caption->setProperty("HorizontalAlignment", static_cast<short>(CVantorLabelCtrl::Left));
    caption->setProperty("FontName", static_cast<short>(CVantorLabelCtrl::SystemFont));
    caption->setProperty("BorderEffect", static_cast<short>(CVantorLabelCtrl::Sunken));
    caption->setProperty("Caption", QString());
    constexpr int kCaptionHeight = 22;
    caption->setFixedHeight(kCaptionHeight);
    return caption;
}

} // namespace

void MainWindow::BuildStatusBar() {
    databaseCaption_ = MakeCaption(QStringLiteral("DatabaseCaption"), statusBar());
    syncCaption_ = MakeCaption(QStringLiteral("SyncCaption"), statusBar());
    constexpr int kDatabaseCaptionWidth = 200;
    databaseCaption_->setFixedWidth(kDatabaseCaptionWidth);
    statusBar()->addWidget(databaseCaption_);
    statusBar()->addWidget(syncCaption_, 1);
    newEvents_ = new QLabel(statusBar());
    newEvents_->setObjectName(QStringLiteral("NewEventsCaption"));
    statusBar()->addPermanentWidget(newEvents_);
    followUp_ = new FollowUpPane(app_, this);
    addDockWidget(Qt::BottomDockWidgetArea, followUp_);
    connect(followUp_, &FollowUpPane::EventsChanged, this, [this] { ReloadPlant(false); });
}

void MainWindow::ShowSyncOutcome(const SyncOutcome& outcome, const QString& sent) {
    const QString uploaded = CountText(outcome.uploaded, text::ReadingUploaded, text::ReadingsUploaded);
    QString caption = QStringLiteral("%1 - %2").arg(outcome.finalText, uploaded);
    if (!sent.isEmpty()) {
        caption += QStringLiteral(" - ") + sent;
    }
    syncCaption_->setProperty("Caption", caption);
    syncCaption_->setToolTip(caption);
    syncCaption_->setProperty(
        "Color", static_cast<short>(outcome.result == 0 ? CVantorLabelCtrl::Green : CVantorLabelCtrl::Red));
}

// After a From Meter run, the route points it did not measure ("12 of 14 measured; missed: ...").
void MainWindow::AppendMissedPoints(const SyncOutcome& outcome) {
    if (outcome.measuredPoints.isEmpty() || !DatabaseOpen(app_)) {
        return;
    }
    const QString missed = MissedRoutePointsText(Database(app_), outcome.measuredPoints);
    if (!missed.isEmpty()) {
        const QString caption = syncCaption_->property("Caption").toString() + QStringLiteral(" - ") + missed;
        syncCaption_->setProperty("Caption", caption);
        syncCaption_->setToolTip(caption);
    }
}

void MainWindow::BuildViewArea() {
    // The machine tree goes on the left, the status tables and reading views on the right.
    viewArea_ = new QSplitter(Qt::Horizontal, this);
    viewArea_->setObjectName(QStringLiteral("ViewArea"));
    viewArea_->setChildrenCollapsible(false);
    treeModel_ = new MachineTreeModel(this);
    tree_ = new QTreeView(viewArea_);
    tree_->setObjectName(QStringLiteral("MachineTreeArea"));
    tree_->setModel(treeModel_);
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true); // thousands of machines stay quick to lay out
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setMinimumWidth(kLeastPaneWidth);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ShowSelection(false); });
    connect(tree_, &QTreeView::clicked, this, &MainWindow::OnTreeClicked);
    connect(tree_, &QTreeView::activated, this, &MainWindow::OnTreeClicked);
    new WaveformDrop(*tree_, [this](const QModelIndex& point, const QString& file) {
        tree_->setCurrentIndex(point);
        ImportWaveformFile(file);
    });
    viewPane_ = new QStackedWidget(viewArea_);
    viewPane_->setObjectName(QStringLiteral("ReadingViewsArea"));
    viewPane_->setMinimumWidth(kLeastPaneWidth);
    statusTable_ = new MachineStatusTable(app_, viewPane_);
    viewPane_->addWidget(statusTable_);
    pointViews_ = new PointViews(app_, viewPane_);
    pointViews_->setObjectName(QStringLiteral("PointViews"));
    viewPane_->addWidget(pointViews_);
    // A plant without machines says what to do first instead of showing an empty table.
    firstStart_ = new QLabel(viewPane_);
    firstStart_->setObjectName(QStringLiteral("FirstStart"));
    firstStart_->setWordWrap(true);
    firstStart_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    firstStart_->setMargin(24);
    viewPane_->addWidget(firstStart_);
    // A reading deleted or corrected: the statuses change; the views show the point again themselves.
    connect(pointViews_, &PointViews::ReadingsChanged, this, [this] { ReloadPlant(false); });
    connect(display_, &DisplayCommands::ScaleLockChanged, pointViews_, &PointViews::SetScaleLock);
    viewArea_->addWidget(tree_);
    viewArea_->addWidget(viewPane_);
    viewArea_->setStretchFactor(0, 0);
    viewArea_->setStretchFactor(1, 1);
    connect(viewArea_, &QSplitter::splitterMoved, this,
            [this](int position, int) { app_.settings.moveSplitterBy = position - kTreeDefaultWidth; });
    setCentralWidget(viewArea_);
}

void MainWindow::ApplySplitterOffset() {
    const int total = std::max(viewArea_->width(), width());
    const int treeWidth = std::clamp(kTreeDefaultWidth + app_.settings.moveSplitterBy, kLeastPaneWidth,
                                     std::max(kLeastPaneWidth, total - kLeastPaneWidth));
    viewArea_->setSizes({treeWidth, std::max(kLeastPaneWidth, total - treeWidth)});
}

void MainWindow::RefreshPlant() {
    ReloadPlant(true);
}

void MainWindow::ImportWaveform() {
    ImportWaveformFile(QString());
}

void MainWindow::ImportWaveformFile(const QString& file) {
    if (!initialised_ || !DatabaseReadyForWork(app_)) {
        return;
    }
    const PlantPoint* point = treeModel_->PointOf(tree_->currentIndex());
    if (point == nullptr || point->kind != PlantPoint::Kind::Vib) {
        app_.UserPrompter().ShowMessage(UiText(text::added::ChooseVibPoint));
        return;
    }
    ImportWaveformDialog dialog(app_, point->Guid(), point->Name(),
                                fileQuestion_ ? fileQuestion_ : FileQuestion(AskWithFileDialog), this);
    if (!file.isEmpty()) {
        dialog.File().setText(file);
    }
    if (dialogHook_) {
        dialogHook_(dialog);
    }
    if (dialog.exec() != QDialog::Accepted || !dialog.Imported()) {
        return;
    }
    const QString reading = dialog.Imported()->sItemGUID;
    RefreshPlant();
    // The stored reading on show, as a reading opened from the trend.
    pointViews_->ShowReading(reading);
    pointViews_->setCurrentIndex(PointViews::SpectrumTab);
}

void MainWindow::WorkOnFindings(std::chrono::milliseconds budget) {
    if (!findingsProcessor_) {
        findingsProcessor_ = std::make_unique<SignalProcessor>();
        findingsAnalyzer_ = std::make_unique<EnvelopeAnalyzer>();
    }
    QElapsedTimer spent;
    spent.start();
    while (!findingsTodo_.empty() && (budget.count() <= 0 || spent.elapsed() < budget.count())) {
        const FindingsTodo next = findingsTodo_.back();
        findingsTodo_.pop_back();
        std::optional<std::vector<Finding>> findings =
            LoadLatestFindings(app_, *findingsProcessor_, *findingsAnalyzer_, next.reading);
        statusTable_->SetPointFindings(next.point, findings);
        treeModel_->SetPointFindings(next.point, std::move(findings));
    }
    if (findingsTodo_.empty()) {
        findingsTimer_->stop();
    }
}

void MainWindow::FinishFindings() {
    WorkOnFindings(std::chrono::milliseconds(0));
}

void MainWindow::SetLiveRefreshInterval(std::chrono::milliseconds interval) {
    liveTimer_->setInterval(interval);
}

void MainWindow::CheckForOutsideChanges() {
    // Not while a dialog works on what the window shows; the next look catches up.
    if (!initialised_ || !DatabaseOpen(app_) || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    const std::optional<qint64> counter = DatabaseChangeCounter(Database(app_));
    if (!counter) {
        return;
    }
    const bool changed = lastChange_ && *lastChange_ != *counter;
    lastChange_ = counter;
    if (!changed) {
        return;
    }
    qCInfo(lcUi) << "the database was changed by another program: the plant is read again";
    // The tree keeps its selection and open machines, the status table its selected row and
    // scroll position, the point views the shown reading, tab and zoom.
    ReloadPlant(false);
    if (!pointViews_->PointGuid().isEmpty() && viewPane_->currentWidget() == pointViews_) {
        pointViews_->ReloadPoint();
    }
}

void MainWindow::ReloadPlant(bool reloadViews) {
    if (!initialised_) {
        return;
    }
    using NodeKind = MachineTreeModel::NodeKind;
    const QModelIndex current = tree_->currentIndex();
    const MachineTreeModel::NodeKey selected = treeModel_->KeyOf(current);
    const PlantMachine* machine = treeModel_->MachineOf(current);
    const MachineTreeModel::NodeKey selectedMachine{
        NodeKind::Machine, machine != nullptr ? machine->machine.sItemGUID : QString()};
    QStringList expanded;
    const QModelIndex plantIndex = treeModel_->PlantIndex();
    const bool plantExpanded = tree_->isExpanded(plantIndex);
    for (int row = 0; row < treeModel_->rowCount(plantIndex); ++row) {
        const QModelIndex child = treeModel_->index(row, 0, plantIndex);
        if (tree_->isExpanded(child)) {
            expanded << treeModel_->KeyOf(child).guid;
        }
    }

    // Without a database (a refused remote one) the tree is empty rather than the last plant shown.
    std::optional<PlantSnapshot> plant =
        !DatabaseOpen(app_) ? std::optional<PlantSnapshot>(PlantSnapshot{})
                            : LoadPlantShown(app_, {app_.vibPointsEnabled, app_.lubePointsEnabled, true});
    if (!plant) {
        return;
    }
    const int newEvents = followUp_->Refresh();
    newEvents_->setText(newEvents > 0 ? UiText(text::added::NewEventsCount).arg(newEvents) : QString());
    {
        // The selection is put back below; the pane is drawn once, for the restored item.
        const QSignalBlocker quiet(tree_->selectionModel());
        treeModel_->SetPlant(std::move(*plant));
        treeModel_->SetBold(BoldFontOn(app_.settings));
        tree_->setExpanded(plantIndex, plantExpanded || expanded.isEmpty());
        for (const QString& guid : expanded) {
            tree_->expand(treeModel_->IndexOf({NodeKind::Machine, guid}));
        }
        QModelIndex restored = treeModel_->IndexOf(selected);
        if (!restored.isValid()) {
            restored = treeModel_->IndexOf(selectedMachine);
        }
        if (!restored.isValid()) {
            restored = plantIndex;
        }
        tree_->setCurrentIndex(restored);
        tree_->scrollTo(restored);
        // The findings of every point's newest reading, worked out after the tree is shown.
        findingsTodo_.clear();
        const PlantSnapshot& shown = treeModel_->Plant();
        for (auto each = shown.machines.rbegin(); each != shown.machines.rend(); ++each) {
            for (auto point = each->points.rbegin(); point != each->points.rend(); ++point) {
                if (point->kind == PlantPoint::Kind::Vib && point->latestVib) {
                    findingsTodo_.push_back({point->Guid(), point->latestVib->sItemGUID});
                }
            }
        }
        if (!findingsTodo_.empty()) {
            findingsTimer_->start();
        }
    }
    ShowSelection(reloadViews);
}

void MainWindow::ShowSelection(bool reloadPoint) {
    using NodeKind = MachineTreeModel::NodeKind;
    const QModelIndex current = tree_->currentIndex();
    const PlantSnapshot& plant = treeModel_->Plant();
    const NodeKind kind = treeModel_->KeyOf(current).kind;
    const PlantMachine* machine = treeModel_->MachineOf(current);
    if (kind == NodeKind::VibPoint) {
        const QString guid = treeModel_->PointOf(current)->Guid();
        if (reloadPoint || pointViews_->PointGuid() != guid) {
            pointViews_->ShowPoint(guid);
        }
        viewPane_->setCurrentWidget(pointViews_);
        return;
    }
    pointViews_->Clear();
    switch (kind) {
    case NodeKind::Machine:
    case NodeKind::LubePoint:
    case NodeKind::VibPoint:
        statusTable_->Show(plant, machine->machine.sItemGUID);
        if (kind == NodeKind::LubePoint) {
            statusTable_->SelectPoint(treeModel_->PointOf(current)->Guid());
        }
        viewPane_->setCurrentWidget(statusTable_);
        break;
    case NodeKind::Plant:
    case NodeKind::OffRoute:
    case NodeKind::None:
        statusTable_->Show(plant, {});
        viewPane_->setCurrentWidget(plant.machines.empty() ? static_cast<QWidget*>(firstStart_)
                                                           : statusTable_);
        break;
    }
}

void MainWindow::OnTreeClicked(const QModelIndex& index) {
    if (treeModel_->KeyOf(index).kind == MachineTreeModel::NodeKind::OffRoute && !offRouteOpen_) {
        ShowOffRouteReadings();
    }
}

void MainWindow::RedrawViews() {
    treeModel_->SetBold(BoldFontOn(app_.settings));
    if (viewPane_->currentWidget() == pointViews_) {
        pointViews_->Redraw();
    } else {
        ShowSelection(false);
    }
}

void MainWindow::RebuildAppLookMenu() {
    appLookMenu_->clear();
    for (const AppLook& look : AppLooks()) {
        QAction* item = appLookMenu_->addAction(look.name);
        item->setData(look.id);
        item->setCheckable(true);
        item->setChecked(look.id == AppLookFor(app_.settings.appLook).id);
        appLookGroup_->addAction(item);
        connect(item, &QAction::triggered, this, [this, id = look.id] { ChooseAppLook(id); });
    }
}

void MainWindow::ChooseAppLook(int id) {
    const AppLook& look = AppLookFor(id);
    app_.settings.appLook = look.id;
    ApplyAppLook(look);
    if (initialised_) {
        app_.WriteSettings();
        treeModel_->RefreshTexts(); // the status colours follow the look's background
        RedrawViews();
    }
    RebuildAppLookMenu();
}

void MainWindow::ShowShortcuts() {
    CShortcutsDialog dialog(display_->Shortcuts(), this);
    dialog.exec();
}

void MainWindow::ShowIsoStandards() {
    CIsoStandardsDialog dialog(false, this);
    dialog.exec();
}

void MainWindow::RebuildLanguageMenu() {
    languageMenu_->clear(); // the menu owns its items; the group forgets deleted ones
    for (int position = 0; position < language_.languages.size(); ++position) {
        const int id = LanguageState::MenuId(position);
        QAction* item = languageMenu_->addAction(language_.languages[position]);
        item->setData(id);
        item->setCheckable(true);
        item->setChecked(language_.IsChecked(id));
        languageGroup_->addAction(item);
        connect(item, &QAction::triggered, this, [this, id] { ChooseLanguage(id); });
    }
}

void MainWindow::RefreshTexts() {
    // Dates and numbers in the locale of the language the texts are in.
    ApplyDisplayLanguage(language_.packLoaded ? language_.current : QString());
    setWindowTitle(Caption());
    databaseCaption_->setProperty(
        "Caption", UiText(RemoteDatabaseChosen(app_) ? text::RemoteDatabase : text::LocalDatabase));
    // Mnemonics are chosen again for every language: the menu bar's titles among themselves, each
    // menu's items among themselves.
    MnemonicSet bar;
    fileMenu_->setTitle(bar.Mark(UiText(text::FileMenu)));
    setupMenu_->setTitle(bar.Mark(UiText(text::SetupMenu)));
    databaseMenu_->RefreshTexts(bar);
    toMeterAction_->setText(bar.Mark(UiText(text::ToMeter)));
    fromMeterAction_->setText(bar.Mark(UiText(text::FromMeter)));
    reportMenu_->setTitle(bar.Mark(UiText(text::window::ReportWizard)));
    languageMenu_->setTitle(bar.Mark(UiText(text::Language)));
    appLookMenu_->setTitle(bar.Mark(UiText(text::window::AppLook)));
    helpMenu_->setTitle(bar.Mark(UiText(text::HelpMenu)));

    MnemonicSet file;
    importAction_->setText(file.Mark(UiText(text::ImportMenu)) + QStringLiteral("..."));
    exportAction_->setText(file.Mark(UiText(text::ExportMenu)) + QStringLiteral("..."));
    importWaveformAction_->setText(file.Mark(UiText(text::added::ImportWaveform)) + QStringLiteral("..."));
    importCatalogueAction_->setText(file.Mark(UiText(text::added::ImportCatalogue)) + QStringLiteral("..."));
    exportCatalogueAction_->setText(file.Mark(UiText(text::added::ExportCatalogue)) + QStringLiteral("..."));
    backupAction_->setText(file.Mark(UiText(text::window::BackupData)) + QStringLiteral("..."));
    restoreAction_->setText(file.Mark(UiText(text::window::RestoreData)) + QStringLiteral("..."));
    exitAction_->setText(file.Mark(UiText(text::Exit)));
    MnemonicSet setup;
    offRouteAction_->setText(setup.Mark(UiText(text::OffRouteReadingsTitle)) + QStringLiteral("..."));
    deviceNamesAction_->setText(setup.Mark(UiText(text::DeviceNamesTitle)) + QStringLiteral("..."));
    meterPortAction_->setText(setup.Mark(UiText(text::added::MeterPort)) + QStringLiteral("..."));
    for (const auto& [action, textId] : editorActions_) {
        // The mail server has no entry in the text table.
        const QString caption = UiText(textId < 0 ? text::added::MailServer : textId);
        action->setText(setup.Mark(caption) + QStringLiteral("..."));
    }
    display_->RefreshTexts(setup);
    MnemonicSet report;
    createReportAction_->setText(report.Mark(UiText(text::window::CreateReport)) + QStringLiteral("..."));
    MnemonicSet help;
    // The key shown beside the item (after a tab) is F1's, which opens the page of the view in front.
    userGuideAction_->setText(help.Mark(UiText(text::UserGuide)) + u'\t' +
                              DisplayCommands::HelpKey().toString(QKeySequence::NativeText));
    shortcutsAction_->setText(help.Mark(UiText(text::window::Shortcuts)) + QStringLiteral("..."));
    isoStandardsAction_->setText(help.Mark(UiText(text::window::IsoStandards)) + QStringLiteral("..."));
    aboutAction_->setText(help.Mark(UiText(text::AboutProduct)) + QStringLiteral("..."));
    // The tree's captions and the status table's headers and words come from the table too.
    treeModel_->RefreshTexts();
    pointViews_->RefreshTexts();
    followUp_->RefreshTexts();
    firstStart_->setText(UiText(text::added::FirstStartHint));
    if (initialised_) {
        ShowSelection(false);
    }
}

void MainWindow::RestorePlacement() {
    const CSettings& s = app_.settings;
    const QRect stored(QPoint(s.dialogLeft, s.dialogTop), QPoint(s.dialogRight - 1, s.dialogBottom - 1));
    // A rectangle from another screen layout that no screen shows any more is not used.
    const bool visible = std::any_of(
        QGuiApplication::screens().cbegin(), QGuiApplication::screens().cend(),
        [&stored](const QScreen* screen) { return screen->availableGeometry().intersects(stored); });
    if (stored.isValid() && visible) {
        setGeometry(stored);
    }
    if (s.dialogState == kShowMaximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void MainWindow::StorePlacement() {
    CSettings& s = app_.settings;
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    s.dialogLeft = normal.left();
    s.dialogTop = normal.top();
    s.dialogRight = normal.left() + normal.width();
    s.dialogBottom = normal.top() + normal.height();
    s.dialogState = isMaximized() ? kShowMaximized : isMinimized() ? kShowMinimized : kShowNormal;
}

void MainWindow::ShowAbout() {
    CAboutDialog dialog(app_.edition.title, app_.edition.companyName, guide_.Folder(), this);
    dialog.exec();
}

QString MainWindow::GuidePageInFront() const {
    if (viewPane_->currentWidget() == pointViews_) {
        // The reading views' tabs in PointViews::Tab order, each with its section of the views page.
        static const std::array<const char*, PointViews::TabCount> kSections = {
            "trend", "spectrum", "waterfall", "waveform", "readings", "envelope", "analysis", "findings"};
        const int tab = pointViews_->currentIndex();
        const char* section =
            tab >= 0 && tab < PointViews::TabCount ? kSections[static_cast<std::size_t>(tab)] : "";
        return QLatin1String(guide::Views) + u'#' + QLatin1String(section);
    }
    if (treeModel_->KeyOf(tree_->currentIndex()).kind == MachineTreeModel::NodeKind::OffRoute) {
        return QLatin1String(guide::Routes) + QStringLiteral("#off-route");
    }
    return QLatin1String(guide::Tree);
}

bool MainWindow::OpenUserGuide(const QString& page) {
    return guide_.Open(page, app_.UserPrompter());
}

} // namespace vantor
