// vantor envelope, indices, trend of an index and plot envelope as a user runs them, on readings
// whose Total capture is an amplitude-modulated tone (0.001 g per count, 256 samples at 2560 Hz:
// Fmax 1000 Hz, lines 10 Hz apart, default envelope band 250-1000 Hz).
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/testing/TestPlant.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace vantor {
namespace {

using testing::RunVantor;

// A 640 Hz carrier of `counts` modulated to `depth` at 20 Hz.
QByteArray ModulatedCapture(double counts, double depth) {
    QByteArray raw;
    for (int i = 0; i < 256; ++i) {
        const double t = i / 2560.0;
        const double x = counts * (1 + depth * std::cos(2 * std::numbers::pi * 20.0 * t)) *
                         std::sin(2 * std::numbers::pi * 640.0 * t + 0.3);
        const auto sample = static_cast<std::uint16_t>(std::lround(32768.0 + x));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

class EnvelopeCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        point = testing::AddFanMotorDE(db);
        // Depths 0.2, 0.4, 0.6 on consecutive days.
        for (int day = 0; day < 3; ++day) {
            CVibReading r =
                testing::CapturedReading(point.sItemGUID, QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)),
                                         1.0f, ModulatedCapture(1000, 0.2 * (day + 1)));
            r.rawADCISODataByteArray = testing::QuarterRateSine(256, 500);
            ASSERT_TRUE(db.UpsertVibReading(r));
            readings.push_back(r);
        }
    }

    QJsonObject Json(const QStringList& arguments) {
        const testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out).object();
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib point;
    std::vector<CVibReading> readings;
};

TEST_F(EnvelopeCommandsTest, EnvelopeShowsTheModulationInGeAndTheBandUsed) {
    const QString reading = readings[1].sItemGUID; // depth 0.4: 0.4 gE at 20 Hz
    const QJsonObject envelope = Json({QStringLiteral("envelope"), reading, QStringLiteral("--json")});
    EXPECT_EQ(envelope[QStringLiteral("unit")].toString(), QStringLiteral("gE"));
    EXPECT_EQ(envelope[QStringLiteral("band")].toObject()[QStringLiteral("low")].toDouble(), 250.0);
    EXPECT_EQ(envelope[QStringLiteral("band")].toObject()[QStringLiteral("high")].toDouble(), 1000.0);
    EXPECT_FALSE(envelope[QStringLiteral("clipped")].toBool());
    EXPECT_EQ(envelope[QStringLiteral("lineSpacingHz")].toDouble(), 10.0);
    const QJsonArray hz = envelope[QStringLiteral("frequencyHz")].toArray();
    const QJsonArray ge = envelope[QStringLiteral("amplitudeGe")].toArray();
    ASSERT_EQ(hz.size(), 13); // 0 .. 125 Hz
    EXPECT_EQ(hz[2].toDouble(), 20.0);
    EXPECT_NEAR(ge[2].toDouble(), 0.4, 0.008);

    // The text form prints the same band and lines.
    const testing::VantorRun text = RunVantor({QStringLiteral("envelope"), reading});
    ASSERT_EQ(text.status, 0);
    const QStringList lines = QString::fromUtf8(text.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5 + 13);
    EXPECT_EQ(lines[0], QStringLiteral("band\t250\t1000"));
    EXPECT_EQ(lines[4], QStringLiteral("Hz\tgE"));
    EXPECT_EQ(lines[7].split(QLatin1Char('\t'))[1].toDouble(), ge[2].toDouble());

    // The same gE overall as the indices.
    const QJsonObject indices = Json({QStringLiteral("indices"), reading, QStringLiteral("--json")});
    EXPECT_EQ(indices[QStringLiteral("geOverall")].toDouble(),
              envelope[QStringLiteral("geOverall")].toDouble());

    // CSV.
    const QString csv = QDir(env.Root()).filePath(QStringLiteral("envelope.csv"));
    ASSERT_EQ(RunVantor({QStringLiteral("envelope"), reading, QStringLiteral("--csv"), csv}).status, 0);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(rows[0], QStringLiteral("Envelope band (Hz),250.000000,1000.000000"));
    EXPECT_EQ(rows[3], QStringLiteral("Frequency (Hz),Envelope (gE)"));
    const QStringList at20 = rows[6].split(QLatin1Char(','));
    ASSERT_EQ(at20.size(), 2);
    EXPECT_EQ(at20[0], QStringLiteral("20.000000"));
    EXPECT_NEAR(at20[1].toDouble(), ge[2].toDouble(), 1e-6);
}

