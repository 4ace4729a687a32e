// Axis scaling, the displayed spectrum of each measure and the Top 10 Peaks list.
#include "analysis/AxisScale.h"
#include "analysis/DisplayedSpectrum.h"
#include "analysis/TopPeaks.h"
#include "analysis/ViewData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantor {
namespace {

TEST(AxisScaleTest, TickSteps) {
    struct Case {
        double minimum, maximum;
        bool rpm;
        double step;
    };
    const Case cases[] = {
        {0, 1000, false, 100},  {0, 60000, true, 6000},   {0, 5, false, 0.5},       {0, 10, false, 1},
        {0, 10.5, false, 2},    {0, 60000, false, 10000}, {0, 50001, false, 10000}, {0, 50000, false, 5000},
        {0, 600, true, 60},     {0, 601, true, 120},      {100, 400, false, 50},    {0, 4e6, true, 600000},
        {0, 3e6, true, 300000},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(AxisTickStep(c.minimum, c.maximum, c.rpm), c.step) << c.minimum << '-' << c.maximum;
    }
}

TEST(AxisScaleTest, LabelDecimals) {
    const std::pair<double, int> frequency[] = {{0.5, 2}, {1, 2}, {1.01, 1}, {10, 1}, {10.5, 0}, {60000, 0}};
    for (const auto& [maximum, decimals] : frequency) {
        EXPECT_EQ(AxisDecimals(maximum), decimals) << maximum;
    }
    const std::pair<double, int> amplitude[] = {{0.005, 3}, {0.01, 3}, {0.02, 2}, {1, 2},
                                                {5, 1},     {10, 1},   {11, 0}};
    for (const auto& [maximum, decimals] : amplitude) {
        EXPECT_EQ(AmplitudeAxisDecimals(maximum), decimals) << maximum;
    }
}

// A spectrum of `lines` lines at `spacing` Hz with the given lines set.
DisplayedSpectrum Spectrum(float spacing, int lines, std::vector<std::pair<int, double>> peaks) {
    DisplayedSpectrum s;
    s.kind = MeasureKind::Acceleration;
    s.lines.assign(static_cast<std::size_t>(lines), 0.0);
    for (const auto& [line, value] : peaks) {
        s.lines[static_cast<std::size_t>(line)] = value;
    }
    s.range = {0, lines};
    s.lineSpacingHz = spacing;
    return s;
}

TEST(TopPeaksTest, SlotsFillInOrderThenTheSmallestIsReplaced) {
    // Twelve peaks; the 11th (0.9) replaces the first of the two smallest (0.2 in slot 1), the 12th
    // (0.15) is smaller than every slot and is dropped.
    std::vector<std::pair<int, double>> peaks;
    const double amplitudes[] = {0.5, 0.2, 0.6, 0.7, 0.2, 0.8, 0.3, 0.4, 0.55, 0.65, 0.9, 0.15};
    for (int i = 0; i < 12; ++i) {
        peaks.emplace_back(10 * (i + 1), amplitudes[i]);
    }
    const PeakList list = FindTopPeaks(Spectrum(1.0f, 200, peaks));
    EXPECT_FLOAT_EQ(list.peaks[1].frequency, 110.0f);
    EXPECT_FLOAT_EQ(list.peaks[1].amplitude, 0.9f);
    EXPECT_FLOAT_EQ(list.peaks[4].amplitude, 0.2f);
    EXPECT_EQ(list.smallest, 4);
    EXPECT_FLOAT_EQ(list.peaks[9].frequency, 100.0f);
    EXPECT_EQ(list.frequencyDecimals, 0);
    EXPECT_EQ(list.amplitudeDecimals, 2); // 0.55 and 0.6 both read 0.6 with one decimal
}

TEST(TopPeaksTest, RangeEdgesAndPlateaus) {
    DisplayedSpectrum s = Spectrum(1.0f, 10, {{2, 1.0}, {3, 1.0}, {5, 2.0}, {9, 0.5}});
    s.range = {5, 9}; // line 5 at the range's lower edge: its outside neighbour counts as 0
    PeakList list = FindTopPeaks(s);
    EXPECT_FLOAT_EQ(list.peaks[0].amplitude, 2.0f);
    EXPECT_FLOAT_EQ(list.peaks[1].amplitude, 0.0f);
    s.range = {0, 10};
    list = FindTopPeaks(s); // the 1.0, 1.0 plateau is no peak
    EXPECT_FLOAT_EQ(list.peaks[0].frequency, 5.0f);
    EXPECT_FLOAT_EQ(list.peaks[1].frequency, 9.0f);
    EXPECT_EQ(list.smallest, 2);
    // Fewer than ten peaks: the empty peaks read alike at any precision.
    EXPECT_EQ(list.frequencyDecimals, 6);
    EXPECT_EQ(list.amplitudeDecimals, 6);
}

TEST(TopPeaksTest, DecimalsUntilTheSortedValuesDiffer) {
    const std::array<float, 10> distinct{5, 3, 1, 2, 4, 6, 7, 8, 9, 10};
    EXPECT_EQ(DistinctDecimals(distinct), 0);
    std::array<float, 10> close = distinct;
    close[0] = 24.3f;
    close[1] = 24.4f;
    EXPECT_EQ(DistinctDecimals(close), 1);
    close[1] = 24.3001f;
    EXPECT_EQ(DistinctDecimals(close), 4);
    close[1] = 24.3f;
    EXPECT_EQ(DistinctDecimals(close), 6);

    // Peaks at 24.3 and 24.4 Hz (lines 486 and 488 at 0.05 Hz) force one decimal on every frequency.
    std::vector<std::pair<int, double>> peaks{{486, 1.0}, {488, 2.0}};
    for (int i = 0; i < 8; ++i) {
        peaks.emplace_back(600 + 40 * i, 3.0 + i);
    }
    const PeakList list = FindTopPeaks(Spectrum(0.05f, 1000, peaks));
    EXPECT_EQ(list.frequencyDecimals, 1);
    EXPECT_EQ(PeakText(list.peaks[0].frequency, 1, QLocale::c()), QStringLiteral("24.3"));
    EXPECT_EQ(PeakText(list.peaks[2].frequency, 1, QLocale::c()), QStringLiteral("30.0"));
    EXPECT_EQ(PeakText(1234.5f, 1, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("1.234,5"));
}

// A peak's frequency shows at the spectrum's resolution: on 1.25 Hz lines 12.5 and 23.75, never
// "12" or "24" although the list as a whole needs no decimals to tell its peaks apart; in CPM
// (75 CPM lines) no decimals at all.
TEST(TopPeaksTest, FrequenciesShowAtTheLinesResolution) {
    std::vector<std::pair<int, double>> peaks;
    const int lines[] = {10, 19, 24, 30, 40, 50, 59, 70, 80, 90};
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        peaks.emplace_back(lines[i], 10.0 - static_cast<double>(i));
    }
    struct Case {
        float factor;
        QStringList texts;
    };
    const Case cases[] = {
        {1.0f, {"12.5", "23.75", "30", "37.5", "50", "62.5", "73.75", "87.5", "100", "112.5"}},
        {60.0f, {"750", "1425", "1800", "2250", "3000", "3750", "4425", "5250", "6000", "6750"}},
    };
    for (const Case& c : cases) {
        DisplayedSpectrum spectrum = Spectrum(1.25f, 100, peaks);
        spectrum.frequencyFactor = c.factor;
        const PeakList list = FindTopPeaks(spectrum);
        EXPECT_EQ(list.frequencyDecimals, 0);
        QStringList texts;
        for (const PeakSlot& peak : list.peaks) {
            texts << PeakText(peak.frequency, peak.frequencyDecimals, QLocale::c());
        }
        EXPECT_EQ(texts, c.texts) << c.factor;
    }
    const std::pair<double, int> exact[] = {{25, 0}, {12.5, 1}, {23.75, 2}, {0.1f, 1}, {1.0 / 3, 6}, {75, 0}};
    for (const auto& [value, decimals] : exact) {
        EXPECT_EQ(ExactDecimals(value), decimals) << value;
    }
}

ReadingSignals Signals() {
    ReadingSignals s;
    s.runSpeedHz = 25.0f;
    s.iso.fmaxHz = 500.0f;
    s.iso.lineCount = 400; // 1.25 Hz
    s.iso.lowCutoffHz = 10.0f;
    s.iso.spectrum.assign(400, 0.0);
    s.iso.spectrum[4] = 9.0;   // 5 Hz, below the cut-off
    s.iso.spectrum[20] = 2.54; // 25 Hz
    s.total.fmaxHz = 1000.0f;
    s.total.lineCount = 800;
    s.total.spectrum.assign(800, 0.0);
    s.total.spectrum[3] = 0.25;
    return s;
}

TEST(DisplayedSpectrumTest, ChannelRangeAndUnitsPerMeasure) {
    const DisplayUnits imperialRpm(FrequencyUnit::Rpm, AmplitudeUnit::Imperial);
    const auto iso = MakeDisplayedSpectrum(Signals(), MeasureKind::IsoVelocity, imperialRpm, false);
    ASSERT_TRUE(iso);
    EXPECT_EQ(iso->range.first, 8);
    EXPECT_EQ(iso->range.end, 400);
    EXPECT_NEAR(iso->lines[20], 0.1, 1e-6);
    EXPECT_FLOAT_EQ(iso->FrequencyOf(20), 1500.0f);
    const auto band = MakeDisplayedSpectrum(Signals(), MeasureKind::VaBand1, imperialRpm, false);
    EXPECT_EQ(band->range.first, 10); // 12.5 Hz
    EXPECT_EQ(band->range.end, 30);   // 37.5 Hz
    const auto total = MakeDisplayedSpectrum(Signals(), MeasureKind::Acceleration, imperialRpm, false);
    EXPECT_EQ(total->range.first, 0);
    EXPECT_EQ(total->range.end, 800);
    EXPECT_DOUBLE_EQ(total->lines[3], 0.25); // g is never converted
    EXPECT_FALSE(MakeDisplayedSpectrum(Signals(), MeasureKind::BearingNoise, imperialRpm, false));
    // Consolidated over the shown range only: the line below the cut-off is cleared, the peak kept.
    const auto consolidated =
        MakeDisplayedSpectrum(Signals(), MeasureKind::IsoVelocity, DisplayUnits(), true);
    EXPECT_EQ(consolidated->lines[4], 0.0);
    EXPECT_NEAR(consolidated->lines[20], 2.54, 1e-6);

    const auto captions = PeakColumnCaptions(MeasureKind::VaBand3, imperialRpm);
    EXPECT_EQ(captions[0], QStringLiteral("Frequency (RPM)"));
    EXPECT_EQ(captions[1], QStringLiteral("Amplitude (inch/s)"));
    EXPECT_EQ(PeakColumnCaptions(MeasureKind::Acceleration, DisplayUnits())[1],
              QStringLiteral("Amplitude (g)"));
    EXPECT_EQ(PeakColumnCaptions(MeasureKind::Displacement, DisplayUnits())[1],
              QStringLiteral("Amplitude (µm)"));
}

TEST(ViewDataTest, SpectrumAxesBandsAndRunSpeedInDisplayUnits) {
    const auto view = MakeSpectrumViewData(Signals(), MeasureKind::IsoVelocity,
                                           DisplayUnits(FrequencyUnit::Rpm, {}), false);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->x.size(), 392u);
    EXPECT_DOUBLE_EQ(view->x.front(), 8 * 1.25 * 60);
    EXPECT_DOUBLE_EQ(view->xAxis.maximum, 30000);
    EXPECT_DOUBLE_EQ(view->xAxis.tickStep, 3000);
    EXPECT_EQ(view->xAxis.decimals, 0);
    EXPECT_NEAR(view->yAxis.maximum, 2.54, 1e-9);
    EXPECT_EQ(view->yAxis.decimals, 1);
    EXPECT_DOUBLE_EQ(view->runSpeed, 1500);
    ASSERT_EQ(view->bands.size(), 3u);
    EXPECT_DOUBLE_EQ(view->bands[1].low, 2250);
    EXPECT_DOUBLE_EQ(view->bands[1].high, 3750);
}

