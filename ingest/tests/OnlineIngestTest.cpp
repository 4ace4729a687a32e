// The handling of sensor messages without a broker, as a sequence a sensor sends: an unknown
// sensor counted and not stored, overall values thinned and de-duplicated with the level checked
// on every one, waveforms stored as imported readings once an hour and always after a crossing,
// and the status message given only when the point's combined status changes.
#include "ingest/OnlineIngest.h"
#include "ingest/tests/IngestTestData.h"

#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/ImportedReadings.h"
#include "store/OnlineTables.h"
#include "store/testing/TestPlant.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <span>

namespace vantor::ingest {
namespace {

using namespace testing;

TEST(OnlineIngest, ASensorsMessagesAreThinnedDeduplicatedJudgedAndStored) {
    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app(prompter);
    ASSERT_TRUE(InitDataRoot(app));
    ASSERT_TRUE(RunHeadlessStartup(app));
    CMainConnection& db = *app.MainConnection();
    const CVib point = vantor::testing::AddFanMotorDE(db); // warning 4.5, critical 7.1 mm/s
    onlinerows::PutSensor(db.Connection(), {QStringLiteral("s1"), point.sItemGUID, kStart});

    OnlineIngest ingest(db, QStringLiteral("plant"), {600, 3600});
    const QString overall = QStringLiteral("vantor/plant/s1/overall");
    const QString waveform = QStringLiteral("vantor/plant/s1/waveform");
    struct Step {
        const char* name;
        QString topic;
        QByteArray payload;
        IngestResult result;
        const char* status; // the level published, nullptr when none
    } const steps[] = {
        {"unknown sensor", QStringLiteral("vantor/plant/s9/overall"), Overall(0, 1.0),
         IngestResult::UnknownSensor, nullptr},
        {"another site", QStringLiteral("vantor/other/s1/overall"), Overall(0, 1.0), IngestResult::Malformed,
         nullptr},
        {"first overall", overall, Overall(0, 2.0), IngestResult::Stored, "OK"},
        {"the same again", overall, Overall(0, 2.0), IngestResult::Duplicate, nullptr},
        {"within the interval", overall, Overall(60, 2.1), IngestResult::Thinned, nullptr},
        {"first waveform", waveform, Waveform(10), IngestResult::Stored, nullptr},
        {"velocity waveform", waveform, WaveformPayload(kStart.addSecs(15), Velocity(3.0), 25.0),
         IngestResult::Thinned, nullptr},
        {"waveform within the hour", waveform, Waveform(70), IngestResult::Thinned, nullptr},
        {"crossing while thinned", overall, Overall(120, 5.0), IngestResult::Thinned, "WARNING"},
        {"higher, still warning", overall, Overall(125, 6.0), IngestResult::Thinned, nullptr},
        // Stored because of the crossing; the point's status is unchanged, so nothing is published.
        {"waveform after the crossing", waveform, Waveform(130), IngestResult::Stored, nullptr},
        {"that waveform again", waveform, Waveform(130), IngestResult::Thinned, nullptr},
        {"malformed", overall, "{\"time\":", IngestResult::Malformed, nullptr},
        {"after 2079", overall, OverallPayload({QDateTime(QDate(2080, 1, 1), QTime(0, 0)), 1.0, {}, {}}),
         IngestResult::Malformed, nullptr},
        {"waveform before 1900", waveform,
         WaveformPayload(QDateTime(QDate(1899, 12, 31), QTime(0, 0)), Tone(0.05), {}),
         IngestResult::Malformed, nullptr},
        {"critical after the interval", overall, Overall(700, 8.0), IngestResult::Stored, "CRITICAL"},
        {"steady critical", overall, Overall(1400, 8.1), IngestResult::Stored, nullptr},
        {"back to OK", overall, Overall(1460, 1.0), IngestResult::Thinned, "OK"},
        {"velocity waveform an hour later", waveform,
         WaveformPayload(kStart.addSecs(3730), Velocity(3.0), 25.0), IngestResult::Stored, nullptr},
    };
    for (const Step& step : steps) {
        const IngestOutcome outcome = ingest.Handle(step.topic, step.payload);
        EXPECT_EQ(outcome.result, step.result)
            << step.name << ": " << IngestResultName(outcome.result).toStdString() << " "
            << outcome.message.toStdString();
        ASSERT_EQ(outcome.status.has_value(), step.status != nullptr) << step.name;
        if (outcome.status) {
            EXPECT_EQ(outcome.status->topic, QStringLiteral("vantor/plant/s1/status"));
            const QJsonObject json = QJsonDocument::fromJson(outcome.status->payload).object();
            EXPECT_EQ(json.value("level").toString(), QLatin1String(step.status)) << step.name;
            EXPECT_EQ(json.value("point").toString(), point.sItemGUID);
            if (QLatin1String(step.status) == QLatin1String("WARNING")) {
                EXPECT_TRUE(json.value("reasons").toArray().first().toString().startsWith(
                    QStringLiteral("Online ISO velocity 5.00 mm/s ≥ warning 4.50")))
                    << outcome.status->payload.toStdString();
            }
        }
    }
    EXPECT_EQ(ingest.UnknownSensorMessages(), 1);

    const auto rows = onlinerows::Overalls(db.Connection(), QStringLiteral("s1"));
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[1].level, static_cast<int>(StatusCode::Critical));
    EXPECT_TRUE(onlinerows::Overalls(db.Connection(), QStringLiteral("s9")).empty());

