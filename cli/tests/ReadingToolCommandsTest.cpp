// vantor csv, peaks, runspeed and trend as a user runs them, on a temporary data root.
#include "analysis/SignalCache.h"
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/SignalCachePath.h"
#include "store/testing/TestPlant.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <charconv>
#include <memory>

namespace vantor {
namespace {

using testing::RunVantor;

QString ShortestText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ReadingToolCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        point = testing::AddFanMotorDE(db);
        // ISO values 1, 2, 3 on consecutive days at 10:00.
        for (int day = 0; day < 3; ++day) {
            const CVibReading r =
                testing::CapturedReading(point.sItemGUID, QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)),
                                         static_cast<float>(day + 1), testing::QuarterRateSine(256, 1000));
            ASSERT_TRUE(db.UpsertVibReading(r));
            readings.push_back(r);
        }
    }

    QJsonObject Json(const QStringList& arguments) {
        const testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out).object();
    }

    void SetSetting(const char* name, int value) {
        ASSERT_EQ(RunVantor({QStringLiteral("settings"), QStringLiteral("set"), QLatin1String(name),
                             QString::number(value)})
                      .status,
                  0);
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib point;
    std::vector<CVibReading> readings;
};

TEST_F(ReadingToolCommandsTest, TrendFitsProjectsAndRefuses) {
    QJsonObject trend = Json({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--json")});
    EXPECT_EQ(trend[QStringLiteral("reference")].toString(), QStringLiteral("2024-05-01 00:00:00"));
    const QJsonArray samples = trend[QStringLiteral("samples")].toArray();
    ASSERT_EQ(samples.size(), 3);
    EXPECT_EQ(samples[2].toObject()[QStringLiteral("x")].toDouble(), 2 * 1440 + 600);
    EXPECT_EQ(samples[2].toObject()[QStringLiteral("reading")].toString(), readings[2].sItemGUID);
    EXPECT_EQ(trend[QStringLiteral("result")].toInt(), 0);
    EXPECT_NEAR(trend[QStringLiteral("coefficients")].toArray()[1].toDouble(), 1.0 / 1440, 1e-12);
    EXPECT_EQ(trend[QStringLiteral("end")].toObject()[QStringLiteral("date")].toString(),
              QStringLiteral("2024-05-03 10:00:00"));
    EXPECT_TRUE(trend[QStringLiteral("message")].isNull());

    // Warning 4.5 is reached 1.5 days after the last reading.
    trend = Json({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--project"),
                  QStringLiteral("warning"), QStringLiteral("--json")});
    EXPECT_EQ(trend[QStringLiteral("end")].toObject()[QStringLiteral("date")].toString(),
              QStringLiteral("2024-05-04 22:00:00"));

    // Bearing noise has no values: nothing to fit.
    trend = Json({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--measure"),
                  QStringLiteral("bdu"), QStringLiteral("--json")});
    EXPECT_EQ(trend[QStringLiteral("result")].toInt(), -1);
    EXPECT_TRUE(trend[QStringLiteral("end")].isNull());
    EXPECT_EQ(trend[QStringLiteral("samples")].toArray()[0].toObject()[QStringLiteral("mask")].toInt(), 0);

    // From the second day on, a second-order fit through two samples is refused.
    trend = Json({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--fit"), QStringLiteral("second"),
                  QStringLiteral("--from"), QStringLiteral("2024-05-02 00:00:00"), QStringLiteral("--json")});
    EXPECT_EQ(trend[QStringLiteral("result")].toInt(), -1);

    // A value below the last one is behind the line: the message, and the line ends at the last sample.
    testing::VantorRun run = RunVantor({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--project"),
                                        QStringLiteral("value"), QStringLiteral("0.5")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              QByteArray("Trendline does not cross selected target value - trending to last data point\n"));
    EXPECT_TRUE(run.out.contains("\nend\t3480\t2024-05-03 10:00:00\n")) << run.out.toStdString();

    struct Refusal {
        QStringList arguments;
        int status;
        QByteArray err;
    };
    const Refusal refusals[] = {
        {{QStringLiteral("--project"), QStringLiteral("days"), QStringLiteral("10001")},
         1,
         "Days must be between 1 and 10000\n"},
        {{QStringLiteral("--project"), QStringLiteral("value"), QStringLiteral("-1")},
         1,
         "Value must be positive\n"},
        {{QStringLiteral("--fit"), QStringLiteral("order"), QStringLiteral("7")}, 2, {}},
        {{QStringLiteral("--from"), QStringLiteral("yesterday")}, 2, {}},
    };
    for (const Refusal& refusal : refusals) {
        run = RunVantor(QStringList{QStringLiteral("trend"), point.sItemGUID} + refusal.arguments);
        EXPECT_EQ(run.status, refusal.status) << refusal.arguments.join(' ').toStdString();
        if (!refusal.err.isEmpty()) {
            EXPECT_EQ(run.err, refusal.err);
        }
        EXPECT_TRUE(run.out.isEmpty());
    }
    run = RunVantor({QStringLiteral("trend"), MakeItemGuid()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, UiText(text::ErrorLoadingRecord).toUtf8() + '\n');
}

TEST_F(ReadingToolCommandsTest, PeaksAsTextAndJson) {
    testing::VantorRun run = RunVantor({QStringLiteral("peaks"), readings[0].sItemGUID});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], QByteArray("Frequency (Hz)\tAmplitude (mm/s)"));
    // One peak (100 Hz): the empty slots make both columns six decimals.
    EXPECT_TRUE(lines[1].startsWith("100.000000\t11.")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], QByteArray("0.000000\t0.000000"));

    SetSetting("XAxisUnits", 1);
    const QJsonObject peaks =
        Json({QStringLiteral("peaks"), readings[0].sItemGUID, QStringLiteral("--measure"),
              QStringLiteral("total"), QStringLiteral("--json")});
    EXPECT_EQ(peaks[QStringLiteral("columns")].toArray(),
              (QJsonArray{QStringLiteral("Frequency (RPM)"), QStringLiteral("Amplitude (g)")}));
    const QJsonArray rows = peaks[QStringLiteral("rows")].toArray();
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("frequency")].toDouble(), 640 * 60);
    EXPECT_NEAR(rows[0].toObject()[QStringLiteral("amplitude")].toDouble(), 0.70710678, 1e-6);
    EXPECT_EQ(rows[1].toObject()[QStringLiteral("amplitudeText")].toString(), QStringLiteral("0.000000"));
    EXPECT_EQ(peaks[QStringLiteral("smallest")].toInt(), 1);
}

