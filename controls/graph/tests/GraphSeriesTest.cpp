#include "GraphTestSupport.h"

#include "GraphCursors.h"
#include "GraphSeries.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>

namespace {

using GraphSeriesMethods = GraphFixture;

const QDateTime day1(QDate(2026, 3, 1), QTime(10, 0));

short addPoint(CVantorGraphCtrl& graph, short series, float x, float y, const QDateTime& when, short mode,
               const QString& guid = QString()) {
    return graph.SetSeriesData(series, x, y, when, guid, QString(), 0, 0, 0, QString(), 3, 0, 1, 4, mode);
}

TEST_F(GraphSeriesMethods, SeriesConfigChecksInOrderAndSkipsMinusOne) {
    graph->AddSeriesConfig(0x0000FF, 3, 0, 1);
    struct Case {
        short width, style, trace;
        short result;
        const char* message;
    };
    const std::vector<Case> cases = {
        {21, 1, 5, -1, "ERROR!! nLineWidth must be between 0 & 20 or SKIP(-1)!!"},
        {-2, 0, 0, -1, "ERROR!! nLineWidth must be between 0 & 20 or SKIP(-1)!!"},
        {2, 2, 5, -1, "ERROR!! nLineStyle must be PS_SOLID(0) or PS_DASH(1) or SKIP(-1)!!"},
        {2, 1, 5, -1, "ERROR!! nLineWidth must be 1 for nLineStyle or PS_DASH to work!!"},
        {1, 1, 5, -1, "ERROR!! nTraceOn must be a 0(false), 1(true) or SKIP(-1)!!"},
        {-1, 1, -1, 0, nullptr}, // the stored width 3 is not compared
    };
    for (const Case& c : cases) {
        messages.clear();
        EXPECT_EQ(graph->SetSeriesConfig(0, -1, c.width, c.style, c.trace), c.result) << c.width << c.style;
        EXPECT_EQ(messages, c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{});
    }
}

TEST_F(GraphSeriesMethods, RefusedConfigurationLeavesTheNewSeriesAsCreated) {
    EXPECT_EQ(graph->AddSeriesConfig(0xFF, 30, 0, 1), 0);
    EXPECT_EQ(graph->GetSeriesCount(), 1);
    EXPECT_EQ(messages.size(), 1);
    // Trace still off: the paint records no screen positions for its points.
    graph->SetSeriesDataArray(0, {5.0}, {5.0}, 0);
    QImage image(400, 300, QImage::Format_ARGB32);
    QPainter painter(&image);
    graph->paint(painter, image.rect());
    EXPECT_EQ(graph->seriesScreenPositions(0), QList<QPoint>{QPoint(0, 0)});
}

TEST_F(GraphSeriesMethods, MissingSeriesGiveMinusOneWithoutMessage) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    for (short n : {short(-1), short(1), short(7)}) {
        EXPECT_EQ(graph->SetSeriesConfig(n, 0, 1, 0, 1), -1);
        EXPECT_EQ(graph->SetSeriesMarkerConfig(n, 1, 1, 1, 0, 1, 1, 1, 0), -1);
        EXPECT_EQ(graph->RemoveSeriesConfig(n), -1);
        EXPECT_EQ(addPoint(*graph, n, 1, 1, day1, 9), -1);
        EXPECT_EQ(graph->SetSeriesDataArray(n, {1.0}, {1.0}, 0), -1);
        EXPECT_EQ(graph->SetSeriesPointMarker(n, day1, 1, 1, 1, 1), -1);
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GraphSeriesMethods, MarkerConfigMessagesInOrder) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    EXPECT_EQ(graph->SetSeriesMarkerConfig(0, -1, 4, 2, -1, -1, 4, 2, -1), -1);
    EXPECT_EQ(graph->SetSeriesMarkerConfig(0, -1, 3, 2, -1, -1, 4, 2, -1), -1);
    EXPECT_EQ(graph->SetSeriesMarkerConfig(0, -1, 3, 1, -1, -1, 4, 2, -1), -1);
    EXPECT_EQ(graph->SetSeriesMarkerConfig(0, -1, 3, 1, -1, -1, 3, 2, -1), -1);
    EXPECT_EQ(graph->SetSeriesMarkerConfig(0, 99, 3, 1, 0xFFFFFF, -1, 3, 1, -1), 0);
    EXPECT_EQ(messages, (QStringList{
                            QStringLiteral("ERROR!! nUnselectedShape must be between 0 & 3 or SKIP(-1)!!"),
                            QStringLiteral("ERROR!! nUnselectedFill must be between 0 & 1 or SKIP(-1)!!"),
                            QStringLiteral("ERROR!! nSelectedShape must be between 0 & 3 or SKIP(-1)!!"),
                            QStringLiteral("ERROR!! nSelectedFill must be between 0 & 1 or SKIP(-1)!!"),
                        }));
}

