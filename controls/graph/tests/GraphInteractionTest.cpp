// The mouse and the cursors: hit shapes, harmonic and bearing placement, the click timer, rubber
// band zoom and selection, cursor grabs and the tooltip.
#include "GraphTestSupport.h"

#include "GraphHitTest.h"
#include "TooltipText.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

TEST(GraphHitTest, EachShapeByItsOwnRule) {
    struct Case {
        int shape;
        QPoint mouse;
        bool hit;
    };
    const QPoint p(50, 50);
    const std::vector<Case> cases = {
        {0, {53, 54}, true},  {0, {54, 54}, false}, // circle r 5: 9 + 16 <= 25, 32 > 25
        {1, {45, 45}, true},  {1, {55, 50}, false}, // square: right edge excluded
        {1, {54, 54}, true},  {2, {50, 46}, true},  // triangle apex region
        {2, {46, 46}, false}, {3, {52, 52}, true},  {3, {54, 54}, false}, {7, {50, 50}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(markerHit(c.mouse, p, 5, c.shape), c.hit)
            << c.shape << " " << c.mouse.x() << "," << c.mouse.y();
}

TEST(GraphTooltip, TextOfEveryCase) {
    const TooltipLabels l{"x", "y", "Date", "Time", "Accelerometer", "Sensitivity"};
    const TooltipPoint full{"1.5", "2.25", "1/1/26", "08:00:00", "SN7", "RF9"};
    TooltipPoint noCode = full;
    noCode.code.clear();
    TooltipPoint bare = noCode;
    bare.serial.clear();
    struct Case {
        TooltipPoint point;
        bool dates, xy, waterfall;
        const char* text;
    };
    const std::vector<Case> cases = {
        {full, true, true, false,
         "y: 2.25\r\n\r\nDate: 1/1/26\r\nTime: 08:00:00\r\n\r\nAccelerometer: SN7\r\nSensitivity: RF9"},
        {noCode, false, false, false,
         "y: 2.25\r\n\r\nDate: 1/1/26\r\nTime: 08:00:00\r\n\r\nAccelerometer: SN7"},
        {bare, false, false, true, "y: 2.25\r\n\r\nDate: 1/1/26\r\nTime: 08:00:00"},
        {full, false, true, false, "x: 1.5\r\ny: 2.25\r\n\r\nAccelerometer: SN7\r\nSensitivity: RF9"},
        {noCode, false, true, false, "x: 1.5\r\ny: 2.25\r\n\r\nAccelerometer: SN7"},
        {bare, false, true, true, "x: 1.5\r\ny: 2.25\r\n\r\nDate: 1/1/26\r\nTime: 08:00:00"},
        {bare, false, true, false, "x: 1.5\r\ny: 2.25"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tooltipText(l, c.point, c.dates, c.xy, c.waterfall), QString::fromLatin1(c.text)) << c.text;
}

void send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButton eventButton = type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), eventButton, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

void drag(QWidget& widget, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    send(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
    send(widget, QEvent::MouseMove, to, Qt::LeftButton, modifiers);
    send(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, modifiers);
}

// 400 x 300 with 10 % margins: plot from (40, 30), 320 x 240.
class GraphInteraction : public GraphFixture {
protected:
    void SetUp() override {
        GraphFixture::SetUp();
        QApplication::setDoubleClickInterval(20);
    }
    void layOut() {
        QImage image(graph->size(), QImage::Format_ARGB32);
        QPainter painter(&image);
        graph->paint(painter, image.rect());
    }
    // A spectrum over X 0..xMax with lines every `step` and peaks at the given frequencies.
    void spectrum(double xMax, double step, std::initializer_list<double> peaks) {
        graph->setProperty("XAxisMax", xMax);
        graph->setProperty("FFTGraphOn", true);
        QList<double> x, y;
        for (int i = 0; i * step <= xMax + 1e-9; ++i) {
            x.append(std::round(i * step * 100) / 100);
            double a = 0.1;
            for (double f : peaks)
                a += 5 * std::exp(-std::pow((x.last() - f) / (3 * step), 2));
            y.append(a);
        }
        graph->AddSeriesConfig(0x008000, 1, 0, 1);
        graph->SetSeriesDataArray(0, x, y, 0);
        layOut();
    }
    // Five trend points at X 1, 3, 5, 7, 9 and Y 5 (pixels 72, 136, 200, 264, 328 at row 150).
    void trend() {
        graph->AddSeriesConfig(0xC00000, 1, 0, 1);
        const QDateTime day(QDate(2026, 1, 1), QTime(8, 0));
        for (int i = 0; i < 5; ++i)
            graph->SetSeriesData(0, float(1 + 2 * i), 5.0f, day.addDays(i), QStringLiteral("{r%1}").arg(i),
                                 i == 2 ? QStringLiteral("SN7") : QString(), 100, 20, 0, QString(), 3, 1, 0,
                                 9, i == 4 ? 2 : 0);
        layOut();
    }
};

TEST_F(GraphInteraction, DraggingTheSecondHarmonicPlacesTheOthersFromItsFundamental) {
    spectrum(100, 0.25, {25, 50, 75});
    graph->setProperty("CursorEnabled", true);
    graph->setProperty("CursorType", 1);
    for (int i = 0; i < 3; ++i)
        graph->AddHarmonicCursor();
    layOut();
    const auto readouts = graph->cursorReadouts();
    ASSERT_EQ(readouts.at(2).name, QStringLiteral("harmonic 1"));
    EXPECT_EQ(readouts.at(2).x, 100.0); // twice the first cursor's 50
    QSignalSpy info(graph.get(), &CVantorGraphCtrl::HarmonicCursorInfo);
    const QPoint onLine = readouts.at(2).line.center();
    send(*graph, QEvent::MouseButtonPress, onLine);
    send(*graph, QEvent::MouseMove, QPoint(250, 150));
    info.clear();
    send(*graph, QEvent::MouseButtonRelease, QPoint(200, 150)); // X 50
    ASSERT_EQ(info.size(), 3);
    const std::vector<std::pair<int, double>> expected = {{1, 50.0}, {0, 25.0}, {2, 75.0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(info.at(i).at(0).toInt(), expected[static_cast<std::size_t>(i)].first);
        EXPECT_EQ(info.at(i).at(1).toDouble(), expected[static_cast<std::size_t>(i)].second);
        EXPECT_GT(info.at(i).at(2).toDouble(), 5.0); // on the peak's own line
    }
}

TEST_F(GraphInteraction, BearingHarmonicsFollowTheRunningSpeed) {
    spectrum(200, 0.1, {24.8, 88.5, 177.1});
    graph->setProperty("CursorEnabled", true);
    graph->setProperty("CursorType", 2);
    graph->AddHarmonicCursor(); // every fault record gets its second label
    EXPECT_EQ(graph->cursorReadouts().at(graph->cursorReadouts().size() - 7).name,
              QStringLiteral("fault 0 harmonic 1"));
    graph->setProperty("BearingFault1Multiplier", 3.57);
    QSignalSpy runSpeed(graph.get(), &CVantorGraphCtrl::BearingRSCursorInfo);
    QSignalSpy faults(graph.get(), &CVantorGraphCtrl::BearingHarmonicCursorInfo);
    graph->setProperty("CursorFundamental", 24.8f);
    ASSERT_EQ(runSpeed.size(), 1);
    EXPECT_DOUBLE_EQ(runSpeed.at(0).at(0).toDouble(), 24.8);
    ASSERT_EQ(faults.size(), 8);
    EXPECT_DOUBLE_EQ(faults.at(0).at(2).toDouble(), 88.5);
    EXPECT_DOUBLE_EQ(faults.at(1).at(2).toDouble(), 177.1);
    for (int i = 2; i < 8; ++i) { // multiplier 0: no place
        EXPECT_EQ(faults.at(i).at(2).toDouble(), -100.0);
        EXPECT_EQ(faults.at(i).at(3).toDouble(), -100.0);
    }
    EXPECT_EQ(graph->property("CursorFundamental").toFloat(), 24.8f);
}

TEST_F(GraphInteraction, ClickTimerReportsTheNearestPointUnlessDoubleClicked) {
    trend();
    struct Case {
        const char* what;
        QPoint at;
        bool doubleClick;
        int point; // -1: none
    };
    const std::vector<Case> cases = {
        {"between points, nearer the right", {180, 60}, false, 2},
        {"between points, nearer the left", {150, 60}, false, 1},
        {"on a marker", {264, 150}, false, 3},
        {"right of every point", {350, 60}, false, -1},
        {"double click", {180, 60}, true, -1},
    };
    for (const Case& c : cases) {
        QSignalSpy clicked(graph.get(), &CVantorGraphCtrl::PointClicked);
        QSignalSpy left(graph.get(), &CVantorGraphCtrl::LeftButtonClicked);
        send(*graph, QEvent::MouseButtonPress, c.at);
        send(*graph, QEvent::MouseButtonRelease, c.at);
        if (c.doubleClick) {
            send(*graph, QEvent::MouseButtonDblClick, c.at);
            send(*graph, QEvent::MouseButtonRelease, c.at);
        }
        EXPECT_TRUE(clicked.isEmpty()) << c.what; // never before the timer
        QTest::qWait(graph->clickWaitMs() * 3 + 20);
        EXPECT_EQ(left.size(), 1) << c.what;
        if (c.point < 0) {
            EXPECT_TRUE(clicked.isEmpty()) << c.what;
            continue;
        }
        ASSERT_EQ(clicked.size(), 1) << c.what;
        EXPECT_EQ(clicked.at(0).at(1).toInt(), c.point) << c.what;
        EXPECT_EQ(clicked.at(0).at(2).toString(), QStringLiteral("{r%1}").arg(c.point)) << c.what;
    }
}

TEST_F(GraphInteraction, RubberBandZoomsOrSelectsWithCtrl) {
    trend();
    QSignalSpy zoomed(graph.get(), &CVantorGraphCtrl::ZoomFinishedUpdate);
    QSignalSpy clicked(graph.get(), &CVantorGraphCtrl::PointClicked);
    drag(*graph, {120, 100}, {220, 200}); // zoom not allowed: a plain click
    EXPECT_TRUE(zoomed.isEmpty());
    EXPECT_EQ(graph->property("XAxisMax").toDouble(), 10.0);

    graph->setProperty("ZoomAllowed", true);
    graph->setProperty("MultiplePointSelectAllowed", true);
    drag(*graph, {120, 100}, {220, 200}, Qt::ControlModifier);
    EXPECT_TRUE(zoomed.isEmpty());
    ASSERT_EQ(clicked.size(), 2); // points 1 and 2, the last first
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 2);
    EXPECT_EQ(clicked.at(1).at(1).toInt(), 1);

    drag(*graph, {120, 100}, {220, 200});
    ASSERT_EQ(zoomed.size(), 1);
    EXPECT_DOUBLE_EQ(graph->property("XAxisMin").toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(graph->property("XAxisMax").toDouble(), 5.625);
    EXPECT_DOUBLE_EQ(graph->property("YAxisMin").toDouble(), 70.0 / 24);
    EXPECT_DOUBLE_EQ(graph->property("YAxisMax").toDouble(), 170.0 / 24);
    layOut();
    drag(*graph, {0, 0}, {60, 60}); // beyond the plot: clamped into the current range
    EXPECT_DOUBLE_EQ(graph->property("XAxisMin").toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(graph->property("YAxisMax").toDouble(), 170.0 / 24);
    EXPECT_TRUE(clicked.size() == 2);
}

TEST_F(GraphInteraction, RightClickReportsThePointOrThePlace) {
    trend();
    QSignalSpy point(graph.get(), &CVantorGraphCtrl::PointRightClicked);
    QSignalSpy place(graph.get(), &CVantorGraphCtrl::RightButtonClicked);
    send(*graph, QEvent::MouseButtonPress, {137, 151}, Qt::RightButton);
    send(*graph, QEvent::MouseButtonPress, {150, 60}, Qt::RightButton, Qt::ShiftModifier);
    ASSERT_EQ(point.size(), 1);
    EXPECT_EQ(point.at(0).at(1).toInt(), 1);
    EXPECT_EQ(point.at(0).at(2).toString(), QStringLiteral("{r1}"));
    ASSERT_EQ(place.size(), 1);
    EXPECT_EQ(place.at(0), (QVariantList{short(0x02 | 0x04), short(150), short(60)}));
}

TEST_F(GraphInteraction, NudgesJumpToTheNextPointBeyondTheCount) {
    trend();
    graph->setProperty("CursorEnabled", true);
    graph->setProperty("CursorType", 0);
    graph->setProperty("CursorFundamental", 5.0f);
    struct Case {
        bool right;
        short count;
        double x;
    };
    // Points every 64 pixels. Right: the first point at or beyond the count; left: the point before
    // the first one at or beyond it, so landing on a point exactly passes it.
    for (const Case& c :
         std::vector<Case>{{true, 1, 7}, {true, 70, 9}, {false, 1, 7}, {false, 64, 3}, {false, 200, 1}}) {
        c.right ? graph->NudgeCursorRight(c.count) : graph->NudgeCursorLeft(c.count);
        EXPECT_EQ(graph->property("CursorFundamental").toFloat(), c.x) << c.right << " " << c.count;
    }
}

TEST_F(GraphInteraction, NoZoomBeforeTheFirstLayout) {
    graph->setProperty("ZoomAllowed", true);
    QSignalSpy zoomed(graph.get(), &CVantorGraphCtrl::ZoomFinishedUpdate);
    drag(*graph, {40, 30}, {200, 150});
    EXPECT_TRUE(zoomed.isEmpty());
    EXPECT_EQ(graph->property("XAxisMax").toDouble(), 10.0);
}

// With the frequency bands on, a click on a cursor line leaves the cursor where it is, unless the
// host asked for cursors that stay grabbable over the band boxes.
TEST_F(GraphInteraction, CursorLinesAreGrabbedWithBandsOnlyWhenTheHostAllowsIt) {
    trend();
    graph->setProperty("CursorEnabled", true);
    graph->setProperty("CursorType", 0);
    layOut();
    EXPECT_FALSE(graph->cursorGrabWithBands());
    const QPoint line = graph->cursorReadouts().at(0).line.center();
    const double start = graph->currentCursorX();
    ASSERT_NE(start, 7.0);
    const struct {
        bool bands;
        bool hostAllows;
        bool grabbed;
    } cases[] = {{false, false, true}, {true, false, false}, {true, true, true}, {false, true, true}};
    for (const auto& c : cases) {
        graph->setProperty("FFTBandsOn", c.bands);
        graph->setCursorGrabWithBands(c.hostAllows);
        graph->placeCursorAtValue(start);
        layOut();
        send(*graph, QEvent::MouseMove, line);
        EXPECT_EQ(graph->cursor().shape() == Qt::SplitHCursor, c.grabbed) << c.bands << c.hostAllows;
        QSignalSpy info(graph.get(), &CVantorGraphCtrl::SimpleCursorInfo);
        send(*graph, QEvent::MouseButtonPress, line);
        send(*graph, QEvent::MouseMove, QPoint(264, 100));
        send(*graph, QEvent::MouseButtonRelease, QPoint(264, 100));
        EXPECT_EQ(!info.isEmpty(), c.grabbed) << c.bands << c.hostAllows;
        EXPECT_EQ(graph->currentCursorX(), c.grabbed ? 7.0 : start) << c.bands << c.hostAllows;
        QTest::qWait(graph->clickWaitMs() * 2);
    }
}

TEST_F(GraphInteraction, TooltipDescribesThePointUnderTheMouse) {
    graph->setTiming({5, 5, 32767, 1.01});
    trend();
    send(*graph, QEvent::MouseMove, QPoint(201, 151));
    EXPECT_TRUE(graph->property("ShowToolTip").toBool());
    const QString text = graph->property("ToolTipText").toString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("y: 5\r\n\r\nDate: "))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n\r\nAccelerometer: SN7"))) << text.toStdString();
    graph->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return graph->tooltipWindowVisible(); }, 2000));
    EXPECT_TRUE(graph->tooltipWindowText().contains(QStringLiteral("Accelerometer: SN7")));
    graph->setProperty("ToolTipText", QStringLiteral("changed"));
    EXPECT_EQ(graph->tooltipWindowText(), QStringLiteral("changed"));
    send(*graph, QEvent::MouseMove, QPoint(100, 60));
    EXPECT_FALSE(graph->property("ShowToolTip").toBool());
    EXPECT_FALSE(graph->tooltipWindowVisible());
}

// The Y labels of the trend use no decimals; a host that reads values out with three decimals
// gives the tooltip the same three, and can hand it back to the labels' decimals.
TEST_F(GraphInteraction, TooltipDecimalsFollowTheHostOrTheLabels) {
    graph->AddSeriesConfig(0xC00000, 1, 0, 1);
    const QDateTime day(QDate(2026, 1, 1), QTime(8, 0));
    for (int i = 0; i < 5; ++i)
        graph->SetSeriesData(0, float(1 + 2 * i), 5.08f, day.addDays(i), QStringLiteral("{r%1}").arg(i),
                             QString(), 100, 20, 0, QString(), 3, 1, 0, 9, i == 4 ? 2 : 0);
    layOut();
    const struct {
        int decimals;
        const char* y;
    } cases[] = {{-1, "y: 5\r"}, {3, "y: 5.080\r"}, {1, "y: 5.1\r"}, {99, "y: 5.080000\r"}, {-7, "y: 5\r"}};
    for (const auto& c : cases) {
        graph->setTooltipYDecimals(c.decimals);
        send(*graph, QEvent::MouseMove, QPoint(201, 148));
        EXPECT_TRUE(graph->property("ToolTipText").toString().startsWith(QString::fromLatin1(c.y)))
            << c.decimals << " " << graph->property("ToolTipText").toString().toStdString();
    }
    EXPECT_EQ(graph->tooltipYDecimals(), -1);
}

} // namespace