    const std::vector<CVibReading> readings = db.ListVibReadings(point.sItemGUID);
    ASSERT_EQ(readings.size(), 3U);
    // A sensor's waveform fills both channels whatever its unit: the velocity waveform's ISO
    // velocity is the point's measure, and its acceleration (25 Hz: 3 mm/s × 2π·25 / 9810) shows.
    EXPECT_NEAR(readings.back().fISOMMS, 3.0, 0.05);
    EXPECT_NEAR(readings.back().fTotalG, 3.0 * 2 * std::numbers::pi * 25 / 9810, 0.002);
    for (const CVibReading& reading : std::span(readings).first(2)) {
        const std::optional<ImportedReadingMark> mark =
            FindImportedReading(db.Connection(), reading.sItemGUID);
        ASSERT_TRUE(mark.has_value());
        EXPECT_EQ(mark->format, QStringLiteral("mqtt"));
        EXPECT_EQ(mark->samplesUsed, 4096);
        // 0.05 g peak: 0.035 g RMS on the Total channel, and on the ISO channel its velocity
        // (0.05 × 9810 / 2π·25 mm/s peak) judged by the point's limits.
        EXPECT_NEAR(reading.fTotalG, 0.05 / std::sqrt(2.0), 0.002);
        EXPECT_NEAR(reading.fISOMMS, 0.05 * 9810 / (2 * std::numbers::pi * 25) / std::sqrt(2.0), 0.03);
    }

    // A service started again knows the last level, the last waveform and a waveform due after a
    // crossing from the database.
    OnlineIngest restarted(db, QStringLiteral("plant"), {600, 3600});
    EXPECT_EQ(restarted.Handle(waveform, Waveform(3800)).result, IngestResult::Thinned);
    EXPECT_EQ(restarted.Handle(overall, Overall(0, 2.0)).result, IngestResult::Duplicate);
    // CRITICAL (the newest stored row) to WARNING: a crossing.
    EXPECT_EQ(restarted.Handle(overall, Overall(3810, 5.0)).result, IngestResult::Stored);
    OnlineIngest again(db, QStringLiteral("plant"), {600, 3600});
    EXPECT_EQ(again.Handle(waveform, Waveform(3820)).result, IngestResult::Stored);
    EXPECT_EQ(again.Handle(waveform, Waveform(3830)).result, IngestResult::Thinned);
}

} // namespace
} // namespace vantor::ingest
