#include "StoreFixture.h"

#include "archive/ArchiveWriter.h"
#include "store/DataFile.h"
#include "store/DataFileRecords.h"
#include "store/DerivedRecords.h"
#include "store/SignalCachePath.h"
#include "store/SyncState.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <limits>
#include <type_traits>

using namespace vantor;
using namespace vantor::testing;

namespace {

class StopAfter : public DataFileProgress {
public:
    explicit StopAfter(int steps) : left_(steps) {}
    void Step(const QString& section, int done, int total) override {
        texts << DataFileStepText(section, done, total);
        --left_;
    }
    void Enumerating(const QString& section) override { texts << section; }
    bool StopRequested() override { return left_ <= 0; }
    QStringList texts;

private:
    int left_;
};

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Int32(qint32 value) {
    QByteArray bytes;
    ArchiveWriter(bytes).WriteInt32(value);
    return bytes;
}

} // namespace

class DataFile : public OnBothEngines<> {
protected:
    QString PathOf(const char* name) const { return QDir(env.Root()).filePath(QLatin1String(name)); }

    // A second, empty database to import into.
    std::unique_ptr<CMainConnection> OtherDatabase() {
        StoreContext other = context;
        other.server.reset();
        other.databaseFile = PathOf("Other.mdb");
        EXPECT_TRUE(CreateEmptyDatabase(other.databaseFile));
        auto connection = std::make_unique<CMainConnection>(other);
        EXPECT_TRUE(connection->Open());
        return connection;
    }

    // A second, empty database of the engine under test.
    std::unique_ptr<CMainConnection> FreshDatabase() {
        if (!OnServer()) {
            QFile::remove(PathOf("Other.mdb"));
            return OtherDatabase();
        }
        PostgresCluster& cluster = PostgresCluster::Shared();
        StoreContext other = context;
        other.server = ServerAddress::Parse(cluster.CreateDatabase());
        EXPECT_TRUE(other.server.has_value()) << cluster.Error().toStdString();
        {
            SqlConnection setup(*other.server);
            EXPECT_TRUE(setup.Open());
            EXPECT_EQ(InitServerSchema(setup), SchemaInit::Created);
        }
        auto connection = std::make_unique<CMainConnection>(other);
        EXPECT_TRUE(connection->Open());
        return connection;
    }

    void Populate() {
        pump = AddMachine(QStringLiteral("Pump"));
        fan = AddMachine(QStringLiteral("Fan"));
        drive = AddVib(pump.sItemGUID, QStringLiteral("Drive end"));
        free = AddVib(pump.sItemGUID, QStringLiteral("Free end"));
        fanEnd = AddVib(fan.sItemGUID, QStringLiteral("Fan end"));
        for (int day : {1, 2, 3}) {
            AddReading(drive.sItemGUID, At(day));
            AddReading(fanEnd.sItemGUID, At(day));
        }
        AddReading(free.sItemGUID, At(2, 8));
        route = CRoute{MakeItemGuid(), 0, QStringLiteral("North")};
        ASSERT_TRUE(db->UpsertRoute(route));
        AddRouteItem(route.sItemGUID, pump);
        AddRouteItem(route.sItemGUID, fan);
    }

    CMachine pump, fan;
    CVib drive, free, fanEnd;
    CRoute route;
    DataFileProgress quiet;
};
VANTOR_ON_BOTH_ENGINES(DataFile);

TEST_P(DataFile, EmptyExportIsTheVersionAndFiveZeroCounts) {
    const QString path = PathOf("empty.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    EXPECT_EQ(ReadFile(path), Int32(1) + QByteArray(20, '\0'));
}

TEST_P(DataFile, TextsUseTheShortestLengthForm) {
    CMachine machine;
    machine.sItemGUID = QString(300, QLatin1Char('g'));
    QByteArray bytes;
    ArchiveWriter writer(bytes);
    WriteDataFileRecord(writer, machine);
    EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("fffeffff2c01")));
    // An empty text is the marker and a zero length.
    EXPECT_EQ(bytes.mid(6 + 600 + 4, 4), QByteArray::fromHex("fffeff00"));
}

