// vantor alarms, bands, diagnose and status as a user runs them: a baseline too short refused with
// nothing stored, the status table unchanged for every point without settings while a watched
// point shows its combined status with the reason, bands refused past Fmax or with critical below
// warning, and the diagnosis of a stored reading with a dominant 1×.
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/testing/TestPlant.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vantor {
namespace {

using testing::RunVantor;

constexpr int kSamples = 8192;
constexpr double kFs = 2560;

// A run-speed tone of `mms` mm/s RMS at 25 Hz, as counts of 0.001 g.
QByteArray OneX(double mms) {
    const double peakG = mms * std::sqrt(2.0) * 2 * std::numbers::pi * 25 / 9810.0;
    std::vector<double> samples(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        samples[static_cast<std::size_t>(i)] = peakG * std::sin(2 * std::numbers::pi * 25 * i / kFs);
    }
    return testing::MilliGCounts(samples);
}

class AlarmCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        watched = testing::AddFanMotorDE(db);
        CVib other = watched;
        other.sItemGUID = MakeItemGuid();
        other.sName = QStringLiteral("Motor NDE");
        ASSERT_TRUE(db.UpsertVib(other));
        // ISO 1.0, 1.0, 1.1 then 2.3 mm/s: below the warning of 4.5 throughout; the other point
        // doubles as well but has no settings.
        const float values[] = {1.0f, 1.0f, 1.1f, 2.3f};
        for (int day = 0; day < 4; ++day) {
            for (const CVib* point : {&watched, &other}) {
                CVibReading r = testing::CapturedReading(point->sItemGUID,
                                                         QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)),
                                                         values[day], OneX(4.0));
                r.iTotalNumberOfSamples = r.iISONumberOfSamples = kSamples;
                r.fISOSamplingFrequency = static_cast<float>(kFs);
                ASSERT_TRUE(db.UpsertVibReading(r));
                latest = r.sItemGUID;
            }
        }
        app.reset();
    }

    testing::VantorRun Run(const QStringList& arguments, int expected = 0) {
        testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, expected)
            << arguments.join(QLatin1Char(' ')).toStdString() << ": " << run.err.toStdString();
        return run;
    }
    QJsonObject Json(const QStringList& arguments) {
        return QJsonDocument::fromJson(Run(arguments).out).object();
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib watched;
    QString latest; // the other point's newest reading
};

TEST_F(AlarmCommandsTest, AWatchedPointShowsItsReasonAndEveryOtherRowStaysAsItWas) {
    const QString p = watched.sItemGUID;
    const QByteArray before = Run({QStringLiteral("status")}).out;
    EXPECT_TRUE(before.contains("Fan\tMotor DE\t2024-05-04 10:00:00\tOK")) << before.toStdString();

    // A date range that holds two readings is too short a baseline.
    testing::VantorRun refused =
        Run({QStringLiteral("alarms"), p, QStringLiteral("--measure"), QStringLiteral("iso"),
             QStringLiteral("--baseline-from"), QStringLiteral("2024-05-01 00:00:00"),
             QStringLiteral("--baseline-to"), QStringLiteral("2024-05-02 12:00:00")},
            1);
    EXPECT_TRUE(refused.err.contains("at least 3 are needed")) << refused.err.toStdString();
    EXPECT_TRUE(Json({QStringLiteral("alarms"), p, QStringLiteral("--json")})[QStringLiteral("settings")]
                    .toArray()
                    .isEmpty());
    EXPECT_EQ(Run({QStringLiteral("status")}).out, before);

    Run({QStringLiteral("alarms"), p, QStringLiteral("--measure"), QStringLiteral("iso"),
         QStringLiteral("--baseline"), QStringLiteral("3")});
    const QJsonObject shown = Json({QStringLiteral("alarms"), p, QStringLiteral("--json")});
    EXPECT_EQ(shown[QStringLiteral("status")].toString(), QStringLiteral("CRITICAL"));
    EXPECT_EQ(shown[QStringLiteral("documented")].toString(), QStringLiteral("OK"));
    const QJsonObject baseline = shown[QStringLiteral("settings")][0][QStringLiteral("baseline")].toObject();
    EXPECT_NEAR(baseline[QStringLiteral("mean")].toDouble(), 1.0333, 1e-4);
    EXPECT_EQ(shown[QStringLiteral("reasons")][1][QStringLiteral("text")].toString(),
              QStringLiteral("ISO velocity 2.2× baseline"));

    // The status table: the watched row CRITICAL, the other row byte for byte as before.
    const QByteArray after = Run({QStringLiteral("status")}).out;
    const QList<QByteArray> beforeLines = before.split('\n');
    const QList<QByteArray> afterLines = after.split('\n');
    ASSERT_EQ(afterLines.size(), beforeLines.size());
    for (qsizetype i = 0; i < beforeLines.size(); ++i) {
        if (beforeLines[i].startsWith("Fan\tMotor DE\t")) {
            EXPECT_TRUE(afterLines[i].startsWith("Fan\tMotor DE\t2024-05-04 10:00:00\tCRITICAL"))
                << afterLines[i].toStdString();
        } else {
            EXPECT_EQ(afterLines[i], beforeLines[i]);
        }
    }
    const QJsonArray rows =
        QJsonDocument::fromJson(Run({QStringLiteral("status"), QStringLiteral("--json")}).out).array();
    ASSERT_EQ(rows.size(), 2);
    for (const QJsonValue row : rows) {
        const bool isWatched = row[QStringLiteral("point")].toString() == QStringLiteral("Motor DE");
        EXPECT_EQ(row[QStringLiteral("reasons")].toArray().isEmpty(), !isWatched);
        EXPECT_EQ(row[QStringLiteral("documentedStatus")].toInt(), 3);
        EXPECT_EQ(row[QStringLiteral("findings")][0][QStringLiteral("kind")].toString(),
                  QStringLiteral("unbalance"));
    }

    // Off again: the documented status returns.
    Run({QStringLiteral("alarms"), p, QStringLiteral("--measure"), QStringLiteral("iso"),
         QStringLiteral("--off")});
    EXPECT_EQ(Run({QStringLiteral("status")}).out, before);
}

