#include "GraphScale.h"

#include <QLocale>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

using namespace GraphScale;

TEST(GraphScale, MappingTruncates) {
    EXPECT_EQ(xToPixel(2.5, 0, 10, 10, 100), 35);
    EXPECT_EQ(xToPixel(3.339, 0, 10, 10, 100), 43);
    EXPECT_EQ(yToPixel(2.5, 0, 10, 110, 100), 85);
    EXPECT_EQ(yToPixel(3.339, 0, 10, 110, 100), 76); // 110 - 33.39
    EXPECT_EQ(xToPixel(5, 5, 5, 10, 100), 10);       // an empty range maps to the axis start
    EXPECT_DOUBLE_EQ(pixelToX(35, 0, 10, 10, 100), 2.5);
    EXPECT_DOUBLE_EQ(pixelToY(85, 0, 10, 110, 100), 2.5);
}

// A reading with an infinite sampling frequency gives an infinite X range and infinite or
// not-a-number X values: each lands far off the plot (never an undefined conversion), and a
// waterfall's shift added to it cannot overflow.
TEST(GraphScale, ValuesWithoutAPlaceOnTheAxisLandOffThePlot) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    const int off = static_cast<int>(-Mapping::PixelLimit);
    const struct {
        double min, max, v;
        int expected;
    } cases[] = {
        {0, 10, nan, off},
        {0, inf, inf, off}, // inf x 0
        {0, inf, 5, 10},    // a finite value on an infinite range sits at the start
        {0, 10, inf, static_cast<int>(Mapping::PixelLimit)},
        {0, 10, -inf, off},
        {nan, 10, 5, off},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Mapping(c.min, c.max, 10, 100).pixel(c.v), c.expected)
            << c.min << " " << c.max << " " << c.v;
        EXPECT_GT(Mapping(c.min, c.max, 10, 100).pixel(c.v) - 20, std::numeric_limits<int>::min() / 2);
    }
}

TEST(GraphScale, NumberOfTicksCountsUpOnXAndDownOnY) {
    EXPECT_EQ(xAxisTicks(MarkerMethod::NumberOfTicks, XAxisType::Normal, 0, 10, 4, {}),
              (QList<double>{0, 2.5, 5, 7.5, 10}));
    EXPECT_EQ(yAxisTicks(MarkerMethod::NumberOfTicks, 0, 10, 4), (QList<double>{10, 7.5, 5, 2.5, 0}));
    EXPECT_EQ(numberOfTicks(0, 10, 2.5, false), (QList<double>{0, 4, 8}));
    EXPECT_EQ(numberOfTicks(0, 10, 0, false), QList<double>{0});
    EXPECT_TRUE(numberOfTicks(0, 10, -2, false).isEmpty());
    EXPECT_EQ(numberOfTicks(0, 10, 1e9, false).size(), MaxTicks);
}

TEST(GraphScale, TickSpacingHasNoTickAtTheMinimum) {
    EXPECT_EQ(spacedTicks(0, 10, 3), (QList<double>{3, 6, 9}));
    EXPECT_EQ(spacedTicks(-50, 20, 35), (QList<double>{-15, 20}));
    EXPECT_TRUE(spacedTicks(0, 10, 0).isEmpty());
    EXPECT_TRUE(spacedTicks(0, 10, 11).isEmpty());
    EXPECT_EQ(yAxisTicks(MarkerMethod::TickSpacing, 0, 10, 5), (QList<double>{5, 10}));
}

SeriesList tracedSeries() {
    SeriesList list;
    GraphSeries& a = list.append();
    a.traceOn = true;
    for (double x : {-5.0, 0.0, 1440.0, 3000.0}) {
        a.points.push_back({x, 0});
        PointInfo info;
        info.dateTime = QDateTime(QDate(2026, 5, 2), QTime(6, 0)).addSecs(qint64(x * 60));
        a.info.push_back(info);
    }
    GraphSeries& hidden = list.append();
    hidden.points.push_back({100, 0});
    PointInfo early;
    early.dateTime = QDateTime(QDate(2020, 1, 1), QTime(0, 0));
    hidden.info.push_back(early);
    return list;
}

