#pragma once
// The data exchange file: machines, vibration points, vibration readings, routes and route items
// in one little-endian archive, written from and read into the database through the record access
// layer. Only one export or import runs at a time, and none while a synchronisation runs.

#include "archive/ArchiveReader.h"
#include "store/MainConnection.h"

#include <QDateTime>
#include <QStringList>

#include <functional>

namespace vantor {

enum class DataFileOutcome {
    Done,
    Cancelled, // the user declined or stopped
    Failed,    // writing or reading failed part-way (the caller shows "Error Exporting/Importing Data")
    Unopened,  // the file could not be created or opened; nothing was done and nothing is shown
    Busy,      // another export, import or a synchronisation is running; nothing was done
    // The database's file vanished (its share dropped) and the work stopped; no message was shown
    // and no partial export file is left.
    ConnectionLost,
};

// Progress of an export or import and the user's stop request. The default does nothing.
class DataFileProgress {
public:
    virtual ~DataFileProgress() = default;
    // Counting the rows of a section ("Enumerating").
    virtual void Enumerating(const QString& section) { (void)section; }
    // Record `done` of `total` of a section ("%s: %d of %d").
    virtual void Step(const QString& section, int done, int total) { (void)section, (void)done, (void)total; }
    // Polled between records; true stops the work (cancelled).
    virtual bool StopRequested() { return false; }
    // Polled before every record; true when the database's file has gone, which stops the work.
    virtual bool ConnectionLost() { return false; }
};

inline constexpr qint32 kDataFileFormatVersion = 1;

enum class ReadingSpan {
    LatestOnly, // the newest reading of each point
    Between,    // readings taken from start to end, both included
    All,
};

struct MachineSelection {
    QStringList machines; // machine GUIDs, in the order they are written
    ReadingSpan span = ReadingSpan::All;
    QDateTime start;
    QDateTime end;
};

// True while an export, an import or a synchronisation runs: a new request would be turned away.
bool DataFileWorkRunning();

// The section name and its progress text, from the UI text table.
QString DataFileStepText(const QString& section, int done, int total);

// The path with the data-file extension: another extension is replaced, a missing one added.
QString WithDataFileExtension(const QString& path, const QString& extension);

// Writes the whole database. No partial file is left after a failure.
DataFileOutcome ExportEverything(CMainConnection& db, const QString& path, DataFileProgress& progress);
// Writes the chosen machines, all their vibration points and the chosen span of their readings;
// no routes.
DataFileOutcome ExportMachines(CMainConnection& db, const QString& path, const MachineSelection& selection,
                               DataFileProgress& progress);
// Where the records of a data file go as they are read; each returns false to fail the read.
struct DataFileSink {
    std::function<bool(const CMachine&)> machine;
    std::function<bool(const CVib&)> vib;
    std::function<bool(const CVibReading&)> reading;
    std::function<bool(const CRoute&)> route;
    std::function<bool(const CRouteItem&)> routeItem;
};

// Reads a whole data file (the version, then the five sections), handing each record to the sink as
// soon as it has been read whole. Done; Cancelled when the progress asked to stop; Failed when the
// data is damaged (nothing is shown).
DataFileOutcome ReadDataFile(ArchiveReader& reader, const DataFileSink& sink, DataFileProgress& progress);

// Reads a data file into the database, replacing records with the same keys (the caller has asked
// the user). A damaged file fails; records stored before the damage stay.
DataFileOutcome ImportDataFile(CMainConnection& db, const QString& path, DataFileProgress& progress);

} // namespace vantor
