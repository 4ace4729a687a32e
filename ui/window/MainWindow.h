#pragma once
// The main window: its initialisation runs the start-up steps (closing at once when one fails),
// then it shows the menus and the area where the machine tree and the views live, and it imports
// a data file handed to it from the command line or by a second launch.

#include "app/CAppData.h"
#include "app/DataFileTransfer.h"
#include "app/PendingDataFile.h"
#include "app/Startup.h"
#include "device/SyncWorker.h"
#include "texts/LanguagePacks.h"
#include "ui/common/FileQuestion.h"
#include "ui/sync/MeterPortDialog.h"
#include "ui/window/UserGuide.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CVantorLabelCtrl;

class QActionGroup;
class QMenu;
class QSplitter;
class QLabel;
class QStackedWidget;
class QTimer;
class QTreeView;

namespace vantor {

class DatabaseMenu;
class EnvelopeAnalyzer;
class SignalProcessor;
class ImportWaveformDialog;
class DisplayCommands;
class MachineStatusTable;
class MachineTreeModel;
class PointViews;

class FollowUpPane;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // importer: where a pending data file goes when its timer fires.
    explicit MainWindow(CAppData& app, PendingDataFile::Importer importer = {},
                        std::chrono::milliseconds importDelay = kImportTimerDelay);
    ~MainWindow() override;

    // The initialisation: every start-up step in order. False when one failed: its message was
    // shown, the shutting-down flag is set and the window closes.
    bool Initialise(const QString& executableName, const WriteProbe& probe = CreateAndDeleteTestFile);

    // The data file from the command line; its import starts once the window is initialised.
    void SetPendingDataFile(const QString& path) { pending_.Set(path); }
    // A data file handed over by a second launch.
    void ReceiveDataFile(const QString& path) { pending_.Receive(path); }
    const PendingDataFile& Pending() const { return pending_; }

    // Restores the window from the taskbar and brings it to the front.
    void BringToFront();

    QMenu* LanguageMenu() const { return languageMenu_; }
    // The Connection menu: local and remote database.
    DatabaseMenu* Databases() const { return databaseMenu_; }
    // The Language menu command of the item with this id (9000 + position).
    void ChooseLanguage(int menuId);
    const LanguageState& Language() const { return language_; }

    // The window's title for the database in use.
    QString Caption() const;

    // The status bar's captions (label controls): the database in use, and the end of the last
    // synchronisation run with the readings it uploaded, green when it completed, red when not.
    CVantorLabelCtrl* DatabaseCaption() const { return databaseCaption_; }
    CVantorLabelCtrl* SyncCaption() const { return syncCaption_; }
    FollowUpPane* FollowUp() const { return followUp_; }
    QLabel* NewEventsCaption() const { return newEvents_; }
    // After a To Meter, `sent` says what reached the meter ("Route ...: 2 machines, 4 points sent to ...").
    void ShowSyncOutcome(const SyncOutcome& outcome, const QString& sent = {});
    // Replaces the meter-port question of the sync runs (tests answer it).
    void SetPortDialog(MeterPortPrompter::PortDialog dialog) { portDialog_ = std::move(dialog); }

    // Imports a data file with the progress window (asks first); the File menu's Import and a
    // pending data file both come here. The tree is refreshed afterwards.
    DataFileOutcome ImportFile(const QString& path);
    // Backup Data: the whole database written to a data file. Restore Data: a data file read back
    // into the database (asking first, replacing matching records), then the tree refreshed.
    DataFileOutcome BackupData(const QString& path);
    DataFileOutcome RestoreData(const QString& path);