namespace {

// Lines denser than pixels: placing by value reaches every line; pixel placement could not.
TEST_F(GraphInteraction, PlacingByValueStandsOnTheNearestLineWhateverThePixels) {
    spectrum(1000, 0.25, {25});
    graph->setProperty("CursorEnabled", true);
    graph->setProperty("CursorType", 0);
    layOut();
    QSignalSpy info(graph.get(), &CVantorGraphCtrl::SimpleCursorInfo);
    for (const double target : {25.0, 25.25, 25.1, 999.9, -5.0}) {
        graph->placeCursorAtValue(target);
        const double expected = std::clamp(std::round(target * 4) / 4, 0.0, 1000.0);
        EXPECT_EQ(graph->currentCursorX(), expected) << target;
        ASSERT_FALSE(info.isEmpty());
        EXPECT_EQ(info.last().at(0).toDouble(), expected);
    }
    graph->setProperty("CursorEnabled", false);
    EXPECT_EQ(graph->currentCursorX(), -100.0);
}

TEST_F(GraphInteraction, CloseHarmonicLabelsDoNotCoverEachOther) {
    spectrum(5000, 2.5, {25});
    graph->setProperty("CursorEnabled", true);
    graph->setProperty("CursorType", 1);
    for (int i = 0; i < 5; ++i)
        graph->AddHarmonicCursor();
    graph->setProperty("CursorFundamental", 25.0f);
    layOut();
    QList<QRect> handles;
    for (const auto& readout : graph->cursorReadouts())
        if (readout.name.startsWith(QStringLiteral("harmonic")) && !readout.handle.isEmpty())
            handles.append(readout.handle);
    ASSERT_EQ(handles.size(), 5);
    for (int i = 0; i < handles.size(); ++i)
        for (int j = i + 1; j < handles.size(); ++j)
            EXPECT_FALSE(handles[i].intersects(handles[j])) << i << " " << j;
}

} // namespace
