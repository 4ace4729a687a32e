#include "app/DeviceNames.h"

#include "platform/Prompter.h"
#include "store/SqlConnection.h"
#include "store/Validation.h"
#include "ui/texts/UiText.h"

namespace vantor {

DeviceNameList::DeviceNameList(CAppData& app) : prompter_(app.UserPrompter()), app_(app) {}

DeviceNameList::~DeviceNameList() = default;

bool DeviceNameList::Open() {
    sync_ = app_.MakeSyncConnection();
    if (!sync_->Open()) {
        sync_.reset();
        return false;
    }
    Refill();
    return true;
}

QStringList DeviceNameList::Headers() {
    return {UiText(text::OrderColumn), UiText(text::DeviceNameColumn), UiText(text::DeviceSerialColumn)};
}

void DeviceNameList::Refill() {
    rows_.clear();
    if (!sync_) {
        return;
    }
    try {
        int order = 0;
        for (const CDevice& device : sync_->ListDevices()) {
            rows_.push_back({device.sItemGUID, ++order, device.sName, device.sSN});
        }
    } catch (const DatabaseError& error) {
        prompter_.ShowMessage(QString::fromStdString(error.what()));
    }
}

EditOutcome DeviceNameList::Rename(const QString& guid) {
    if (!sync_) {
        return EditOutcome::Failed;
    }
    std::optional<CDevice> loaded = LoadForEdit<CDevice>(
        guid, prompter_, [this](const QString& g, CDevice& d) { return sync_->GetDevice(g, d); });
    if (!loaded) {
        return EditOutcome::Failed;
    }
    CDevice device = *loaded;

    NameRequest request{UiText(text::DeviceNameColumn), UiText(text::NameLabel), device.sName, 0};
    for (;; ++request.attempt) {
        const std::optional<QString> name = prompter_.PromptName(request);
        if (!name) {
            return EditOutcome::Declined;
        }
        if (ValidatePromptedName(*name, prompter_)) {
            device.sName = *name;
            break;
        }
        request.initial = *name;
    }

    bool stored = false;
    try {
        stored = sync_->UpsertDevice(device);
        if (stored) {
            sync_->RenumberDevices();
        }
    } catch (const DatabaseError&) {
        stored = false;
    }
    if (!stored) {
        prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    }
    Refill();
    return stored ? EditOutcome::Done : EditOutcome::Failed;
}

EditOutcome DeviceNameList::Delete(const QString& guid) {
    if (!sync_) {
        return EditOutcome::Failed;
    }
    if (!LoadForEdit<CDevice>(guid, prompter_,
                              [this](const QString& g, CDevice& d) { return sync_->GetDevice(g, d); })) {
        return EditOutcome::Failed;
    }
    if (!prompter_.AskYesNo(UiText(text::AreYouSureDelete))) {
        return EditOutcome::Declined;
    }
    bool deleted = false;
    try {
        deleted = sync_->DeleteDevice(guid);
        if (deleted) {
            sync_->RenumberDevices();
        }
    } catch (const DatabaseError& error) {
        prompter_.ShowMessage(QString::fromStdString(error.what()));
    }
    Refill();
    return deleted ? EditOutcome::Done : EditOutcome::Failed;
}

} // namespace vantor