TEST_P(DataFile, EverythingRoundTripsIntoAnotherDatabase) {
    Populate();
    const QString path = PathOf("all.rmd");
    StopAfter progress(1000);
    ASSERT_EQ(ExportEverything(*db, path, progress), DataFileOutcome::Done);
    EXPECT_TRUE(progress.texts.contains(QStringLiteral("Vib Readings: 7 of 7")));
    EXPECT_EQ(progress.texts.first(), QStringLiteral("Machines"));

    auto other = OtherDatabase();
    ASSERT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Done);
    ASSERT_EQ(other->ListMachines().size(), 2u);
    EXPECT_EQ(other->ListMachines()[0].sName, QStringLiteral("Pump"));
    EXPECT_EQ(other->ListVibs(pump.sItemGUID).size(), 2u);
    const auto readings = other->ListVibReadings(drive.sItemGUID);
    ASSERT_EQ(readings.size(), 3u);
    const auto original = db->ListVibReadings(drive.sItemGUID);
    EXPECT_EQ(readings[1].sItemGUID, original[1].sItemGUID);
    EXPECT_EQ(readings[1].ctDateTaken, At(2));
    EXPECT_EQ(readings[1].fISOMMS, 1.25f);
    EXPECT_EQ(readings[1].rawADCTotalDataByteArray, QByteArray(4096, 't'));
    EXPECT_EQ(other->ListRouteItems(route.sItemGUID).size(), 2u);
    // Exporting the copy gives the same bytes.
    ASSERT_EQ(ExportEverything(*other, PathOf("again.rmd"), quiet), DataFileOutcome::Done);
    EXPECT_EQ(ReadFile(PathOf("again.rmd")), ReadFile(path));
}

TEST_P(DataFile, ImportingTwiceEqualsImportingOnceAndMatchingReadingsAreReplaced) {
    Populate();
    const QString path = PathOf("all.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    // The target already holds the same reading instant under another GUID.
    auto other = OtherDatabase();
    CVibReading local;
    local.sItemGUID = MakeItemGuid();
    local.sParentGUID = drive.sItemGUID;
    local.ctDateTaken = At(1);
    ASSERT_TRUE(other->UpsertVibReading(local));
    ASSERT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Done);
    ASSERT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Done);
    EXPECT_EQ(other->ListMachines().size(), 2u);
    EXPECT_EQ(other->CountAllVibs(), 3);
    EXPECT_EQ(other->CountAllVibReadings(), 7);
    EXPECT_EQ(other->CountAllRouteItems(), 2);
    CVibReading replaced;
    EXPECT_FALSE(other->GetVibReading(local.sItemGUID, replaced));
}