TEST_F(GraphSeriesMethods, PointByPointLoadRepaintsOnlyOnTheLastPoint) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    repaints();
    graph->setModified(false);
    for (short mode : {0, 0, 0})
        addPoint(*graph, 0, 1, 1, day1, mode);
    EXPECT_EQ(repaints(), 0);
    EXPECT_FALSE(graph->isModified());
    for (short mode : {0, 0, 2})
        addPoint(*graph, 0, 1, 1, day1, mode);
    EXPECT_EQ(repaints(), 1);
    EXPECT_TRUE(graph->isModified());
    EXPECT_EQ(graph->seriesPointCount(0), 6);

    EXPECT_EQ(addPoint(*graph, 0, 1, 1, day1, 3), -1);
    EXPECT_EQ(messages, QStringList{QStringLiteral("ERROR!! iAddClearUpdate must be a 0 & 2!!")});
    EXPECT_EQ(graph->seriesPointCount(0), 6);

    EXPECT_EQ(addPoint(*graph, 0, 1, 1, day1, 1), 0);
    EXPECT_EQ(graph->seriesPointCount(0), 0);
    EXPECT_EQ(repaints(), 0);
}

QList<int> marker(const CVantorGraphCtrl& graph, int series, int point) {
    const QVariantMap p = graph.seriesPoint(series, point);
    return {p.value(QStringLiteral("markerRadius")).toInt(), p.value(QStringLiteral("markerShape")).toInt(),
            p.value(QStringLiteral("markerFill")).toInt(), p.value(QStringLiteral("markerColor")).toInt()};
}

TEST_F(GraphSeriesMethods, ArrayLoadGivesEveryPointTheDefaults) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    addPoint(*graph, 0, 9, 9, day1, 0, QStringLiteral("{old}"));
    const QList<double> xs{0.0, 1.0, 2.0, 3.0};
    const QList<double> ys{4.0, 3.0, 2.0, 1.0};
    repaints();
    EXPECT_EQ(graph->SetSeriesDataArray(0, xs, ys, 0), 0);
    EXPECT_EQ(repaints(), 1);
    ASSERT_EQ(graph->seriesPointCount(0), 4);
    for (int i = 0; i < 4; ++i) {
        const QVariantMap p = graph->seriesPoint(0, i);
        EXPECT_EQ(marker(*graph, 0, i), (QList<int>{2, 1, 0, 9}));
        EXPECT_EQ(p.value(QStringLiteral("x")).toDouble(), xs[i]);
        EXPECT_EQ(p.value(QStringLiteral("y")).toDouble(), ys[i]);
        EXPECT_EQ(p.value(QStringLiteral("dateTime")).toDateTime(),
                  QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
        EXPECT_TRUE(p.value(QStringLiteral("readingGuid")).toString().isEmpty());
        EXPECT_TRUE(p.value(QStringLiteral("dateText")).toString().isEmpty());
    }

    EXPECT_EQ(graph->SetSeriesDataArray(0, xs, ys, 1), 0);
    EXPECT_EQ(graph->seriesPointCount(0), 0);
    EXPECT_EQ(repaints(), 1);
    // Unequal arrays give only the points that have both values.
    EXPECT_EQ(graph->SetSeriesDataArray(0, xs, {1.0, 2.0}, 0), 0);
    EXPECT_EQ(graph->seriesPointCount(0), 2);
}

TEST_F(GraphSeriesMethods, PointDataKeepsTheReadingContext) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    graph->SetSeriesData(0, 1.5f, 2.5f, day1, QStringLiteral("{g}"), QStringLiteral("SN7"), 100.0f, 21.5f, 1,
                         QStringLiteral("RF"), 4, 2, 1, 11, 2);
    const QVariantMap p = graph->seriesPoint(0, 0);
    EXPECT_EQ(p.value(QStringLiteral("readingGuid")).toString(), QStringLiteral("{g}"));
    EXPECT_EQ(p.value(QStringLiteral("accelerometerSerial")).toString(), QStringLiteral("SN7"));
    EXPECT_EQ(p.value(QStringLiteral("rfidCode")).toString(), QStringLiteral("RF"));
    EXPECT_EQ(p.value(QStringLiteral("takenWithRfid")).toInt(), 1);
    EXPECT_FALSE(p.value(QStringLiteral("dateText")).toString().isEmpty());
    EXPECT_FALSE(p.value(QStringLiteral("timeText")).toString().isEmpty());
    EXPECT_EQ(marker(*graph, 0, 0), (QList<int>{4, 2, 1, 11}));
}

