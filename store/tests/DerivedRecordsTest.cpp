// The added tables: created in an older database on opening, rows of indices and envelope bands
// round-tripped with their missing values kept missing, and removed with their reading or point.
#include "StoreFixture.h"

#include "store/AddedTables.h"
#include "store/DerivedRecords.h"
#include "store/SignalCachePath.h"

#include <QFile>

using namespace vantor;
using namespace vantor::testing;

using DerivedRecords = StoreFixture;

namespace {

bool HasTable(CMainConnection& db, const char* name) {
    return db.Connection().Database().tables().contains(QLatin1String(name), Qt::CaseInsensitive);
}

} // namespace

TEST_F(DerivedRecords, AnOlderDatabaseGainsTheAddedTablesOnOpening) {
    db->Close();
    // A database as older versions wrote it: the documented tables only.
    Execute(QStringLiteral("DROP TABLE tblReadingIndices"));
    Execute(QStringLiteral("DROP TABLE tblVibEnvelopeBands"));
    {
        SqlConnection raw(context.databaseFile);
        ASSERT_TRUE(raw.Open());
        ASSERT_FALSE(
            raw.Database().tables().contains(QLatin1String(kReadingIndicesTable), Qt::CaseInsensitive));
    }
    CMainConnection reopened(context);
    ASSERT_TRUE(reopened.Open());
    for (const AddedTable& table : AddedTables()) {
        EXPECT_TRUE(HasTable(reopened, table.name)) << table.name;
    }
    // A second opening finds them and adds nothing.
    reopened.Close();
    ASSERT_TRUE(reopened.Open());
    EXPECT_TRUE(EnsureAddedTables(reopened.Connection().Database()));
}

TEST_F(DerivedRecords, IndicesKeepMissingValuesMissing) {
    ReadingIndicesRow row;
    row.readingGuid = QStringLiteral("{r1}");
    row.method = 1;
    row.total = ChannelIndicesRow{0.5, 2.0, 3.5, 4.0, 7.25, std::nullopt};
    row.envelopeLowHz = 1250;
    row.envelopeHighHz = 5000;
    row.geOverall = 0.125;
    derived::PutReadingIndices(db->Connection(), row);

    ReadingIndicesRow read;
    ASSERT_TRUE(derived::GetReadingIndices(db->Connection(), QStringLiteral("{r1}"), read));
    EXPECT_EQ(read.method, 1);
    ASSERT_TRUE(read.total);
    EXPECT_EQ(read.total->rms, 0.5);
    EXPECT_EQ(read.total->peakToPeak, 3.5);
    EXPECT_EQ(read.total->kurtosis, 7.25);
    EXPECT_FALSE(read.total->skewness);
    EXPECT_FALSE(read.iso);
    EXPECT_EQ(read.geOverall, 0.125);
    EXPECT_EQ(read.envelopeHighHz, 5000);

    // Replacing keeps one row.
    row.total.reset();
    row.geOverall.reset();
    derived::PutReadingIndices(db->Connection(), row);
    ASSERT_TRUE(derived::GetReadingIndices(db->Connection(), QStringLiteral("{r1}"), read));
    EXPECT_FALSE(read.total);
    EXPECT_FALSE(read.geOverall);
    QSqlQuery count(db->Connection().Database());
    ASSERT_TRUE(count.exec(QStringLiteral("SELECT COUNT(*) FROM tblReadingIndices")) && count.next());
    EXPECT_EQ(count.value(0).toInt(), 1);
    EXPECT_FALSE(derived::GetReadingIndices(db->Connection(), QStringLiteral("{other}"), read));
}

TEST_F(DerivedRecords, GoWithTheirReadingAndPoint) {
    const CMachine machine = AddMachine(QStringLiteral("Fan"));
    const CVib point = AddVib(machine.sItemGUID, QStringLiteral("DE"));
    const CVib other = AddVib(machine.sItemGUID, QStringLiteral("NDE"));
    CVibReading reading;
    reading.sItemGUID = MakeItemGuid();
    reading.sParentGUID = point.sItemGUID;
    reading.ctDateTaken = QDateTime(QDate(2026, 3, 1), QTime(10, 0));
    ASSERT_TRUE(db->UpsertVibReading(reading));
    ReadingIndicesRow row;
    row.readingGuid = reading.sItemGUID;
    row.total = ChannelIndicesRow{1, 2, 3, 2, 3, 0};
    derived::PutReadingIndices(db->Connection(), row);
    derived::PutEnvelopeBand(db->Connection(), point.sItemGUID, EnvelopeBandRow{500, 4000});
    derived::PutEnvelopeBand(db->Connection(), other.sItemGUID, EnvelopeBandRow{800, 3000});
    const QString derivedFile = DerivedCacheFilePath(context.dataFolder, reading.sItemGUID);
    {
        QFile file(derivedFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(derived::ReadingIndicesOfPoint(db->Connection(), point.sItemGUID).size(), 1U);
    const std::optional<EnvelopeBandRow> band = derived::GetEnvelopeBand(db->Connection(), point.sItemGUID);
    ASSERT_TRUE(band);
    EXPECT_EQ(band->lowHz, 500);
    EXPECT_EQ(band->highHz, 4000);

    ASSERT_TRUE(db->DeleteVib(point.sItemGUID));
    ReadingIndicesRow read;
    EXPECT_FALSE(derived::GetReadingIndices(db->Connection(), reading.sItemGUID, read));
    EXPECT_FALSE(derived::GetEnvelopeBand(db->Connection(), point.sItemGUID));
    EXPECT_TRUE(derived::GetEnvelopeBand(db->Connection(), other.sItemGUID));
    EXPECT_FALSE(QFile::exists(derivedFile));

    derived::PutEnvelopeBand(db->Connection(), other.sItemGUID, std::nullopt);
    EXPECT_FALSE(derived::GetEnvelopeBand(db->Connection(), other.sItemGUID));
}
