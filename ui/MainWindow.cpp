#include "ui/MainWindow.h"

#include "app/DatabaseSwitch.h"
#include "app/ProcessEntry.h"
#include "app/RouteSelection.h"
#include "device/MeterResults.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"
#include "ui/DataFileProgressDialog.h"
#include "ui/DatabaseMenu.h"
#include "ui/DesktopSync.h"
#include "ui/DeviceNamesDialog.h"
#include "ui/MeterPortDialog.h"
#include "ui/Mnemonics.h"
#include "ui/OffRouteDialog.h"
#include "ui/SelectRouteDialog.h"
#include "ui/SyncDialog.h"

#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>

#include <algorithm>

namespace vantor {
namespace {

// Show states of the stored window placement.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
const QSize kFirstStartSize(1024, 700);

} // namespace

MainWindow::MainWindow(CAppData& app, PendingDataFile::Importer importer,
                       std::chrono::milliseconds importDelay)
    : app_(app),
      pending_(
          app.dataFileExtension,
          importer ? std::move(importer) : [this](const QString& path) { ImportFile(path); }, importDelay) {
    // A failure found later (the database becoming unusable) closes the window from the event loop.
    app_.closeMainWindow = [this] {
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    };
    resize(kFirstStartSize);
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
    language_ = result.language;
    RebuildLanguageMenu();
    RefreshTexts();
    if (!result.ok) {
        close();
        return false;
    }
    // The remote database when it was in use last time; a failed switch falls back to the local one
    // with its message.
    if (app_.settings.localOrRemote == 1) {
        SwitchToRemote(app_, probe);
        app_.WriteSettings();
    }
    RestorePlacement();
    initialised_ = true;
    pending_.StartIfPending();
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
    if (!initialised_) {
        return DataFileOutcome::Failed;
    }
    // The question is answered before the progress window exists, so the window never covers it.
    return ImportDataFileInto(app_, path, false, ProgressWindowFor(path)).outcome;
}

void MainWindow::ChooseAndImport() {
    const QString path = QFileDialog::getOpenFileName(this, UiText(text::ImportDataTitle),
                                                      app_.settings.exportToFolder, DataFileFilter());
    if (!path.isEmpty()) {
        ImportFile(path);
    }
}

void MainWindow::ChooseAndExport() {
    if (!initialised_ || app_.MainConnection() == nullptr) {
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
    COffRouteDialog dialog(app_, this);
    dialog.exec();
}

void MainWindow::ShowDeviceNames() {
    if (!initialised_) {
        return;
    }
    CDeviceNamesDialog dialog(app_, this);
    dialog.exec();
}

void MainWindow::FromMeter() {
    if (!initialised_) {
        return;
    }
    RunSync(true, {});
}

void MainWindow::ToMeter() {
    if (!initialised_ || app_.MainConnection() == nullptr) {
        return;
    }
    try {
        if (!AnyRouteExists(*app_.MainConnection(), app_.UserPrompter())) {
            return;
        }
    } catch (const DatabaseError& error) {
        app_.UserPrompter().ShowMessage(QString::fromStdString(error.what()));
        return;
    }
    CSelectRouteDialog select(*app_.MainConnection(), app_.UserPrompter(), chosenRoute_, this);
    if (select.exec() != QDialog::Accepted) {
        return;
    }
    chosenRoute_ = select.Choice().guid;
    RunSync(false, chosenRoute_);
}

void MainWindow::RunSync(bool fromMeter, const QString& routeGuid) {
    for (;;) {
        int result = 0;
        {
            CSyncDialog dialog(MakeSyncSettings(app_, fromMeter, routeGuid), app_.UserPrompter(), this);
            dialog.exec();
            result = dialog.Outcome() != nullptr ? dialog.Outcome()->result : 0;
            if (dialog.Outcome() != nullptr) {
                ShowSyncOutcome(*dialog.Outcome());
            }
        }
        // No cradle or no meter on it: the user may name another serial device and try again.
        if (result != kNoCradleFound && result != kNoMeterFound) {
            break;
        }
        CMeterPortDialog choose(
            app_.settings.meterPort,
            UiText(result == kNoCradleFound ? text::NoCradleDetected : text::NoDeviceDetected), this);
        if (choose.exec() != QDialog::Accepted) {
            break;
        }
        app_.settings.meterPort = choose.Port();
        app_.WriteSettings();
    }
    SendExceptionEmails(app_, app_.UserPrompter(), this);
}

void MainWindow::BuildMenus() {
    fileMenu_ = menuBar()->addMenu(QString());
    importAction_ = fileMenu_->addAction(QString(), this, &MainWindow::ChooseAndImport);
    exportAction_ = fileMenu_->addAction(QString(), this, &MainWindow::ChooseAndExport);
    fileMenu_->addSeparator();
    exitAction_ = fileMenu_->addAction(QString(), this, &QWidget::close);
    exitAction_->setMenuRole(QAction::QuitRole);
    setupMenu_ = menuBar()->addMenu(QString());
    offRouteAction_ = setupMenu_->addAction(QString(), this, &MainWindow::ShowOffRouteReadings);
    deviceNamesAction_ = setupMenu_->addAction(QString(), this, &MainWindow::ShowDeviceNames);
    databaseMenu_ =
        new DatabaseMenu(app_, *this, [this](const QString& path) { return ProgressWindowFor(path); });
    connect(databaseMenu_, &DatabaseMenu::DatabaseChanged, this, &MainWindow::RefreshTexts);
    toMeterAction_ = menuBar()->addAction(QString(), this, &MainWindow::ToMeter);
    fromMeterAction_ = menuBar()->addAction(QString(), this, &MainWindow::FromMeter);
    languageMenu_ = menuBar()->addMenu(QString());
    languageGroup_ = new QActionGroup(languageMenu_);
    languageGroup_->setExclusive(true);
    helpMenu_ = menuBar()->addMenu(QString());
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
}

void MainWindow::ShowSyncOutcome(const SyncOutcome& outcome) {
    const QString uploaded = CountText(outcome.uploaded, text::ReadingUploaded, text::ReadingsUploaded);
    syncCaption_->setProperty("Caption", QStringLiteral("%1 - %2").arg(outcome.finalText, uploaded));
    syncCaption_->setProperty(
        "Color", static_cast<short>(outcome.result == 0 ? CVantorLabelCtrl::Green : CVantorLabelCtrl::Red));
}

void MainWindow::BuildViewArea() {
    // The machine tree goes on the left, the tabbed views and status tables on the right.
    viewArea_ = new QSplitter(Qt::Horizontal, this);
    viewArea_->setObjectName(QStringLiteral("ViewArea"));
    auto* tree = new QFrame(viewArea_);
    tree->setObjectName(QStringLiteral("MachineTreeArea"));
    tree->setFrameShape(QFrame::StyledPanel);
    auto* views = new QFrame(viewArea_);
    views->setObjectName(QStringLiteral("ReadingViewsArea"));
    views->setFrameShape(QFrame::StyledPanel);
    viewArea_->addWidget(tree);
    viewArea_->addWidget(views);
    viewArea_->setStretchFactor(1, 3);
    setCentralWidget(viewArea_);
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
    setWindowTitle(Caption());
    databaseCaption_->setProperty(
        "Caption", UiText(app_.remoteDatabaseInUse ? text::RemoteDatabase : text::LocalDatabase));
    // Mnemonics are chosen again for every language: the menu bar's titles among themselves, each
    // menu's items among themselves.
    MnemonicSet bar;
    fileMenu_->setTitle(bar.Mark(UiText(text::FileMenu)));
    setupMenu_->setTitle(bar.Mark(UiText(text::SetupMenu)));
    databaseMenu_->RefreshTexts(bar);
    toMeterAction_->setText(bar.Mark(UiText(text::ToMeter)));
    fromMeterAction_->setText(bar.Mark(UiText(text::FromMeter)));
    languageMenu_->setTitle(bar.Mark(UiText(text::Language)));
    helpMenu_->setTitle(bar.Mark(UiText(text::HelpMenu)));

    MnemonicSet file;
    importAction_->setText(file.Mark(UiText(text::ImportMenu)) + QStringLiteral("..."));
    exportAction_->setText(file.Mark(UiText(text::ExportMenu)) + QStringLiteral("..."));
    exitAction_->setText(file.Mark(UiText(text::Exit)));
    MnemonicSet setup;
    offRouteAction_->setText(setup.Mark(UiText(text::OffRouteReadingsTitle)) + QStringLiteral("..."));
    deviceNamesAction_->setText(setup.Mark(UiText(text::DeviceNamesTitle)) + QStringLiteral("..."));
    MnemonicSet help;
    aboutAction_->setText(help.Mark(UiText(text::AboutProduct)) + QStringLiteral("..."));
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
    QMessageBox::about(this, UiText(text::AboutProduct),
                       QStringLiteral("%1\n%2").arg(app_.edition.title, app_.edition.companyName));
}

} // namespace vantor
