// Trend samples, the two fitting routines, the elimination they rest on and the projection of the line.
#include "analysis/TrendFit.h"
#include "analysis/TrendProjection.h"
#include "analysis/ViewTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vantor {
namespace {

const QDateTime kDay0(QDate(2024, 3, 1), QTime(10, 0));

TrendReading At(int days, float value, QTime time = QTime(10, 0)) {
    return {QStringLiteral("r%1").arg(days), QDateTime(kDay0.date().addDays(days), time), value};
}

TrendLine Fit(const std::vector<TrendReading>& readings, TrendLineSettings settings = {},
              std::optional<double> target = std::nullopt, const QDateTime& from = {}) {
    settings.from = from;
    return FitTrendLine(MakeTrendSamples(readings, from), settings, target);
}

TEST(TrendSamplesTest, MinutesAfterTheFirstDaysMidnightAndMasks) {
    const QDateTime from(QDate(2024, 3, 2), QTime(0, 0));
    const TrendSamples s = MakeTrendSamples(
        {At(0, 1.0f), At(1, -100.0f, QTime(0, 0, 59)), At(2, 3.0f, QTime(23, 59, 59))}, from);
    EXPECT_EQ(s.reference, QDateTime(QDate(2024, 3, 1), QTime(0, 0)));
    EXPECT_EQ(s.x, (std::vector<double>{600, 1440, 2 * 1440 + 23 * 60 + 59}));
    EXPECT_EQ(s.y, (std::vector<double>{1.0, -100.0, 3.0}));
    EXPECT_EQ(s.mask, (std::vector<int>{0, 0, 1})); // before From, no value, kept
    EXPECT_EQ(TrendDateTime(s.reference, 600.5), QDateTime(QDate(2024, 3, 1), QTime(10, 0, 30)));
    EXPECT_TRUE(MakeTrendSamples({}).samples.empty());
}

TEST(TrendFitTest, ValuesOneTwoThreeOnConsecutiveDays) {
    const TrendSamples s = MakeTrendSamples({At(0, 1), At(1, 2), At(2, 3)});
    for (const int n : {0, 2, 3}) { // the straight line, then polynomials of 2 and 3 coefficients
        TrendLineSettings settings;
        settings.fit = n == 0 ? TrendFitKind::Linear : TrendFitKind::Polynomial;
        settings.coefficientCount = n;
        const TrendLine line = FitTrendLine(s, settings, std::nullopt);
        ASSERT_EQ(line.result, 0) << n;
        EXPECT_NEAR(line.coefficients[1], 1.0 / 1440, 1e-12) << n;
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            EXPECT_NEAR(line.ValueAt(s.x[i]), s.y[i], 1e-9) << n;
        }
        EXPECT_EQ(line.endX, s.x.back());
        EXPECT_EQ(line.startX, s.x.front());
    }
}

TEST(TrendFitTest, NoValueAndReadingsBeforeFromDoNotMoveTheLine) {
    const TrendLine clean = Fit({At(3, 1), At(4, 2), At(5, 3)});
    const TrendLine masked =
        Fit({At(0, 50), At(1, -7), At(3, 1), At(4, 2), At(4, -100.0f, QTime(12, 0)), At(5, 3)}, {},
            std::nullopt, QDateTime(kDay0.date().addDays(3), QTime(0, 0)));
    ASSERT_EQ(masked.result, 0);
    EXPECT_NEAR(masked.coefficients[1], clean.coefficients[1], 1e-12);
    EXPECT_NEAR(masked.ValueAt(5 * 1440 + 600), 3.0, 1e-9);
    EXPECT_EQ(masked.startX, 3 * 1440 + 600); // the first sample taking part
}

TEST(TrendFitTest, BadInputFails) {
    const std::vector<double> x{1, 2, 3};
    const std::vector<double> y{1, 2, 3};
    double slope = 0;
    double intercept = 0;
    struct Case {
        std::vector<double> x, y;
        std::vector<int> mask;
        std::size_t coefficients;
    };
    const Case cases[] = {
        {{1, 2, 3}, {1, 2}, {1, 1, 1}, 2},    // lengths differ
        {{1, 2, 3}, {1, 2, 3}, {1, 1}, 2},    // mask length differs
        {{1}, {1}, {1}, 2},                   // one sample
        {{1, 2, 3}, {1, 2, 3}, {0, 1, 0}, 2}, // one masked in
    };
    for (const Case& c : cases) {
        std::vector<double> coefficients(c.coefficients);
        EXPECT_EQ(FitLine(c.x, c.y, c.mask, slope, intercept), kFitFailed);
        EXPECT_EQ(FitPolynomial(c.x, c.y, c.mask, coefficients), kFitFailed);
    }
    const std::vector<int> two{1, 0, 1};
    for (const std::size_t n : {1u, 3u, 8u}) { // two masked-in samples carry at most 2 coefficients
        std::vector<double> coefficients(n);
        EXPECT_EQ(FitPolynomial(x, y, two, coefficients), kFitFailed) << n;
    }
    std::vector<double> coefficients(2);
    EXPECT_EQ(FitPolynomial(x, y, two, coefficients), kFitSucceeded);
    EXPECT_EQ(FitLine(x, y, two, slope, intercept), kFitSucceeded);
}

