#include "app/DeviceNames.h"

#include "platform/Prompter.h"
#include "store/Validation.h"
#include "texts/UiText.h"

namespace vantor {

DeviceNameList::DeviceNameList(CAppData& app) : SyncConnectionList(app) {}

QStringList DeviceNameList::Headers() {
    return {UiText(text::OrderColumn), UiText(text::DeviceNameColumn), UiText(text::DeviceSerialColumn)};
}

void DeviceNameList::FillRows(CRecordSyncConnection& sync) {
    int order = 0;
    for (const CDevice& device : sync.ListDevices()) {
        rows_.push_back({device.sItemGUID, ++order, device.sName, device.sSN});
    }
}

EditOutcome DeviceNameList::Rename(const QString& guid) {
    if (!IsOpen()) {
        return EditOutcome::Failed;
    }
    std::optional<CDevice> loaded = LoadForEdit<CDevice>(
        guid, prompter_, [this](const QString& g, CDevice& d) { return Sync().GetDevice(g, d); });
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
        if (Accepted(CheckPromptedName(*name), prompter_)) {
            device.sName = *name;
            break;
        }
        request.initial = *name;
    }

    const bool stored = Guarded(
        [&device](CRecordSyncConnection& sync) {
            if (!sync.UpsertDevice(device)) {
                return false;
            }
            sync.RenumberDevices();
            return true;
        },
        text::ErrorSavingRecord);
    Refill();
    return stored ? EditOutcome::Done : EditOutcome::Failed;
}

EditOutcome DeviceNameList::Delete(const QString& guid) {
    if (!IsOpen()) {
        return EditOutcome::Failed;
    }
    if (!LoadForEdit<CDevice>(guid, prompter_,
                              [this](const QString& g, CDevice& d) { return Sync().GetDevice(g, d); })) {
        return EditOutcome::Failed;
    }
    return ConfirmAndDelete(text::AreYouSureDelete, [&guid](CRecordSyncConnection& sync) {
        if (!sync.DeleteDevice(guid)) {
            return false;
        }
        sync.RenumberDevices();
        return true;
    });
}

} // namespace vantor
