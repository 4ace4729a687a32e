// The baseline and change alarms and the spectral bands: statistics to float precision, the σ floor
// of a flat baseline, the change ratios against the baseline or the previous reading, refusals of
// unusable settings and bands, and band status at, under and over its limits.
#include "analysis/BaselineAlarms.h"
#include "analysis/SpectralBands.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantor {
namespace {

std::vector<MeasureSample> Samples(std::initializer_list<double> values) {
    std::vector<MeasureSample> samples;
    QDateTime taken(QDate(2026, 1, 1), QTime(8, 0));
    for (const double value : values) {
        samples.push_back({taken, value});
        taken = taken.addDays(7);
    }
    return samples;
}

BaselineSettings Iso(int readings) {
    BaselineSettings s;
    s.measure = {MeasureKind::IsoVelocity, std::nullopt};
    s.baselineReadings = readings;
    return s;
}

TEST(BaselineAlarmsTest, SixReadingsGiveMeanPlusKSigmaToFloatPrecision) {
    const std::vector<double> values = {2.0, 2.2, 1.9, 2.1, 2.4, 2.0};
    const std::optional<BaselineStatistics> b = ComputeBaseline(values, 2, 3);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->count, 6);
    EXPECT_FLOAT_EQ(b->mean, 2.1f);
    // Sample standard deviation: sqrt(0.16 / 5).
    EXPECT_FLOAT_EQ(b->sigma, static_cast<float>(std::sqrt(0.032)));
    EXPECT_FLOAT_EQ(b->warning, static_cast<float>(2.1 + 2 * std::sqrt(0.032)));
    EXPECT_FLOAT_EQ(b->critical, static_cast<float>(2.1 + 3 * std::sqrt(0.032)));

    // A flat baseline alarms at 5 % of the mean per σ, not on the meter's last digit.
    const std::vector<double> flat = {2.0, 2.0, 2.0};
    const std::optional<BaselineStatistics> f = ComputeBaseline(flat, 2, 3);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->sigma, 0);
    EXPECT_DOUBLE_EQ(f->warning, 2.2);
    EXPECT_DOUBLE_EQ(f->critical, 2.3);

    const std::vector<double> two = {2.0, 2.1};
    EXPECT_FALSE(ComputeBaseline(two, 2, 3));
    const std::vector<double> notFinite = {2.0, NAN, 2.1};
    EXPECT_FALSE(ComputeBaseline(notFinite, 2, 3));
}