    // The machine tree (left) and what the right pane shows for its selected item.
    QTreeView* MachineTree() const { return tree_; }
    MachineTreeModel* TreeModel() const { return treeModel_; }
    MachineStatusTable* StatusTable() const { return statusTable_; }
    QStackedWidget* ViewPane() const { return viewPane_; }
    PointViews* ReadingViews() const { return pointViews_; }
    QSplitter* ViewArea() const { return viewArea_; }
    // Re-reads the plant from the database into the tree, keeping the selected item (or, when it
    // is gone, its machine, else the plant) and the open machines, then redraws the right pane.
    // Call it after anything that changed machines, points or readings.
    void RefreshPlant();
    // Redraws the tree, the status table and the reading views with the current settings.
    void RedrawViews();
    // How often the window looks for changes another program made to the database (the tree,
    // status table and shown point follow them, the selection, open machines, shown reading and
    // zoom kept); kLiveRefreshInterval unless a test shortens it.
    void SetLiveRefreshInterval(std::chrono::milliseconds interval);
    // File > Import Waveform...: a waveform file stored as a reading of the selected vibration point
    // (the dialog of ImportWaveformDialog.h); the tree and the point's views then show it.
    void ImportWaveform();
    // The same with the file filled in: a waveform file dropped on a vibration point of the tree
    // selects the point and opens the dialog this way.
    void ImportWaveformFile(const QString& file);
    // Called with the import dialog before it runs (tests fill it in and close it).
    void SetImportWaveformHook(std::function<void(ImportWaveformDialog&)> hook) {
        dialogHook_ = std::move(hook);
    }
    // Looks once: refreshes when the database's change counter moved since the last look.
    void CheckForOutsideChanges();
    // After the plant is read, the findings of every vibration point's newest reading are worked
    // out a few at a time between events (a reading's diagnosis decodes it), so the tree shows at
    // once and the marks follow. FinishFindings works the rest out now.
    void FinishFindings();
    bool FindingsPending() const { return !findingsTodo_.empty(); }

