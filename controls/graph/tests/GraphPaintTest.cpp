// The paint judged by its pixels: layout from the margins and the title, alarm bands, the
// per-column reduction of dense traces, markers and palette fallbacks, and a few golden pictures.
#include "GraphTestSupport.h"

#include "TraceDecimation.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

QImage painted(CVantorGraphCtrl& graph) {
    QImage image(graph.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    graph.paint(painter, image.rect());
    return image;
}

int countColour(const QImage& image, const QColor& colour, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

// The rows (or columns) holding at least one pixel of the colour.
QSet<int> linesWith(const QImage& image, const QColor& colour, bool rows) {
    QSet<int> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                found.insert(rows ? y : x);
    return found;
}

const QColor White(255, 255, 255);
const QColor Blue(0, 0, 255);

class GraphPaint : public GraphFixture {
protected:
    void SetUp() override {
        GraphFixture::SetUp();
        graph->setProperty("ControlBackGroundColor", 16);
        graph->setProperty("GraphBackGroundColor", 16);
    }
    void margins(double percent) {
        for (const char* name : {"GraphLeftMarginPercent", "GraphRightMarginPercent", "GraphTopMarginPercent",
                                 "GraphBottomMarginPercent"})
            graph->setProperty(name, percent);
    }
};

TEST_F(GraphPaint, PlotFillsTheControlOrStartsBelowTheTitle) {
    margins(0);
    graph->setProperty("GraphBackGroundColor", 9);
    graph->setProperty("XAxisMarkerStyle", 0);
    graph->setProperty("YAxisMarkerStyle", 0);
    QImage image = painted(*graph);
    EXPECT_EQ(graph->plotRect(), QRect(0, 0, 400, 300));
    EXPECT_EQ(image.pixelColor(399, 0), Blue);
    EXPECT_EQ(image.pixelColor(200, 150), Blue);

    graph->setProperty("GraphTitleOn", 1);
    graph->setProperty("GraphTitleSize", 20);
    image = painted(*graph);
    const int titleHeight = graph->plotRect().top();
    EXPECT_GE(titleHeight, 20);
    EXPECT_LE(titleHeight, 24);
    EXPECT_EQ(graph->plotRect().bottom(), 299);
    EXPECT_EQ(image.pixelColor(399, titleHeight - 1), White);
    EXPECT_EQ(image.pixelColor(399, titleHeight), Blue);
}

TEST_F(GraphPaint, MarginsAreTruncatedToWholePixels) {
    graph->resize(333, 217);
    graph->setProperty("GraphLeftMarginPercent", 10.0);  // 33.3
    graph->setProperty("GraphTopMarginPercent", 15.0);   // 32.55
    graph->setProperty("GraphRightMarginPercent", 20.0); // 66.6
    graph->setProperty("GraphBottomMarginPercent", 5.0); // 10.85
    painted(*graph);
    EXPECT_EQ(graph->plotRect(), QRect(33, 32, 333 - 33 - 66, 217 - 32 - 10));
}

TEST_F(GraphPaint, YBandsAreClampedIntoThePlot) {
    margins(0);
    graph->setProperty("XAxisMarkerStyle", 0);
    graph->setProperty("YAxisMarkerStyle", 0);
    graph->setProperty("NumberofBands", 1);
    graph->setProperty("Band1Color", 3);
    const QColor red(255, 0, 0);
    struct Case {
        double min, max;
        QSet<int> rows;
    };
    // Y 0..10 over 300 rows: 30 rows per unit, value v at row 300 - 30 v.
    const std::vector<Case> cases = {
        {2, 4,
         [] {
             QSet<int> r;
             for (int y = 180; y < 240; ++y)
                 r.insert(y);
             return r;
         }()},
        {11, 15, {}}, // above the axis: a strip of no height
        {9, 40,
         [] {
             QSet<int> r;
             for (int y = 0; y < 30; ++y)
                 r.insert(y);
             return r;
         }()},
    };
    for (const Case& c : cases) {
        graph->setProperty("Band1Min", c.min);
        graph->setProperty("Band1Max", c.max);
        EXPECT_EQ(linesWith(painted(*graph), red, true), c.rows) << c.min << ".." << c.max;
    }
}

TEST_F(GraphPaint, ThreeBandsKeepTheirClampedLimits) {
    graph->setProperty("YAxisMin", 1.0);
    graph->setProperty("YAxisMax", 8.0);
    for (int bands : {2, 3}) {
        graph->setProperty("NumberofBands", bands);
        graph->setProperty("Band1Min", -5.0);
        graph->setProperty("Band1Max", 12.0);
        graph->setProperty("Band3Max", 4.0);
        painted(*graph);
        EXPECT_EQ(graph->property("Band1Min").toDouble(), bands == 3 ? 1.0 : -5.0);
        EXPECT_EQ(graph->property("Band1Max").toDouble(), bands == 3 ? 8.0 : 12.0);
        EXPECT_EQ(graph->property("Band3Max").toDouble(), 4.0);
    }
}

TEST_F(GraphPaint, SpectrumDrawsOneLinePerColumnAtMost) {
    margins(0);
    graph->resize(400, 200);
    graph->setProperty("XAxisMarkerStyle", 0);
    graph->setProperty("YAxisMarkerStyle", 0);
    graph->setProperty("FFTGraphOn", true);
    graph->setProperty("PointMarkersOn", false);
    graph->setProperty("XAxisMax", 8191.0);
    QList<double> x, y;
    for (int i = 0; i < 8192; ++i) {
        x.append(i);
        y.append(1 + (i % 7));
    }
    graph->AddSeriesConfig(0x0000FF, 1, 0, 1); // red
    graph->SetSeriesDataArray(0, x, y, 0);
    const QImage image = painted(*graph);
    const QSet<int> columns = linesWith(image, QColor(255, 0, 0), false);
    EXPECT_LE(columns.size(), 400);
    EXPECT_GE(columns.size(), 399);
    // Each column's bar reaches the highest point of the column (7 of 10 units: row 60).
    EXPECT_EQ(image.pixelColor(100, 60), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(100, 59), QColor(255, 0, 0));
}

// The run-speed marker is drawn under the traces: the 1x line it marks stays whole on a wide
// spectrum, where the two fall on the same pixel column.
TEST_F(GraphPaint, RunSpeedMarkerNeverHidesTheLineItMarks) {
    margins(0);
    graph->resize(400, 200);
    graph->setProperty("XAxisMarkerStyle", 0);
    graph->setProperty("YAxisMarkerStyle", 0);
    graph->setProperty("FFTGraphOn", true);
    graph->setProperty("PointMarkersOn", false);
    graph->setProperty("XAxisMax", 5000.0);
    graph->setProperty("YAxisMax", 10.0);
    QList<double> x, y;
    for (int i = 0; i <= 4000; ++i) {
        x.append(i * 1.25);
        y.append(i == 20 ? 9.0 : 0.0); // the 1x line at 25 Hz
    }
    graph->AddSeriesConfig(0x0000FF, 1, 0, 1); // red
    graph->SetSeriesDataArray(0, x, y, 0);
    graph->ShowRunSpeed(1, 25.0f);
    const QImage image = painted(*graph);
    // The bar's column (the one most red above the axis) is red on every row from the bar's top
    // (9 of 10 units) down to the axis.
    int best = 0;
    for (int column = 0; column < 400; ++column) {
        int red = 0;
        for (int row = 25; row < 195; ++row)
            red += image.pixelColor(column, row) == QColor(255, 0, 0);
        best = std::max(best, red);
    }
    EXPECT_EQ(best, 170);
}

// With drawings behind the data, neither a frequency band's box nor the host's underlay covers a
// pixel of the tallest line; in the documented order the band's alarm line crosses it.
TEST_F(GraphPaint, DrawingsBehindTheDataLeaveTheTallestLineWhole) {
    margins(0);
    graph->resize(400, 200);
    graph->setProperty("XAxisMarkerStyle", 0);
    graph->setProperty("YAxisMarkerStyle", 0);
    graph->setProperty("FFTGraphOn", true);
    graph->setProperty("PointMarkersOn", false);
    graph->setProperty("XAxisMax", 400.0);
    graph->setProperty("YAxisMax", 10.0);
    QList<double> x, y;
    for (int i = 0; i <= 320; ++i) {
        x.append(i * 1.25);
        y.append(i == 80 ? 9.0 : 0.5); // the tallest line at 100 Hz
    }
    graph->AddSeriesConfig(0x0000FF, 1, 0, 1); // red
    graph->SetSeriesDataArray(0, x, y, 0);
    // A band whose lower edge (dotted, dark red) stands on the tallest line up to its alarm level, and
    // an underlay that fills the line's neighbourhood with green.
    graph->setProperty("FFTBandsOn", true);
    graph->setProperty("FFTBand1FMin", 100.0f);
    graph->setProperty("FFTBand1FMax", 140.0f);
    graph->setProperty("FFTBand1AlarmLevel", 5.0f);
    const QColor green(0, 255, 0);
    graph->setUnderlay([&](QPainter& painter) { painter.fillRect(QRect(95, 0, 10, 200), green); });
    const QColor red(255, 0, 0);
    struct Case {
        bool behind;
        bool lineWhole;
    };
    for (const Case c : {Case{false, false}, Case{true, true}}) {
        SCOPED_TRACE(c.behind ? "behind" : "documented order");
        graph->setDrawingsBehindData(c.behind);
        const QImage image = painted(*graph);
        // The bar's column: the one most red; from the bar's top (9 of 10: row 20) to the axis.
        int column = 0;
        int best = 0;
        for (int at = 0; at < 400; ++at) {
            int count = 0;
            for (int row = 20; row < 200; ++row)
                count += image.pixelColor(at, row) == red;
            if (count > best) {
                best = count;
                column = at;
            }
        }
        EXPECT_NEAR(column, 100, 1);
        EXPECT_EQ(best == 180, c.lineWhole) << best;
        // The underlay is under the trace either way: it shows beside the line, never on it.
        EXPECT_EQ(image.pixelColor(column - 2, 100), green);
    }
}

TEST(TraceReduction, CoversTheSamePixelsAsTheFullPolyline) {
    QPolygon full;
    for (int i = 0; i < 20000; ++i) {
        const double t = i / 20000.0;
        full.append(QPoint(static_cast<int>(5 + t * 290),
                           static_cast<int>(100 + 80 * std::sin(t * 61) * std::cos(t * 7) + (i % 13) - 6)));
    }
    TraceReducer reducer;
    for (const QPoint& p : full)
        reducer.add(p.x(), p.y());
    EXPECT_LE(reducer.runs().size(), 291u);
    auto draw = [](const QPolygon& line) {
        QImage image(300, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPolyline(line);
        return image;
    };
    const QImage expected = draw(full);
    const QImage reduced = draw(reducer.envelope());
    // Every pixel of the full trace is drawn; the rasteriser's joins may add a stray pixel here
    // and there where the column runs meet, never a missing one.
    int traced = 0;
    int missing = 0;
    int extra = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool inFull = expected.pixel(x, y) != qRgb(255, 255, 255);
            const bool inReduced = reduced.pixel(x, y) != qRgb(255, 255, 255);
            traced += inFull;
            missing += inFull && !inReduced;
            extra += inReduced && !inFull;
        }
    EXPECT_GT(traced, 5000);
    EXPECT_EQ(missing, 0);
    EXPECT_LE(extra, traced / 500);
}

// Ordered points are reduced by searching for where each column ends and mapping only its
// extremes; that must give exactly what mapping every point gives, whatever the density, the
// direction of the axes, points off the plot or beyond the pixel range.
TEST(TraceReduction, SearchingColumnsMatchesMappingEveryPoint) {
    struct Case {
        const char* name;
        int count;
        double xFrom, xTo; // the points' X span
        double xMin, xMax; // the X axis
        double yMin, yMax; // the Y axis
        double amplitude;
        int dx, dy;
    };
    const Case cases[] = {
        {"dense waveform", 50000, 0, 1, 0, 1, -10, 10, 8, 0, 0},
        {"sparse trend", 37, 0, 100, 0, 100, -10, 10, 8, 0, 0},
        {"one column", 500, 5, 5, 0, 10, -10, 10, 8, 0, 0},
        {"zoomed into the middle", 20000, 0, 1, 0.4, 0.41, -3, 3, 8, 0, 0},
        {"inverted Y axis", 9000, 0, 1, 0, 1, 10, -10, 8, 0, 0},
        {"empty X axis", 300, 0, 1, 0.5, 0.5, -10, 10, 8, 0, 0},
        {"waterfall shift", 9000, 0, 1, 0, 1, -10, 10, 8, 12, -9},
        {"values beyond the pixel range", 4000, -1e14, 1e14, -1, 1, -1, 1, 1e15, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<GraphPoint> points;
        for (int i = 0; i < c.count; ++i) {
            const double t = c.count > 1 ? double(i) / (c.count - 1) : 0.0;
            points.push_back(
                {c.xFrom + t * (c.xTo - c.xFrom), c.amplitude * std::sin(i * 12.9898) * std::cos(t * 31)});
        }
        GraphSeries series;
        series.points = points;
        ASSERT_TRUE(series.ordered());
        const TraceMapping map{GraphScale::Mapping(c.xMin, c.xMax, 20, 280),
                               GraphScale::Mapping(c.yMin, c.yMax, 190, -170), c.dx, c.dy};
        EXPECT_EQ(reduceTrace(points, map, true), reduceTrace(points, map, false));
        const SpectrumReducer bars(20 + c.dx, 280, 20 + c.dy, 190 + c.dy);
        const auto searched = reduceSpectrum(points, map, true, bars);
        EXPECT_EQ(searched, reduceSpectrum(points, map, false, bars));
        EXPECT_LE(searched.size(), 280u);
    }
    // X values that go back, or a NaN, take the pass over every point.
    GraphSeries unordered;
    unordered.points = {{0, 1}, {2, 1}, {1, 1}};
    EXPECT_FALSE(unordered.ordered());
    unordered.points = {{0, 1}, {1, std::nan("")}};
    unordered.touch();
    EXPECT_FALSE(unordered.ordered());
}

TEST_F(GraphPaint, MarkersFollowRadiusAndPaletteRules) {
    margins(10);
    graph->setProperty("XAxisMarkerStyle", 0);
    graph->setProperty("YAxisMarkerStyle", 0);
    graph->AddSeriesConfig(0x00FF00, 1, 0, 1);
    const QDateTime at(QDate(2026, 1, 1), QTime(0, 0));
    struct Case {
        int radius, shape, fill, colour;
        QColor expected;
        int minPixels, maxPixels;
    };
    const std::vector<Case> cases = {
        {0, 1, 0, 9, Blue, 0, 0},               // radius 0: no marker
        {3, 1, 0, 9, Blue, 36, 36},             // (3 - 1) even: e = 0, a 6x6 square
        {4, 1, 0, 9, Blue, 81, 81},             // (4 - 1) odd: one pixel more, 9x9
        {4, 1, 1, 9, Blue, 32, 32},             // fill 1: the outline only, white inside
        {3, 1, 0, 30, QColor(0, 0, 0), 36, 36}, // an index outside the palette paints black
        {4, 3, 0, 9, Blue, 25, 45},             // a diamond
    };
    for (const Case& c : cases) {
        graph->SetSeriesData(0, 0, 0, at, QString(), QString(), 0, 0, 0, QString(), 0, 0, 0, 0, 1);
        graph->SetSeriesData(0, 5, 5, at, QString(), QString(), 0, 0, 0, QString(),
                             static_cast<short>(c.radius), static_cast<short>(c.shape),
                             static_cast<short>(c.fill), static_cast<short>(c.colour), 2);
        const QImage image = painted(*graph);
        const QPoint point = graph->seriesScreenPositions(0).at(0);
        const int pixels = countColour(image, c.expected, QRect(point - QPoint(10, 10), QSize(21, 21)));
        EXPECT_GE(pixels, c.minPixels) << c.radius << " " << c.shape << " " << c.fill << " " << c.colour;
        EXPECT_LE(pixels, c.maxPixels) << c.radius << " " << c.shape << " " << c.fill << " " << c.colour;
    }
}

// Pictures without text (fonts differ between machines), compared with the stored ones within a
// small tolerance. VANTOR_UPDATE_GOLDEN=1 writes them afresh.
TEST_F(GraphPaint, GoldenPictures) {
    const QString folder = QStringLiteral(GRAPH_GOLDEN_DIR);
    struct Scene {
        const char* name;
        std::function<void(CVantorGraphCtrl&)> build;
    };
    const std::vector<Scene> scenes = {
        {"trend_bands",
         [](CVantorGraphCtrl& g) {
             g.setProperty("NumberofBands", 3);
             g.setProperty("Band1Color", 20);
             g.setProperty("Band1Max", 4.0);
             g.setProperty("Band2Color", 19);
             g.setProperty("Band2Min", 4.0);
             g.setProperty("Band2Max", 7.0);
             g.setProperty("Band3Color", 18);
             g.setProperty("Band3Min", 7.0);
             g.setProperty("Band3Max", 10.0);
             g.setProperty("YAxisMarkerStyle", 2);
             g.AddSeriesConfig(0xC00000, 2, 0, 1);
             const QDateTime day(QDate(2026, 1, 1), QTime(8, 0));
             for (int i = 0; i < 10; ++i)
                 g.SetSeriesData(0, float(i), float(1 + i * 0.9), day.addDays(i), QString(), QString(), 0, 0,
                                 0, QString(), 4, static_cast<short>(i % 4), 0, i > 6 ? 3 : 9,
                                 i == 9 ? 2 : 0);
         }},
        {"spectrum_cursors",
         [](CVantorGraphCtrl& g) {
             g.setProperty("FFTGraphOn", true);
             g.setProperty("PointMarkersOn", false);
             g.setProperty("XAxisMax", 100.0);
             g.setProperty("FFTBandsOn", true);
             g.setProperty("FFTBand1FMin", 20.0f);
             g.setProperty("FFTBand1FMax", 40.0f);
             g.setProperty("FFTBand1AlarmLevel", 6.0f);
             g.setProperty("FFTBand2FMin", 90.0f);
             g.setProperty("FFTBand2FMax", 140.0f);
             g.setProperty("FFTBand2AlarmLevel", 3.0f);
             QList<double> x, y;
             for (int i = 0; i <= 400; ++i) {
                 x.append(i * 0.25);
                 y.append(0.2 + 8 * std::exp(-std::pow((i * 0.25 - 25) / 0.5, 2)) +
                          3 * std::exp(-std::pow((i * 0.25 - 75) / 0.5, 2)));
             }
             g.AddSeriesConfig(0x008000, 1, 0, 1);
             g.SetSeriesDataArray(0, x, y, 0);
         }},
        {"waterfall",
         [](CVantorGraphCtrl& g) {
             g.setProperty("GraphWaterfallOn", true);
             g.setProperty("FFTGraphOn", true);
             g.setProperty("PointMarkersOn", false);
             for (short k = 0; k < 4; ++k) {
                 QList<double> x, y;
                 for (int i = 0; i <= 200; ++i) {
                     x.append(i * 0.05);
                     y.append(0.3 + (5 - k) * std::exp(-std::pow((i * 0.05 - 3) / 0.1, 2)));
                 }
                 g.AddSeriesConfig(0x800000 >> (k * 4), 1, 0, 1);
                 g.SetSeriesDataArray(k, x, y, 0);
             }
             g.setProperty("XAxisOffset", 20);
             g.setProperty("YAxisOffset", 15);
         }},
    };
    for (const Scene& scene : scenes) {
        auto g = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
        g->resetToDefaults();
        g->resize(360, 240);
        g->setProperty("ControlBackGroundColor", 16);
        g->setProperty("GraphBackGroundColor", 16);
        scene.build(*g);
        const QImage image = painted(*g).convertToFormat(QImage::Format_RGB32);
        const QString file = QDir(folder).filePath(QString::fromLatin1(scene.name) + QStringLiteral(".png"));
        if (qEnvironmentVariableIntValue("VANTOR_UPDATE_GOLDEN") == 1) {
            ASSERT_TRUE(image.save(file)) << file.toStdString();
            continue;
        }
        const QImage golden = QImage(file).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(golden.size(), image.size()) << scene.name;
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                differing += image.pixel(x, y) != golden.pixel(x, y);
        EXPECT_LE(differing, image.width() * image.height() / 500) << scene.name;
    }
    if (qEnvironmentVariableIntValue("VANTOR_UPDATE_GOLDEN") == 1) {
        GTEST_SKIP() << "golden images written, not compared";
    }
}

} // namespace