// A point without documented levels whose newest reading's diagnosis is CRITICAL keeps its NOT
// CONFIGURED in `vantor status` and carries the findings' mark, as the desktop's tree and table do.
TEST_F(AlarmCommandsTest, AnAlarmingFindingIsMarkedBesideANotConfiguredStatus) {
    {
        CAppData data(prompter);
        ASSERT_TRUE(RunHeadlessStartup(data));
        CMainConnection& db = *data.MainConnection();
        CVib unset = watched;
        unset.bISOAlarmsOn = false;
        unset.bBDUAlarmsOn = false;
        ASSERT_TRUE(db.UpsertVib(unset));
        // ISO overall 6 mm/s, past C/D of a point without levels: CRITICAL unbalance.
        CVibReading r = testing::CapturedReading(unset.sItemGUID, QDateTime(QDate(2024, 5, 6), QTime(10, 0)),
                                                 6.0f, OneX(4.0));
        r.iTotalNumberOfSamples = r.iISONumberOfSamples = kSamples;
        r.fISOSamplingFrequency = static_cast<float>(kFs);
        ASSERT_TRUE(db.UpsertVibReading(r));
    }
    const QJsonArray rows =
        QJsonDocument::fromJson(Run({QStringLiteral("status"), QStringLiteral("--json")}).out).array();
    ASSERT_EQ(rows.size(), 2);
    for (const QJsonValue row : rows) {
        const bool isFree = row[QStringLiteral("point")].toString() == QStringLiteral("Motor DE");
        SCOPED_TRACE(isFree ? "free" : "other");
        EXPECT_EQ(row[QStringLiteral("statusText")].toString(),
                  isFree ? QStringLiteral("NOT CONFIGURED") : QStringLiteral("OK"));
        EXPECT_EQ(row[QStringLiteral("findingsStatus")].toInt(), isFree ? 5 : 3);
    }
}

