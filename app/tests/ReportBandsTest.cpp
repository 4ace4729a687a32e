// The report's spectrum charts carry the point's spectral alarm bands on the spectrum they watch
// and the graph control draws them; a point without bands gets the very pictures it got before.
#include "analysis/PointAlarms.h"
#include "app/BearingEditor.h"
#include "app/ReportSetup.h"
#include "app/tests/ReportTestData.h"
#include "graphviews/FaultOverlay.h"
#include "graphviews/ReportCharts.h"
#include "platform/ManualResetEvent.h"
#include "platform/testing/RecordingPrompter.h"
#include "reports/document/ReportBuilder.h"
#include "store/AlarmRecords.h"
#include "store/MainConnection.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <map>

namespace vantor {
namespace {

// Each spectrum chart's bands and picture by measure.
struct Kept {
    std::map<MeasureKind, std::vector<AlarmBandMark>> bands;
    std::map<MeasureKind, QImage> pictures;
};

// Paints through the graph control and keeps the spectrum charts.
class KeptCharts final : public ChartPainter {
public:
    QPicture Paint(const ReportChart& chart) override {
        QPicture picture = painter_.Paint(chart);
        if (const auto* spectrum = std::get_if<SpectrumChart>(&chart.view)) {
            kept.bands[spectrum->view.kind] = spectrum->alarmBands;
            // Drawn one to one on white, as a page draws it.
            const ReportImage image{picture, chart.logicalSize, chart.logicalSize};
            QImage drawn(chart.logicalSize, QImage::Format_RGB32);
            drawn.fill(Qt::white);
            QPainter on(&drawn);
            image.Draw(on, QRectF(QPointF(0, 0), QSizeF(chart.logicalSize)));
            kept.pictures[spectrum->view.kind] = drawn;
        }
        return picture;
    }
    Kept kept;

private:
    GraphChartPainter painter_;
};

SpectralBand Band(BandSpectrum spectrum, double from, double to) {
    SpectralBand band;
    band.spectrum = spectrum;
    band.from = from;
    band.to = to;
    band.warning = 0.001;
    band.critical = 100;
    return band;
}

// Pixels in the bands' colour (palette 2) where the picture without bands has another.
int BandPixels(const QImage& drawn, const QImage& plain) {
    int count = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            count += drawn.pixel(x, y) != plain.pixel(x, y) && QColor(drawn.pixel(x, y)) == QColor(192, 0, 0);
        }
    }
    return count;
}

TEST(ReportBandsTest, SpectrumChartsDrawThePointsAlarmBands) {
    testing::ReportPlant plant;
    plant.AddStandardPlant();
    CMainConnection& db = *plant.app->MainConnection();
    ReportOptions options;
    options.type = ReportType::Manual;
    options.machines = {QStringLiteral("Pump")};
    options.graphs.fill(true);
    const auto build = [&] {
        KeptCharts charts;
        const ManualResetEvent stop;
        const BuiltReport built = BuildReport(db, options, MakeReportLook(*plant.app), charts, stop, {});
        EXPECT_FALSE(built.cancelled);
        return charts.kept;
    };
    const Kept before = build();
    ASSERT_EQ(before.pictures.size(), 5u); // ISO, Total and the three VA band spectra
    for (const auto& [kind, marks] : before.bands) {
        EXPECT_TRUE(marks.empty()) << static_cast<int>(kind);
    }

    QString pumpDe;
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            if (point.sName == QStringLiteral("Pump DE")) {
                pumpDe = point.sItemGUID;
            }
        }
    }
    // The ISO spectrum reaches 156 Hz, the Total 1000 Hz; an envelope band is on neither.
    alarmrows::PutBands(db.Connection(), pumpDe,
                        {ToSpectralBandRow(pumpDe, Band(BandSpectrum::Iso, 40, 60)),
                         ToSpectralBandRow(pumpDe, Band(BandSpectrum::Total, 300, 500)),
                         ToSpectralBandRow(pumpDe, Band(BandSpectrum::Envelope, 80, 95))});
    const Kept after = build();
    const std::map<MeasureKind, std::vector<AlarmBandMark>> expected = {
        {MeasureKind::IsoVelocity, {{40, 60, 0.001}}},
        {MeasureKind::Acceleration, {{300, 500, 0.001}}},
    };
    for (const auto& [kind, picture] : after.pictures) {
        SCOPED_TRACE(static_cast<int>(kind));
        const auto shown = expected.find(kind);
        const QImage& plain = before.pictures.at(kind);
        ASSERT_EQ(picture.size(), plain.size());
        if (shown == expected.end()) {
            EXPECT_TRUE(after.bands.at(kind).empty());
            EXPECT_EQ(picture, plain);
        } else {
            EXPECT_EQ(after.bands.at(kind), shown->second);
            EXPECT_GT(BandPixels(picture, plain), 20);
        }
    }
}

// Every chart painted, with its picture drawn on white.
struct Painted {
    std::vector<ReportChart> charts;
    std::vector<QImage> pictures;
};