TEST(GraphScale, ExactTicksOnlyOnTheDatesAxis) {
    const SeriesList series = tracedSeries();
    EXPECT_EQ(xAxisTicks(MarkerMethod::Exact, XAxisType::Dates, 0, 2000, 5, series),
              (QList<double>{0, 1440}));
    EXPECT_TRUE(xAxisTicks(MarkerMethod::Exact, XAxisType::Normal, 0, 2000, 5, series).isEmpty());
    EXPECT_TRUE(yAxisTicks(MarkerMethod::Exact, 0, 10, 5).isEmpty());
}

TEST(GraphScale, DatesAxisCountsMinutesFromTheEarliestTracedPoint) {
    const SeriesList series = tracedSeries();
    const QDateTime base = datesBase(series);
    EXPECT_EQ(base, QDateTime(QDate(2026, 5, 2), QTime(5, 55))); // the hidden series does not count
    EXPECT_EQ(dateLabel(base, 1440), QLocale::system().toString(QDate(2026, 5, 3), QLocale::ShortFormat));
    EXPECT_FALSE(datesBase(SeriesList{}).isValid());
}

TEST(GraphScale, TimeAxisCaptionAndLabels) {
    EXPECT_EQ(timeCaption(59.9), QStringLiteral("time (secs)"));
    EXPECT_EQ(timeCaption(60), QStringLiteral("time (mins)"));
    EXPECT_EQ(timeCaption(90), QStringLiteral("time (mins)"));
    EXPECT_EQ(timeCaption(3600), QStringLiteral("time (hours)"));
    EXPECT_EQ(timeLabel(3725), QStringLiteral("1:02:05"));
    EXPECT_EQ(timeLabel(3600), QStringLiteral("1:00:00"));
    EXPECT_EQ(timeLabel(65.9), QStringLiteral("1:05"));
    EXPECT_EQ(timeLabel(7), QStringLiteral("7"));
}

TEST(GraphScale, LabelDecimalsRiseUntilNeighboursDiffer) {
    const NumberFormat format;
    const TickLabels tens = numericLabels(numberOfTicks(0, 10, 3, false), 0, true, format);
    EXPECT_EQ(tens.decimals, 0);
    EXPECT_EQ(tens.texts, (QStringList{"0", "3", "7", "10"}));

    const TickLabels unit = numericLabels(numberOfTicks(0, 1, 4, false), 0, true, format);
    EXPECT_EQ(unit.decimals, 1);
    EXPECT_EQ(unit.texts.size(), 5);
    EXPECT_EQ(unit.texts.front(), QStringLiteral("0.0"));
    EXPECT_EQ(unit.texts.back(), QStringLiteral("1.0"));

    // Without the raise (Y axis), the property's count stands.
    EXPECT_EQ(numericLabels(numberOfTicks(0, 1, 4, true), 0, false, format).decimals, 0);
    // Labels that never differ stop at six places.
    EXPECT_EQ(numericLabels({1.0, 1.0}, 2, true, format).decimals, MaxLabelDecimals);
}

TEST(GraphScale, NumbersUseTheLocaleSeparatorAndNoGrouping) {
    NumberFormat format;
    format.decimalSeparator = QStringLiteral(",");
    EXPECT_EQ(formatNumber(12345.678, 2, format), QStringLiteral("12345,68"));
    EXPECT_EQ(formatNumber(-0.5, 1, format), QStringLiteral("-0,5"));
    EXPECT_EQ(formatNumber(3, 0, format), QStringLiteral("3"));
    EXPECT_TRUE(numberFormatFromLocale().thousandsSeparator.isEmpty());
    EXPECT_EQ(numberFormatFromLocale().decimalSeparator, QLocale::system().decimalPoint());
}

} // namespace
