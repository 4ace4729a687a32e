#include "app/SyncConnectionList.h"

#include "platform/Prompter.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"

namespace vantor {

SyncConnectionList::SyncConnectionList(CAppData& app) : app_(app), prompter_(app.UserPrompter()) {}

SyncConnectionList::~SyncConnectionList() = default;

bool SyncConnectionList::Open() {
    sync_ = app_.MakeSyncConnection();
    if (!sync_->Open()) {
        sync_.reset();
        return false;
    }
    Refill();
    return true;
}

void SyncConnectionList::Refill() {
    ClearRows();
    if (!sync_) {
        return;
    }
    try {
        FillRows(*sync_);
    } catch (const DatabaseError& error) {
        prompter_.ShowMessage(QString::fromStdString(error.what()));
    }
}

bool SyncConnectionList::Guarded(const std::function<bool(CRecordSyncConnection&)>& work,
                                 std::optional<int> failureText) {
    if (!sync_) {
        return false;
    }
    bool done = false;
    QString error;
    try {
        done = work(*sync_);
    } catch (const DatabaseError& e) {
        error = QString::fromStdString(e.what());
    }
    if (!done && failureText) {
        prompter_.ShowMessage(UiText(*failureText));
    } else if (!done && !error.isEmpty()) {
        prompter_.ShowMessage(error);
    }
    return done;
}

EditOutcome SyncConnectionList::ConfirmAndDelete(int questionText,
                                                 const std::function<bool(CRecordSyncConnection&)>& remove) {
    if (!prompter_.AskYesNo(UiText(questionText))) {
        return EditOutcome::Declined;
    }
    const bool deleted = Guarded(remove);
    Refill();
    return deleted ? EditOutcome::Done : EditOutcome::Failed;
}

} // namespace vantor