TEST_F(AlarmCommandsTest, BandsAreCheckedAgainstTheSpectrumAndJudged) {
    const QString p = watched.sItemGUID;
    const auto add = [&](const QStringList& more, int expected) {
        return Run(QStringList{QStringLiteral("bands"), p, QStringLiteral("add")} + more, expected);
    };
    // The Total spectrum reaches 1000 Hz (2560 Hz / 2.56).
    testing::VantorRun run =
        add({QStringLiteral("--from"), QStringLiteral("900"), QStringLiteral("--to"), QStringLiteral("1100"),
             QStringLiteral("--spectrum"), QStringLiteral("total"), QStringLiteral("--warning"),
             QStringLiteral("1"), QStringLiteral("--critical"), QStringLiteral("2")},
            1);
    EXPECT_TRUE(run.err.contains("past the Total spectrum's Fmax of 1000 Hz")) << run.err.toStdString();
    run = add({QStringLiteral("--from"), QStringLiteral("0.5"), QStringLiteral("--to"), QStringLiteral("1.5"),
               QStringLiteral("--orders"), QStringLiteral("--warning"), QStringLiteral("2"),
               QStringLiteral("--critical"), QStringLiteral("1")},
              1);
    EXPECT_TRUE(run.err.contains("Critical must not be below Warning")) << run.err.toStdString();
    EXPECT_TRUE(Json({QStringLiteral("bands"), p, QStringLiteral("--json")})[QStringLiteral("bands")]
                    .toArray()
                    .isEmpty());

    // 1× stands at 4 mm/s: a band around it with warning 3 and critical 5 is WARNING.
    EXPECT_EQ(add({QStringLiteral("--from"), QStringLiteral("0.5"), QStringLiteral("--to"),
                   QStringLiteral("1.5"), QStringLiteral("--orders"), QStringLiteral("--warning"),
                   QStringLiteral("3"), QStringLiteral("--critical"), QStringLiteral("5")},
                  0)
                  .out,
              QByteArray("1\n"));
    const QJsonObject shown = Json({QStringLiteral("alarms"), p, QStringLiteral("--json")});
    EXPECT_EQ(shown[QStringLiteral("status")].toString(), QStringLiteral("WARNING"));
    const QString reason = shown[QStringLiteral("reasons")][0][QStringLiteral("text")].toString();
    EXPECT_TRUE(reason.startsWith(QStringLiteral("Band 1 (ISO 0.5–1.5× peak) 4"))) << reason.toStdString();

    Run({QStringLiteral("bands"), p, QStringLiteral("remove"), QStringLiteral("1")});
    EXPECT_EQ(
        Json({QStringLiteral("alarms"), p, QStringLiteral("--json")})[QStringLiteral("status")].toString(),
        QStringLiteral("OK"));
    Run({QStringLiteral("bands"), p, QStringLiteral("remove"), QStringLiteral("1")}, 1);
}

TEST_F(AlarmCommandsTest, DiagnoseNamesTheFindingWithItsEvidence) {
    const QJsonObject result = Json({QStringLiteral("diagnose"), latest, QStringLiteral("--json")});
    const QJsonArray findings = result[QStringLiteral("findings")].toArray();
    ASSERT_FALSE(findings.isEmpty());
    const QJsonObject first = findings[0].toObject();
    EXPECT_EQ(first[QStringLiteral("kind")].toString(), QStringLiteral("unbalance"));
    // Staged by the stored ISO overall, 2.3 mm/s: zone B of the point's levels (A/B 2.25, warning
    // 4.5), where its documented status is OK, so the finding is noted, not an alarm.
    EXPECT_EQ(first[QStringLiteral("severityText")].toString(), QStringLiteral("OK"));
    const QJsonObject oneX = first[QStringLiteral("evidence")][0].toObject();
    EXPECT_DOUBLE_EQ(oneX[QStringLiteral("hz")].toDouble(), 25.0);
    EXPECT_NEAR(oneX[QStringLiteral("value")].toDouble(), 4.0, 0.1);

    const QByteArray text = Run({QStringLiteral("diagnose"), latest}).out;
    EXPECT_TRUE(text.startsWith("finding\tUnbalance\tOK\t")) << text.toStdString();
    EXPECT_TRUE(text.contains("evidence\tISO\t1× 4.0")) << text.toStdString();
    EXPECT_TRUE(text.contains("evidence\tISO\tISO overall 2.30 mm/s: zone B (B/C 4.50, C/D 7.10 mm/s)"))
        << text.toStdString();
    Run({QStringLiteral("diagnose"), QStringLiteral("{00000000-0000-0000-0000-000000000000}")}, 1);
    EXPECT_TRUE(Run({QStringLiteral("diagnose"), QStringLiteral("--rules")}).out.contains("ISO 10816-3"));
}

} // namespace
} // namespace vantor
