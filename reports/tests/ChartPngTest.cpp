// Pictures encoded as PNG decode to the very pixels painted: palette images for flat-colour
// pictures, true colour when a picture has more colours than a palette holds.
#include "reports/document/ChartPng.h"
#include "reports/tests/ChartLike.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace vantor {
namespace {

QImage ChartLike(int colours) {
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    testing::PaintChartLike(painter, colours);
    return image;
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

} // namespace
} // namespace vantor
