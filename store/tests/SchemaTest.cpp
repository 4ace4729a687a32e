#include "StoreFixture.h"

#include <QFile>
#include <QSqlRecord>

using namespace vantor;
using namespace vantor::testing;

using Schema = StoreFixture;

namespace {

template <class R> void ExpectColumnsInOrder(const QSqlDatabase& db, int expected) {
    const QSqlRecord record = db.record(QLatin1String(TableTraits<R>::name));
    ASSERT_EQ(record.count(), expected) << TableTraits<R>::name;
    int i = 0;
    for (const auto& field : FieldsOf<R>()) {
        EXPECT_EQ(record.fieldName(i++), QLatin1String(field.name));
    }
}

} // namespace

TEST_F(Schema, NewDatabaseHasTheTenTablesWithColumnsInDocumentedOrder) {
    const QSqlDatabase sql = db->Connection().Database();
    ExpectColumnsInOrder<CMachine>(sql, 5);
    ExpectColumnsInOrder<CVib>(sql, 12);
    ExpectColumnsInOrder<CLube>(sql, 10);
    ExpectColumnsInOrder<CVibReading>(sql, 34);
    ExpectColumnsInOrder<CLubeReading>(sql, 12);
    ExpectColumnsInOrder<CRoute>(sql, 3);
    ExpectColumnsInOrder<CRouteItem>(sql, 5);
    ExpectColumnsInOrder<CDevice>(sql, 5);
    ExpectColumnsInOrder<COffRouteReading>(sql, 33);
    ExpectColumnsInOrder<CEmailAddress>(sql, 1);
    EXPECT_EQ(sql.record(QStringLiteral("tblVibReadings")).fieldName(33),
              QStringLiteral("rawADCTotalDataByteArray"));
}

TEST_F(Schema, CreatingNeverTouchesAnExistingFile) {
    QFile file(context.databaseFile);
    const qint64 size = file.size();
    QString error;
    EXPECT_FALSE(CreateEmptyDatabase(context.databaseFile, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(file.size(), size);
}

TEST_F(Schema, ATableWithTooFewColumnsFailsAfterSixAttemptsAndEveryOpenRetries) {
    Execute(QStringLiteral("DROP TABLE tblRoutes"));
    Execute(QStringLiteral("CREATE TABLE tblRoutes ([sItemGUID] TEXT(255), [sName] TEXT(255))"));
    std::vector<std::chrono::milliseconds> waits;
    context.discovery.wait = [&waits](std::chrono::milliseconds wait) { waits.push_back(wait); };
    context.discovery.retryWait = kColumnDiscoveryRetryWait;
    CMainConnection other(context);
    ASSERT_TRUE(other.Open());
    CRoute route;
    EXPECT_TRUE(other.ListRoutes().empty());
    EXPECT_FALSE(other.GetRoute(QStringLiteral("{x}"), route));
    EXPECT_FALSE(other.UpsertRoute(CRoute{QStringLiteral("{x}"), 0, QStringLiteral("N")}));
    // Five waits of 2 s per open: about ten seconds before each failure.
    ASSERT_EQ(waits.size(), 15u);
    EXPECT_EQ(waits[0], std::chrono::milliseconds(2000));
}

TEST_F(Schema, DiscoverySucceedsWhenTheMissingColumnAppearsWhileWaiting) {
    Execute(QStringLiteral("DROP TABLE tblRoutes"));
    Execute(QStringLiteral("CREATE TABLE tblRoutes ([sItemGUID] TEXT(255), [sName] TEXT(255))"));
    int waits = 0;
    context.discovery.wait = [this, &waits](std::chrono::milliseconds) {
        if (++waits == 3) {
            Execute(QStringLiteral("ALTER TABLE tblRoutes ADD COLUMN [fOrder] REAL"));
        }
    };
    CMainConnection other(context);
    ASSERT_TRUE(other.Open());
    EXPECT_TRUE(other.UpsertRoute(CRoute{QStringLiteral("{x}"), 3, QStringLiteral("N")}));
    EXPECT_EQ(waits, 3);
    const auto routes = other.ListRoutes();
    ASSERT_EQ(routes.size(), 1u);
    EXPECT_EQ(routes[0].fOrder, 3.0f);
    EXPECT_EQ(waits, 3); // known columns are not looked up again
}

TEST_F(Schema, AFileThatIsNotADatabaseDoesNotOpen) {
    const QString junk = QDir(env.Root()).filePath(QStringLiteral("junk.mdb"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'j'));
    file.close();
    StoreContext other = context;
    other.databaseFile = junk;
    EXPECT_FALSE(CMainConnection(other).Open());
    other.databaseFile = QDir(env.Root()).filePath(QStringLiteral("missing.mdb"));
    CMainConnection missing(other);
    EXPECT_FALSE(missing.Open());
    EXPECT_FALSE(QFile::exists(other.databaseFile)); // opening never creates the file
}
