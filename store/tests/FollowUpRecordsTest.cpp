// The follow-up tables on both engines: gained by an older database on opening, events listed new
// until acknowledged, a point's level replaced, a schedule defaulting to 30 days, and a
// recommendation closed once only.
#include "StoreFixture.h"

#include "store/AddedSchema.h"
#include "store/AlarmEventRecords.h"
#include "store/FollowUpTables.h"
#include "store/RecommendationRecords.h"
#include "store/RouteScheduleRecords.h"

using namespace vantor;
using namespace vantor::testing;

namespace {

class FollowUpRecords : public OnBothEngines<> {};

AlarmEventRow Event(const QString& guid, const QString& point, int day) {
    return {guid, point, QStringLiteral("{r%1}").arg(day),          QStringLiteral("documented"),
            {},   4,     QStringLiteral("ISO velocity at warning"), At(day)};
}

} // namespace

VANTOR_ON_BOTH_ENGINES(FollowUpRecords);

TEST_P(FollowUpRecords, AnOlderDatabaseGainsTheTablesOnOpeningAndTheCopyListNamesThem) {
    db->Close();
    for (const AddedTable& table : FollowUpTables()) {
        Execute(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table.name)));
    }
    CMainConnection reopened(context);
    ASSERT_TRUE(reopened.Open());
    const QStringList copied = AddedSchemaTables();
    for (const AddedTable& table : FollowUpTables()) {
        EXPECT_TRUE(reopened.Connection().Database().tables().contains(QLatin1String(table.name),
                                                                       Qt::CaseInsensitive))
            << table.name;
        EXPECT_TRUE(copied.contains(QLatin1String(table.name))) << table.name;
    }
}

TEST_P(FollowUpRecords, EventsStayNewUntilAcknowledgedAndTheTrailKeepsEveryEntry) {
    SqlConnection& c = db->Connection();
    eventrows::Insert(c, Event(QStringLiteral("{e1}"), QStringLiteral("{p1}"), 1));
    eventrows::Insert(c, Event(QStringLiteral("{e2}"), QStringLiteral("{p2}"), 2));
    eventrows::AddAcknowledgement(c, {QStringLiteral("{a1}"), QStringLiteral("{e1}"), QStringLiteral("ann"),
                                      QStringLiteral("seen"), At(3)});
    eventrows::AddAcknowledgement(c, {QStringLiteral("{a2}"), QStringLiteral("{e1}"), QStringLiteral("bob"),
                                      QStringLiteral("correction: bearing, not unbalance"), At(4)});

    const auto all = eventrows::List(c, {});
    ASSERT_EQ(all.size(), 2U);
    EXPECT_EQ(all[0].event.guid, QStringLiteral("{e1}"));
    EXPECT_EQ(all[0].acknowledgements, 2);
    EXPECT_EQ(all[0].event.raised, At(1));
    const auto fresh = eventrows::List(c, {true, {}});
    ASSERT_EQ(fresh.size(), 1U);
    EXPECT_EQ(fresh[0].event.guid, QStringLiteral("{e2}"));
    EXPECT_TRUE(eventrows::List(c, {true, QStringLiteral("{p1}")}).empty());
    EXPECT_EQ(eventrows::PointsWithNewEvents(c),
              (std::vector<std::pair<QString, int>>{{QStringLiteral("{p2}"), 1}}));

    const auto trail = eventrows::Acknowledgements(c, QStringLiteral("{e1}"));
    ASSERT_EQ(trail.size(), 2U);
    EXPECT_EQ(trail[0].user, QStringLiteral("ann"));
    EXPECT_EQ(trail[1].comment, QStringLiteral("correction: bearing, not unbalance"));
}

TEST_P(FollowUpRecords, APointsLevelIsReplacedAndASchedulesDefaultIsThirtyDays) {
    SqlConnection& c = db->Connection();
    EXPECT_FALSE(eventrows::LevelOf(c, QStringLiteral("{p}")).has_value());
    eventrows::PutLevel(c, {QStringLiteral("{p}"), 4, QStringLiteral("{r1}"), At(1)});
    eventrows::PutLevel(c, {QStringLiteral("{p}"), 3, QStringLiteral("{r2}"), At(2)});
    const auto level = eventrows::LevelOf(c, QStringLiteral("{p}"));
    ASSERT_TRUE(level.has_value());
    EXPECT_EQ(level->level, 3);
    EXPECT_EQ(level->readingGuid, QStringLiteral("{r2}"));
    EXPECT_EQ(eventrows::AllLevels(c).size(), 1U);

    EXPECT_EQ(schedulerows::Of(c, QStringLiteral("{route}")).intervalDays, kDefaultRouteIntervalDays);
    schedulerows::Put(c, {QStringLiteral("{route}"), 14, QDate(2024, 3, 1)});
    const RouteScheduleRow stored = schedulerows::Of(c, QStringLiteral("{route}"));
    EXPECT_EQ(stored.intervalDays, 14);
    EXPECT_EQ(stored.startDate, QDate(2024, 3, 1));
    EXPECT_EQ(schedulerows::All(c).size(), 1U);
}

TEST_P(FollowUpRecords, ARecommendationIsClosedOnceOnly) {
    SqlConnection& c = db->Connection();
    RecommendationRow row;
    row.guid = QStringLiteral("{rec}");
    row.action = QStringLiteral("Replace the DE bearing");
    row.priority = 2;
    row.due = QDate(2024, 4, 1);
    row.state = QStringLiteral("open");
    row.created = At(5);
    recommendationrows::Insert(c, row);
    EXPECT_EQ(recommendationrows::List(c, true).size(), 1U);
    EXPECT_TRUE(recommendationrows::Close(c, row.guid, QStringLiteral("confirmed"),
                                          QStringLiteral("spalled race"), QStringLiteral("ann"), At(9)));
    EXPECT_FALSE(recommendationrows::Close(c, row.guid, QStringLiteral("not-confirmed"), QStringLiteral("x"),
                                           QStringLiteral("bob"), At(10)));
    RecommendationRow stored;
    ASSERT_TRUE(recommendationrows::Get(c, row.guid, stored));
    EXPECT_EQ(stored.outcome, QStringLiteral("confirmed"));
    EXPECT_EQ(stored.closedBy, QStringLiteral("ann"));
    EXPECT_EQ(stored.closed, At(9));
    EXPECT_FALSE(stored.sent.isValid());
    EXPECT_TRUE(recommendationrows::List(c, true).empty());
    EXPECT_EQ(recommendationrows::List(c, false).size(), 1U);
}
