#include "store/DataFile.h"

#include "store/DataFileChecks.h"
#include "store/DataFileRecords.h"
#include "store/DerivedRecords.h"
#include "store/ImportedReadings.h"
#include "store/Log.h"
#include "store/SyncState.h"
#include "texts/UiText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>

namespace vantor {
namespace {

// Held while an export or import runs; a second request is turned away.
class ExclusiveRun {
public:
    ExclusiveRun() : owned_(SyncInProgress().load() == 0 && !Running().exchange(true)) {}
    ~ExclusiveRun() {
        if (owned_) {
            Running() = false;
        }
    }
    ExclusiveRun(const ExclusiveRun&) = delete;
    ExclusiveRun& operator=(const ExclusiveRun&) = delete;
    bool Owned() const { return owned_; }

    static std::atomic<bool>& Running() {
        static std::atomic<bool> running{false};
        return running;
    }

private:
    bool owned_;
};

// Stopped by the user, or the writer failed.
enum class Stop { None, Cancelled, Failed, Lost };

// Writes the sections of an export; the file is committed only when everything was written.
class ExportWriter {
public:
    ExportWriter(QSaveFile& file, DataFileProgress& progress) : writer_(file), progress_(progress) {}

    ArchiveWriter& Writer() { return writer_; }

    // Counts a section (showing "Enumerating") and writes the count.
    int BeginSection(int textIndex, const std::function<int()>& count) {
        section_ = UiText(textIndex);
        progress_.Enumerating(section_);
        total_ = count();
        done_ = 0;
        writer_.WriteInt32(total_);
        return total_;
    }

    // Writes one record of the current section; false stops the walk.
    template <class R> bool Record(const R& record) {
        if (progress_.ConnectionLost()) {
            stop_ = Stop::Lost;
            return false;
        }
        WriteDataFileRecord(writer_, record);
        ++done_;
        progress_.Step(section_, done_, total_);
        if (!writer_.Ok()) {
            stop_ = Stop::Failed;
        } else if (progress_.StopRequested()) {
            stop_ = Stop::Cancelled;
        }
        return stop_ == Stop::None;
    }

    // The walk of a section ended; a section that did not deliver the rows it counted is a failure
    // (the file would not read back).
    bool EndSection(bool walked) {
        if (stop_ == Stop::None && (!walked || done_ != total_ || !writer_.Ok())) {
            stop_ = Stop::Failed;
        }
        return stop_ == Stop::None;
    }