TEST_F(ReadingToolCommandsTest, RunSpeedNoChangesNothingYesUpdatesRowAndCache) {
    const QString guid = readings[1].sItemGUID;
    ASSERT_EQ(RunVantor({QStringLiteral("signals"), guid}).status, 0); // writes the cache file
    const QString cachePath = SignalCacheFilePath(app->folders.dataFolder, guid);
    const QByteArray cacheBefore = ReadFile(cachePath);
    ASSERT_FALSE(cacheBefore.isEmpty());

    for (const QByteArray& answer : {QByteArray("n\n"), QByteArray()}) {
        const testing::VantorRun run = RunVantor({QStringLiteral("runspeed"), guid, QStringLiteral("40")},
                                                 QProcessEnvironment::systemEnvironment(), answer);
        EXPECT_EQ(run.status, 3);
        EXPECT_EQ(run.err, QByteArray("Are you sure you want to UPDATE the Run Speed?\n"));
        EXPECT_TRUE(run.out.isEmpty());
    }
    CVibReading row;
    ASSERT_TRUE(app->MainConnection()->GetVibReading(guid, row));
    EXPECT_EQ(row.fCurrentRunSpeedHz, 25.0f);
    EXPECT_EQ(row.fISOMMS, 2.0f);
    EXPECT_EQ(ReadFile(cachePath), cacheBefore);

    // At 40 Hz band 3 (100–140 Hz) holds the 100 Hz line; the ISO value is the sum from 10 Hz.
    const testing::VantorRun run = RunVantor({QStringLiteral("runspeed"), guid, QStringLiteral("40")},
                                             QProcessEnvironment::systemEnvironment(), QByteArray("y\n"));
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_TRUE(app->MainConnection()->GetVibReading(guid, row));
    EXPECT_EQ(row.fCurrentRunSpeedHz, 40.0f);
    EXPECT_EQ(row.fOriginalRunSpeedHz, 25.0f);
    EXPECT_NEAR(row.fISOMMS, 11.04, 0.01);
    EXPECT_NEAR(row.fVABand3MMS, row.fISOMMS, 1e-4);
    EXPECT_NEAR(row.fVABand1MMS, 0.0f, 1e-4);
    ReadingSignals cached;
    ASSERT_TRUE(DecodeSignalCache(ReadFile(cachePath), cached));
    EXPECT_EQ(cached.runSpeedHz, 40.0f);
    EXPECT_EQ(run.out, QStringLiteral("runSpeed\t40\noveralls\tiso\t%1\tband1\t%2\tband2\t%3\tband3\t%4\n")
                           .arg(ShortestText(row.fISOMMS), ShortestText(row.fVABand1MMS),
                                ShortestText(row.fVABand2MMS), ShortestText(row.fVABand3MMS))
                           .toUtf8());

    EXPECT_EQ(
        RunVantor({QStringLiteral("runspeed"), guid, QStringLiteral("0"), QStringLiteral("--yes")}).status,
        1);
    EXPECT_EQ(
        RunVantor({QStringLiteral("runspeed"), MakeItemGuid(), QStringLiteral("30"), QStringLiteral("--yes")})
            .status,
        1);
}