// Array points share one context: no per-point context storage, a marker set on one of them
// changes that point alone, and points added one by one after them keep their own.
TEST(GraphSeriesRecords, ArrayPointsShareOneContextUntilOneIsChanged) {
    PointInfoList list;
    PointInfo defaults;
    defaults.dateTime = zeroDate();
    list.assignShared(100000, defaults);
    EXPECT_EQ(list.size(), 100000u);
    EXPECT_EQ(list.heapBytes(), 0u);
    EXPECT_EQ(&list[0], &list[99999]);

    list.own(7).markerColor = 3;
    EXPECT_EQ(list[7].markerColor, 3);
    EXPECT_EQ(list[6].markerColor, 9);
    EXPECT_EQ(list[8].markerColor, 9);
    EXPECT_EQ(list[7].dateTime, zeroDate());
    list.own(7).markerRadius = 6; // already its own: no second copy
    EXPECT_EQ(list[7].markerColor, 3);

    PointInfo added;
    added.readingGuid = QStringLiteral("{r}");
    list.push_back(added);
    EXPECT_EQ(list.size(), 100001u);
    EXPECT_EQ(list[100000].readingGuid, QStringLiteral("{r}"));
    EXPECT_TRUE(list[99999].readingGuid.isEmpty());

    int contexts = 0;
    list.forEachContext([&contexts](const PointInfo&) { ++contexts; });
    EXPECT_EQ(contexts, 3); // the shared one, point 7's, the added point's

    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.heapBytes(), 0u);
    list.push_back(added);
    contexts = 0;
    list.forEachContext([&contexts](const PointInfo&) { ++contexts; });
    EXPECT_EQ(contexts, 1); // no point uses the shared context
}

TEST_F(GraphSeriesMethods, PointMarkerOnArrayDataChangesThatPointOnly) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    graph->SetSeriesDataArray(0, {1.0, 2.0, 3.0}, {1.0, 2.0, 3.0}, 0);
    // Every array point has the zero date: the first one matches.
    EXPECT_EQ(graph->SetSeriesPointMarker(0, zeroDate(), 6, 2, 0, 5), 0);
    EXPECT_EQ(marker(*graph, 0, 0), (QList<int>{6, 2, 0, 5}));
    EXPECT_EQ(marker(*graph, 0, 1), (QList<int>{2, 1, 0, 9}));
    EXPECT_EQ(marker(*graph, 0, 2), (QList<int>{2, 1, 0, 9}));
    // No date matches: the last point.
    EXPECT_EQ(graph->SetSeriesPointMarker(0, day1, 4, 0, 1, 2), 0);
    EXPECT_EQ(marker(*graph, 0, 2), (QList<int>{4, 0, 1, 2}));
    EXPECT_EQ(marker(*graph, 0, 1), (QList<int>{2, 1, 0, 9}));
}

TEST(GraphSeriesRecords, ArrayPointsStartWithTheDocumentedDefaults) {
    const PointInfo point;
    EXPECT_EQ(point.markerRadius, 2);
    EXPECT_EQ(point.markerShape, 1);
    EXPECT_EQ(point.markerFill, 0);
    EXPECT_EQ(point.markerColor, 9);
    const GraphSeries series;
    EXPECT_FALSE(series.traceOn);
    EXPECT_EQ(series.unselected.shape, 3);
    EXPECT_EQ(series.unselected.color, 0xFF0000); // RGB(0,0,255)
    EXPECT_EQ(series.selected.color, 0x00C000);   // RGB(0,192,0)
}

TEST(GraphSeriesRecords, ListGrowsByTheDocumentedStep) {
    EXPECT_EQ(SeriesList::growthFor(0), 4u);
    EXPECT_EQ(SeriesList::growthFor(40), 5u);
    EXPECT_EQ(SeriesList::growthFor(100000), 1024u);
    SeriesList list;
    for (int i = 0; i < 5; ++i)
        list.append();
    EXPECT_EQ(list.capacity(), 8u);
}