// Into the database under test itself (on a server, its writes are pipelined): a missing reading
// comes back, a changed one takes the file's values, nothing is doubled, and a write the database
// refuses fails the import instead of being reported done.
TEST_P(DataFile, ImportIntoThisDatabaseRestoresReplacesAndReportsARefusedWrite) {
    Populate();
    const QString path = PathOf("all.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    auto readings = db->ListVibReadings(drive.sItemGUID);
    ASSERT_EQ(readings.size(), 3u);
    ASSERT_TRUE(db->DeleteVibReading(readings[0].sItemGUID));
    CVibReading changed = readings[1];
    changed.fISOMMS = 9.5f;
    ASSERT_TRUE(db->UpsertVibReading(changed));

    ASSERT_EQ(ImportDataFile(*db, path, quiet), DataFileOutcome::Done);
    EXPECT_EQ(db->CountAllVibReadings(), 7);
    EXPECT_EQ(db->ListMachines().size(), 2u);
    EXPECT_EQ(db->CountAllVibs(), 3);
    EXPECT_EQ(db->CountAllRouteItems(), 2);
    const auto after = db->ListVibReadings(drive.sItemGUID);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].sItemGUID, readings[0].sItemGUID);
    EXPECT_EQ(after[1].fISOMMS, readings[1].fISOMMS);
    EXPECT_EQ(after[0].rawADCTotalDataByteArray, QByteArray(4096, 't'));

    if (OnServer()) {
        Execute(QStringLiteral("CREATE FUNCTION vantor_refuse() RETURNS trigger LANGUAGE plpgsql AS "
                               "$$BEGIN RAISE EXCEPTION 'refused by the test'; END$$"));
        Execute(QStringLiteral("CREATE TRIGGER vantor_refuse BEFORE INSERT ON tblVibReadings "
                               "FOR EACH ROW EXECUTE FUNCTION vantor_refuse()"));
    } else {
        Execute(QStringLiteral("CREATE TRIGGER vantor_refuse BEFORE INSERT ON tblVibReadings "
                               "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    }
    ASSERT_TRUE(db->DeleteVibReading(readings[2].sItemGUID));
    EXPECT_EQ(ImportDataFile(*db, path, quiet), DataFileOutcome::Failed);
    EXPECT_EQ(db->CountAllVibReadings(), 6);
    // The connection goes on working after the refusal.
    EXPECT_EQ(db->ListMachines().size(), 2u);
    EXPECT_TRUE(db->UpsertMachine(pump));
}

TEST_P(DataFile, SelectedMachinesCarryTheChosenReadingsAndNoRoutes) {
    Populate();
    const auto exportAndCount = [this](ReadingSpan span, const QDateTime& start = {},
                                       const QDateTime& end = {}) {
        MachineSelection selection{{pump.sItemGUID}, span, start, end};
        const QString path = PathOf("some.rmd");
        EXPECT_EQ(ExportMachines(*db, path, selection, quiet), DataFileOutcome::Done);
        auto other = OtherDatabase();
        EXPECT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Done);
        EXPECT_EQ(other->ListMachines().size(), 1u);
        EXPECT_EQ(other->CountAllVibs(), 2);
        EXPECT_TRUE(other->ListRoutes().empty());
        EXPECT_EQ(other->CountAllRouteItems(), 0);
        std::vector<QDateTime> dates;
        for (const auto& r : other->ListVibReadings(drive.sItemGUID)) {
            dates.push_back(r.ctDateTaken);
        }
        const int all = other->CountAllVibReadings();
        QFile::remove(PathOf("Other.mdb"));
        return std::make_pair(all, dates);
    };
    EXPECT_EQ(exportAndCount(ReadingSpan::All).first, 4);
    const auto latest = exportAndCount(ReadingSpan::LatestOnly);
    EXPECT_EQ(latest.first, 2);
    EXPECT_EQ(latest.second, std::vector<QDateTime>{At(3)});
    // Both ends of the period are included.
    const auto period = exportAndCount(ReadingSpan::Between, At(2), At(3));
    EXPECT_EQ(period.second, (std::vector<QDateTime>{At(2), At(3)}));
    EXPECT_EQ(period.first, 2); // the free end's reading at 08:00 on day 2 falls inside too
}

TEST_P(DataFile, DamagedFilesFailAndKeepWhatCameBefore) {
    Populate();
    const QString path = PathOf("all.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    const QByteArray good = ReadFile(path);
    // Cut the file at many places: every cut fails cleanly, and never stores part of a record.
    {
        auto other = OtherDatabase();
        for (qsizetype cut = 0; cut < good.size(); cut += (cut < 300 ? 1 : 331)) {
            WriteFile(path, good.left(cut));
            ASSERT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Failed) << cut;
            for (const auto& machine : other->ListMachines()) {
                ASSERT_TRUE(machine.sName == QStringLiteral("Pump") || machine.sName == QStringLiteral("Fan"))
                    << cut;
            }
            for (const auto& reading : other->ListVibReadings({})) {
                ASSERT_EQ(reading.rawADCTotalDataByteArray.size(), 4096) << cut;
            }
        }
    }
    QFile::remove(PathOf("Other.mdb"));
    // The first machine survives a cut inside the second.
    WriteFile(path, good.left(good.indexOf(QByteArray("F\0a\0n\0", 6))));
    auto other = OtherDatabase();
    EXPECT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Failed);
    ASSERT_EQ(other->ListMachines().size(), 1u);
    EXPECT_EQ(other->ListMachines()[0].sName, QStringLiteral("Pump"));
}

