#include "ui/window/DatabaseMenu.h"

#include "app/DatabaseSwitch.h"
#include "texts/UiText.h"
#include "ui/common/Mnemonics.h"
#include "ui/window/ServerDatabaseDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace vantor {
namespace {

// How long a switching note stays in the status bar.
constexpr int kStatusNoteMs = 5000;

} // namespace

DatabaseMenu::DatabaseMenu(CAppData& app, QMainWindow& window,
                           std::function<ProgressOpener(const QString&)> progress)
    : QObject(&window), app_(app), window_(window), progress_(std::move(progress)) {
    chooseFolder_ = [this](const QString& caption, const QString& start) {
        return QFileDialog::getExistingDirectory(&window_, caption, start);
    };
    menu_ = window.menuBar()->addMenu(QString());
    local_ = menu_->addAction(QString(), this, [this] {
        if (SwitchToLocal(app_)) {
            app_.WriteSettings();
        }
    });
    remote_ = menu_->addAction(QString(), this, [this] { UseFolder(0); });
    local_->setCheckable(true);
    remote_->setCheckable(true);
    menu_->addSeparator();
    foldersEnd_ = menu_->addSeparator();
    select_ = menu_->addAction(QString(), this, &DatabaseMenu::SelectFolder);
    create_ = menu_->addAction(QString(), this, &DatabaseMenu::CreateFolder);
    menu_->addSeparator();
    server_ = menu_->addAction(QString(), this, &DatabaseMenu::ChooseServer);
    server_->setCheckable(true);
    menu_->addSeparator();
    exportToOther_ = menu_->addAction(QString(), this, &DatabaseMenu::ExportToOther);

    app_.databaseView.busy = [](bool on) {
        if (on) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    app_.databaseView.databaseChanged = [this] {
        UpdateChecks();
        emit DatabaseChanged();
    };
    app_.databaseView.foldersChanged = [this] { RebuildFolders(); };
    app_.databaseView.showStatus = [this](const QString& note) {
        window_.statusBar()->showMessage(note, kStatusNoteMs);
    };
    RebuildFolders();
}

void DatabaseMenu::RefreshTexts(MnemonicSet& bar) {
    menu_->setTitle(bar.Mark(UiText(text::ConnectionMenu)));
    MnemonicSet items;
    local_->setText(items.Mark(UiText(text::LocalDatabase)));
    remote_->setText(items.Mark(UiText(text::RemoteDatabase)));
    select_->setText(items.Mark(UiText(text::SelectCommand)) + QStringLiteral("..."));
    create_->setText(items.Mark(UiText(text::CreateCommand)) + QStringLiteral("..."));
    server_->setText(items.Mark(UiText(text::added::ServerDatabase)) + QStringLiteral("..."));
    UpdateChecks();
}

void DatabaseMenu::RebuildFolders() {
    for (QAction* action : folders_) {
        menu_->removeAction(action);
        action->deleteLater();
    }
    folders_.clear();
    const QStringList& remembered = app_.settings.remoteFolders;
    for (int i = 0; i < remembered.size(); ++i) {
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(
                QDir::toNativeSeparators(remembered[i]).replace(QLatin1Char('&'), QStringLiteral("&&"))),
            menu_);
        action->setData(kFirstFolderCommandId + i);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, i] { UseFolder(i); });
        menu_->insertAction(foldersEnd_, action);
        folders_.push_back(action);
    }
    UpdateChecks();
}

void DatabaseMenu::UpdateChecks() {
    const bool remote = RemoteDatabaseChosen(app_);
    const bool server = app_.server.has_value();
    local_->setChecked(!remote && !server);
    server_->setChecked(server);
    remote_->setChecked(remote);
    remote_->setEnabled(!app_.settings.remoteFolders.isEmpty());
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        folders_[i]->setChecked(remote && i == 0);
    }
    // Its mnemonic is the first letter the menu's other commands left free.
    MnemonicSet items;
    for (const int taken : {text::LocalDatabase, text::RemoteDatabase, text::SelectCommand,
                            text::CreateCommand, text::added::ServerDatabase}) {
        items.Mark(UiText(taken));
    }
    exportToOther_->setText(items.Mark(UiText(remote ? text::ExportToLocalDb : text::ExportToRemoteDb)));
    exportToOther_->setEnabled(remote || !app_.settings.remoteFolders.isEmpty());
}

void DatabaseMenu::UseFolder(int index) {
    UseRememberedFolder(app_, index, FallbackOfSwitch(app_));
    app_.WriteSettings();
}

void DatabaseMenu::SelectFolder() {
    const QString start = app_.settings.remoteFolders.value(0);
    const QString folder = chooseFolder_(UiText(text::SelectRemoteFolder), start);
    if (!folder.isEmpty()) {
        SelectRemoteFolder(app_, folder, FallbackOfSwitch(app_));
        app_.WriteSettings();
    }
}

void DatabaseMenu::CreateFolder() {
    const QString location = chooseFolder_(UiText(text::ChooseRemoteLocation) + QStringLiteral("\n") +
                                               QString::fromLatin1(kNewRemoteFolderName),
                                           QDir::homePath());
    if (!location.isEmpty()) {
        CreateRemoteDatabase(app_, location);
        app_.WriteSettings();
    }
}

void DatabaseMenu::ChooseServer() {
    RunServerDatabaseDialog(app_, &window_);
    UpdateChecks(); // a cancelled dialog leaves the check mark as it was
}

void DatabaseMenu::ExportToOther() {
    if (!DatabaseReadyForWork(app_)) {
        return;
    }
    ExportToOtherDatabase(app_, progress_(OtherDatabaseTransferFile(app_)));
    app_.WriteSettings();
}

} // namespace vantor
