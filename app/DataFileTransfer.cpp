#include "app/DataFileTransfer.h"

#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QFileInfo>

namespace vantor {
namespace {

// Passes every call on and keeps the last count of each section: after an import that is the
// number of records stored, after an export the number written.
class CountingProgress final : public DataFileProgress {
public:
    CountingProgress(DataFileProgress& inner, DataFileTransfer& transfer)
        : inner_(inner), transfer_(transfer) {}

    void Enumerating(const QString& section) override {
        Count(section) = 0;
        inner_.Enumerating(section);
    }
    void Step(const QString& section, int done, int total) override {
        Count(section) = done;
        inner_.Step(section, done, total);
    }
    bool StopRequested() override { return inner_.StopRequested(); }

private:
    int& Count(const QString& section) {
        for (auto& [name, count] : transfer_.counts) {
            if (name == section) {
                return count;
            }
        }
        return transfer_.counts.emplace_back(section, 0).second;
    }

    DataFileProgress& inner_;
    DataFileTransfer& transfer_;
};

std::unique_ptr<DataFileProgress> Opened(const ProgressOpener& open) {
    std::unique_ptr<DataFileProgress> progress = open ? open() : nullptr;
    return progress ? std::move(progress) : std::make_unique<DataFileProgress>();
}

void ShowSummaryWhenDone(Prompter& prompter, const QString& path, const DataFileTransfer& transfer) {
    if (transfer.outcome == DataFileOutcome::Done) {
        prompter.ShowMessage(DataFileSummary(path, transfer));
    }
}

} // namespace

DataFileTransfer ImportDataFileInto(CAppData& app, const QString& path, bool silent,
                                    const ProgressOpener& open) {
    DataFileTransfer transfer;
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return transfer;
    }
    if (DataFileWorkRunning()) {
        transfer.outcome = DataFileOutcome::Busy;
        return transfer;
    }
    Prompter& prompter = app.UserPrompter();
    if (!silent && !prompter.AskYesNo(UiText(text::ImportReplaceQuestion))) {
        transfer.outcome = DataFileOutcome::Cancelled;
        return transfer;
    }
    {
        const std::unique_ptr<DataFileProgress> progress = Opened(open);
        CountingProgress counting(*progress, transfer);
        transfer.outcome = ImportDataFile(*db, path, true, counting, prompter);
    }
    ShowSummaryWhenDone(prompter, path, transfer);
    return transfer;
}

DataFileTransfer ExportDataFileFrom(CAppData& app, const QString& path, const MachineSelection& selection,
                                    const ProgressOpener& open) {
    DataFileTransfer transfer;
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return transfer;
    }
    Prompter& prompter = app.UserPrompter();
    {
        const std::unique_ptr<DataFileProgress> progress = Opened(open);
        CountingProgress counting(*progress, transfer);
        transfer.outcome = selection.machines.isEmpty()
                               ? ExportEverything(*db, path, counting, prompter)
                               : ExportMachines(*db, path, selection, counting, prompter);
    }
    ShowSummaryWhenDone(prompter, path, transfer);
    return transfer;
}

QString DataFileSummary(const QString& path, const DataFileTransfer& transfer) {
    QStringList lines{QFileInfo(path).fileName()};
    for (const auto& [section, count] : transfer.counts) {
        lines << QStringLiteral("%1: %2").arg(section).arg(count);
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace vantor
