// The fault families drawn over a spectrum: label placement that never overlaps, the overlay's
// families and legend, the bearing cursor fed from a bearing, and the picture against a golden one.
#include "graphviews/FaultOverlay.h"
#include "graphviews/GraphViews.h"

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace vantor {
namespace {

BearingAtPoint Bearing(const QString& location, double ratio = 1.0) {
    return {QStringLiteral("{a}"),
            QStringLiteral("{b}"),
            QStringLiteral("6205-2RS JEM"),
            location,
            FactorsFromGeometry({9, 7.94, 39.04, 0}),
            ratio};
}

TEST(FaultOverlayTest, LabelsTakeTheFirstFreeRowAndNeverOverlap) {
    const QRectF area(0, 0, 200, 100);
    // Widths 20: the second overlaps the first and drops a row, the third fits beside the first,
    // the fourth overlaps both rows' labels and goes third, the fifth finds no row, the sixth
    // would stick out of the area and moves in, the seventh's line is outside it.
    const std::vector<QRectF> rects =
        PlaceLabels({{50, 20}, {60, 20}, {80, 20}, {55, 20}, {58, 20}, {195, 20}, {201, 20}}, area, 10, 3);
    ASSERT_EQ(rects.size(), 7u);
    EXPECT_EQ(rects[0], QRectF(40, 0, 20, 10));
    EXPECT_EQ(rects[1], QRectF(50, 10, 20, 10));
    EXPECT_EQ(rects[2], QRectF(70, 0, 20, 10));
    EXPECT_EQ(rects[3], QRectF(45, 20, 20, 10));
    EXPECT_TRUE(rects[4].isEmpty());
    EXPECT_EQ(rects[5], QRectF(180, 0, 20, 10));
    EXPECT_TRUE(rects[6].isEmpty());
    // A cursor label where the first would go sends it a row lower.
    EXPECT_EQ(PlaceLabels({{50, 20}}, area, 10, 3, {QRectF(45, 2, 10, 6)}).front(), QRectF(40, 10, 20, 10));

    // A crowd of labels: whatever is placed stays apart and inside.
    std::vector<std::pair<double, double>> crowd;
    for (int i = 0; i < 200; ++i) {
        crowd.emplace_back(std::fmod(i * 37.3, 400.0), 12 + (i % 5) * 6);
    }
    const std::vector<QRectF> placed = PlaceLabels(crowd, QRectF(0, 0, 400, 45), 15, 3);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].isEmpty()) {
            continue;
        }
        EXPECT_TRUE(QRectF(0, 0, 400, 45).contains(placed[i]));
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            EXPECT_FALSE(placed[i].intersects(placed[j])) << i << ' ' << j;
        }
    }
}

TEST(FaultOverlayTest, FamiliesPerBearingInDisplayedUnitsAndTheCursorFromABearing) {
    const FaultOverlay one = MakeFaultOverlay({Bearing(QStringLiteral("Pump NDE"))}, 25.0, 60.0, 3);
    ASSERT_EQ(one.families.size(), 4u);
    EXPECT_EQ(one.families[1].label, QStringLiteral("OR"));
    EXPECT_EQ(one.families[1].legend, QStringLiteral("OR BPFO - Pump NDE (6205-2RS JEM)"));
    EXPECT_EQ(one.families[1].colour, QColor(0, 192, 0));
    EXPECT_NEAR(one.families[1].lines[0].hz, 3.5848 * 25 * 60, 0.1); // RPM

    const FaultOverlay two = MakeFaultOverlay(
        {Bearing(QStringLiteral("Motor DE")), Bearing(QStringLiteral("Fan DE"), 2)}, 25.0, 1.0);
    ASSERT_EQ(two.families.size(), 8u);
    EXPECT_EQ(two.families[5].label, QStringLiteral("2:OR"));
    EXPECT_EQ(two.families[5].style, Qt::DashLine);
    EXPECT_NEAR(two.families[5].lines[0].hz, 2 * two.families[1].lines[0].hz, 1e-9);

    auto graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    graph->resetToDefaults();
    SetBearingCursorFrom(*graph, Bearing(QStringLiteral("Fan DE"), 2));
    const BearingFactors f = FactorsFromGeometry({9, 7.94, 39.04, 0});
    EXPECT_DOUBLE_EQ(graph->GetBearingFault1Multiplier(), 2 * f.bpfi); // IR
    EXPECT_DOUBLE_EQ(graph->GetBearingFault2Multiplier(), 2 * f.bpfo); // OR
    EXPECT_DOUBLE_EQ(graph->GetBearingFault3Multiplier(), 2 * f.ftf);  // CG
    EXPECT_DOUBLE_EQ(graph->GetBearingFault4Multiplier(), 2 * f.bsf);  // RE
}

