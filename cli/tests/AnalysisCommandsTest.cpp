// status and signals on a temporary data root, run in-process with their output captured.
#include "cli/AnalysisCommands.h"
#include "analysis/ReadingDecode.h"
#include "analysis/SignalCache.h"
#include "app/Startup.h"
#include "cli/ExitCode.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/SignalCachePath.h"
#include "store/testing/TestPlant.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace vantor {
namespace {

class AnalysisCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        CMachine machine;
        machine.sItemGUID = MakeItemGuid();
        machine.sName = QStringLiteral("Fan");
        ASSERT_TRUE(db.UpsertMachine(machine));
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = QStringLiteral("Motor DE");
        point.bISOAlarmsOn = true;
        point.fISOWarningMMS = 2.8f;
        point.fISOCriticalMMS = 4.5f;
        ASSERT_TRUE(db.UpsertVib(point));
        reading.sItemGUID = MakeItemGuid();
        reading.sParentGUID = point.sItemGUID;
        reading.ctDateTaken = QDateTime(QDate(2024, 5, 2), QTime(14, 30, 5));
        reading.fISOMMS = 3.0f;
        reading.fBearingBDU = -100.0f;
        reading.fTotalG = 0.75f;
        reading.fCurrentRunSpeedHz = 25.0f;
        reading.fPSUVoltage = 65536.0f; // 1 V per count
        reading.iADCBits = 16;
        reading.fAccelerometerSensitivity = 1000.0f;
        reading.fTotalCal = reading.fISOCal = 1.0f;
        reading.fTotalGain = reading.fISOGain = 0.001f; // 0.001 g per count
        reading.fTotalSamplingFrequency = 2560.0f;
        reading.iTotalNumberOfSamples = 256;
        reading.fISOSamplingFrequency = 400.0f; // line 64 of 128 sits at 100 Hz
        reading.iISONumberOfSamples = 256;
        reading.rawADCTotalDataByteArray = testing::QuarterRateSine(256, 1000);
        reading.rawADCISODataByteArray = testing::QuarterRateSine(256, 1000);
        ASSERT_TRUE(db.UpsertVibReading(reading));
    }

    struct Output {
        int status;
        QByteArray text;
    };

    template <class Run> Output Capture(Run run) {
        std::FILE* file = std::tmpfile();
        const int status = run(file);
        std::rewind(file);
        QByteArray text;
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            text.append(buffer, static_cast<qsizetype>(got));
        }
        std::fclose(file);
        return {status, text};
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib point;
    CVibReading reading;
};