// Least squares through a QR decomposition (modified Gram-Schmidt) of the design matrix, which
// never forms the normal equations.
std::vector<double> QrLeastSquares(const std::vector<double>& x, const std::vector<double>& y,
                                   std::size_t n) {
    const std::size_t m = x.size();
    std::vector<std::vector<double>> q(n, std::vector<double>(m));
    std::vector<std::vector<double>> r(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            q[j][i] = std::pow(x[i], static_cast<double>(j));
        }
    }
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t k = 0; k < j; ++k) {
            double dot = 0;
            for (std::size_t i = 0; i < m; ++i) {
                dot += q[k][i] * q[j][i];
            }
            r[k][j] = dot;
            for (std::size_t i = 0; i < m; ++i) {
                q[j][i] -= dot * q[k][i];
            }
        }
        double norm = 0;
        for (std::size_t i = 0; i < m; ++i) {
            norm += q[j][i] * q[j][i];
        }
        r[j][j] = std::sqrt(norm);
        for (std::size_t i = 0; i < m; ++i) {
            q[j][i] /= r[j][j];
        }
    }
    std::vector<double> c(n);
    for (std::size_t j = n; j-- > 0;) {
        double sum = 0;
        for (std::size_t i = 0; i < m; ++i) {
            sum += q[j][i] * y[i];
        }
        for (std::size_t k = j + 1; k < n; ++k) {
            sum -= r[j][k] * c[k];
        }
        c[j] = sum / r[j][j];
    }
    return c;
}

TEST(TrendFitTest, PolynomialAgreesWithAnIndependentLeastSquaresSolution) {
    std::vector<double> x;
    std::vector<double> y;
    unsigned state = 12345;
    for (int i = 0; i < 40; ++i) {
        state = state * 1103515245u + 12345u;
        const double noise = (static_cast<double>(state >> 16 & 0x7FFF) / 32767.0 - 0.5) * 0.8;
        const double t = -3.0 + 0.17 * i;
        x.push_back(t);
        y.push_back(2.0 - 1.5 * t + 0.25 * t * t + 0.1 * t * t * t + noise);
    }
    const std::vector<int> mask(x.size(), 1);
    for (const std::size_t n : {2u, 3u, 4u, 6u}) {
        std::vector<double> fitted(n);
        ASSERT_EQ(FitPolynomial(x, y, mask, fitted), kFitSucceeded);
        const std::vector<double> expected = QrLeastSquares(x, y, n);
        for (std::size_t j = 0; j < n; ++j) {
            EXPECT_NEAR(fitted[j], expected[j], 1e-8 * std::max(1.0, std::fabs(expected[j])))
                << n << ' ' << j;
        }
    }
}

TEST(GaussJordanTest, SolvesWithPivotingAndLeavesTheInverse) {
    // The leading zero needs a pivot elsewhere.
    SquareMatrix a(3);
    const double values[3][3] = {{0, 2, 1}, {1, 1, 0}, {3, 0, 1}};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            a(r, c) = values[r][c];
        }
    }
    std::vector<double> b{7, 3, 6}; // x = 1, 2, 3
    ASSERT_TRUE(GaussJordan(a, b));
    EXPECT_NEAR(b[0], 1, 1e-12);
    EXPECT_NEAR(b[1], 2, 1e-12);
    EXPECT_NEAR(b[2], 3, 1e-12);
    for (std::size_t r = 0; r < 3; ++r) { // a now holds the inverse
        for (std::size_t c = 0; c < 3; ++c) {
            double product = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                product += values[r][k] * a(k, c);
            }
            EXPECT_NEAR(product, r == c ? 1.0 : 0.0, 1e-12);
        }
    }

    SquareMatrix singular(2);
    singular(0, 0) = singular(0, 1) = singular(1, 0) = singular(1, 1) = 1.0;
    std::vector<double> rhs{1, 2};
    EXPECT_FALSE(GaussJordan(singular, rhs));
    EXPECT_FALSE(std::isfinite(rhs[0]) && std::isfinite(rhs[1]));
}