    // The display settings commands (units, decimals, bold, FFT, vib display, scale lock).
    DisplayCommands* Display() const { return display_; }
    // The menus and commands others connect: the Set-up menu (editors), Report > Create Report.
    QMenu* SetupMenu() const { return setupMenu_; }
    QMenu* ReportMenu() const { return reportMenu_; }
    QAction* CreateReportAction() const { return createReportAction_; }
    QMenu* AppLookMenu() const { return appLookMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }
    // File > Import Catalogue / Export Catalogue (the spreadsheet of machines and points), and
    // Set-up > Meter Port.
    QAction* ImportCatalogueAction() const { return importCatalogueAction_; }
    QAction* ExportCatalogueAction() const { return exportCatalogueAction_; }
    QAction* MeterPortAction() const { return meterPortAction_; }
    // Replaces the file dialogs of the catalogue commands (tests answer them).
    void SetFileQuestion(FileQuestion ask) { fileQuestion_ = std::move(ask); }
    // What the right pane shows for a plant without machines: what to do first.
    QLabel* FirstStartHint() const { return firstStart_; }
    // The App Look command of a look id (stored at once).
    void ChooseAppLook(int id);
    // Help: the shortcut list and the ISO 10816-3 table.
    void ShowShortcuts();
    void ShowIsoStandards();
    // Help > User Guide opens its contents; F1 the page of the view in front (GuidePageInFront).
    QAction* UserGuideAction() const { return userGuideAction_; }
    QString GuidePageInFront() const;
    bool OpenUserGuide(const QString& page);
    // Replaces the program that opens the guide's pages (the desktop's web browser).
    void SetGuideOpener(GuideOpener opener) { guide_.SetOpener(std::move(opener)); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // The stored splitter offset is applied once the window first has its size.
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenus();
    void BuildViewArea();
    void BuildStatusBar();
    void AppendMissedPoints(const SyncOutcome& outcome);
    void RebuildLanguageMenu();
    // Re-reads every caption and text from the UI text table.
    void RefreshTexts();
    void RestorePlacement();
    void StorePlacement();
    void ShowAbout();
    void ChooseAndImport();
    void ChooseAndExport();
    // Set-up menu: the off-route readings and the meters' names.
    void ShowOffRouteReadings();
    void ShowDeviceNames();
    void ChooseAndBackup();
    void ChooseAndRestore();
    // Re-reads the plant into the tree; with reloadViews the shown point's views read it again too.
    void ReloadPlant(bool reloadViews);
    // Shows in the right pane what the tree's current item stands for; a point already shown is
    // read again only with reloadPoint.
    void ShowSelection(bool reloadPoint);
    void OnTreeClicked(const QModelIndex& index);
    void RebuildAppLookMenu();
    // The tree's width: its default plus the stored offset.
    void ApplySplitterOffset();
    // The meter commands: a synchronisation run (To Meter after choosing the route), then the
    // exception e-mails.
    void FromMeter();
    void ToMeter();
    void RunSync(bool fromMeter, const QString& routeGuid);
    QString DataFileFilter() const;
    QString BackupFilter() const;
    // Opens the progress window of an export or import of `path` when the work starts.
    ProgressOpener ProgressWindowFor(const QString& path);

    CAppData& app_;
    PendingDataFile pending_;
    LanguageState language_;
    QMenu* fileMenu_ = nullptr;
    QAction* importAction_ = nullptr;
    QAction* exportAction_ = nullptr;
    QAction* backupAction_ = nullptr;
    QAction* restoreAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* importCatalogueAction_ = nullptr;
    QAction* exportCatalogueAction_ = nullptr;
    QAction* meterPortAction_ = nullptr;
    FileQuestion fileQuestion_ = AskWithFileDialog;
    MeterPortPrompter::PortDialog portDialog_;
    QLabel* firstStart_ = nullptr;
    QMenu* setupMenu_ = nullptr;
    QAction* offRouteAction_ = nullptr;
    QAction* deviceNamesAction_ = nullptr;
    DatabaseMenu* databaseMenu_ = nullptr;
    std::vector<std::pair<QAction*, int>> editorActions_; // Set-up entries and their text numbers
    QAction* toMeterAction_ = nullptr;
    QAction* fromMeterAction_ = nullptr;
    QString chosenRoute_; // the route of the last To Meter, chosen again next time
    QMenu* languageMenu_ = nullptr;
    QActionGroup* languageGroup_ = nullptr;
    QMenu* reportMenu_ = nullptr;
    QAction* createReportAction_ = nullptr;
    QMenu* appLookMenu_ = nullptr;
    QActionGroup* appLookGroup_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* userGuideAction_ = nullptr;
    QAction* contextHelpAction_ = nullptr; // F1
    UserGuide guide_;
    QAction* shortcutsAction_ = nullptr;
    QAction* isoStandardsAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    DisplayCommands* display_ = nullptr;
    QSplitter* viewArea_ = nullptr;
    QTreeView* tree_ = nullptr;
    MachineTreeModel* treeModel_ = nullptr;
    QStackedWidget* viewPane_ = nullptr;
    MachineStatusTable* statusTable_ = nullptr;
    PointViews* pointViews_ = nullptr;
    bool splitterPlaced_ = false;
    bool offRouteOpen_ = false; // the off-route dialog is showing (a double click opens it once)
    CVantorLabelCtrl* databaseCaption_ = nullptr;
    CVantorLabelCtrl* syncCaption_ = nullptr;
    FollowUpPane* followUp_ = nullptr; // events and due points, docked below
    QLabel* newEvents_ = nullptr;      // "N new events" in the status bar
    bool initialised_ = false;
    QTimer* liveTimer_ = nullptr;
    // The points whose findings are still to be worked out (the last one next) and the work's own
    // processors.
    struct FindingsTodo {
        QString point;
        QString reading;
    };
    void WorkOnFindings(std::chrono::milliseconds budget);
    std::vector<FindingsTodo> findingsTodo_;
    QTimer* findingsTimer_ = nullptr;
    std::unique_ptr<SignalProcessor> findingsProcessor_;
    std::unique_ptr<EnvelopeAnalyzer> findingsAnalyzer_;
    QAction* importWaveformAction_ = nullptr;
    std::function<void(ImportWaveformDialog&)> dialogHook_;
    std::optional<qint64> lastChange_; // the database's change counter at the last look
};

} // namespace vantor
