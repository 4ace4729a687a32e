// Every listed statement of the store on both engines, against a database with the whole schema:
// none may be refused, and on the server none may leave an error in the server's log (an error the
// code swallowed still shows there). Then the back-fill's lookup finds an older reading on each
// engine, and of two imports of one point and date at once one is stored and the other is told.
#include "StoreFixture.h"

#include "store/DerivedRecords.h"
#include "store/ImportedReadings.h"
#include "store/StoreQuery.h"

#include <QFile>
#include <QFileInfo>

#include <thread>

using namespace vantor;
using namespace vantor::testing;

namespace {

// An indices row of a reading with made-up values.
ReadingIndicesRow SomeIndices(const QString& readingGuid) {
    ReadingIndicesRow row;
    row.readingGuid = readingGuid;
    row.method = 1;
    row.total = ChannelIndicesRow{1, 2, 3, 4, 5, 6};
    return row;
}

QString ServerLogPath() {
    return QDir(PostgresCluster::Shared().SocketFolder()).filePath(QStringLiteral("server.log"));
}

qint64 ServerLogSize() {
    return QFileInfo(ServerLogPath()).size();
}

// The lines of the server's log after `from` that report an error, or a commit without a
// transaction (the sign of a failure swallowed inside one).
QStringList ServerLogErrors(qint64 from) {
    QFile log(ServerLogPath());
    if (!log.open(QIODevice::ReadOnly) || !log.seek(from)) {
        return {QStringLiteral("the server log cannot be read")};
    }
    QStringList errors;
    for (const QString& line : QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("ERROR:")) ||
            line.contains(QLatin1String("there is no transaction in progress"))) {
            errors << line;
        }
    }
    return errors;
}

} // namespace

class StoreQueries : public OnBothEngines<> {
protected:
    void SetUp() override {
        OnBothEngines<>::SetUp();
        logStart = OnServer() ? ServerLogSize() : 0;
    }

    void ExpectACleanServerLog() const {
        if (OnServer()) {
            EXPECT_EQ(ServerLogErrors(logStart).join(QLatin1Char('\n')).toStdString(), "");
        }
    }

    qint64 logStart = 0;
};
VANTOR_ON_BOTH_ENGINES(StoreQueries);

TEST_P(StoreQueries, EveryListedStatementRunsOnTheEngine) {
    SqlConnection& connection = db->Connection();
    ASSERT_NO_THROW(EnsureImportedReadingsTable(connection));
    const std::vector<StoreQuery> all = AllStoreQueries();
    ASSERT_GE(all.size(), 20u);
    for (const StoreQuery& statement : all) {
        // Each in its own transaction, rolled back. Every statement's first mark is a GUID (a key
        // column, never NULL); NULL for the others.
        SqlConnection::Transaction transaction(connection);
        QVariantList values(statement.sql.count(QLatin1Char('?')), QVariant());
        if (!values.isEmpty()) {
            values[0] = MakeItemGuid();
        }
        EXPECT_NO_THROW(derived::Run(connection, statement, values)) << statement.name;
    }
    ExpectACleanServerLog();
}

TEST_P(StoreQueries, TheBackFillFindsTheReadingsWithoutIndices) {
    const CMachine machine = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddVib(machine.sItemGUID, QStringLiteral("P1"));
    const CVibReading older = AddReading(point.sItemGUID, At(1));
    const CVibReading newer = AddReading(point.sItemGUID, At(2));
    derived::PutReadingIndices(db->Connection(), SomeIndices(newer.sItemGUID));
    EXPECT_EQ(derived::ReadingsWithoutIndices(db->Connection()), QStringList{older.sItemGUID});
    EXPECT_EQ(derived::ReadingIndicesOfPoint(db->Connection(), point.sItemGUID).size(), 1u);
    ExpectACleanServerLog();
}

// Another program has stored its reading of the same point and date and not yet committed; this
// import waits for it, then is refused, and leaves no mark of its own.
TEST_P(StoreQueries, OfTwoImportsOfOnePointAndDateOneIsStoredAndTheOtherTold) {
    const CMachine machine = AddMachine(QStringLiteral("Pump"));
    const CVib point = AddVib(machine.sItemGUID, QStringLiteral("P1"));
    const auto made = [&point] {
        CVibReading reading;
        reading.sItemGUID = MakeItemGuid();
        reading.sParentGUID = point.sItemGUID;
        reading.ctDateTaken = At(3);
        reading.rawADCTotalDataByteArray = QByteArray(64, 't');
        return reading;
    };
    const auto markOf = [](const CVibReading& reading) {
        ImportedReadingMark mark;
        mark.readingGuid = reading.sItemGUID;
        mark.sourceFile = QStringLiteral("same.csv");
        mark.format = QStringLiteral("csv");
        mark.channel = QStringLiteral("total");
        mark.unit = QStringLiteral("g");
        mark.imported = QDateTime::currentDateTime();
        return mark;
    };
    const CVibReading first = made();
    const CVibReading second = made();
    std::optional<ImportedReadingStore> secondOutcome;
    {
        SqlConnection::Transaction held(db->Connection());
        ASSERT_EQ(StoreImportedReading(*db, first, markOf(first)), ImportedReadingStore::Stored);
        std::thread other([&] {
            CMainConnection own(context);
            if (own.Open()) {
                try {
                    secondOutcome = StoreImportedReading(own, second, markOf(second));
                } catch (const DatabaseError&) {
                }
            }
        });
        // Long enough for the other import to reach the writers' lock; were it later, it would only
        // find the committed reading sooner.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ASSERT_TRUE(held.Commit());
        other.join();
    }
    ASSERT_TRUE(secondOutcome.has_value());
    EXPECT_EQ(*secondOutcome, ImportedReadingStore::PointHasReadingThen);
    const auto readings = db->ListVibReadings(point.sItemGUID);
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0].sItemGUID, first.sItemGUID);
    EXPECT_TRUE(FindImportedReading(db->Connection(), first.sItemGUID).has_value());
    EXPECT_FALSE(FindImportedReading(db->Connection(), second.sItemGUID).has_value());
}