TEST(ViewDataTest, TrendInDisplayUnitsWithAlarmLevelsAndLine) {
    CVib point;
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 25.4f;
    point.fISOCriticalMMS = 50.8f;
    const QDateTime day0(QDate(2024, 3, 1), QTime(12, 0));
    const TrendSamples samples = MakeTrendSamples({{QStringLiteral("a"), day0, 2.54f},
                                                   {QStringLiteral("b"), day0.addDays(1), -100.0f},
                                                   {QStringLiteral("c"), day0.addDays(2), 7.62f}});
    TrendLineSettings settings;
    settings.mode = ProjectionMode::Days;
    settings.days = 3;
    const TrendLine line = FitTrendLine(samples, settings, std::nullopt);
    const TrendViewData view = MakeTrendViewData(point, MeasureKind::IsoVelocity, samples, line,
                                                 DisplayUnits({}, AmplitudeUnit::Imperial));
    EXPECT_EQ(view.x, (std::vector<double>{720, 2 * 1440 + 720})); // the no-value sample is not plotted
    EXPECT_NEAR(view.y[1], 0.3, 1e-6);
    EXPECT_NEAR(*view.warning, 1.0, 1e-6);
    EXPECT_NEAR(*view.critical, 2.0, 1e-6);
    ASSERT_EQ(view.lineX.size(), 2u);
    EXPECT_EQ(view.lineX.back(), 5 * 1440 + 720);
    EXPECT_NEAR(view.lineY.back(), 0.6, 1e-6);
    EXPECT_EQ(view.xAxis.minimum, 0);
    EXPECT_EQ(view.xAxis.maximum, 6 * 1440);
    EXPECT_NEAR(view.yAxis.maximum, 2.0, 1e-6);
    EXPECT_EQ(view.yLabel, QStringLiteral("inch/s"));
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

// The waveform's amplitude axis: symmetric, beyond the largest swing, a whole number of round ticks.
TEST(ViewDataTest, WaveformAxisHoldsTheSwingOnRoundTicks) {
    for (const double swing : {0.0031, 0.3, 0.97, 5.8, 42.0, 730.0}) {
        ReadingSignals decoded;
        decoded.total.samplingFrequencyHz = 1000;
        decoded.total.waveform = {0.0, swing, -0.5 * swing, 0.0};
        const WaveformViewData view = MakeWaveformViewData(decoded);
        const AxisRange& y = view.yAxis;
        EXPECT_DOUBLE_EQ(y.minimum, -y.maximum) << swing;
        EXPECT_GT(y.maximum, swing) << swing;
        EXPECT_LT(y.maximum, 3 * swing) << swing;
        const double ticks = (y.maximum - y.minimum) / y.tickStep;
        EXPECT_NEAR(ticks, std::round(ticks), 1e-6) << swing;
        const double mantissa = y.tickStep / std::pow(10.0, std::floor(std::log10(y.tickStep) + 1e-9));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                    std::fabs(mantissa - 5) < 1e-6)
            << swing << " step " << y.tickStep;
    }
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

TEST(ViewDataTest, AmplitudeTicksAreRound) {
    // The decimals are at least those the step needs, so consecutive labels always differ.
    const struct {
        double largest;
        double step;
        int decimals;
    } cases[] = {{1.8, 0.2, 1},       {0.37, 0.05, 2}, {0.044, 0.005, 3},
                 {0.0042, 0.0005, 4}, {27.0, 5.0, 0},  {160.0, 20.0, 0}};
    for (const auto& c : cases) {
        const AxisRange axis = AmplitudeAxis(0, c.largest);
        EXPECT_NEAR(axis.tickStep, c.step, 1e-12) << c.largest;
        EXPECT_EQ(axis.decimals, c.decimals) << c.largest;
    }
}

} // namespace
} // namespace vantor
