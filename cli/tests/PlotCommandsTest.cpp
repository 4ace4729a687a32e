// vantor plot as a user runs it, on a temporary data root with one point and three readings.
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/testing/TestPlant.h"
#include "texts/UiText.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

using testing::RunVantor;

class PlotCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pictures.isValid());
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        point = testing::AddFanMotorDE(db);
        for (int day = 0; day < 3; ++day) {
            const CVibReading r = testing::CapturedReading(
                point.sItemGUID, QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)),
                static_cast<float>(day + 1), testing::QuarterRateSine(256, 1000 * (day + 1)));
            ASSERT_TRUE(db.UpsertVibReading(r));
            readings.push_back(r.sItemGUID);
        }
    }

    QString Picture(const QString& name) const { return QDir(pictures.path()).filePath(name); }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    QTemporaryDir pictures;
    CVib point;
    QStringList readings;
};

TEST_F(PlotCommandsTest, EveryViewPaintsAPictureOfTheAskedSize) {
    struct Case {
        const char* view;
        bool ofPoint;
        QStringList extra;
        QSize size;
    };
    const Case cases[] = {
        {"trend", true, {}, {800, 500}},
        {"trend", true, {"--measure", "total", "--width", "640", "--height", "480"}, {640, 480}},
        {"spectrum", false, {"--cursor", "harmonic", "--width", "300", "--height", "200"}, {300, 200}},
        {"spectrum", false, {"--measure", "band2", "--cursor", "bearing"}, {800, 500}},
        {"waveform", false, {"--cursor", "simple", "--height", "333"}, {800, 333}},
        {"waterfall", true, {"--measure", "total", "--width", "1024"}, {1024, 500}},
    };
    for (const Case& c : cases) {
        const QString file = Picture(QStringLiteral("%1.png").arg(QLatin1String(c.view)));
        QFile::remove(file);
        QStringList arguments{QStringLiteral("plot"), QLatin1String(c.view),
                              c.ofPoint ? point.sItemGUID : readings[1], QStringLiteral("--out"), file};
        arguments << c.extra;
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("ERROR!!")) << run.err.toStdString();
        const QImage image(file);
        EXPECT_EQ(image.size(), c.size);
    }
}

