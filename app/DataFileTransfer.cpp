#include "app/DataFileTransfer.h"

#include "analysis/ReadingIndices.h"
#include "app/AlarmEvents.h"
#include "app/DatabaseSwitch.h"
#include "loaders/IndicesStore.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QFileInfo>

namespace vantor {
namespace {

// Passes every call on and keeps the last count of each section: after an import that is the
// number of records stored, after an export the number written.
class CountingProgress final : public DataFileProgress {
public:
    CountingProgress(const CAppData& app, DataFileProgress& inner, DataFileTransfer& transfer)
        : app_(app), inner_(inner), transfer_(transfer) {}

    void Enumerating(const QString& section) override {
        Count(section) = 0;
        inner_.Enumerating(section);
    }
    void Step(const QString& section, int done, int total) override {
        Count(section) = done;
        inner_.Step(section, done, total);
    }
    bool StopRequested() override { return inner_.StopRequested(); }
    bool ConnectionLost() override { return app_.RemoteConnectionLost() || inner_.ConnectionLost(); }

private:
    int& Count(const QString& section) {
        for (auto& [name, count] : transfer_.counts) {
            if (name == section) {
                return count;
            }
        }
        return transfer_.counts.emplace_back(section, 0).second;
    }

    const CAppData& app_;
    DataFileProgress& inner_;
    DataFileTransfer& transfer_;
};

std::unique_ptr<DataFileProgress> Opened(const ProgressOpener& open) {
    std::unique_ptr<DataFileProgress> progress = open ? open() : nullptr;
    return progress ? std::move(progress) : std::make_unique<DataFileProgress>();
}

// A failure part-way shows its documented message; a file that could not be opened or created
// fails without one, as it always has.
DataFileOutcome ShownOutcome(DataFileOutcome outcome, int failureText, Prompter& prompter) {
    if (outcome == DataFileOutcome::Failed) {
        prompter.ShowMessage(UiText(failureText));
    }
    return outcome == DataFileOutcome::Unopened ? DataFileOutcome::Failed : outcome;
}

void ShowSummaryWhenDone(Prompter& prompter, const QString& path, const DataFileTransfer& transfer) {
    if (transfer.outcome == DataFileOutcome::Done) {
        prompter.ShowMessage(DataFileSummary(path, transfer));
    }
}

} // namespace

DataFileTransfer ImportDataFileInto(CAppData& app, const QString& path, bool silent,
                                    const ProgressOpener& open, bool summary) {
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
        CountingProgress counting(app, *progress, transfer);
        transfer.outcome = ShownOutcome(ImportDataFile(*db, path, counting, &transfer.import),
                                        text::ErrorImportingData, prompter);
    }
    // The sections' counts tell what was stored, not what was read.
    for (auto& [name, count] : transfer.counts) {
        for (const DataFileImportReport::Section& section : transfer.import.sections) {
            if (section.name == name) {
                count = section.kept;
            }
        }
    }
    if (transfer.outcome == DataFileOutcome::Done) {
        EnvelopeAnalyzer analyzer;
        RecordMissingReadingIndices(*db, analyzer);
        RecordAlarmEventsOfChangedPoints(*db);
    }
    // The progress window has closed and the busy flag is clear by now.
    if (transfer.outcome == DataFileOutcome::ConnectionLost) {
        HandleConnectionLost(app);
    }
    if (summary) {
        ShowSummaryWhenDone(prompter, path, transfer);
    }
    return transfer;
}

DataFileTransfer ExportDataFileFrom(CAppData& app, const QString& path, const MachineSelection& selection,
                                    const ProgressOpener& open, bool summary) {
    DataFileTransfer transfer;
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return transfer;
    }
    Prompter& prompter = app.UserPrompter();
    {
        const std::unique_ptr<DataFileProgress> progress = Opened(open);
        CountingProgress counting(app, *progress, transfer);
        const DataFileOutcome outcome = selection.machines.isEmpty()
                                            ? ExportEverything(*db, path, counting)
                                            : ExportMachines(*db, path, selection, counting);
        transfer.outcome = ShownOutcome(outcome, text::ErrorExportingData, prompter);
    }
    // The partial file was never put in place of `path` (it is written beside it and dropped), so a
    // file that was there before stays.
    if (transfer.outcome == DataFileOutcome::ConnectionLost) {
        HandleConnectionLost(app);
    }
    if (summary) {
        ShowSummaryWhenDone(prompter, path, transfer);
    }
    return transfer;
}

QString DataFileSummary(const QString& path, const DataFileTransfer& transfer) {
    QStringList lines{QFileInfo(path).fileName()};
    for (const auto& [section, count] : transfer.counts) {
        lines << QStringLiteral("%1: %2").arg(section).arg(count);
        for (const DataFileImportReport::Section& checked : transfer.import.sections) {
            if (checked.name == section && checked.refused > 0) {
                lines << QStringLiteral("%1: %2 refused").arg(section).arg(checked.refused);
            }
        }
    }
    if (!transfer.import.firstRefusal.isEmpty()) {
        lines << QStringLiteral("First refused: %1").arg(transfer.import.firstRefusal);
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace vantor
