// The online sensors' tables on both engines: gained by an older database on opening, a sensor's
// binding replaced and removed, and overall rows found as duplicates or thinned by their moment.
#include "StoreFixture.h"

#include "store/AddedSchema.h"
#include "store/OnlineTables.h"

using namespace vantor;
using namespace vantor::testing;

namespace {

class OnlineTablesTest : public OnBothEngines<> {};

const QDateTime kNoon(QDate(2026, 3, 2), QTime(12, 0));

OnlineOverallRow Overall(const QString& sensor, const QDateTime& taken, std::optional<double> iso) {
    return {MakeItemGuid(), sensor, QStringLiteral("{p1}"), taken, iso, 0.5, std::nullopt, 3};
}

} // namespace

VANTOR_ON_BOTH_ENGINES(OnlineTablesTest);

TEST_P(OnlineTablesTest, AnOlderDatabaseGainsTheTablesOnOpeningAndTheCopyListNamesThem) {
    db->Close();
    for (const AddedTable& table : OnlineTables()) {
        Execute(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table.name)));
    }
    CMainConnection reopened(context);
    ASSERT_TRUE(reopened.Open());
    for (const AddedTable& table : OnlineTables()) {
        EXPECT_TRUE(reopened.Connection().Database().tables().contains(QLatin1String(table.name),
                                                                       Qt::CaseInsensitive))
            << table.name;
        EXPECT_TRUE(AddedSchemaTables().contains(QLatin1String(table.name))) << table.name;
    }
}

TEST_P(OnlineTablesTest, ASensorIsBoundToOnePointAtATime) {
    SqlConnection& c = db->Connection();
    onlinerows::PutSensor(c, {QStringLiteral("s1"), QStringLiteral("{p1}"), kNoon});
    onlinerows::PutSensor(c, {QStringLiteral("s2"), QStringLiteral("{p2}"), kNoon});
    onlinerows::PutSensor(c, {QStringLiteral("s1"), QStringLiteral("{p3}"), kNoon});
    const auto sensors = onlinerows::Sensors(c);
    ASSERT_EQ(sensors.size(), 2U);
    EXPECT_EQ(sensors[0].pointGuid, QStringLiteral("{p3}"));
    EXPECT_EQ(onlinerows::SensorOf(c, QStringLiteral("s2"))->pointGuid, QStringLiteral("{p2}"));
    EXPECT_TRUE(onlinerows::RemoveSensor(c, QStringLiteral("s2")));
    EXPECT_FALSE(onlinerows::RemoveSensor(c, QStringLiteral("s2")));
    EXPECT_FALSE(onlinerows::SensorOf(c, QStringLiteral("s2")).has_value());

    EXPECT_FALSE(onlinerows::WaveformDue(c, QStringLiteral("s1")));
    onlinerows::SetWaveformDue(c, QStringLiteral("s1"), kNoon);
    EXPECT_TRUE(onlinerows::WaveformDue(c, QStringLiteral("s1")));
    onlinerows::SetWaveformDue(c, QStringLiteral("s1"), {});
    EXPECT_FALSE(onlinerows::WaveformDue(c, QStringLiteral("s1")));
}

TEST_P(OnlineTablesTest, OverallRowsAreFoundByTheirSensorAndMoment) {
    SqlConnection& c = db->Connection();
    const QDateTime taken = kNoon.addMSecs(250);
    onlinerows::InsertOverall(c, Overall(QStringLiteral("s1"), taken, 2.5));
    onlinerows::InsertOverall(c, Overall(QStringLiteral("s1"), taken.addSecs(3600), std::nullopt));

    struct Case {
        const char* sensor;
        QDateTime at;
        qint64 interval;
        bool found;
    };
    const Case cases[] = {
        {"s1", taken, 0, true},                // the same message again
        {"s1", taken.addMSecs(1), 0, false},   // a millisecond later is another message
        {"s2", taken, 0, false},               // another sensor
        {"s1", taken.addSecs(599), 600, true}, // within the thinning interval
        {"s1", taken.addSecs(-599), 600, true},
        {"s1", taken.addSecs(600), 600, false}, // a whole interval later
        {"s1", taken.addSecs(1800), 600, false},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(onlinerows::HasOverallNear(c, QLatin1String(test.sensor), test.at, test.interval),
                  test.found)
            << test.sensor << " " << test.at.toString(Qt::ISODateWithMs).toStdString() << " "
            << test.interval;
    }

    const auto rows = onlinerows::Overalls(c, QStringLiteral("s1"));
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].taken, taken);
    EXPECT_EQ(rows[0].isoMms, 2.5);
    EXPECT_FALSE(rows[0].temperatureC.has_value());
    EXPECT_FALSE(rows[1].isoMms.has_value());
    EXPECT_EQ(onlinerows::LatestOverall(c, QStringLiteral("s1"))->taken, taken.addSecs(3600));
    EXPECT_FALSE(onlinerows::LatestOverall(c, QStringLiteral("s2")).has_value());
}