TEST(BaselineAlarmsTest, VerdictsOfTheStatisticalAndTheChangeAlarm) {
    struct Case {
        const char* name;
        std::vector<MeasureSample> samples;
        BaselineSettings settings;
        std::optional<StatusCode> statistical; // none: no outcome at all
        StatusCode change;
        const char* reason; // part of the combined reason
    };
    BaselineSettings byDates = Iso(0);
    byDates.baselineFrom = QDateTime(QDate(2026, 1, 8), QTime(0, 0));
    byDates.baselineTo = QDateTime(QDate(2026, 1, 29), QTime(0, 0));
    const Case cases[] = {
        {"within the baseline", Samples({1, 1.1, 0.9, 1, 1.05}), Iso(3), StatusCode::Ok, StatusCode::Ok, ""},
        // Mean 1, σ 0.1: warning from 1.2, critical from 1.3.
        {"over mean + 2σ", Samples({0.9, 1.0, 1.1, 1.21}), Iso(3), StatusCode::Warning, StatusCode::Ok,
         "ISO velocity 1.21 ≥ baseline + 2σ 1.2"},
        {"over mean + 3σ", Samples({0.9, 1.0, 1.1, 1.31}), Iso(3), StatusCode::Critical, StatusCode::Ok,
         "+ 3σ"},
        {"doubled against the baseline", Samples({0.9, 1.0, 1.1, 2.1}), Iso(3), StatusCode::Critical,
         StatusCode::Warning, "+ 3σ"},
        // A flat baseline (σ floor 0.05) and a fourfold reading: both critical, the statistical named.
        {"fourfold", Samples({1, 1, 1, 4.5}), Iso(3), StatusCode::Critical, StatusCode::Critical,
         "+ 3σ 1.15"},
        // Without a baseline the previous reading is the reference.
        {"doubled against the previous", Samples({1.0, 1.0, 1.1, 2.3}), Iso(0), StatusCode::Ok,
         StatusCode::Warning, "ISO velocity 2.1× previous"},
        {"fourfold against the previous", Samples({1.0, 4.0}), Iso(0), StatusCode::Ok, StatusCode::Critical,
         "4.0× previous"},
        {"just under double", Samples({1.0, 1.99}), Iso(0), StatusCode::Ok, StatusCode::Ok, ""},
        {"a single reading", Samples({5.0}), Iso(0), StatusCode::Ok, StatusCode::Ok, ""},
        // The dates pick readings 2 to 5 (1.0, 1.1, 0.9, 1.0).
        {"by dates", Samples({5, 1.0, 1.1, 0.9, 1.0, 1.5}), byDates, StatusCode::Critical, StatusCode::Ok,
         "+ 3σ"},
        // A baseline set but with fewer than three readings: no verdict, the documented status stays.
        {"too short a baseline", Samples({1, 3}), Iso(6), std::nullopt, StatusCode::Ok, ""},
    };
    for (const Case& c : cases) {
        const std::optional<BaselineOutcome> outcome = JudgeBaseline(c.samples, c.settings);
        ASSERT_EQ(outcome.has_value(), c.statistical.has_value()) << c.name;
        if (!outcome) {
            continue;
        }
        EXPECT_EQ(outcome->statistical.code, *c.statistical) << c.name;
        EXPECT_EQ(outcome->change.code, c.change) << c.name;
        EXPECT_EQ(outcome->code, std::max(*c.statistical, c.change)) << c.name;
        EXPECT_TRUE(outcome->reason.contains(QString::fromUtf8(c.reason)))
            << c.name << ": " << outcome->reason.toStdString();
    }
}

TEST(BaselineAlarmsTest, UnusableSettingsAreRefused) {
    const auto with = [](auto change) {
        BaselineSettings s = Iso(6);
        change(s);
        return CheckBaselineSettings(s).has_value();
    };
    EXPECT_FALSE(with([](BaselineSettings&) {}));
    EXPECT_TRUE(with([](BaselineSettings& s) { s.baselineReadings = 2; }));
    EXPECT_TRUE(with([](BaselineSettings& s) { s.sigmaCritical = 1; }));
    EXPECT_TRUE(with([](BaselineSettings& s) { s.sigmaWarning = NAN; }));
    EXPECT_TRUE(with([](BaselineSettings& s) { s.changeWarning = 1; }));
    EXPECT_TRUE(with([](BaselineSettings& s) { s.changeCritical = 1.5; }));
    EXPECT_TRUE(with([](BaselineSettings& s) {
        s.baselineReadings = 0;
        s.baselineFrom = QDateTime(QDate(2026, 2, 1), QTime(0, 0));
        s.baselineTo = QDateTime(QDate(2026, 1, 1), QTime(0, 0));
    }));
}

TEST(BaselineAlarmsTest, MeasureNamesRoundTrip) {
    for (const AlarmMeasure& measure : AllAlarmMeasures()) {
        EXPECT_EQ(AlarmMeasureNamed(AlarmMeasureName(measure)), measure)
            << AlarmMeasureName(measure).toStdString();
        EXPECT_FALSE(AlarmMeasureCaption(measure).isEmpty());
    }
    EXPECT_EQ(AllAlarmMeasures().size(), 11U);
    EXPECT_FALSE(AlarmMeasureNamed(QStringLiteral("velocity")));
}