TEST_P(DataFile, ACountClaimingMoreRecordsThanTheFileHoldsKeepsTheRecordsRead) {
    AddMachine(QStringLiteral("Pump"));
    AddMachine(QStringLiteral("Fan"));
    const QString path = PathOf("machines.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    // Version, machine count 2, both machines, then four empty sections: claim 1000 machines and
    // drop the sections after them.
    QByteArray bytes = ReadFile(path);
    bytes.chop(16);
    bytes.replace(4, 4, Int32(1000));
    WriteFile(path, bytes);
    auto other = OtherDatabase();
    EXPECT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Failed);
    ASSERT_EQ(other->ListMachines().size(), 2u);
}

TEST_P(DataFile, HostileHeadersAndCountsAreRefused) {
    const QString path = PathOf("bad.rmd");
    const auto importBytes = [&](const QByteArray& bytes) {
        WriteFile(path, bytes);
        return ImportDataFile(*db, path, quiet);
    };
    EXPECT_EQ(importBytes(Int32(0) + QByteArray(20, '\0')), DataFileOutcome::Failed);
    EXPECT_EQ(importBytes(Int32(-7) + QByteArray(20, '\0')), DataFileOutcome::Failed);
    EXPECT_EQ(importBytes(Int32(99) + QByteArray(20, '\0')), DataFileOutcome::Done);
    EXPECT_EQ(importBytes(Int32(1) + Int32(-1)), DataFileOutcome::Failed);
    EXPECT_EQ(importBytes(Int32(1) + Int32(0x7fffffff) + QByteArray(64, 'x')), DataFileOutcome::Failed);
    // A machine whose GUID claims more characters than the file holds.
    EXPECT_EQ(importBytes(Int32(1) + Int32(1) + QByteArray::fromHex("fffeffffff") + Int32(-1)),
              DataFileOutcome::Failed);
    EXPECT_EQ(importBytes(QByteArray("\x01\x00", 2)), DataFileOutcome::Failed);
    EXPECT_TRUE(db->ListMachines().empty());
    EXPECT_EQ(ImportDataFile(*db, PathOf("missing.rmd"), quiet), DataFileOutcome::Unopened);
}

TEST_P(DataFile, ReadingKeysFromAFileNeverNameFilesOutsideTheDataFolder) {
    const CMachine machine = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddVib(machine.sItemGUID, QStringLiteral("P1"));
    CVibReading hostile;
    hostile.sItemGUID = QStringLiteral("../../victim");
    hostile.sParentGUID = point.sItemGUID;
    hostile.ctDateTaken = At(4);
    QByteArray bytes = Int32(1) + Int32(0) + Int32(0) + Int32(1);
    ArchiveWriter writer(bytes);
    WriteDataFileRecord(writer, hostile);
    bytes += Int32(0) + Int32(0);
    WriteFile(PathOf("hostile.rmd"), bytes);
    DataFileImportReport report;
    ASSERT_EQ(ImportDataFile(*db, PathOf("hostile.rmd"), quiet, &report), DataFileOutcome::Done);
    EXPECT_EQ(db->CountAllVibReadings(), 0);
    EXPECT_EQ(report.firstRefusal, QStringLiteral("Vib Readings 1: malformed reading GUID"));
}

// Writes a data file of the given records, one section each.
template <class... Sections> QByteArray FileOf(const Sections&... sections) {
    QByteArray bytes = Int32(1);
    ArchiveWriter writer(bytes);
    const auto section = [&writer](const auto& records) {
        writer.WriteInt32(static_cast<qint32>(records.size()));
        for (const auto& record : records) {
            WriteDataFileRecord(writer, record);
        }
    };
    (section(sections), ...);
    return bytes;
}

