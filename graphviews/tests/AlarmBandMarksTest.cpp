// A point's spectral alarm bands as the graph control's frequency bands: which bands a spectrum
// shows, in which units, and what the control holds afterwards.
#include "graphviews/AlarmBandMarks.h"
#include "graphviews/GraphViews.h"

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

SpectralBand Band(double from, double to, bool orders, BandSpectrum spectrum, double warning) {
    SpectralBand band;
    band.from = from;
    band.to = to;
    band.orders = orders;
    band.spectrum = spectrum;
    band.warning = warning;
    band.critical = warning * 2;
    return band;
}

const SpectralBand kIsoHz = Band(5, 20, false, BandSpectrum::Iso, 2.0);
const SpectralBand kIsoOrders = Band(0.5, 1.5, true, BandSpectrum::Iso, 3.0);
const SpectralBand kTotal = Band(100, 400, false, BandSpectrum::Total, 0.5);
const SpectralBand kEnvelope = Band(80, 120, false, BandSpectrum::Envelope, 0.2);

TEST(AlarmBandMarks, TheShownSpectrumsBandsInDisplayedUnits) {
    const DisplayUnits metricHz(FrequencyUnit::Hz, AmplitudeUnit::Metric);
    const DisplayUnits imperialCpm(FrequencyUnit::Cpm, AmplitudeUnit::Imperial);
    const std::vector<SpectralBand> all{kIsoHz, kTotal, kIsoOrders, kEnvelope};
    const std::vector<SpectralBand> six{kIsoHz, kIsoHz, kIsoOrders, kIsoHz, kIsoOrders, kIsoHz};
    struct Case {
        const char* name;
        std::vector<SpectralBand> bands;
        BandSpectrum shown;
        double runSpeedHz;
        DisplayUnits units;
        std::vector<AlarmBandMark> expected;
    };
    const Case cases[] = {
        {"ISO: its two bands, orders at the run speed",
         all,
         BandSpectrum::Iso,
         25,
         metricHz,
         {{5, 20, 2.0}, {12.5, 37.5, 3.0}}},
        {"Total: g is never converted", all, BandSpectrum::Total, 25, imperialCpm, {{6000, 24000, 0.5}}},
        {"Envelope: gE as stored", all, BandSpectrum::Envelope, 25, metricHz, {{80, 120, 0.2}}},
        {"ISO in CPM and inch/s",
         {kIsoHz},
         BandSpectrum::Iso,
         25,
         imperialCpm,
         {{300, 1200, 2.0 * kImperialAmplitudeFactor}}},
        {"orders without a run speed are left out", all, BandSpectrum::Iso, 0, metricHz, {{5, 20, 2.0}}},
        {"at most four, in the point's order",
         six,
         BandSpectrum::Iso,
         10,
         metricHz,
         {{5, 20, 2.0}, {5, 20, 2.0}, {5, 15, 3.0}, {5, 20, 2.0}}},
        {"no band on the shown spectrum", {kTotal}, BandSpectrum::Iso, 25, metricHz, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<AlarmBandMark> marks = AlarmBandMarks(c.bands, c.shown, c.runSpeedHz, c.units);
        ASSERT_EQ(marks.size(), c.expected.size());
        for (std::size_t i = 0; i < marks.size(); ++i) {
            EXPECT_NEAR(marks[i].low, c.expected[i].low, 1e-3);
            EXPECT_NEAR(marks[i].high, c.expected[i].high, 1e-3);
            EXPECT_NEAR(marks[i].level, c.expected[i].level, 1e-6);
        }
    }
}

TEST(AlarmBandMarks, TheControlHoldsTheBandsInPlaceOfTheVaBands) {
    auto graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    graph->resetToDefaults();
    graph->resize(800, 500);
    // An ISO spectrum with its three VA bands drawn, as the spectrum view starts.
    SpectrumViewData view;
    view.kind = MeasureKind::IsoVelocity;
    view.x = {0, 10, 20, 30};
    view.y = {0, 1, 2, 1};
    view.xAxis = {0, 30, 10, 0};
    view.yAxis = {0, 3, 1, 1};
    view.bands = {{1, 20, 30}, {2, 40, 60}, {3, 70, 90}};
    ShowSpectrumView(*graph, view, 2.5, QStringLiteral("t"));
    ASSERT_TRUE(graph->GetFFTBandsOn());

    // Without alarm bands the VA bands stay as they were.
    ShowAlarmBands(*graph, {});
    EXPECT_FLOAT_EQ(graph->GetFFTBand2FMin(), 40);
    EXPECT_FLOAT_EQ(graph->GetFFTBand3AlarmLevel(), 2.5);

    const std::vector<AlarmBandMark> marks{{5, 20, 2.0}, {12.5, 37.5, 3.0}};
    ShowAlarmBands(*graph, marks);
    EXPECT_TRUE(graph->GetFFTBandsOn());
    const float expected[4][3] = {{5, 20, 2}, {12.5f, 37.5f, 3}, {0, 0, 0}, {0, 0, 0}};
    const float shown[4][3] = {
        {graph->GetFFTBand1FMin(), graph->GetFFTBand1FMax(), graph->GetFFTBand1AlarmLevel()},
        {graph->GetFFTBand2FMin(), graph->GetFFTBand2FMax(), graph->GetFFTBand2AlarmLevel()},
        {graph->GetFFTBand3FMin(), graph->GetFFTBand3FMax(), graph->GetFFTBand3AlarmLevel()},
        {graph->GetFFTBand4FMin(), graph->GetFFTBand4FMax(), graph->GetFFTBand4AlarmLevel()}};
    for (int band = 0; band < 4; ++band) {
        for (int value = 0; value < 3; ++value) {
            EXPECT_FLOAT_EQ(shown[band][value], expected[band][value]) << band << ' ' << value;
        }
    }
}

} // namespace
} // namespace vantor
