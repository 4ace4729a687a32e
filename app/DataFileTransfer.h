#pragma once
// Export and import of the data file as both front ends run them: the question first, the progress
// only once it has been answered (so a progress window never covers the question), and a summary
// of what was written or stored.

#include "app/CAppData.h"
#include "store/DataFile.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vantor {

// Creates the progress of the work once it is about to start.
using ProgressOpener = std::function<std::unique_ptr<DataFileProgress>()>;

struct DataFileTransfer {
    DataFileOutcome outcome = DataFileOutcome::Failed;
    // Per section in file order: its name and how many records were written or stored.
    std::vector<std::pair<QString, int>> counts;
    // An import's records refused by the checks (counts above are those kept) and the first reason.
    DataFileImportReport import;
};

// Imports the file into the database. Unless silent, asks whether matching records may be replaced
// before any progress exists; nothing is asked while another export, import or synchronisation
// runs (Busy). Shows the summary after a finished import.
//
// While the remote database is in use every record first checks that its file still exists; when it
// has gone the work stops without its own message and the program switches to the local database
// with "Remote connection lost, ..." (an export's partial file is deleted). `summary` false skips
// the summary message.
DataFileTransfer ImportDataFileInto(CAppData& app, const QString& path, bool silent,
                                    const ProgressOpener& open, bool summary = true);

// Writes the whole database (an empty selection) or the chosen machines; shows the summary after a
// finished export.
DataFileTransfer ExportDataFileFrom(CAppData& app, const QString& path, const MachineSelection& selection,
                                    const ProgressOpener& open, bool summary = true);

// "<file name>" and one "<section>: <count>" line per section, lines separated by "\r\n". After an
// import that refused records, a "<section>: <n> refused" line follows each section that refused
// any, then "First refused: <section> <n>: <reason>".
QString DataFileSummary(const QString& path, const DataFileTransfer& transfer);

} // namespace vantor
