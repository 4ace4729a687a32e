// vantor export-signal and import-signal as a user runs them, on a temporary data root.
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/testing/TestPlant.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace vantor {
namespace {

using testing::RunVantor;

class SignalCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        point = testing::AddFanMotorDE(db);
        reading = testing::CapturedReading(point.sItemGUID, QDateTime(QDate(2024, 5, 1), QTime(10, 0)), 1.0f,
                                           testing::QuarterRateSine(256, 1000));
        ASSERT_TRUE(db.UpsertVibReading(reading));
        app->CloseMainConnection();
    }
    QString File(const char* name) const { return dir.filePath(QLatin1String(name)); }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib point;
    CVibReading reading;
    QTemporaryDir dir;
};

TEST_F(SignalCommandsTest, ExportedSignalsComeBackAsAReading) {
    testing::VantorRun run = RunVantor(
        {"export-signal", reading.sItemGUID, "--format", "uff58b", "--out", File("fan.uff"), "--spectra"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QFile uff(File("fan.uff"));
    ASSERT_TRUE(uff.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        uff.readAll().startsWith("    -1" + QByteArray(74, ' ') + "\n    58b     1     2          11"));

    // The Total time record back into the same point a day later: a quarter-rate sine of 1000
    // counts of 0.001 g, so 1 g peak and 1/√2 g RMS.
    run = RunVantor(
        {"import-signal", point.sItemGUID, File("fan.uff"), "--date", "2024-05-02 10:00:00", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(json["channel"].toString(), QStringLiteral("total"));
    EXPECT_EQ(json["samplesUsed"].toInt(), 256);
    EXPECT_FALSE(json["cut"].toBool());
    EXPECT_EQ(json["samplingFrequencyHz"].toDouble(), 2560.0);
    EXPECT_EQ(json["runSpeedHz"].toDouble(), 25.0);
    EXPECT_NEAR(json["values"].toObject()["total"].toDouble(), 1 / std::numbers::sqrt2, 1e-3);
    EXPECT_TRUE(json["values"].toObject()["iso"].isNull());
    EXPECT_TRUE(json["values"].toObject()["bdu"].isNull());
    {
        // Its waveform indices were stored with it, as for a reading from the meter.
        ASSERT_TRUE(app->OpenMainConnection());
        QSqlQuery indices(app->MainConnection()->Connection().Database());
        ASSERT_TRUE(indices.prepare(
            QStringLiteral("SELECT fTotalCrest FROM tblReadingIndices WHERE sReadingGUID = ?")));
        indices.addBindValue(json["reading"].toString());
        ASSERT_TRUE(indices.exec());
        ASSERT_TRUE(indices.next()) << "no indices stored for the imported reading";
        EXPECT_NEAR(indices.value(0).toDouble(), std::numbers::sqrt2, 0.01); // a sine's crest factor
        app->CloseMainConnection();
    }

    // The same date again is refused and nothing is added.
    run = RunVantor({"import-signal", point.sItemGUID, File("fan.uff"), "--date", "2024-05-02 10:00:00"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "the point already has a reading taken at 2024-05-02 10:00:00\n");
    run = RunVantor({"list", "readings", "--parent", point.sItemGUID, "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(run.out).array().size(), 2);

    run = RunVantor({"export-signal", reading.sItemGUID, "--format", "wav", "--out", File("fan.wav"),
                     "--channel", "iso"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    run = RunVantor({"import-signal", point.sItemGUID, File("fan.wav"), "--channel", "iso", "--date",
                     "2024-05-03 10:00:00"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed().size(), 38) << "the new reading's GUID";
}

TEST_F(SignalCommandsTest, CsvImportSaysWhatItCutAndRefusesBadLines) {
    QFile csv(File("tone.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    for (int i = 0; i < 1000; ++i) {
        csv.write(QByteArray::number(std::sin(i * 0.1), 'g', 10) + "\n");
    }
    csv.close();
    testing::VantorRun run =
        RunVantor({"import-signal", point.sItemGUID, File("tone.csv"), "--fs", "1024", "--date",
                   "2024-06-01 08:00:00", "--unit", "mm/s", "--channel", "iso"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("The file's 1000 samples were cut to 512")) << run.err.toStdString();
    const QString imported = QString::fromLatin1(run.out.trimmed());

    // The views of the channel not imported say so.
    const QByteArray noTotal =
        "This reading has no Total capture (it was imported with its ISO channel only)\n";
    run = RunVantor({"peaks", imported, "--measure", "total"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, noTotal);
    run = RunVantor({"csv", imported, File("w.csv"), "--waveform"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, noTotal);
    run = RunVantor({"peaks", imported, "--measure", "iso", "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();

    QFile bad(File("bad.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("time,value\n0,1\n0.001,2\n0.002;3\n");
    bad.close();
    run = RunVantor({"import-signal", point.sItemGUID, File("bad.csv"), "--date", "2024-06-02 08:00:00"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "bad.csv: line 4: \"0.002;3\" is not a number\n");

    run = RunVantor({"import-signal", point.sItemGUID, File("tone.csv"), "--fs", "1024"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "the file gives no date: give the date the reading was taken\n");
    run = RunVantor({"import-signal", point.sItemGUID, File("tone.csv"), "--date", "yesterday"});
    EXPECT_EQ(run.status, 2);
    run = RunVantor(
        {"export-signal", reading.sItemGUID, "--format", "wav", "--out", File("x.wav"), "--channel", "both"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "a WAV file holds one channel: choose --channel total or iso\n");
}

// What the point editor refuses as a run speed is refused from the command and from the file; a
// file longer than the largest capture is cut and says so; samples the capture cannot hold are
// refused in every format, naming the first one, and nothing is stored.
TEST_F(SignalCommandsTest, ImportRefusesRunSpeedsAndSamplesTheReadingCannotHold) {
    const auto write = [this](const char* name, const QByteArray& bytes) {
        QFile file(File(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    QByteArray tone;
    for (int i = 0; i < 1024; ++i) {
        tone += QByteArray::number(std::sin(i * 0.1), 'g', 10) + "\n";
    }
    write("tone.csv", tone);
    const auto count = [this] {
        CAppData data(prompter);
        EXPECT_TRUE(RunHeadlessStartup(data));
        return data.MainConnection()->ListVibReadings(point.sItemGUID).size();
    };
    const std::size_t before = count();
    int day = 1;
    const auto importing = [&](const char* file, QStringList extra) {
        QStringList arguments{"import-signal", point.sItemGUID, File(file), "--date",
                              QStringLiteral("2024-07-%1 08:00:00").arg(day++, 2, 10, QLatin1Char('0'))};
        return RunVantor(arguments + extra);
    };
    for (const char* speed : {"0", "5000", "1e-300", "1e300"}) {
        const testing::VantorRun run = importing("tone.csv", {"--fs", "1024", "--run-speed", speed});
        EXPECT_EQ(run.status, 1) << speed;
        EXPECT_TRUE(run.err.contains("the run speed given")) << speed << ": " << run.err.toStdString();
    }

    // A UFF file whose ID line 5 says rs=5000: refused as the editors refuse it.
    testing::VantorRun run = RunVantor({"export-signal", reading.sItemGUID, "--format", "uff58", "--out",
                                        File("reading.uff"), "--channel", "total"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QFile uff(File("reading.uff"));
    ASSERT_TRUE(uff.open(QIODevice::ReadOnly));
    const QByteArray image = uff.readAll();
    const qsizetype rs = image.indexOf("rs=");
    ASSERT_GT(rs, 0);
    const qsizetype rsEnd = image.indexOf(' ', rs);
    QByteArray fast = image;
    fast.replace(rs, rsEnd - rs, QByteArray("rs=5000").leftJustified(rsEnd - rs, ' '));
    write("fast.uff", fast);
    run = importing("fast.uff", {});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("the file's run speed (rs=), 5000 Hz")) << run.err.toStdString();
    EXPECT_EQ(importing("reading.uff", {}).status, 0) << "the same file with its own run speed";

    // Longer than the largest capture: cut to it, and said so.
    QByteArray longer;
    for (int i = 0; i < 200000; ++i) {
        longer += QByteArray::number(std::sin(i * 0.1), 'g', 6) + "\n";
    }
    write("long.csv", longer);
    run = importing("long.csv", {"--fs", "25600"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("The file's 200000 samples were cut to 131072")) << run.err.toStdString();
    const std::size_t stored = count();
    EXPECT_EQ(stored, before + 2);

    // Too large for the capture, in each format: named, refused, nothing stored.
    QByteArray huge = tone;
    huge.replace("\n0.8414709848\n", "\n-1e300\n"); // sample 11
    write("huge.csv", huge);
    run = importing("huge.csv", {"--fs", "1024"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("sample 11 (-1e+300 g) is larger than the capture can hold"))
        << run.err.toStdString();
    QByteArray hugeUff = image;
    qsizetype valuesStart = hugeUff.indexOf("\n    58") + 1;
    for (int line = 0; line < 12; ++line) { // the dataset number and the 11 header records
        valuesStart = hugeUff.indexOf('\n', valuesStart) + 1;
    }
    hugeUff.replace(valuesStart, 20, QByteArray("1.000000000000E+300").rightJustified(20, ' '));
    write("huge.uff", hugeUff);
    run = importing("huge.uff", {});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("sample 1 (1e+300 g)")) << run.err.toStdString();
    EXPECT_EQ(count(), stored);
}

} // namespace
} // namespace vantor