TEST_F(ReadingToolCommandsTest, CsvAsTheViewWritesIt) {
    SetSetting("XAxisUnits", 1);
    const QDir dir(env.Root());
    const QString chosen = dir.filePath(QStringLiteral("data.txt"));
    testing::VantorRun run = RunVantor({QStringLiteral("csv"), readings[0].sItemGUID, chosen});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(chosen));
    const QList<QByteArray> lines = ReadFile(dir.filePath(QStringLiteral("data.csv"))).split('\n');
    EXPECT_EQ(lines[0], QByteArray("Machine Name,Fan\r"));
    EXPECT_EQ(lines[3], QByteArray("FMax (RPM),60000\r"));
    EXPECT_EQ(lines[4], QByteArray("Number of Lines,100\r"));
    EXPECT_EQ(lines[8], QByteArray("Frequency (RPM),Total (g)\r"));
    EXPECT_EQ(lines[9 + 64], QByteArray("38400.000000,0.707107\r"));
    EXPECT_EQ(lines.size(), 9 + 100 + 1);

    run = RunVantor({QStringLiteral("csv"), readings[0].sItemGUID, dir.filePath(QStringLiteral("wave.dat")),
                     QStringLiteral("--waveform")});
    ASSERT_EQ(run.status, 0);
    const QByteArray wide = ReadFile(dir.filePath(QStringLiteral("wave.dat")));
    EXPECT_TRUE(wide.startsWith("\xFF\xFEM\0"));
    EXPECT_TRUE(
        QString::fromUtf16(reinterpret_cast<const char16_t*>(wide.constData() + 2), (wide.size() - 2) / 2)
            .contains(
                QStringLiteral("\r\nTime (Secs),Total (g)\r\n0.000000,0.000000\r\n0.000391,1.000000\r\n")));

    const QString unwritable = dir.filePath(QStringLiteral("missing/data.csv"));
    run = RunVantor({QStringLiteral("csv"), readings[0].sItemGUID, unwritable});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, QByteArray("Error saving data file\n"));
    EXPECT_FALSE(QFile::exists(unwritable));
}

} // namespace
} // namespace vantor