TEST_F(PlotCommandsTest, SetWritesAPropertyAsAHostDoes) {
    const QString file = Picture(QStringLiteral("set.png"));
    const auto corner = [&file] {
        const QImage image(file);
        return image.pixelColor(4, image.height() - 4);
    };
    // Palette 3 is pure red; 25 is refused with the control's own text and the old white stays.
    testing::VantorRun run =
        RunVantor({QStringLiteral("plot"), QStringLiteral("waveform"), readings[0], QStringLiteral("--out"),
                   file, QStringLiteral("--set"), QStringLiteral("ControlBackGroundColor=3")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(corner(), QColor(255, 0, 0));

    run = RunVantor({QStringLiteral("plot"), QStringLiteral("waveform"), readings[0], QStringLiteral("--out"),
                     file, QStringLiteral("--set"), QStringLiteral("ControlBackGroundColor=25"),
                     QStringLiteral("--set"), QStringLiteral("GraphTitle=Spare")});
    EXPECT_EQ(run.status, 0);
    // Standard error may also carry Qt's own start-up notes; the control's text is a line of its own.
    EXPECT_TRUE(run.err.contains("\nERROR!! nControlBackGroundColor must be between 0 & 24!!\n") ||
                run.err.startsWith("ERROR!! nControlBackGroundColor must be between 0 & 24!!\n"))
        << run.err.toStdString();
    EXPECT_EQ(run.err.count("ERROR!!"), 1);
    EXPECT_EQ(corner(), QColor(255, 255, 255));
}

// A point's spectral alarm bands are drawn on the spectrum they watch as the graph control's
// frequency bands (dotted, palette colour 2); a spectrum whose point has no band on it is painted
// pixel for pixel as without bands.
TEST_F(PlotCommandsTest, SpectraDrawThePointsAlarmBands) {
    const auto plot = [this](const QString& name, const QString& measure) {
        const QString file = Picture(name);
        const testing::VantorRun run =
            RunVantor({QStringLiteral("plot"), QStringLiteral("spectrum"), readings[1],
                       QStringLiteral("--out"), file, QStringLiteral("--measure"), measure});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    };
    const auto addBand = [this](const QString& spectrum, const QString& from, const QString& to) {
        const testing::VantorRun run = RunVantor(
            {QStringLiteral("bands"), point.sItemGUID, QStringLiteral("add"), QStringLiteral("--from"), from,
             QStringLiteral("--to"), to, QStringLiteral("--spectrum"), spectrum, QStringLiteral("--warning"),
             QStringLiteral("0.001"), QStringLiteral("--critical"), QStringLiteral("100")});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
    };
    // Pixels in the bands' colour that the picture without bands does not have.
    const auto bandPixels = [](const QImage& drawn, const QImage& plain) {
        int count = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                count +=
                    drawn.pixel(x, y) != plain.pixel(x, y) && QColor(drawn.pixel(x, y)) == QColor(192, 0, 0);
            }
        }
        return count;
    };
    const QString iso = QStringLiteral("iso");
    const QString total = QStringLiteral("total");
    const QImage plainIso = plot(QStringLiteral("plain-iso.png"), iso);
    const QImage plainTotal = plot(QStringLiteral("plain-total.png"), total);

    // A Total band (300-500 Hz of 0-1000 Hz): drawn on the Total spectrum only.
    addBand(total, QStringLiteral("300"), QStringLiteral("500"));
    const QImage totalBand = plot(QStringLiteral("total-band.png"), total);
    ASSERT_EQ(totalBand.size(), plainTotal.size());
    EXPECT_GT(bandPixels(totalBand, plainTotal), 20);
    EXPECT_EQ(plot(QStringLiteral("iso-beside-total-band.png"), iso), plainIso);

    // An ISO band (40-60 Hz of 0-156 Hz) then shows on the ISO spectrum.
    addBand(iso, QStringLiteral("40"), QStringLiteral("60"));
    EXPECT_GT(bandPixels(plot(QStringLiteral("iso-band.png"), iso), plainIso), 20);

    // Removed, the pictures are as before.
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(RunVantor({QStringLiteral("bands"), point.sItemGUID, QStringLiteral("remove"),
                             QStringLiteral("1")})
                      .status,
                  0);
    }
    EXPECT_EQ(plot(QStringLiteral("iso-again.png"), iso), plainIso);
    EXPECT_EQ(plot(QStringLiteral("total-again.png"), total), plainTotal);
}

TEST_F(PlotCommandsTest, UsageErrorsAndUnknownItems) {
    struct Case {
        QStringList arguments;
        int status;
        QString message; // expected on standard error, when the system shows one
    };
    const QString file = Picture(QStringLiteral("x.png"));
    const QString loading = UiText(text::ErrorLoadingRecord);
    const Case cases[] = {
        {{"trend", point.sItemGUID, "--set", "NoSuchProperty=1"}, 2, {}},
        {{"trend", point.sItemGUID, "--set", "geometry=1"}, 2, {}},
        {{"trend", point.sItemGUID, "--set", "GraphTitleColor=red"}, 2, {}},
        {{"trend", point.sItemGUID, "--set", "GraphTitleColor"}, 2, {}},
        {{"spectrum", readings[0], "--measure", "bdu"}, 2, {}},
        {{"plan", point.sItemGUID}, 2, {}},
        {{"trend", point.sItemGUID, "--width", "0"}, 2, {}},
        {{"spectrum", QStringLiteral("{00000000-0000-0000-0000-000000000000}")}, 1, loading},
        {{"waveform", point.sItemGUID}, 1, loading},
        {{"trend", readings[0]}, 1, loading},
        {{"waterfall", QStringLiteral("nothing")}, 1, loading},
    };
    for (const Case& c : cases) {
        QStringList arguments{QStringLiteral("plot")};
        arguments << c.arguments << QStringLiteral("--out") << file;
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, c.status);
        if (!c.message.isEmpty()) {
            EXPECT_TRUE(QString::fromUtf8(run.err).split(QLatin1Char('\n')).contains(c.message))
                << run.err.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(file));
    }
}

} // namespace
} // namespace vantor
