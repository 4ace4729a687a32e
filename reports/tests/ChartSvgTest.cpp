// Recorded charts written as SVG draw, in an SVG renderer, what the chart painted directly shows,
// at the size the page prints them; charts encoded together come back in their order.
#include "reports/document/ChartSvg.h"
#include "reports/tests/ChartLike.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace vantor {
namespace {

// The chart-like drawing and, beyond the chart's edge, a square that the page clips away and the
// drawing must too.
void PaintChartLike(QPainter& painter, int blocks) {
    testing::PaintChartLike(painter, blocks);
    painter.fillRect(QRect(600, 380, 100, 100), Qt::red);
}

constexpr QSize kLogical(640, 400);

ReportImage Recorded(int blocks) {
    ReportImage chart;
    {
        QPainter painter(&chart.picture);
        PaintChartLike(painter, blocks);
    }
    chart.logicalSize = kLogical;
    chart.pixels = kLogical * 1.6;
    chart.widthCm = 16.0;
    return chart;
}

QImage White(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage PaintedDirectly(int blocks, QSize size) {
    QImage image = White(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing); // as an SVG renderer draws
    painter.scale(double(size.width()) / kLogical.width(), double(size.height()) / kLogical.height());
    painter.setClipRect(QRect(QPoint(0, 0), kLogical));
    PaintChartLike(painter, blocks);
    return image;
}

// Pixels whose colour differs clearly (a channel by more than a third of its range): edges that
// antialias a little differently do not count, a missing line or letter does.
int ClearlyDifferent(const QImage& a, const QImage& b) {
    int pixels = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int channel = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                          std::abs(qBlue(p) - qBlue(q))});
            pixels += channel > 85 ? 1 : 0;
        }
    }
    return pixels;
}

TEST(ChartSvg, DrawsWhatTheChartPaintsAtItsPrintedSize) {
    for (int blocks : {0, 20, 600}) {
        SCOPED_TRACE(blocks);
        const ReportImage chart = Recorded(blocks);
        const QByteArray svg = EncodeChartSvg(chart);
        QSvgRenderer renderer(svg);
        ASSERT_TRUE(renderer.isValid()) << svg.left(400).toStdString();
        EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), kLogical));
        QImage drawn = White(chart.pixels);
        {
            QPainter painter(&drawn);
            renderer.render(&painter);
        }
        const QImage direct = PaintedDirectly(blocks, chart.pixels);
        const int missing = ClearlyDifferent(White(chart.pixels), direct); // what an empty drawing lacks
        ASSERT_GT(missing, 1000);
        EXPECT_LT(ClearlyDifferent(drawn, direct), missing / 20);
    }
}

TEST(ChartSvg, ChartsEncodedTogetherComeBackInTheirOrder) {
    std::vector<ReportImage> charts;
    for (int i = 0; i < 9; ++i) {
        charts.push_back(Recorded(i * 3));
    }
    std::vector<const ReportImage*> list;
    for (const ReportImage& chart : charts) {
        list.push_back(&chart);
    }
    const std::vector<QByteArray> svgs = EncodeChartSvgs(list);
    ASSERT_EQ(svgs.size(), charts.size());
    for (std::size_t i = 0; i < charts.size(); ++i) {
        EXPECT_EQ(svgs[i], EncodeChartSvg(charts[i])) << i;
    }
}

} // namespace
} // namespace vantor