TEST_F(AnalysisCommandsTest, StatusAsWordsOrValuesFollowsTheSettings) {
    app->settings.vibStatusValuesOn = 0;
    Output run = Capture([&](std::FILE* out) { return cli::RunStatus(*app, false, out); });
    ASSERT_EQ(run.status, cli::kDone);
    EXPECT_EQ(run.text, QByteArray("Fan\tMotor DE\t2024-05-02 14:30:05\tWARNING\tWARNING\tNo Readings\tNOT "
                                   "CONFIGURED\n"));

    app->settings.vibStatusValuesOn = 1;
    app->settings.vibStatusColumn2 = -1;
    app->settings.dpMms = 1;
    run = Capture([&](std::FILE* out) { return cli::RunStatus(*app, true, out); });
    ASSERT_EQ(run.status, cli::kDone);
    const QJsonArray rows = QJsonDocument::fromJson(run.text).array();
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    EXPECT_EQ(row[QStringLiteral("machine")].toString(), QStringLiteral("Fan"));
    EXPECT_EQ(row[QStringLiteral("point")].toString(), QStringLiteral("Motor DE"));
    EXPECT_EQ(row[QStringLiteral("date")].toString(), QStringLiteral("2024-05-02 14:30:05"));
    EXPECT_EQ(row[QStringLiteral("status")].toInt(), 4);
    EXPECT_EQ(row[QStringLiteral("statusText")].toString(), QStringLiteral("WARNING"));
    const QJsonArray cells = row[QStringLiteral("cells")].toArray();
    ASSERT_EQ(cells.size(), 2);
    EXPECT_EQ(cells[0].toObject()[QStringLiteral("kind")].toInt(), 0);
    EXPECT_EQ(cells[0].toObject()[QStringLiteral("status")].toInt(), 4);
    EXPECT_EQ(cells[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("3.0"));
    EXPECT_EQ(cells[1].toObject()[QStringLiteral("kind")].toInt(), 2);
    EXPECT_EQ(cells[1].toObject()[QStringLiteral("text")].toString(), QStringLiteral("0.8"));
}

TEST_F(AnalysisCommandsTest, SignalsDecodeThenComeFromTheCache) {
    Output run = Capture([&](std::FILE* out) { return cli::RunSignals(*app, reading.sItemGUID, true, out); });
    ASSERT_EQ(run.status, cli::kDone);
    QJsonObject object = QJsonDocument::fromJson(run.text).object();
    EXPECT_EQ(object[QStringLiteral("runSpeed")].toDouble(), 25.0);
    const QJsonObject total = object[QStringLiteral("total")].toObject();
    EXPECT_EQ(total[QStringLiteral("fmax")].toDouble(), 1000.0);
    EXPECT_EQ(total[QStringLiteral("fs")].toDouble(), 2560.0);
    EXPECT_EQ(total[QStringLiteral("samples")].toInt(), 256);
    EXPECT_EQ(total[QStringLiteral("lines")].toInt(), 100);
    EXPECT_EQ(total[QStringLiteral("lowCut")].toDouble(), 10.0);
    EXPECT_EQ(total[QStringLiteral("waveform")].toArray().size(), 256);
    EXPECT_EQ(total[QStringLiteral("spectrum")].toArray().size(), 100);
    EXPECT_EQ(object[QStringLiteral("iso")].toObject()[QStringLiteral("waveform")].toArray().size(), 256);
    // 1 g peak at 100 Hz: 0.7071 g RMS → 11.04 mm/s, all of it in the ISO range and none in the
    // bands around 25, 50 and 75 Hz.
    const QJsonObject overalls = object[QStringLiteral("overalls")].toObject();
    EXPECT_NEAR(overalls[QStringLiteral("iso")].toDouble(), 11.0401, 1e-3);
    EXPECT_NEAR(overalls[QStringLiteral("band3")].toDouble(), 0.0, 1e-9);
    EXPECT_TRUE(QFile::exists(SignalCacheFilePath(app->folders.dataFolder, reading.sItemGUID)));

    run = Capture([&](std::FILE* out) { return cli::RunSignals(*app, reading.sItemGUID, true, out); });
    ASSERT_EQ(run.status, cli::kDone);
    object = QJsonDocument::fromJson(run.text).object();
    EXPECT_TRUE(object[QStringLiteral("iso")].toObject()[QStringLiteral("waveform")].toArray().isEmpty());

    run = Capture([&](std::FILE* out) { return cli::RunSignals(*app, reading.sItemGUID, false, out); });
    ASSERT_EQ(run.status, cli::kDone);
    EXPECT_TRUE(run.text.startsWith(
        "runSpeed\t25\ntotal\tfmax\t1000\tfs\t2560\tsamples\t256\tlines\t100\tlowCut\t10\n"))
        << run.text.toStdString();
}

TEST_F(AnalysisCommandsTest, OffRouteReadingsAndUnknownGuids) {
    auto sync = app->MakeSyncConnection();
    ASSERT_TRUE(sync->Open());
    COffRouteReading offRoute;
    static_cast<VibReadingValues&>(offRoute) = reading;
    offRoute.sItemGUID = MakeItemGuid();
    ASSERT_TRUE(sync->UpsertOffRouteReading(offRoute));
    Output run =
        Capture([&](std::FILE* out) { return cli::RunSignals(*app, offRoute.sItemGUID, true, out); });
    ASSERT_EQ(run.status, cli::kDone);
    EXPECT_EQ(QJsonDocument::fromJson(run.text)
                  .object()[QStringLiteral("iso")]
                  .toObject()[QStringLiteral("lines")]
                  .toInt(),
              100);
    EXPECT_FALSE(QFile::exists(SignalCacheFilePath(app->folders.dataFolder, offRoute.sItemGUID)));

    run = Capture([&](std::FILE* out) { return cli::RunSignals(*app, MakeItemGuid(), true, out); });
    EXPECT_EQ(run.status, cli::kFailed);
    EXPECT_TRUE(run.text.isEmpty());
}

} // namespace
} // namespace vantor