// A spectrum of 0 to 1000 Hz with an outer-race fault at 25 Hz run speed: tones at BPFO 1x-3x.
SpectrumViewData OuterRaceSpectrum() {
    SpectrumViewData view;
    view.kind = MeasureKind::Acceleration;
    const double bpfo = 3.5848 * 25.0;
    for (int i = 0; i < 1600; ++i) {
        const double hz = i * 0.625;
        double y = 0.002 + 0.001 * std::abs(std::sin(i * 0.7));
        for (int n = 1; n <= 3; ++n) {
            y += 0.4 / n * std::exp(-std::pow((hz - n * bpfo) / 0.8, 2));
        }
        view.x.push_back(hz);
        view.y.push_back(y);
    }
    view.xAxis = {0, 1000, 100, 1};
    view.yAxis = {0, 0.5, 0.1, 2};
    view.xLabel = QStringLiteral("Hz");
    view.yLabel = QStringLiteral("g");
    view.runSpeed = 25.0;
    return view;
}

// Share of pixels whose colour differs by more than `threshold` in any channel.
double DifferingShare(const QImage& a, const QImage& b, int threshold) {
    if (a.size() != b.size()) {
        return 1.0;
    }
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > threshold || std::abs(qGreen(p) - qGreen(q)) > threshold ||
                std::abs(qBlue(p) - qBlue(q)) > threshold) {
                ++differing;
            }
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}

TEST(FaultOverlayTest, TheOverlayOnASpectrumMatchesTheGoldenPicture) {
    auto graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    graph->resetToDefaults();
    graph->resize(800, 500);
    ShowSpectrumView(*graph, OuterRaceSpectrum(), std::nullopt, QStringLiteral("Pump - NDE"));
    QImage image(800, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    graph->paint(painter, image.rect());
    FaultOverlay overlay = MakeFaultOverlay({Bearing(QStringLiteral("Pump NDE"))}, 25.0, 1.0);
    overlay.families[2].shown = false; // the cage family toggled off
    PaintFaultOverlay(painter, *graph, overlay);
    painter.end();

    // The outer-race line at 1x BPFO (89.6 Hz) is drawn in its colour; the cage's (10 Hz) is not.
    const QRectF plot = graph->plotRect();
    const auto column = [&](double hz) {
        return static_cast<int>(std::lround(plot.left() + hz / 1000 * plot.width()));
    };
    const auto hasColour = [&](int x, QColor colour) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int y = static_cast<int>(plot.center().y()); y < plot.bottom(); ++y) {
                // Drawn translucent over white: the colour's hue, lightened.
                const QColor seen(image.pixel(x + dx, y));
                if (seen != Qt::white && std::abs(seen.hue() - colour.hue()) <= 4 && seen.saturation() > 60) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(hasColour(column(3.5848 * 25 * 4), FaultColour(FaultKind::Bpfo)));
    EXPECT_FALSE(hasColour(column(0.3983 * 25 * 4), FaultColour(FaultKind::Ftf)));

    const QString golden = QStringLiteral(VANTOR_GOLDEN_DIR "/fault_overlay.png");
    if (qEnvironmentVariableIsSet("VANTOR_UPDATE_GOLDEN")) {
        ASSERT_TRUE(image.save(golden));
    }
    const QImage expected(golden);
    ASSERT_FALSE(expected.isNull()) << "missing " << golden.toStdString();
    // Font rasterising may differ a little between machines; the lines and legend may not.
    const double share = DifferingShare(image, expected.convertToFormat(QImage::Format_RGB32), 64);
    if (share >= 0.01) {
        image.save(QDir::temp().filePath(QStringLiteral("fault_overlay_actual.png")));
    }
    EXPECT_LT(share, 0.01);
}

} // namespace
} // namespace vantor