TEST_P(DataFile, EachRecordPassesTheEditorsChecksAndNothingOrphanedIsStored) {
    const auto machineNamed = [](const QString& guid, const QString& meterName, const QString& emails = {}) {
        return CMachine{guid, 0, QStringLiteral("M ") + meterName.left(5).simplified(), meterName, emails};
    };
    const QString good = QStringLiteral("{11111111-2222-4333-8444-555555555555}");
    const std::vector<CMachine> machines = {
        machineNamed(good, QStringLiteral("Good")),
        machineNamed(QStringLiteral("{11111111-2222-4333-8444-55555555555z}"), QStringLiteral("BadGuid")),
        machineNamed(QStringLiteral("{../..}"), QStringLiteral("Dots")),
        machineNamed({}, QStringLiteral("NoGuid")),
        machineNamed(MakeItemGuid(), QStringLiteral("P1\rCMD*DELASST")),
        machineNamed(MakeItemGuid(), QStringLiteral("A,B")),
        machineNamed(MakeItemGuid(), QStringLiteral("Junk"), QStringLiteral("\x01\x02@@;;x")),
    };
    const auto point = [](const QString& parent, const QString& name, float hz) {
        CVib vib;
        vib.sItemGUID = MakeItemGuid();
        vib.sParentGUID = parent;
        vib.sName = name;
        vib.sVMName = name;
        vib.fRunSpeedHz = hz;
        return vib;
    };
    const CVib kept = point(good, QStringLiteral("Kept"), 25);
    const CVib orphan = point(machines[1].sItemGUID, QStringLiteral("Orphan"), 25);
    const std::vector<CVib> vibs = {
        kept, orphan, point(good, QStringLiteral("Fast"), std::numeric_limits<float>::infinity()),
        point(good, QStringLiteral("Bar|"), 25)};
    const auto reading = [](const QString& parent, int day) {
        CVibReading r;
        r.sItemGUID = MakeItemGuid();
        r.sParentGUID = parent;
        r.ctDateTaken = At(day);
        return r;
    };
    const std::vector<CVibReading> readings = {reading(kept.sItemGUID, 1), reading(orphan.sItemGUID, 2),
                                               reading(QStringLiteral("{nowhere}"), 3)};
    const CRoute north{MakeItemGuid(), 0, QStringLiteral("North")};
    const std::vector<CRoute> routes = {north, CRoute{MakeItemGuid(), 1, QStringLiteral("Bad\nroute")}};
    const std::vector<CRouteItem> items = {
        CRouteItem{MakeItemGuid(), north.sItemGUID, 0, good, QStringLiteral("M Good")},
        CRouteItem{MakeItemGuid(), north.sItemGUID, 1, machines[4].sItemGUID, QStringLiteral("x")},
        CRouteItem{MakeItemGuid(), MakeItemGuid(), 2, good, QStringLiteral("x")}};
    WriteFile(PathOf("mixed.rmd"), FileOf(machines, vibs, readings, routes, items));

    DataFileImportReport report;
    ASSERT_EQ(ImportDataFile(*db, PathOf("mixed.rmd"), quiet, &report), DataFileOutcome::Done);
    EXPECT_TRUE(prompter.records.empty());
    const std::vector<std::pair<int, int>> expected = {{1, 6}, {1, 3}, {1, 2}, {1, 1}, {1, 2}};
    ASSERT_EQ(report.sections.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::make_pair(report.sections[i].kept, report.sections[i].refused), expected[i])
            << qPrintable(report.sections[i].name);
    }
    EXPECT_EQ(report.Refused(), 14);
    EXPECT_EQ(report.firstRefusal, QStringLiteral("Machines 2: malformed machine GUID"));
    ASSERT_EQ(db->ListMachines().size(), 1u);
    EXPECT_EQ(db->ListMachines()[0].sItemGUID, good);
    ASSERT_EQ(db->CountAllVibs(), 1);
    EXPECT_EQ(db->ListVibs({})[0].sItemGUID, kept.sItemGUID);
    EXPECT_EQ(db->CountAllVibReadings(), 1);
    EXPECT_EQ(db->CountAllRouteItems(), 1);
    EXPECT_EQ(db->ListRoutes().size(), 1u);

    // A point or reading whose parent is already in the database is taken.
    const CVib later = point(good, QStringLiteral("Later"), 30);
    WriteFile(PathOf("later.rmd"), FileOf(std::vector<CMachine>{}, std::vector<CVib>{later},
                                          std::vector<CVibReading>{reading(later.sItemGUID, 4)},
                                          std::vector<CRoute>{}, std::vector<CRouteItem>{}));
    ASSERT_EQ(ImportDataFile(*db, PathOf("later.rmd"), quiet, &report), DataFileOutcome::Done);
    EXPECT_EQ(db->CountAllVibs(), 2);
    EXPECT_EQ(db->CountAllVibReadings(), 2);
}

