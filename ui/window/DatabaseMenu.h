#pragma once
// The Connection menu: the local database, the remote database, one entry per remembered remote
// folder, Select and Create of a remote folder, the server database, and the copy into the other
// database. It keeps the
// check marks in step with the database in use and follows the application's switches (wait cursor,
// notes in the status bar).

#include "app/CAppData.h"
#include "app/DataFileTransfer.h"

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace vantor {

class MnemonicSet;

class DatabaseMenu : public QObject {
    Q_OBJECT
public:
    // The command id of the first remembered folder's entry; the next ones count up from it.
    static constexpr int kFirstFolderCommandId = 9500;

    // Asks for a folder: the caption and the folder to start in; empty when the user cancelled.
    using FolderChooser = std::function<QString(const QString& caption, const QString& start)>;

    // Adds the menu to the window's menu bar. `progress` opens the progress window of the copy
    // between the two databases.
    DatabaseMenu(CAppData& app, QMainWindow& window, std::function<ProgressOpener(const QString&)> progress);

    QMenu* Menu() const { return menu_; }
    // Replaces the folder dialogs (tests answer them).
    void SetFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

    // Re-reads every text; the menu's title takes its mnemonic among the menu bar's.
    void RefreshTexts(MnemonicSet& bar);

    // The entries, by what they do.
    QAction* LocalAction() const { return local_; }
    QAction* RemoteAction() const { return remote_; }
    const std::vector<QAction*>& FolderActions() const { return folders_; }
    QAction* SelectAction() const { return select_; }
    QAction* CreateAction() const { return create_; }
    QAction* ExportToOtherAction() const { return exportToOther_; }
    QAction* ServerAction() const { return server_; }

signals:
    // The database in use changed (or was opened again): the views reload.
    void DatabaseChanged();

private:
    void RebuildFolders();
    void UpdateChecks();
    void UseFolder(int index);
    void SelectFolder();
    void CreateFolder();
    void ExportToOther();
    void ChooseServer();

    CAppData& app_;
    QMainWindow& window_;
    std::function<ProgressOpener(const QString&)> progress_;
    FolderChooser chooseFolder_;
    QMenu* menu_ = nullptr;
    QAction* local_ = nullptr;
    QAction* remote_ = nullptr;
    QAction* foldersEnd_ = nullptr; // the separator after the folder entries
    std::vector<QAction*> folders_;
    QAction* select_ = nullptr;
    QAction* create_ = nullptr;
    QAction* exportToOther_ = nullptr;
    QAction* server_ = nullptr;
};

} // namespace vantor
