// What the views hand the graph control, read back from the control by property name.
#include "graphviews/GraphViews.h"
#include "graphviews/ControlProperty.h"
#include "texts/UiText.h"

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

std::unique_ptr<CVantorGraphCtrl> NewGraph() {
    auto graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    graph->resetToDefaults();
    graph->resize(800, 500);
    return graph;
}

double Number(const QObject& graph, const char* name) {
    return graph.property(name).toDouble();
}

// Three readings at 10:00 on consecutive days, ISO 1, 2, 3 mm/s; warning 4.5, critical 7.1.
TrendViewData ThreeDayTrend(bool alarmsOn) {
    CVib point;
    point.bISOAlarmsOn = alarmsOn;
    point.fISOWarningMMS = 4.5f;
    point.fISOCriticalMMS = 7.1f;
    std::vector<TrendReading> readings;
    for (int day = 0; day < 3; ++day) {
        readings.push_back({QStringLiteral("r%1").arg(day), QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)),
                            static_cast<float>(day + 1)});
    }
    return MakeTrendViewData(point, MeasureKind::IsoVelocity, MakeTrendSamples(readings), TrendLine{},
                             DisplayUnits());
}

TEST(GraphViewsTest, TrendHandsTheAlarmBandsAndADatesAxis) {
    const auto graph = NewGraph();
    ShowTrendView(*graph, ThreeDayTrend(true), QStringLiteral("Fan - Motor DE"));

    EXPECT_EQ(graph->property("XAxisType").toInt(), CVantorGraphCtrl::Dates);
    EXPECT_EQ(graph->property("BandAxis").toInt(), CVantorGraphCtrl::Y_Axis);
    EXPECT_EQ(graph->property("NumberofBands").toInt(), 2);
    EXPECT_FLOAT_EQ(Number(*graph, "Band1Min"), 4.5f);
    EXPECT_FLOAT_EQ(Number(*graph, "Band1Max"), 7.1f);
    EXPECT_FLOAT_EQ(Number(*graph, "Band2Min"), 7.1f);
    EXPECT_GE(Number(*graph, "Band2Max"), Number(*graph, "YAxisMax"));
    EXPECT_EQ(graph->property("Band1Color").toInt(), kWarningBandColour);
    EXPECT_EQ(graph->property("Band2Color").toInt(), kCriticalBandColour);
    // The critical band keeps some height: the axis reaches above the critical level.
    EXPECT_GT(Number(*graph, "YAxisMax"), 7.1);
    EXPECT_EQ(graph->property("GraphTitle").toString(), QStringLiteral("Fan - Motor DE"));
    EXPECT_EQ(graph->property("GraphTitleOn").toInt(), 1);

    // The Dates axis counts from the earliest reading: the first point stands at 0, the axis
    // starts at that day's midnight and ends at the last reading's day's end.
    ASSERT_EQ(graph->GetSeriesCount(), 1);
    ASSERT_EQ(graph->seriesPointCount(0), 3);
    EXPECT_EQ(graph->seriesPoint(0, 0).value(QStringLiteral("x")).toDouble(), 0.0);
    EXPECT_EQ(graph->seriesPoint(0, 2).value(QStringLiteral("x")).toDouble(), 2 * 1440.0);
    EXPECT_EQ(graph->seriesPoint(0, 0).value(QStringLiteral("dateTime")).toDateTime(),
              QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
    EXPECT_EQ(Number(*graph, "XAxisMin"), -600.0);
    EXPECT_EQ(Number(*graph, "XAxisMax"), 3 * 1440.0 - 600.0);
}

// A point's tooltip names its date and time in the language of the text table.
TEST(GraphViewsTest, TrendTooltipCaptionsFollowTheTextTable) {
    QStringList texts = UiTextTable::Snapshot();
    texts[150] = QStringLiteral("Datum");
    texts[151] = QStringLiteral("Uhrzeit");
    ASSERT_TRUE(UiTextTable::Replace(texts));
    const auto graph = NewGraph();
    ShowTrendView(*graph, ThreeDayTrend(true), QStringLiteral("Fan - Motor DE"));
    UiTextTable::ResetToDefaults();
    EXPECT_EQ(graph->GetDateTranslation(), QStringLiteral("Datum"));
    EXPECT_EQ(graph->GetTimeTranslation(), QStringLiteral("Uhrzeit"));
}

TEST(GraphViewsTest, ATrendWithoutAlarmsHasNoBandsAndAViewClearsTheLastOne) {
    const auto graph = NewGraph();
    ShowTrendView(*graph, ThreeDayTrend(true), QString());
    ShowTrendView(*graph, ThreeDayTrend(false), QString());
    EXPECT_EQ(graph->property("NumberofBands").toInt(), 0);
    EXPECT_EQ(graph->property("GraphTitleOn").toInt(), 0);
    EXPECT_EQ(graph->GetSeriesCount(), 1);

    WaveformViewData waveform;
    waveform.x = {0.0, 0.5, 1.0};
    waveform.y = {-1.0, 1.0, 0.0};
    waveform.xAxis = {0, 1, 0.1, 2};
    waveform.yAxis = {-1, 1, 0.2, 1};
    ShowWaveformView(*graph, waveform, QString());
    EXPECT_EQ(graph->property("XAxisType").toInt(), CVantorGraphCtrl::Time);
    EXPECT_FALSE(graph->property("FFTGraphOn").toBool());
    EXPECT_EQ(graph->GetSeriesCount(), 1);
    // Ten whole intervals become a number of ticks, so both ends carry a label.
    EXPECT_EQ(graph->property("XAxisMarkerMethod").toInt(), CVantorGraphCtrl::NumberofTicks);
    EXPECT_EQ(Number(*graph, "XAxisMarkerSpacing"), 10.0);
}

TEST(GraphViewsTest, SpectrumHandsBandsRunSpeedAndTicks) {
    SpectrumViewData view;
    view.x = {0, 10, 20, 30};
    view.y = {0, 2, 1, 0.5};
    view.xAxis = {0, 35, 5, 0};     // 7 whole steps
    view.yAxis = {0, 2.3, 0.23, 1}; // 10 whole steps
    view.xLabel = QStringLiteral("Hz");
    view.yLabel = QStringLiteral("mm/s");
    view.runSpeed = 25;
    view.bands = {{1, 5, 12}, {2, 12, 20}, {3, 20, 30}};
    const auto graph = NewGraph();
    ASSERT_FALSE(graph->cursorGrabWithBands());
    ShowSpectrumView(*graph, view, 1.5, QString());
    EXPECT_TRUE(graph->property("FFTGraphOn").toBool());
    EXPECT_TRUE(graph->property("FFTBandsOn").toBool());
    EXPECT_TRUE(graph->cursorGrabWithBands()) << "the views' cursors are dragged over the band boxes";
    EXPECT_FLOAT_EQ(Number(*graph, "FFTBand2FMin"), 12.0f);
    EXPECT_FLOAT_EQ(Number(*graph, "FFTBand3FMax"), 30.0f);
    EXPECT_FLOAT_EQ(Number(*graph, "FFTBand1AlarmLevel"), 1.5f);
    EXPECT_EQ(graph->property("XAxisMarkerMethod").toInt(), CVantorGraphCtrl::NumberofTicks);
    EXPECT_EQ(Number(*graph, "XAxisMarkerSpacing"), 7.0);
    EXPECT_EQ(graph->property("YAxisValuesDP").toInt(), 1);

    // A step that does not divide the range is given as tick spacing; an acceleration spectrum
    // has no VA bands.
    view.kind = MeasureKind::Acceleration;
    view.xAxis = {0, 33, 5, 0};
    ShowSpectrumView(*graph, view, std::nullopt, QString());
    EXPECT_FALSE(graph->property("FFTBandsOn").toBool());
    EXPECT_EQ(graph->property("XAxisMarkerMethod").toInt(), CVantorGraphCtrl::TickSpacing);
    EXPECT_EQ(Number(*graph, "XAxisMarkerSpacing"), 5.0);
}

TEST(GraphViewsTest, WaterfallStacksTheNewestInFront) {
    std::vector<WaterfallSpectrum> spectra;
    for (int i = 0; i < kWaterfallMostSpectra + 2; ++i) {
        WaterfallSpectrum spectrum;
        spectrum.view.x = {0, 10, 20};
        spectrum.view.y = {0, 1.0 + i, 0};
        spectrum.view.xAxis = {0, 20, 2, 0};
        spectrum.view.yAxis = {0, 1.0 + i, 0.1, 1};
        spectrum.taken = QDateTime(QDate(2024, 6, 30 - i), QTime(9, 0));
        spectrum.readingGuid = QStringLiteral("r%1").arg(i);
        spectra.push_back(spectrum);
    }
    const auto graph = NewGraph();
    ShowWaterfallView(*graph, spectra, DisplayUnits(), QString());
    EXPECT_TRUE(graph->property("GraphWaterfallOn").toBool());
    ASSERT_EQ(graph->GetSeriesCount(), kWaterfallMostSpectra);
    EXPECT_EQ(graph->seriesPoint(0, 1).value(QStringLiteral("readingGuid")).toString(), QStringLiteral("r0"));
    // One amplitude axis for all: up to the largest of the shown spectra.
    EXPECT_EQ(Number(*graph, "YAxisMax"), static_cast<double>(kWaterfallMostSpectra));
}

// Each trend marker names its reading and takes its status colour; 5 and 8 mm/s against 4.5/7.1.
TEST(GraphViewsTest, TrendMarkersCarryTheirReadingAndStatusColour) {
    CVib point;
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 4.5f;
    point.fISOCriticalMMS = 7.1f;
    const std::vector<TrendReading> readings = {
        {QStringLiteral("ok"), QDateTime(QDate(2024, 5, 1), QTime(10, 0)), 2.0f},
        {QStringLiteral("warn"), QDateTime(QDate(2024, 5, 2), QTime(10, 0)), 5.0f},
        {QStringLiteral("crit"), QDateTime(QDate(2024, 5, 3), QTime(10, 0)), 8.0f}};
    const auto graph = NewGraph();
    ShowTrendView(*graph,
                  MakeTrendViewData(point, MeasureKind::IsoVelocity, MakeTrendSamples(readings), TrendLine{},
                                    DisplayUnits()),
                  QString());
    const short expected[] = {StatusMarkerColour(StatusCode::Ok), StatusMarkerColour(StatusCode::Warning),
                              StatusMarkerColour(StatusCode::Critical)};
    EXPECT_NE(expected[0], expected[1]);
    EXPECT_NE(expected[1], expected[2]);
    for (int i = 0; i < 3; ++i) {
        const QVariantMap values = graph->seriesPoint(0, i);
        EXPECT_EQ(values.value(QStringLiteral("readingGuid")).toString(),
                  readings[static_cast<std::size_t>(i)].guid);
        EXPECT_EQ(values.value(QStringLiteral("markerColor")).toInt(), expected[i]) << i;
    }
}

// An online sensor's values are a second series after the readings, judged by the same limits and
// naming no reading; a value before the first reading moves the axis' origin to it, and one after
// the last widens the axis to its day. Values without a number are left out.
TEST(GraphViewsTest, OnlineValuesTrendAsASecondSeriesOnTheSameAxes) {
    CVib point;
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 4.5f;
    point.fISOCriticalMMS = 7.1f;
    TrendViewData view = ThreeDayTrend(true);
    const std::vector<TrendReading> online = {
        {QStringLiteral("o1"), QDateTime(QDate(2024, 4, 30), QTime(10, 0)), 8.0f},
        {QStringLiteral("o2"), QDateTime(QDate(2024, 5, 2), QTime(12, 0)), -100.0f},
        {QStringLiteral("o3"), QDateTime(QDate(2024, 5, 4), QTime(22, 0)), 5.0f}};
    AddOnlineValues(view, point, online, DisplayUnits());
    const auto graph = NewGraph();
    ShowTrendView(*graph, view, QString());

    ASSERT_EQ(graph->GetSeriesCount(), 2);
    ASSERT_EQ(graph->seriesPointCount(1), 2);
    EXPECT_EQ(graph->seriesPoint(0, 0).value(QStringLiteral("x")).toDouble(), 1440.0);
    EXPECT_EQ(graph->seriesPoint(1, 0).value(QStringLiteral("x")).toDouble(), 0.0);
    EXPECT_EQ(graph->seriesPoint(1, 1).value(QStringLiteral("x")).toDouble(), 4 * 1440.0 + 720.0);
    EXPECT_EQ(graph->seriesPoint(1, 1).value(QStringLiteral("dateTime")).toDateTime(),
              QDateTime(QDate(2024, 5, 4), QTime(22, 0)));
    EXPECT_TRUE(graph->seriesPoint(1, 0).value(QStringLiteral("readingGuid")).toString().isEmpty());
    EXPECT_EQ(graph->seriesPoint(1, 0).value(QStringLiteral("markerColor")).toInt(),
              StatusMarkerColour(StatusCode::Critical));
    EXPECT_EQ(graph->seriesPoint(1, 1).value(QStringLiteral("markerColor")).toInt(),
              StatusMarkerColour(StatusCode::Warning));
    // From the first value's midnight to the end of the last value's day.
    EXPECT_EQ(Number(*graph, "XAxisMin"), -600.0);
    EXPECT_EQ(Number(*graph, "XAxisMax"), 5 * 1440.0 - 600.0);

    // A point without readings trends its online values alone, dated from the first one's day.
    TrendViewData alone =
        MakeTrendViewData(point, MeasureKind::IsoVelocity, MakeTrendSamples({}), TrendLine{}, DisplayUnits());
    AddOnlineValues(alone, point, online, DisplayUnits(FrequencyUnit::Hz, AmplitudeUnit::Imperial));
    EXPECT_EQ(alone.reference, QDateTime(QDate(2024, 4, 30), QTime(0, 0)));
    ASSERT_EQ(alone.onlineY.size(), 2U);
    EXPECT_NEAR(alone.onlineY[0], 8.0 * kImperialAmplitudeFactor, 1e-5);
    EXPECT_GE(alone.yAxis.maximum, alone.onlineY[0]);
}

// Bars rise from zero to every line and fall back; lines go through the tops only.
TEST(GraphViewsTest, BarSpectrumDrawsEveryLineFromZero) {
    SpectrumViewData view;
    view.kind = MeasureKind::Acceleration;
    view.x = {0.0, 10.0, 20.0};
    view.y = {0.5, 2.0, 1.0};
    view.xAxis = {0, 20, 2, 0};
    view.yAxis = {0, 2, 0.2, 1};
    const auto graph = NewGraph();
    ShowSpectrumView(*graph, view, std::nullopt, QString(), SpectrumDrawing::Line);
    EXPECT_EQ(graph->seriesPointCount(0), 3);
    ShowSpectrumView(*graph, view, std::nullopt, QString(), SpectrumDrawing::Bar);
    ASSERT_EQ(graph->seriesPointCount(0), 9);
    const double expectedY[] = {0, 0.5, 0, 0, 2, 0, 0, 1, 0};
    for (int i = 0; i < 9; ++i) {
        const QVariantMap values = graph->seriesPoint(0, i);
        EXPECT_DOUBLE_EQ(values.value(QStringLiteral("x")).toDouble(),
                         view.x[static_cast<std::size_t>(i / 3)]);
        EXPECT_DOUBLE_EQ(values.value(QStringLiteral("y")).toDouble(), expectedY[i]) << i;
    }
    EXPECT_EQ(SpectrumDrawingOf(0), SpectrumDrawing::Line);
    EXPECT_EQ(SpectrumDrawingOf(1), SpectrumDrawing::Bar);
}

// Setting the harmonic cursor again starts from the asked number of lines, not on top of the old ones.
TEST(GraphViewsTest, HarmonicCursorHasTheAskedNumberOfLinesEveryTime) {
    SpectrumViewData view;
    view.x = {0.0, 10.0, 20.0, 30.0, 40.0};
    view.y = {0.5, 2.0, 1.0, 0.7, 0.2};
    view.xAxis = {0, 40, 4, 0};
    view.yAxis = {0, 2, 0.2, 1};
    const auto graph = NewGraph();
    for (const int lines : {kStartingHarmonicCursors, kStartingHarmonicCursors, 5, 1}) {
        ShowSpectrumView(*graph, view, std::nullopt, QString());
        QImage image(graph->size(), QImage::Format_ARGB32);
        QPainter painter(&image);
        graph->paint(painter, image.rect());
        SetGraphCursor(*graph, GraphCursor::Harmonic, 10.0, lines);
        EXPECT_EQ(HarmonicCursorCount(*graph), lines);
    }
}

TEST(ControlPropertyTest, TextBecomesThePropertysType) {
    struct Case {
        const char* name;
        const char* text;
        std::optional<QVariant> expected; // none: refused with the error
        PropertyTextError error;
    };
    const Case cases[] = {
        {"GraphTitleColor", "25", QVariant::fromValue<short>(25), {}},
        {"GraphTitleOn", "-1", QVariant::fromValue<short>(-1), {}},
        {"GraphTitleColor", "70000", std::nullopt, PropertyTextError::BadValue},
        {"GraphTitleColor", "blue", std::nullopt, PropertyTextError::BadValue},
        {"XAxisMax", "12.5", QVariant(12.5), {}},
        {"FFTBand1FMin", "3", QVariant(3.0f), {}},
        {"ZoomAllowed", "true", QVariant(true), {}},
        {"ZoomAllowed", "0", QVariant(false), {}},
        {"ZoomAllowed", "maybe", std::nullopt, PropertyTextError::BadValue},
        {"GraphTitle", "a = b", QVariant(QStringLiteral("a = b")), {}},
        {"NoSuchProperty", "1", std::nullopt, PropertyTextError::UnknownName},
        // Every widget's own properties are not the control's.
        {"geometry", "1", std::nullopt, PropertyTextError::UnknownName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.text);
        PropertyTextError error{};
        const std::optional<PropertyValue> value = ParsePropertyValue(
            CVantorGraphCtrl::staticMetaObject, QLatin1String(c.name), QLatin1String(c.text), &error);
        ASSERT_EQ(value.has_value(), c.expected.has_value());
        if (value) {
            EXPECT_EQ(value->value.metaType(), c.expected->metaType());
            EXPECT_EQ(value->value, *c.expected);
        } else {
            EXPECT_EQ(error, c.error);
        }
    }
}

TEST(ControlPropertyTest, ARefusedWriteKeepsTheOldValueAndSaysWhy) {
    const auto graph = NewGraph();
    QStringList messages;
    graph->setMessagePort([&messages](const QString& text) { messages << text; });
    const short before = graph->GetGraphTitleColor();
    WriteProperty(*graph, *ParsePropertyValue(CVantorGraphCtrl::staticMetaObject,
                                              QStringLiteral("GraphTitleColor"), QStringLiteral("25")));
    EXPECT_EQ(graph->GetGraphTitleColor(), before);
    EXPECT_EQ(messages, QStringList{QStringLiteral("ERROR!! nGraphTitleColor must be between 0 & 24!!")});
    WriteProperty(*graph, *ParsePropertyValue(CVantorGraphCtrl::staticMetaObject,
                                              QStringLiteral("GraphTitleColor"), QStringLiteral("24")));
    EXPECT_EQ(graph->GetGraphTitleColor(), 24);
}

} // namespace
} // namespace vantor