TEST_F(GraphSeriesMethods, PointMarkerFallsBackToTheLastPoint) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    EXPECT_EQ(graph->SetSeriesPointMarker(0, day1, 1, 1, 1, 1), -1); // no points, no dates
    addPoint(*graph, 0, 1, 1, day1, 0);
    addPoint(*graph, 0, 2, 2, day1.addDays(1), 0);
    addPoint(*graph, 0, 3, 3, day1.addDays(2), 2);
    repaints();
    EXPECT_EQ(graph->SetSeriesPointMarker(0, day1.addDays(1), 6, 2, 0, 5), 0);
    EXPECT_EQ(marker(*graph, 0, 1), (QList<int>{6, 2, 0, 5}));
    EXPECT_EQ(graph->SetSeriesPointMarker(0, day1.addYears(5), 0, 3, 1, 30), 0);
    EXPECT_EQ(marker(*graph, 0, 2), (QList<int>{0, 3, 1, 30}));
    EXPECT_EQ(marker(*graph, 0, 0), (QList<int>{3, 0, 1, 4}));
    EXPECT_EQ(repaints(), 2);
}

TEST_F(GraphSeriesMethods, RemovingASeriesRenumbersTheLaterOnes) {
    for (int i = 0; i < 3; ++i) {
        graph->AddSeriesConfig(0, 1, 0, 1);
        graph->SetSeriesDataArray(static_cast<short>(i), QList<double>(i + 1, 1.0), QList<double>(i + 1, 1.0),
                                  0);
    }
    repaints();
    EXPECT_EQ(graph->RemoveSeriesConfig(1), 0);
    EXPECT_EQ(repaints(), 0);
    EXPECT_EQ(graph->GetSeriesCount(), 2);
    EXPECT_EQ(graph->seriesPointCount(0), 1);
    EXPECT_EQ(graph->seriesPointCount(1), 3);
}

TEST_F(GraphSeriesMethods, DoClickFiresClick) {
    QSignalSpy clicks(graph.get(), &CVantorGraphCtrl::Click);
    QMetaObject::invokeMethod(graph.get(), "DoClick");
    EXPECT_EQ(clicks.size(), 1);
}

// Cursor snapping reads the screen positions of the last paint: here one whose X axis maps each
// value to the pixel column of the same number.
GraphSeries seriesAt(std::initializer_list<std::pair<int, double>> columns) {
    GraphSeries series;
    series.traceOn = true;
    for (const auto& [column, y] : columns)
        series.points.push_back({static_cast<double>(column), y});
    series.layout = {0, 0.0, 100.0, 0.0, 100.0, QRect(0, 0, 100, 100), 0, 0, false, true};
    return series;
}

TEST(GraphCursorSnap, NearestLeftRightAndEnds) {
    const GraphSeries s = seriesAt({{10, 1}, {20, 2}, {30, 3}, {30, 9}, {40, 4}});
    EXPECT_EQ(snapToPoint(s, 14, 0, true), 0);
    EXPECT_EQ(snapToPoint(s, 15, 0, true), 1); // a tie takes the right point
    EXPECT_EQ(snapToPoint(s, 21, 5, true), 2); // column 26: the next point to the right
    EXPECT_EQ(snapToPoint(s, 25, 5, true), 3); // column 30 itself: the greatest Y
    EXPECT_EQ(snapToPoint(s, 25, -3, true), 1);
    EXPECT_EQ(snapToPoint(s, 0, 0, true), 0);
    EXPECT_EQ(snapToPoint(s, 99, 0, true), 4);
    EXPECT_EQ(snapToPoint(s, 99, 0, false), -1);
    EXPECT_EQ(snapToPoint(GraphSeries{}, 5, 0, true), -1);
}

TEST_F(GraphSeriesMethods, SimpleCursorFollowsCursorFundamental) {
    graph->AddSeriesConfig(0, 1, 0, 1);
    graph->SetSeriesDataArray(0, {1.0, 2.0, 3.0, 4.0}, {5.0, 6.0, 7.0, 8.0}, 0);
    QImage image(400, 300, QImage::Format_ARGB32);
    QPainter painter(&image);
    graph->paint(painter, image.rect());
    QSignalSpy info(graph.get(), &CVantorGraphCtrl::SimpleCursorInfo);
    graph->setProperty("CursorEnabled", true);
    graph->setProperty("CursorType", 0);
    ASSERT_EQ(info.size(), 1); // placed at its stored X (none yet): the first point
    EXPECT_EQ(info.at(0).at(0).toDouble(), 1.0);
    graph->setProperty("CursorFundamental", 2.9f);
    EXPECT_EQ(graph->property("CursorFundamental").toFloat(), 3.0f);
    EXPECT_EQ(info.last().at(1).toDouble(), 7.0);
}

} // namespace