TEST_F(EnvelopeCommandsTest, BandsPastFmaxAreClippedAndInvalidBandsRefused) {
    const QString reading = readings[0].sItemGUID;
    const testing::VantorRun clipped =
        RunVantor({QStringLiteral("envelope"), reading, QStringLiteral("--band"), QStringLiteral("300"),
                   QStringLiteral("2000"), QStringLiteral("--json")});
    ASSERT_EQ(clipped.status, 0) << clipped.err.toStdString();
    const QJsonObject object = QJsonDocument::fromJson(clipped.out).object();
    EXPECT_TRUE(object[QStringLiteral("clipped")].toBool());
    EXPECT_EQ(object[QStringLiteral("band")].toObject()[QStringLiteral("high")].toDouble(), 1000.0);
    EXPECT_EQ(object[QStringLiteral("requestedBand")].toObject()[QStringLiteral("high")].toDouble(), 2000.0);
    EXPECT_TRUE(clipped.err.contains("past Fmax"));

    struct Refused {
        const char* low;
        const char* high;
        const char* message;
    };
    for (const Refused& r :
         {Refused{"0", "500", "above 0 Hz"}, Refused{"600", "400", "below its high edge"},
          Refused{"1200", "1500", "below its high edge"}, Refused{"400", "415", "two lines"}}) {
        SCOPED_TRACE(r.low);
        const testing::VantorRun run =
            RunVantor({QStringLiteral("envelope"), reading, QStringLiteral("--band"), QLatin1String(r.low),
                       QLatin1String(r.high)});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(r.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(RunVantor({QStringLiteral("envelope"), QStringLiteral("{no such reading}")}).status, 1);
}

TEST_F(EnvelopeCommandsTest, IndicesPerChannelAndNoneForAnUndecodableTotal) {
    const QJsonObject indices =
        Json({QStringLiteral("indices"), readings[0].sItemGUID, QStringLiteral("--json")});
    const QJsonObject iso = indices[QStringLiteral("iso")].toObject();
    // A quarter-rate sine of 0.5 g: samples 0, 0.5, 0, -0.5.
    EXPECT_DOUBLE_EQ(iso[QStringLiteral("peak")].toDouble(), 0.5);
    EXPECT_DOUBLE_EQ(iso[QStringLiteral("peakToPeak")].toDouble(), 1.0);
    EXPECT_NEAR(iso[QStringLiteral("crest")].toDouble(), std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(iso[QStringLiteral("kurtosis")].toDouble(), 2.0, 1e-9); // m4 / m2² = (1/32) / (1/8)²
    EXPECT_TRUE(indices[QStringLiteral("total")].isObject());
    EXPECT_GT(indices[QStringLiteral("geOverall")].toDouble(), 0.0);

    CVibReading broken = readings[2];
    broken.rawADCTotalDataByteArray.chop(2);
    ASSERT_TRUE(app->MainConnection()->UpsertVibReading(broken));
    const QJsonObject none = Json({QStringLiteral("indices"), broken.sItemGUID, QStringLiteral("--json")});
    EXPECT_TRUE(none[QStringLiteral("total")].isNull());
    EXPECT_TRUE(none[QStringLiteral("geOverall")].isNull());
    EXPECT_TRUE(none[QStringLiteral("iso")].isObject());
    const testing::VantorRun text = RunVantor({QStringLiteral("indices"), broken.sItemGUID});
    EXPECT_TRUE(text.out.startsWith("total\t-\n")) << text.out.toStdString();
}

TEST_F(EnvelopeCommandsTest, IndicesTrendOnThePoint) {
    const QJsonObject trend = Json({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--measure"),
                                    QStringLiteral("ge"), QStringLiteral("--json")});
    const QJsonArray samples = trend[QStringLiteral("samples")].toArray();
    ASSERT_EQ(samples.size(), 3);
    // gE overall of A·m·cos: A·m/√2 for depths 0.2, 0.4, 0.6, rising day by day.
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(samples[i].toObject()[QStringLiteral("y")].toDouble(), 0.2 * (i + 1) / std::sqrt(2.0),
                    0.01);
    }
    EXPECT_EQ(trend[QStringLiteral("result")].toInt(), 0);
    const QJsonArray coefficients = trend[QStringLiteral("coefficients")].toArray();
    EXPECT_GT(coefficients[1].toDouble(), 0.0);

    for (const char* measure : {"crest", "kurtosis", "p2p"}) {
        SCOPED_TRACE(measure);
        const QJsonObject other = Json({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--measure"),
                                        QLatin1String(measure), QStringLiteral("--json")});
        EXPECT_EQ(other[QStringLiteral("samples")].toArray().size(), 3);
    }
    EXPECT_EQ(RunVantor({QStringLiteral("trend"), point.sItemGUID, QStringLiteral("--measure"),
                         QStringLiteral("skew")})
                  .status,
              2);
}

TEST_F(EnvelopeCommandsTest, PlotEnvelopePaintsThePicture) {
    const QString png = QDir(env.Root()).filePath(QStringLiteral("envelope.png"));
    const testing::VantorRun run = RunVantor({QStringLiteral("plot"), QStringLiteral("envelope"),
                                              readings[0].sItemGUID, QStringLiteral("--out"), png});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(800, 500));
}

// --families draws the point's bearings' families over the envelope spectrum as over a spectrum,
// and changes nothing on a point without bearings.
TEST_F(EnvelopeCommandsTest, PlotEnvelopeDrawsTheFamiliesOfThePointsBearings) {
    const auto plot = [this](const QString& name, bool families) {
        const QString png = QDir(env.Root()).filePath(name);
        QStringList arguments{QStringLiteral("plot"), QStringLiteral("envelope"), readings[0].sItemGUID,
                              QStringLiteral("--out"), png};
        if (families) {
            arguments << QStringLiteral("--families");
        }
        const testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QImage(png).convertToFormat(QImage::Format_RGB32);
    };
    const QImage plain = plot(QStringLiteral("plain.png"), false);
    EXPECT_EQ(plot(QStringLiteral("none.png"), true), plain);

    ASSERT_EQ(RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), point.sItemGUID,
                         QStringLiteral("--add"), QStringLiteral("6205-2RS JEM"),
                         QStringLiteral("--location"), QStringLiteral("DE")})
                  .status,
              0);
    const QImage drawn = plot(QStringLiteral("families.png"), true);
    ASSERT_EQ(drawn.size(), plain.size());
    // The outer race's lines (BPFO 3.5848 x 25 Hz = 89.6 Hz, inside the 0-125 Hz axis) in its colour.
    const QColor outer(0, 192, 0);
    int outerPixels = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor seen(drawn.pixel(x, y));
            outerPixels += seen != QColor(plain.pixel(x, y)) && std::abs(seen.hue() - outer.hue()) <= 4 &&
                           seen.saturation() > 60;
        }
    }
    EXPECT_GT(outerPixels, 50);
    // The family lines go behind the spectrum's: every pixel of the trace (blue) is still the trace's,
    // below the labels' rows and the legend at the plot's top, which stay in front.
    int tracePixels = 0;
    int covered = 0;
    for (int y = plain.height() / 5; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QColor seen(plain.pixel(x, y));
            if (std::abs(seen.hue() - 240) <= 10 && seen.saturation() > 150) {
                ++tracePixels;
                covered += drawn.pixel(x, y) != plain.pixel(x, y) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(tracePixels, 100);
    EXPECT_EQ(covered, 0);
    EXPECT_EQ(plot(QStringLiteral("plain-again.png"), false), plain);
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

// The cepstrum of a capture and the run speed read from its spectrum: quefrencies in ms at 1/fs,
// the run speed's period marked, the CSV with the same values; a capture without run-speed
// harmonics gives no estimate and says why.
TEST_F(EnvelopeCommandsTest, CepstrumMarksThePeriodsAndTheRunSpeedEstimateNeedsHarmonics) {
    const QString reading = readings[0].sItemGUID;
    const QJsonObject cepstrum = Json({QStringLiteral("cepstrum"), reading, QStringLiteral("--json")});
    EXPECT_NEAR(cepstrum[QStringLiteral("quefrencyStepMs")].toDouble(), 1000.0 / 2560, 1e-9);
    EXPECT_EQ(cepstrum[QStringLiteral("values")].toArray().size(), 129);
    const QJsonArray marks = cepstrum[QStringLiteral("marks")].toArray();
    ASSERT_FALSE(marks.isEmpty());
    EXPECT_EQ(marks[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("1×"));
    EXPECT_NEAR(marks[0].toObject()[QStringLiteral("periodMs")].toDouble(), 40.0, 1e-6);

    QDir dir(env.Root());
    const QString csv = dir.filePath(QStringLiteral("cepstrum.csv"));
    ASSERT_EQ(RunVantor({QStringLiteral("cepstrum"), reading, QStringLiteral("--csv"), csv}).status, 0);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("Period 1× (ms),40.000000,"))) << text.left(80).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Quefrency (ms),Cepstrum\r\n0.000000,")));

    const testing::VantorRun estimate =
        RunVantor({QStringLiteral("runspeed"), reading, QStringLiteral("--estimate")});
    EXPECT_NE(estimate.status, 0);
    EXPECT_TRUE(estimate.err.contains("cannot give the run speed")) << estimate.err.toStdString();
    EXPECT_NE(RunVantor({QStringLiteral("runspeed"), reading}).status, 0) << "neither a speed nor --estimate";
}

} // namespace
} // namespace vantor