TEST(SpectralBandsTest, StatusOfALineUnderAtAndOverTheLimits) {
    // Lines 1 Hz apart; the band 9–11 Hz holds lines 9, 10, 11.
    std::vector<double> amplitudes(50, 0.1);
    SpectralBand band{9, 11, false, BandSpectrum::Iso, 2.0, 4.0, BandValue::Peak};
    struct Case {
        double line;
        StatusCode expected;
    };
    const Case cases[] = {
        {1.999, StatusCode::Ok},      {2.0, StatusCode::Warning},  {2.001, StatusCode::Warning},
        {3.999, StatusCode::Warning}, {4.0, StatusCode::Critical}, {4.001, StatusCode::Critical},
    };
    for (const Case& c : cases) {
        amplitudes[10] = c.line;
        const SpectrumLines lines{amplitudes, 1.0, 0, 50};
        const BandVerdict verdict = JudgeSpectralBand(lines, 25, band, 1);
        EXPECT_EQ(verdict.code, c.expected) << c.line;
        EXPECT_EQ(verdict.lines, 3);
        EXPECT_DOUBLE_EQ(verdict.peakHz, 10);
        EXPECT_EQ(verdict.reason.isEmpty(), c.expected == StatusCode::Ok) << c.line;
    }
    // The RMS of the band's three lines, and the same band in orders of a 10 Hz run speed.
    amplitudes[10] = 3.0;
    band.value = BandValue::Rms;
    band.from = 0.9;
    band.to = 1.1;
    band.orders = true;
    const BandVerdict rms = JudgeSpectralBand(SpectrumLines{amplitudes, 1.0, 0, 50}, 10, band, 2);
    EXPECT_DOUBLE_EQ(rms.value, std::sqrt(9.0 + 0.01 + 0.01));
    EXPECT_EQ(rms.code, StatusCode::Warning);
    EXPECT_TRUE(rms.reason.startsWith(QStringLiteral("Band 2 (ISO 0.9–1.1× RMS)")))
        << rms.reason.toStdString();
    // A band past the spectrum's lines holds none and judges nothing.
    band.orders = false;
    band.from = 60;
    band.to = 70;
    EXPECT_EQ(JudgeSpectralBand(SpectrumLines{amplitudes, 1.0, 0, 50}, 10, band, 3).code,
              StatusCode::NoReadings);
}

TEST(SpectralBandsTest, BandsBeyondFmaxOrWithCriticalBelowWarningAreRefused) {
    const SpectralBand good{10, 100, false, BandSpectrum::Total, 1, 2, BandValue::Peak};
    EXPECT_FALSE(CheckSpectralBand(good, 1000, 25));
    const auto refused = [&](auto change, double fmax = 1000, double runSpeed = 25) {
        SpectralBand band = good;
        change(band);
        return CheckSpectralBand(band, fmax, runSpeed).has_value();
    };
    EXPECT_TRUE(refused([](SpectralBand& b) { b.to = 1000.5; }));
    EXPECT_FALSE(refused([](SpectralBand& b) { b.to = 1000; }));
    EXPECT_TRUE(refused([](SpectralBand& b) { b.critical = 0.5; }));
    EXPECT_TRUE(refused([](SpectralBand& b) { b.from = 100; }));
    EXPECT_TRUE(refused([](SpectralBand& b) { b.from = -1; }));
    EXPECT_TRUE(refused([](SpectralBand& b) { b.warning = NAN; }));
    // In orders: 41× of 25 Hz passes 1000 Hz; without a run speed orders mean nothing.
    EXPECT_TRUE(refused([](SpectralBand& b) { b.orders = true, b.from = 1, b.to = 41; }));
    EXPECT_FALSE(refused([](SpectralBand& b) { b.orders = true, b.from = 1, b.to = 40; }));
    EXPECT_TRUE(refused([](SpectralBand& b) { b.orders = true, b.from = 1, b.to = 2; }, 1000, 0));
    EXPECT_EQ(BandSpectrumNamed(QStringLiteral("envelope")), BandSpectrum::Envelope);
    EXPECT_FALSE(BandSpectrumNamed(QStringLiteral("velocity")));
}

} // namespace
} // namespace vantor