    Stop Stopped() const { return stop_; }
    DataFileProgress& Progress() { return progress_; }

private:
    ArchiveWriter writer_;
    DataFileProgress& progress_;
    QString section_;
    int total_ = 0;
    int done_ = 0;
    Stop stop_ = Stop::None;
};

DataFileOutcome FinishExport(QSaveFile& file, Stop stop) {
    if (stop == Stop::None && file.commit()) {
        return DataFileOutcome::Done;
    }
    // Nothing of a stopped or failed export is left behind, and a file it would have replaced stays.
    file.cancelWriting();
    if (stop == Stop::Cancelled) {
        return DataFileOutcome::Cancelled;
    }
    if (stop == Stop::Lost) {
        return DataFileOutcome::ConnectionLost;
    }
    qCWarning(lcStore) << "the data file" << file.fileName() << "could not be written:" << file.errorString();
    return DataFileOutcome::Failed;
}

template <class Work> DataFileOutcome RunExport(const QString& path, DataFileProgress& progress, Work work) {
    ExclusiveRun run;
    if (!run.Owned()) {
        return DataFileOutcome::Busy;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcStore) << "the data file" << path << "could not be created:" << file.errorString();
        return DataFileOutcome::Unopened;
    }
    ExportWriter out(file, progress);
    out.Writer().WriteInt32(kDataFileFormatVersion);
    try {
        work(out);
    } catch (const DatabaseError& error) {
        file.cancelWriting();
        // A query that failed because the share dropped is the lost connection, not an error.
        if (out.Progress().ConnectionLost()) {
            return DataFileOutcome::ConnectionLost;
        }
        qCWarning(lcStore) << "export to" << path << "stopped by the database:" << error.what();
        return DataFileOutcome::Failed;
    }
    return FinishExport(file, out.Stopped());
}

template <class R> bool WriteAll(ExportWriter& out, const std::vector<R>& records) {
    for (const R& record : records) {
        if (!out.Record(record)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool DataFileWorkRunning() {
    return SyncInProgress().load() != 0 || ExclusiveRun::Running().load();
}

QString DataFileStepText(const QString& section, int done, int total) {
    return QString::asprintf("%s: %d of %d", qUtf8Printable(section), done, total);
}

QString WithDataFileExtension(const QString& path, const QString& extension) {
    const QFileInfo info(path);
    if (info.suffix() == extension) {
        return path;
    }
    const QString base = info.suffix().isEmpty() ? path : path.left(path.size() - info.suffix().size() - 1);
    return base + QLatin1Char('.') + extension;
}

DataFileOutcome ExportEverything(CMainConnection& db, const QString& path, DataFileProgress& progress) {
    return RunExport(path, progress, [&db](ExportWriter& out) {
        // One consistent view of the database.
        SqlConnection::Batch snapshot(db.Connection(), SqlConnection::Batch::Intent::Read);
        const auto machines = db.ListMachines();
        out.BeginSection(text::SectionMachines, [&] { return static_cast<int>(machines.size()); });
        if (!out.EndSection(WriteAll(out, machines))) {
            return;
        }
        out.BeginSection(text::SectionVibs, [&] { return db.CountAllVibs(); });
        if (!out.EndSection(db.WalkAllVibs([&out](const CVib& vib) { return out.Record(vib); }))) {
            return;
        }
        out.BeginSection(text::SectionVibReadings, [&] { return db.CountAllVibReadings(); });
        if (!out.EndSection(db.WalkAllVibReadings([&out](const CVibReading& r) { return out.Record(r); }))) {
            return;
        }
        const auto routes = db.ListRoutes();
        out.BeginSection(text::SectionRoutes, [&] { return static_cast<int>(routes.size()); });
        if (!out.EndSection(WriteAll(out, routes))) {
            return;
        }
        out.BeginSection(text::SectionRouteItems, [&] { return db.CountAllRouteItems(); });
        out.EndSection(db.WalkAllRouteItems([&out](const CRouteItem& item) { return out.Record(item); }));
    });
}

DataFileOutcome ExportMachines(CMainConnection& db, const QString& path, const MachineSelection& selection,
                               DataFileProgress& progress) {
    return RunExport(path, progress, [&](ExportWriter& out) {
        SqlConnection::Batch snapshot(db.Connection(), SqlConnection::Batch::Intent::Read);
        std::vector<CMachine> machines;
        for (const QString& guid : selection.machines) {
            CMachine machine;
            if (db.GetMachine(guid, machine)) {
                machines.push_back(machine);
            }
        }
        out.BeginSection(text::SectionMachines, [&] { return static_cast<int>(machines.size()); });
        if (!out.EndSection(WriteAll(out, machines))) {
            return;
        }
        std::vector<CVib> points;
        for (const CMachine& machine : machines) {
            const auto own = db.ListVibs(machine.sItemGUID);
            points.insert(points.end(), own.begin(), own.end());
        }
        out.BeginSection(text::SectionVibs, [&] { return static_cast<int>(points.size()); });
        if (!out.EndSection(WriteAll(out, points))) {
            return;
        }
        const bool between = selection.span == ReadingSpan::Between;
        const QDateTime from = between ? selection.start : QDateTime();
        const QDateTime to = between ? selection.end : QDateTime();
        if (selection.span == ReadingSpan::LatestOnly) {
            std::vector<CVibReading> latest;
            for (const CVib& point : points) {
                CVibReading reading;
                if (db.GetLatestVibReading(point.sItemGUID, reading)) {
                    latest.push_back(std::move(reading));
                }
            }
            out.BeginSection(text::SectionVibReadings, [&] { return static_cast<int>(latest.size()); });
            if (!out.EndSection(WriteAll(out, latest))) {
                return;
            }
        } else {
            out.BeginSection(text::SectionVibReadings, [&] {
                int count = 0;
                for (const CVib& point : points) {
                    count += db.CountVibReadings(point.sItemGUID, from, to);
                }
                return count;
            });
            bool walked = true;
            for (const CVib& point : points) {
                walked =
                    db.WalkVibReadings(
                        point.sItemGUID, [&out](const CVibReading& r) { return out.Record(r); }, from, to) &&
                    out.Stopped() == Stop::None;
                if (!walked) {
                    break;
                }
            }
            if (!out.EndSection(walked)) {
                return;
            }
        }
        out.BeginSection(text::SectionRoutes, [] { return 0; });
        out.EndSection(true);
        out.BeginSection(text::SectionRouteItems, [] { return 0; });
        out.EndSection(true);
    });
}

namespace {

// Reads one section: the count, then each record, stored as soon as it has been read whole.
template <class R>
Stop ImportSection(ArchiveReader& reader, int textIndex, DataFileProgress& progress,
                   const std::function<bool(const R&)>& store) {
    const QString section = UiText(textIndex);
    progress.Enumerating(section);
    // The count is not checked against the bytes left: records are read and stored one at a time
    // (nothing is allocated for the count), so a count that claims more than the file holds keeps
    // every whole record before the damage and fails at the first one missing.
    const qint32 count = reader.ReadInt32();
    if (!reader.Ok() || count < 0) {
        return Stop::Failed;
    }
    for (qint32 i = 0; i < count; ++i) {
        if (progress.ConnectionLost()) {
            return Stop::Lost;
        }
        const R record = ReadDataFileRecord<R>(reader);
        if (!reader.Ok()) {
            return Stop::Failed; // a damaged record is never stored, not even in part
        }
        if (!store(record)) {
            return Stop::Failed;
        }
        progress.Step(section, i + 1, count);
        if (progress.StopRequested()) {
            return Stop::Cancelled;
        }
    }
    return Stop::None;
}

} // namespace

DataFileOutcome ReadDataFile(ArchiveReader& reader, const DataFileSink& sink, DataFileProgress& progress) {
    const qint32 version = reader.ReadInt32();
    // Later versions are read as version 1.
    Stop stop = !reader.Ok() || version < 1 ? Stop::Failed : Stop::None;
    const std::function<Stop()> sections[] = {
        [&] { return ImportSection<CMachine>(reader, text::SectionMachines, progress, sink.machine); },
        [&] { return ImportSection<CVib>(reader, text::SectionVibs, progress, sink.vib); },
        [&] { return ImportSection<CVibReading>(reader, text::SectionVibReadings, progress, sink.reading); },
        [&] { return ImportSection<CRoute>(reader, text::SectionRoutes, progress, sink.route); },
        [&] { return ImportSection<CRouteItem>(reader, text::SectionRouteItems, progress, sink.routeItem); },
    };
    for (const auto& section : sections) {
        if (stop != Stop::None) {
            break;
        }
        stop = section();
    }
    switch (stop) {
    case Stop::None:
        return DataFileOutcome::Done;
    case Stop::Cancelled:
        return DataFileOutcome::Cancelled;
    case Stop::Lost:
        return DataFileOutcome::ConnectionLost;
    case Stop::Failed:
        break;
    }
    return DataFileOutcome::Failed;
}

int DataFileImportReport::Refused() const {
    int refused = 0;
    for (const Section& section : sections) {
        refused += section.refused;
    }
    return refused;
}

namespace {

// Checks each record before it goes to the database and counts what was kept and refused.
class CheckedImport {
public:
    CheckedImport(CMainConnection& db, DataFileImportReport& report) : db_(db), checks_(db), report_(report) {
        for (const int section : {text::SectionMachines, text::SectionVibs, text::SectionVibReadings,
                                  text::SectionRoutes, text::SectionRouteItems}) {
            report_.sections.push_back({UiText(section), 0, 0});
        }
    }

    DataFileSink Sink() {
        return DataFileSink{
            [this](const CMachine& r) {
                CMachine checked = r;
                return Store(0, checks_.Machine(checked), [&] { return db_.UpsertMachine(checked); });
            },
            [this](const CVib& r) {
                CVib checked = r;
                return Store(1, checks_.Vib(checked), [&] { return db_.UpsertVib(checked); });
            },
            [this](const CVibReading& r) {
                return Store(2, checks_.Reading(r), [&] { return StoreReading(r); });
            },
            [this](const CRoute& r) {
                return Store(3, checks_.Route(r), [&] { return db_.UpsertRoute(r); });
            },
            [this](const CRouteItem& r) {
                return Store(4, checks_.RouteItem(r), [&] { return db_.UpsertRouteItem(r); });
            },
        };
    }

    // Called once the writes are deferred: a connection that sends them without looking each one
    // up (a server) learns the readings' keys here in one query, to find the files of a reading
    // the file replaces by point and date under another GUID.
    void BeginBulk() {
        if (db_.Connection().DefersWrites()) {
            readingKeys_ = derived::ReadingsByPointAndDate(db_.Connection());
        }
    }

private:
    bool StoreReading(const CVibReading& reading) {
        if (!db_.UpsertVibReading(reading)) {
            return false;
        }
        if (!readingKeys_) {
            return true; // the upsert looked the replaced readings up itself
        }
        const QString key = derived::PointAndDateKey(reading.sParentGUID, reading.ctDateTaken);
        const QString replaced = readingKeys_->value(key);
        readingKeys_->insert(key, reading.sItemGUID);
        if (!replaced.isEmpty() && replaced != reading.sItemGUID) {
            ForgetImportedReading(db_.Connection(), replaced);
            return db_.RemoveReadingFiles(replaced);
        }
        return true;
    }

    template <class Write> bool Store(size_t section, const std::optional<QString>& refused, Write write) {
        DataFileImportReport::Section& counts = report_.sections[section];
        if (refused) {
            ++counts.refused;
            const int n = counts.kept + counts.refused;
            qCWarning(lcStore, "import refused %s %d: %s", qUtf8Printable(counts.name), n,
                      qUtf8Printable(*refused));
            if (report_.firstRefusal.isEmpty()) {
                report_.firstRefusal = QStringLiteral("%1 %2: %3").arg(counts.name).arg(n).arg(*refused);
            }
            return true; // the others are kept
        }
        if (!write()) {
            return false;
        }
        ++counts.kept;
        return true;
    }

    CMainConnection& db_;
    DataFileChecks checks_;
    DataFileImportReport& report_;
    std::optional<QHash<QString, QString>> readingKeys_;
};

} // namespace

DataFileOutcome ImportDataFile(CMainConnection& db, const QString& path, DataFileProgress& progress,
                               DataFileImportReport* report) {
    ExclusiveRun run;
    if (!run.Owned()) {
        return DataFileOutcome::Busy;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcStore) << "the data file" << path << "could not be opened:" << file.errorString();
        return DataFileOutcome::Unopened;
    }
    // Read as it goes, record by record, so the memory an import takes does not grow with the file;
    // through read calls, never a mapping: a file that shrinks under a mapping (a pulled stick, a
    // copy being replaced) ends the process with a bus error instead of this import's error.
    ArchiveReader reader(file);
    DataFileImportReport ownReport;
    CheckedImport checked(db, report != nullptr ? *report : ownReport);
    DataFileOutcome outcome = DataFileOutcome::Failed;
    try {
        // Records stored before a damaged one stay: the batch commits whatever was stored.
        SqlConnection::Batch batch(db.Connection());
        // On a server the records go without a round trip each; what failed is known at the flush.
        SqlConnection::DeferredWrites deferred(db.Connection());
        checked.BeginBulk();
        outcome = ReadDataFile(reader, checked.Sink(), progress);
        deferred.Flush();
    } catch (const DatabaseError& error) {
        outcome = progress.ConnectionLost() ? DataFileOutcome::ConnectionLost : DataFileOutcome::Failed;
        qCWarning(lcStore) << "import of" << path << "stopped by the database:" << error.what();
    }
    if (outcome == DataFileOutcome::Done && file.error() != QFileDevice::NoError) {
        outcome = DataFileOutcome::Failed;
    }
    if (outcome == DataFileOutcome::Failed) {
        qCWarning(lcStore) << "the data file" << path << "is damaged or could not be stored";
    }
    return outcome;
}

} // namespace vantor
