// Chart pictures encoded as PNG decode to the very pixels painted: palette images for flat-colour
// charts, true colour when a picture has more colours than a palette holds. Recorded charts
// rasterise to the pixels a direct paint gives and are always stored with a palette.
#include "reports/document/ChartPng.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace vantor {
namespace {

void PaintChartLike(QPainter& painter, int colours) {
    painter.setPen(Qt::black);
    painter.drawRect(40, 20, 560, 340);
    painter.drawText(QRect(0, 0, 640, 20), Qt::AlignCenter, QStringLiteral("Motor DE H - Velocity 10 Hz"));
    for (int i = 0; i < colours; ++i) {
        painter.fillRect(QRect(50 + (i % 100) * 5, 30 + (i / 100) * 5, 5, 5),
                         QColor::fromRgb(QRgb(0x10000 * i + 77)));
    }
    painter.setPen(QPen(Qt::darkBlue, 1));
    for (int x = 40; x < 600; x += 7) {
        painter.drawLine(x, 300 - (x * 37) % 200, x + 7, 300 - ((x + 7) * 37) % 200);
    }
}

QImage ChartLike(int colours) {
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintChartLike(painter, colours);
    return image;
}

// The chart-like drawing recorded at 640 × 400 and rasterised `ratio` times larger.
ReportImage Recorded(int colours, double ratio) {
    ReportImage chart;
    {
        QPainter painter(&chart.picture);
        PaintChartLike(painter, colours);
    }
    chart.logicalSize = {640, 400};
    chart.pixels = {qRound(640 * ratio), qRound(400 * ratio)};
    return chart;
}

QImage PaintedDirectly(int colours, double ratio) {
    QImage image(qRound(640 * ratio), qRound(400 * ratio), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(ratio, ratio);
    PaintChartLike(painter, colours);
    return image;
}

struct Difference {
    int pixels = 0;         // that differ at all
    int largestChannel = 0; // the largest difference of a colour channel
};
Difference Compare(const QImage& a, const QImage& b) {
    Difference difference;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int channel = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                          std::abs(qBlue(p) - qBlue(q))});
            difference.pixels += channel > 0 ? 1 : 0;
            difference.largestChannel = std::max(difference.largestChannel, channel);
        }
    }
    return difference;
}

TEST(ChartPng, DecodesToThePaintedPixelsAsPaletteOrTrueColour) {
    const struct {
        int extraColours;
        bool palette;
    } cases[] = {{0, true}, {20, true}, {600, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extraColours);
        const QImage painted = ChartLike(c.extraColours);
        const QImage indexed = ExactPaletteImage(painted);
        EXPECT_EQ(indexed.isNull(), !c.palette);
        const QByteArray png = EncodeChartPng(painted);
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(png, "PNG"));
        EXPECT_EQ(decoded.format() == QImage::Format_Indexed8, c.palette);
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), painted);
    }
}

TEST(ChartPng, PaletteHoldsExactlyTheColoursUsed) {
    QImage image(300, 2, QImage::Format_RGB32);
    for (int x = 0; x < 300; ++x) {
        image.setPixel(x, 0, qRgb(x % 256, 0, 0));
        image.setPixel(x, 1, qRgb(0, 0, 9));
    }
    // 256 reds and one blue: one too many for a palette.
    EXPECT_TRUE(ExactPaletteImage(image).isNull());
    image.setPixel(0, 1, qRgb(0, 0, 0)); // still the blue elsewhere
    for (int x = 0; x < 300; ++x) {
        image.setPixel(x, 1, qRgb(1, 0, 0));
    }
    const QImage indexed = ExactPaletteImage(image);
    ASSERT_FALSE(indexed.isNull());
    EXPECT_EQ(indexed.colorCount(), 256);
    EXPECT_EQ(indexed.convertToFormat(QImage::Format_RGB32), image);
}

TEST(ChartPng, ARecordedChartRasterisesAsPaintedAndIsStoredWithAPalette) {
    const struct {
        int extraColours;
        double ratio;
        int largestDifference; // of a channel, the decoded PNG against the rasterised chart
    } cases[] = {
        {0, 1.0, 0},
        {20, 1.6, 0},
        // Past 256 colours each pixel takes the nearest of a 6-level colour cube: 255 / 5 / 2 apart.
        {600, 1.6, 26},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extraColours);
        const ReportImage chart = Recorded(c.extraColours, c.ratio);
        const QImage direct = PaintedDirectly(c.extraColours, c.ratio);
        const QImage rasterised = RasteriseChart(chart);
        ASSERT_EQ(rasterised.size(), chart.pixels);
        // Played back, a slanted line may step a pixel elsewhere than drawn directly; nothing more.
        const Difference replayed = Compare(rasterised, direct);
        EXPECT_LE(replayed.pixels, rasterised.width() * rasterised.height() / 1000);
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(EncodeChartPicturePng(chart), "PNG"));
        EXPECT_EQ(decoded.format(), QImage::Format_Indexed8);
        EXPECT_LE(Compare(decoded.convertToFormat(QImage::Format_RGB32), rasterised).largestChannel,
                  c.largestDifference);
    }
}

TEST(ChartPng, ChartsEncodedTogetherComeBackInTheirOrder) {
    std::vector<ReportImage> charts;
    for (int i = 0; i < 9; ++i) {
        charts.push_back(Recorded(i * 3, 1.0 + 0.1 * i));
    }
    std::vector<const ReportImage*> list;
    for (const ReportImage& chart : charts) {
        list.push_back(&chart);
    }
    const std::vector<QByteArray> pngs = EncodeChartPicturePngs(list);
    ASSERT_EQ(pngs.size(), charts.size());
    for (std::size_t i = 0; i < charts.size(); ++i) {
        EXPECT_EQ(pngs[i], EncodeChartPicturePng(charts[i])) << i;
    }
}

} // namespace
} // namespace vantor