TEST(TrendProjectionTest, WhereTheLineEnds) {
    const std::vector<TrendReading> rising{At(0, 1), At(1, 2), At(2, 3)};
    const std::vector<TrendReading> falling{At(0, 3), At(1, 2), At(2, 1)};
    const double last = 2 * 1440 + 600;
    struct Case {
        const char* name;
        const std::vector<TrendReading>& readings;
        TrendFitKind fit;
        ProjectionMode mode;
        std::optional<double> target;
        int days;
        double endX;
        bool missed;
    };
    const Case cases[] = {
        {"last", rising, TrendFitKind::Linear, ProjectionMode::LastPoint, 5.0, 0, last, false},
        {"days", rising, TrendFitKind::Linear, ProjectionMode::Days, std::nullopt, 7, last + 7 * 1440, false},
        {"linear to 5", rising, TrendFitKind::Linear, ProjectionMode::WarningPoint, 5.0, 0, 4 * 1440 + 600,
         false},
        {"at the last sample", rising, TrendFitKind::Linear, ProjectionMode::ValuePoint, 3.0, 0, last, false},
        {"already past", rising, TrendFitKind::Linear, ProjectionMode::ValuePoint, 2.0, 0, last, true},
        {"falling below an upper target", falling, TrendFitKind::Linear, ProjectionMode::WarningPoint, 4.5, 0,
         last, true},
        {"no limits for the measure", rising, TrendFitKind::Linear, ProjectionMode::CriticalPoint,
         std::nullopt, 0, last, true},
        {"polynomial to 5", rising, TrendFitKind::Polynomial, ProjectionMode::ValuePoint, 5.0, 0,
         4 * 1440 + 600, false},
        {"polynomial falling", falling, TrendFitKind::Polynomial, ProjectionMode::WarningPoint, 4.5, 0, last,
         true},
    };
    for (const Case& c : cases) {
        TrendLineSettings settings;
        settings.fit = c.fit;
        settings.coefficientCount = 2;
        settings.mode = c.mode;
        settings.days = c.days;
        const TrendLine line = Fit(c.readings, settings, c.target);
        ASSERT_TRUE(line.Drawn()) << c.name;
        EXPECT_NEAR(*line.endX, c.endX, 1e-6) << c.name;
        EXPECT_EQ(line.targetMissed, c.missed) << c.name;
    }
}

TEST(TrendProjectionTest, PolynomialCrossingIsSearchedForwardAndBounded) {
    const std::vector<double> parabola{1.0, 0.0, 1e-6}; // 1 + 1e-6 x², rising for x > 0
    const std::optional<double> x = PolynomialCrossing(parabola, 5.0, 100.0);
    ASSERT_TRUE(x);
    EXPECT_NEAR(*x, 2000.0, 1e-6);
    // Behind the start does not count; beyond 10000 days is not searched.
    EXPECT_FALSE(PolynomialCrossing(parabola, 5.0, 3000.0));
    EXPECT_FALSE(PolynomialCrossing({0.0, 1e-9}, 1.0, 0.0)); // reached after 694 444 days
    EXPECT_TRUE(PolynomialCrossing({0.0, 1e-7}, 1.0, 0.0));  // after 6 944 days
}

TEST(TrendProjectionTest, NonFiniteCoefficientsDrawNothingAndReportNothing) {
    // Every sample in the reference's first minute (x = 0): the slope is 0/0, the normal equations singular.
    TrendLineSettings settings;
    settings.mode = ProjectionMode::WarningPoint;
    for (const TrendFitKind fit : {TrendFitKind::Linear, TrendFitKind::Polynomial}) {
        settings.fit = fit;
        const TrendLine line =
            Fit({At(0, 1, QTime(0, 0)), At(0, 2, QTime(0, 0, 20)), At(0, 3, QTime(0, 0, 40))}, settings, 5);
        EXPECT_EQ(line.result, 0);
        EXPECT_FALSE(line.Drawn());
        EXPECT_FALSE(line.targetMissed);
    }
}

TEST(TrendProjectionTest, TargetsAndValidation) {
    CVib point;
    point.fISOWarningMMS = 2.8f;
    point.fISOCriticalMMS = 4.5f;
    point.fBDUWarning = 20;
    TrendLineSettings settings;
    settings.mode = ProjectionMode::WarningPoint;
    EXPECT_NEAR(*ProjectionTarget(settings, point, MeasureKind::VaBand2), 2.8, 1e-6);
    EXPECT_EQ(*ProjectionTarget(settings, point, MeasureKind::BearingNoise), 20);
    EXPECT_FALSE(ProjectionTarget(settings, point, MeasureKind::Acceleration));
    settings.mode = ProjectionMode::CriticalPoint;
    EXPECT_NEAR(*ProjectionTarget(settings, point, MeasureKind::IsoVelocity), 4.5, 1e-6);

    struct Case {
        ProjectionMode mode;
        double value;
        int days;
        std::optional<int> message;
    };
    const Case cases[] = {
        {ProjectionMode::Days, 0, 0, text::DaysBetween1And10000},
        {ProjectionMode::Days, 0, 1, std::nullopt},
        {ProjectionMode::Days, 0, 10000, std::nullopt},
        {ProjectionMode::Days, 0, 10001, text::DaysBetween1And10000},
        {ProjectionMode::ValuePoint, -0.5, 0, text::TrendValueMustBePositive},
        {ProjectionMode::ValuePoint, 0, 0, std::nullopt},
        {ProjectionMode::LastPoint, -1, -1, std::nullopt},
    };
    for (const Case& c : cases) {
        settings.mode = c.mode;
        settings.targetValue = c.value;
        settings.days = c.days;
        EXPECT_EQ(ValidateTrendLineSettings(settings), c.message)
            << static_cast<int>(c.mode) << ' ' << c.days;
    }
    EXPECT_EQ(UiText(text::DaysBetween1And10000), QStringLiteral("Days must be between 1 and 10000"));
}

} // namespace
} // namespace vantor