// Paints through the graph control and keeps every chart.
class AllCharts final : public ChartPainter {
public:
    QPicture Paint(const ReportChart& chart) override {
        QPicture picture = painter_.Paint(chart);
        const ReportImage image{picture, chart.logicalSize, chart.logicalSize};
        QImage drawn(chart.logicalSize, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter on(&drawn);
        image.Draw(on, QRectF(QPointF(0, 0), QSizeF(chart.logicalSize)));
        painted.charts.push_back(chart);
        painted.pictures.push_back(drawn);
        return picture;
    }
    Painted painted;

private:
    GraphChartPainter painter_;
};

// Chosen, the envelope spectrum of a point's newest reading follows its documented graphs with its
// envelope band and its bearings' families painted, opened on the families' span as the envelope
// view opens; "Last Measurement" trends keep every reading when asked. Without either choice the
// report holds the documented charts alone.
TEST(ReportBandsTest, TheEnvelopeChartCarriesFamiliesAndBandsAndTrendsCanKeepTheirHistory) {
    testing::ReportPlant plant;
    plant.AddStandardPlant();
    CMainConnection& db = *plant.app->MainConnection();
    QString pumpDe;
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            if (point.sName == QStringLiteral("Pump DE")) {
                pumpDe = point.sItemGUID;
            }
        }
    }
    CVib point;
    ASSERT_TRUE(db.GetVib(pumpDe, point));
    plant.AddReading(point, 0, {1.0f, 1.0f, 1.0f, 1.0f, 1.0f}); // older than the standard plant's
    plant.AddReading(point, 1, {2.0f, 1.0f, 1.0f, 1.0f, 1.0f});
    const std::size_t readings = db.ListVibReadings(pumpDe).size();
    ASSERT_EQ(readings, 3u);
    ReportOptions options;
    options.type = ReportType::Manual;
    options.machines = {QStringLiteral("Pump")};
    options.SetShown(ReportGraph::IsoTrend, true);
    const auto build = [&] {
        AllCharts charts;
        const ManualResetEvent stop;
        const BuiltReport built = BuildReport(db, options, MakeReportLook(*plant.app), charts, stop, {});
        EXPECT_FALSE(built.cancelled);
        EXPECT_EQ(built.steps, built.range - 1);
        return charts.painted;
    };
    const Painted plain = build();
    ASSERT_EQ(plain.charts.size(), 1u);
    EXPECT_EQ(std::get<TrendViewData>(plain.charts[0].view).x.size(), 1u);

    options.envelope = true;
    options.trendHistory = true;
    const Painted bare = build();
    ASSERT_EQ(bare.charts.size(), 2u);
    EXPECT_EQ(std::get<TrendViewData>(bare.charts[0].view).x.size(), readings);
    const auto* envelope = std::get_if<SpectrumChart>(&bare.charts[1].view);
    ASSERT_NE(envelope, nullptr);
    EXPECT_EQ(envelope->view.yLabel, QStringLiteral("gE"));
    EXPECT_TRUE(envelope->bearings.empty());
    EXPECT_TRUE(envelope->alarmBands.empty());
    EXPECT_TRUE(bare.charts[1].title.contains(QStringLiteral("Envelope")));

    testing::RecordingPrompter prompter;
    ASSERT_TRUE(BearingEditor(db, prompter)
                    .AssignBearing(pumpDe, QStringLiteral("6205-2RS JEM"), QStringLiteral("Pump DE"))
                    .has_value());
    alarmrows::PutBands(db.Connection(), pumpDe,
                        {ToSpectralBandRow(pumpDe, Band(BandSpectrum::Envelope, 80, 95)),
                         ToSpectralBandRow(pumpDe, Band(BandSpectrum::Iso, 40, 60))});
    // A slow shaft, so that the families' 10th harmonics lie inside this short capture's envelope.
    CVibReading newest = db.ListVibReadings(pumpDe).back();
    newest.fCurrentRunSpeedHz = 1.0f;
    ASSERT_TRUE(db.UpsertVibReading(newest));
    const Painted marked = build();
    ASSERT_EQ(marked.charts.size(), 2u);
    const auto* withFamilies = std::get_if<SpectrumChart>(&marked.charts[1].view);
    ASSERT_NE(withFamilies, nullptr);
    ASSERT_EQ(withFamilies->bearings.size(), 1u);
    EXPECT_GT(withFamilies->runSpeedHz, 0);
    // The families' span, widened to hold the envelope band up to 95 Hz.
    const double span = EnvelopeOpeningSpan(withFamilies->bearings, withFamilies->runSpeedHz);
    EXPECT_LT(span, 95.0);
    EXPECT_NEAR(withFamilies->view.xAxis.maximum, 95.0 * 1.05, 1e-9);
    EXPECT_LT(withFamilies->view.xAxis.maximum, envelope->view.xAxis.maximum);
    EXPECT_EQ(withFamilies->alarmBands, (std::vector<AlarmBandMark>{{80, 95, 0.001}}));
    // The families' colours are painted: the inner race's lines and legend.
    int familyPixels = 0;
    const QImage& picture = marked.pictures[1];
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            familyPixels += QColor(picture.pixel(x, y)) == FaultColour(FaultKind::Bpfi);
        }
    }
    EXPECT_GT(familyPixels, 20);
}

} // namespace
} // namespace vantor