TEST_P(DataFile, AFlippedBitInAMachineGuidRefusesItsPointsAndReadingsToo) {
    Populate();
    const QString path = PathOf("all.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    QByteArray bytes = ReadFile(path);
    // The opening brace of the first machine's GUID: "{" 0x7b becomes "z" 0x7a.
    const qsizetype brace = bytes.indexOf(QByteArray("{\0", 2));
    ASSERT_GT(brace, 0);
    bytes[brace] = static_cast<char>(bytes[brace] ^ 0x01);
    WriteFile(path, bytes);
    auto other = OtherDatabase();
    DataFileImportReport report;
    ASSERT_EQ(ImportDataFile(*other, path, quiet, &report), DataFileOutcome::Done);
    EXPECT_EQ(report.firstRefusal, QStringLiteral("Machines 1: malformed machine GUID"));
    // The pump, its two points, their four readings and its route item stay out; nothing is orphaned.
    EXPECT_EQ(report.Refused(), 1 + 2 + 4 + 1);
    EXPECT_EQ(other->ListMachines().size(), 1u);
    for (const CVib& vib : other->ListVibs({})) {
        CMachine parent;
        EXPECT_TRUE(other->GetMachine(vib.sParentGUID, parent)) << qPrintable(vib.sName);
    }
    for (const CVibReading& r : other->ListVibReadings({})) {
        CVib parent;
        EXPECT_TRUE(other->GetVib(r.sParentGUID, parent));
    }
    EXPECT_EQ(other->CountAllVibReadings(), 3);
    EXPECT_EQ(other->CountAllRouteItems(), 1);
}

namespace {

// Cuts the file being imported down to a few kilobytes as soon as the first record is stored, as a
// pulled stick or a replaced copy would.
class TruncatingProgress : public DataFileProgress {
public:
    explicit TruncatingProgress(QString path) : path_(std::move(path)) {}
    void Step(const QString&, int, int) override {
        if (!done_) {
            done_ = true;
            QFile::resize(path_, 5000);
        }
    }

private:
    QString path_;
    bool done_ = false;
};

} // namespace

TEST_P(DataFile, AFileThatShrinksOrVanishesDuringTheImportNeverEndsTheProcess) {
    Populate();
    for (int i = 0; i < 36; ++i) {
        AddReading(drive.sItemGUID, At(4 + i % 20, 1 + i / 20));
    }
    const QString path = PathOf("big.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    ASSERT_GT(QFileInfo(path).size(), 200000);
    auto other = OtherDatabase();
    TruncatingProgress shrinking(path);
    // The file is read as the import goes: the cut ends it with the import's error, and what was
    // stored before the cut is kept.
    ASSERT_EQ(ImportDataFile(*other, path, shrinking), DataFileOutcome::Failed);
    ASSERT_EQ(QFileInfo(path).size(), 5000);
    EXPECT_EQ(other->ListMachines().size(), db->ListMachines().size());
    EXPECT_LT(other->CountAllVibReadings(), db->CountAllVibReadings());

    // A file removed while it is read is read whole: its data stays until the import closes it.
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    class RemovingProgress : public DataFileProgress {
    public:
        explicit RemovingProgress(QString path) : path_(std::move(path)) {}
        void Step(const QString&, int, int) override { QFile::remove(path_); }

    private:
        QString path_;
    } removing(path);
    other.reset();
    auto third = FreshDatabase();
    ASSERT_EQ(ImportDataFile(*third, path, removing), DataFileOutcome::Done);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(third->CountAllVibReadings(), db->CountAllVibReadings());
}

TEST_P(DataFile, StoppedAndBusyRunsDoNothing) {
    Populate();
    const QString path = PathOf("all.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    const QByteArray before = ReadFile(path);

    auto other = OtherDatabase();
    // A stopped export leaves the earlier file as it was.
    StopAfter stop(3);
    EXPECT_EQ(ExportEverything(*db, path, stop), DataFileOutcome::Cancelled);
    EXPECT_EQ(ReadFile(path), before);
    StopAfter stopNew(3);
    EXPECT_EQ(ExportEverything(*db, PathOf("new.rmd"), stopNew), DataFileOutcome::Cancelled);
    EXPECT_FALSE(QFile::exists(PathOf("new.rmd")));

    SyncInProgress() = 1;
    EXPECT_EQ(ImportDataFile(*other, path, quiet), DataFileOutcome::Busy);
    EXPECT_EQ(ExportEverything(*db, PathOf("busy.rmd"), quiet), DataFileOutcome::Busy);
    SyncInProgress() = 0;
    EXPECT_FALSE(QFile::exists(PathOf("busy.rmd")));
    EXPECT_EQ(ExportEverything(*db, PathOf("no/such/folder/x.rmd"), quiet), DataFileOutcome::Unopened);
    EXPECT_TRUE(other->ListMachines().empty());
}

TEST(DataFileName, TakesTheDataFileExtension) {
    EXPECT_EQ(WithDataFileExtension(QStringLiteral("/a/b.txt"), QStringLiteral("rmd")),
              QStringLiteral("/a/b.rmd"));
    EXPECT_EQ(WithDataFileExtension(QStringLiteral("/a/b"), QStringLiteral("rmd")),
              QStringLiteral("/a/b.rmd"));
    EXPECT_EQ(WithDataFileExtension(QStringLiteral("/a/b.rmd"), QStringLiteral("rmd")),
              QStringLiteral("/a/b.rmd"));
    EXPECT_EQ(WithDataFileExtension(QStringLiteral("/a/b.RMD"), QStringLiteral("rmd")),
              QStringLiteral("/a/b.rmd"));
}

namespace {

// An indices row of a reading with made-up values.
ReadingIndicesRow SomeIndices(const QString& readingGuid) {
    ReadingIndicesRow row;
    row.readingGuid = readingGuid;
    row.method = 1;
    row.total = ChannelIndicesRow{1, 2, 3, 4, 5, 6};
    return row;
}

// Where the five section counts of a data file start.
std::array<qsizetype, 5> SectionStarts(const QByteArray& bytes) {
    ArchiveReader reader(bytes);
    reader.ReadInt32();
    std::array<qsizetype, 5> starts{};
    std::size_t next = 0;
    const auto section = [&]<class R>(std::type_identity<R>) {
        starts[next++] = bytes.size() - reader.Remaining();
        const qint32 count = reader.ReadInt32();
        for (qint32 i = 0; i < count; ++i) {
            ReadDataFileRecord<R>(reader);
        }
    };
    section(std::type_identity<CMachine>{});
    section(std::type_identity<CVib>{});
    section(std::type_identity<CVibReading>{});
    section(std::type_identity<CRoute>{});
    section(std::type_identity<CRouteItem>{});
    EXPECT_TRUE(reader.Ok() && reader.AtEnd());
    return starts;
}

} // namespace

// A file cut inside (or right before) a section's count fails, and every record of the sections
// before it is kept, each checked as usual; nothing of the cut section or after it is stored.
TEST_P(DataFile, ACutAtASectionCountKeepsEverySectionBefore) {
    Populate();
    const QString path = PathOf("all.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    const QByteArray good = ReadFile(path);
    const std::array<qsizetype, 5> starts = SectionStarts(good);
    const std::array<int, 5> stored = {2, 3, 7, 1, 2}; // machines, points, readings, routes, items
    for (std::size_t section = 0; section < starts.size(); ++section) {
        for (const qsizetype into : {0, 2}) {
            const std::string where = "section " + std::to_string(section) + " +" + std::to_string(into);
            WriteFile(path, good.left(starts[section] + into));
            auto other = FreshDatabase();
            DataFileImportReport report;
            EXPECT_EQ(ImportDataFile(*other, path, quiet, &report), DataFileOutcome::Failed) << where;
            const std::array<int, 5> counts = {static_cast<int>(other->ListMachines().size()),
                                               other->CountAllVibs(), other->CountAllVibReadings(),
                                               static_cast<int>(other->ListRoutes().size()),
                                               other->CountAllRouteItems()};
            for (std::size_t k = 0; k < counts.size(); ++k) {
                const int expected = k < section ? stored[k] : 0;
                EXPECT_EQ(counts[k], expected) << where << ", section " << k;
                ASSERT_EQ(report.sections.size(), 5u);
                EXPECT_EQ(report.sections[k].kept, expected) << where << ", section " << k;
            }
        }
    }
}

// A reading replaced by an import (the same GUID with new captures, or another GUID at the same
// point and date) leaves neither its indices row nor its cache and envelope files behind.
TEST_P(DataFile, AReplacedReadingTakesItsDerivedDataWithIt) {
    Populate();
    const QString path = PathOf("all.rmd");
    ASSERT_EQ(ExportEverything(*db, path, quiet), DataFileOutcome::Done);
    const auto readings = db->ListVibReadings(drive.sItemGUID);
    ASSERT_EQ(readings.size(), 3u);
    // readings[0] is replaced under its own GUID; readings[1] is first re-keyed to another GUID at
    // its date, which the file's reading then replaces by point and date.
    CVibReading other = readings[1];
    ASSERT_TRUE(db->DeleteVibReading(other.sItemGUID));
    other.sItemGUID = MakeItemGuid();
    other.rawADCTotalDataByteArray = QByteArray(4096, 'x');
    ASSERT_TRUE(db->UpsertVibReading(other));
    for (const QString& guid : {readings[0].sItemGUID, other.sItemGUID}) {
        derived::PutReadingIndices(db->Connection(), SomeIndices(guid));
        WriteFile(SignalCacheFilePath(context.dataFolder, guid), "stale");
        WriteFile(DerivedCacheFilePath(context.dataFolder, guid), "stale");
    }
    ASSERT_EQ(ImportDataFile(*db, path, quiet), DataFileOutcome::Done);
    EXPECT_EQ(db->CountAllVibReadings(), 7);
    for (const QString& guid : {readings[0].sItemGUID, other.sItemGUID}) {
        ReadingIndicesRow row;
        EXPECT_FALSE(derived::GetReadingIndices(db->Connection(), guid, row)) << guid.toStdString();
        EXPECT_FALSE(QFile::exists(SignalCacheFilePath(context.dataFolder, guid))) << guid.toStdString();
        EXPECT_FALSE(QFile::exists(DerivedCacheFilePath(context.dataFolder, guid))) << guid.toStdString();
    }
    // No indices row names a reading that is not there.
    for (const QString& guid : derived::ReadingsWithoutIndices(db->Connection())) {
        CVibReading reading;
        EXPECT_TRUE(db->GetVibReading(guid, reading));
    }
    EXPECT_EQ(derived::ReadingsWithoutIndices(db->Connection()).size(), 7u);
}
