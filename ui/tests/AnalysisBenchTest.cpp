// The reading views on the demonstration plant, uploaded from the meter emulator exactly as the
// demonstration does: cursor read-outs against `vantor peaks`, zoom, limits across readings and
// units, keyboard steps, the waterfall's dates and the analysis page.
#include "ui/views/PointViews.h"

#include "analysis/DisplayedSpectrum.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "analysis/ViewTexts.h"
#include "app/CatalogueEditor.h"
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "graphviews/FaultOverlay.h"
#include "loaders/SignalLoader.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"
#include "texts/UiText.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"
#include "ui/setup/PointAlarmsTab.h"
#include "ui/setup/PointSetupDialogs.h"
#include "ui/views/AnalysisView.h"
#include "ui/views/CepstrumView.h"
#include "ui/views/EnvelopeView.h"
#include "ui/views/FaultFamiliesLayer.h"
#include "ui/views/GraphPane.h"
#include "ui/views/MeasureKindBox.h"
#include "ui/views/SpectrumView.h"
#include "ui/views/TopPeaksDialog.h"
#include "ui/views/TrendView.h"
#include "ui/views/WaterfallView.h"
#include "ui/views/WaveformView.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

struct Peak {
    double frequency = 0;
    double amplitude = 0;
};

// The demonstration plant, made once for all the tests of this file.
class DemoPlant {
public:
    DemoPlant() {
        EXPECT_EQ(testing::RunVantor({"init"}).status, 0);
        QFile file(QStringLiteral(VANTOR_SOURCE_DIR "/scripts/demo-meter.json"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        sim::Scenario scenario;
        QString error;
        EXPECT_TRUE(sim::ParseScenario(file.readAll(), scenario, error)) << error.toStdString();
        auto meter =
            sim::MeterEmulator::OnPseudoTerminal(sim::MeterResponder(scenario.state, scenario.faults), error);
        EXPECT_NE(meter, nullptr) << error.toStdString();
        testing::RunVantor({"settings", "set", "EmailExceptionsOnUpload", "0"});
        const testing::VantorRun sync =
            testing::RunVantor({"sync", "from-meter", "--port", meter->DevicePath(), "--device-name",
                                "Demo meter", "--silence-ms", "100"});
        EXPECT_EQ(sync.status, 0) << sync.err.toStdString();
    }

    // `vantor peaks` of a reading in the given units, largest first.
    std::vector<Peak> Peaks(const QString& reading, const QString& measure, int xUnits, int yUnits) const {
        std::vector<Peak> peaks = SlotPeaks(reading, measure, xUnits, yUnits);
        std::sort(peaks.begin(), peaks.end(),
                  [](const Peak& a, const Peak& b) { return a.amplitude > b.amplitude; });
        return peaks;
    }

    // The same in slot order.
    std::vector<Peak> SlotPeaks(const QString& reading, const QString& measure, int xUnits = 0,
                                int yUnits = 0) const {
        testing::RunVantor({"settings", "set", "XAxisUnits", QString::number(xUnits)});
        testing::RunVantor({"settings", "set", "YAxisUnits", QString::number(yUnits)});
        const testing::VantorRun run = testing::RunVantor({"peaks", reading, "--measure", measure, "--json"});
        testing::RunVantor({"settings", "set", "XAxisUnits", "0"});
        testing::RunVantor({"settings", "set", "YAxisUnits", "0"});
        std::vector<Peak> peaks;
        for (const QJsonValue row : QJsonDocument::fromJson(run.out).object().value("rows").toArray()) {
            peaks.push_back({row["frequency"].toDouble(), row["amplitude"].toDouble()});
        }
        return peaks;
    }

    testing::TempEnvironment env;
};

class AnalysisBenchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { plant = new DemoPlant; }
    static void TearDownTestSuite() {
        delete plant;
        plant = nullptr;
    }

    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        for (const CMachine& machine : db.ListMachines()) {
            for (const CVib& vib : db.ListVibs(machine.sItemGUID)) {
                if (vib.sName == QStringLiteral("Pump NDE")) {
                    pump = vib;
                }
            }
        }
        ASSERT_FALSE(pump.sItemGUID.isEmpty());
        readings.clear();
        for (const CVibReading& row : db.ListVibReadings(pump.sItemGUID)) {
            readings << row.sItemGUID;
        }
        ASSERT_GE(readings.size(), 7);
        views = std::make_unique<PointViews>(*app);
        views->resize(1000, 700);
        views->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(views.get()));
        views->ShowPoint(pump.sItemGUID);
    }

    void TearDown() override { UiTextTable::ResetToDefaults(); }

    void SetUnits(int xUnits, int yUnits) {
        app->settings.xAxisUnits = xUnits;
        app->settings.yAxisUnits = yUnits;
        views->Redraw();
    }

    // The last number of the read-out entry, read back in the user's locale.
    static double ReadoutAmplitude(const QString& text) {
        const QStringList parts = text.split(QStringLiteral(", "));
        const QString amplitude = parts.value(1).section(QLatin1Char(' '), 0, 0);
        bool ok = false;
        const double value = QLocale().toDouble(amplitude, &ok);
        EXPECT_TRUE(ok) << text.toStdString();
        return value;
    }

    static int ShownDecimals(const QString& text) {
        const QString amplitude = text.split(QStringLiteral(", ")).value(1).section(QLatin1Char(' '), 0, 0);
        const int separator = amplitude.indexOf(QLocale().decimalPoint());
        return separator < 0 ? 0 : static_cast<int>(amplitude.size() - separator - 1);
    }

    static void ExpectReadout(const SpectrumView& view, const Peak& peak, const std::string& context) {
        const QString text = view.Readout().Text();
        ASSERT_FALSE(text.isEmpty()) << context;
        const double shown = ReadoutAmplitude(text);
        const double tolerance = 0.5 * std::pow(10.0, -ShownDecimals(text)) + 1e-9;
        EXPECT_NEAR(shown, peak.amplitude, tolerance) << context << ": " << text.toStdString();
    }

    static DemoPlant* plant;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib pump;
    QStringList readings; // oldest first
    std::unique_ptr<PointViews> views;
};

DemoPlant* AnalysisBenchTest::plant = nullptr;

TEST_F(AnalysisBenchTest, ReadoutIsThePeakAmplitudeOfTheLineUnderTheCursor) {
    struct Case {
        MeasureKind kind;
        const char* measure;
        int xUnits;
        int yUnits;
    };
    const Case cases[] = {{MeasureKind::IsoVelocity, "iso", 0, 0},
                          {MeasureKind::IsoVelocity, "iso", 2, 1},
                          {MeasureKind::Acceleration, "total", 0, 0},
                          {MeasureKind::Acceleration, "total", 2, 1}};
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    CVantorGraphCtrl& graph = view.Pane().Graph();
    for (const Case& c : cases) {
        for (const QString& reading : {readings.back(), readings.at(readings.size() - 3)}) {
            const std::vector<Peak> peaks = plant->Peaks(reading, c.measure, c.xUnits, c.yUnits);
            ASSERT_GE(peaks.size(), 3u);
            views->ShowReading(reading);
            view.SetKind(c.kind);
            SetUnits(c.xUnits, c.yUnits);
            for (const GraphCursor cursor : {GraphCursor::Simple, GraphCursor::Harmonic}) {
                view.SetCursor(cursor);
                for (std::size_t p = 0; p < 3; ++p) {
                    const std::string context = std::string(c.measure) + " " + std::to_string(c.xUnits) +
                                                "/" + std::to_string(c.yUnits) + " peak " +
                                                std::to_string(p) + " cursor " +
                                                std::to_string(static_cast<int>(cursor));
                    graph.placeCursorAtValue(peaks[p].frequency);
                    ExpectReadout(view, peaks[p], context);
                    // After Axis Setup limits around the line: the same value.
                    view.SetAxisLimits(AxisLimits{0.5 * peaks[p].frequency, 1.5 * peaks[p].frequency, 0,
                                                  2 * peaks[0].amplitude});
                    ExpectReadout(view, peaks[p], context + " after Axis Setup");
                    view.ZoomFull();
                }
            }
        }
    }
}

TEST_F(AnalysisBenchTest, ANewReadingRecomputesTheReadoutAndForgetsTheLimits) {
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    CVantorGraphCtrl& graph = view.Pane().Graph();
    view.SetCursor(GraphCursor::Simple);
    const double fullMaximum = graph.GetXAxisMax();
    const Peak first = plant->Peaks(readings.back(), "iso", 0, 0).front();
    graph.placeCursorAtValue(first.frequency);
    view.SetAxisLimits(AxisLimits{0, 100, 0, 30});
    EXPECT_EQ(graph.GetXAxisMax(), 100.0);

    const QString older = readings.at(readings.size() - 2);
    views->ShowReading(older);
    // Every reading opens on its full axes, with the cursor where it was and the value of the new reading.
    EXPECT_EQ(graph.GetXAxisMax(), fullMaximum);
    EXPECT_NEAR(graph.currentCursorX(), first.frequency, 1e-3);
    const std::vector<Peak> olderPeaks = plant->Peaks(older, "iso", 0, 0);
    const auto atLine = std::find_if(olderPeaks.begin(), olderPeaks.end(), [&](const Peak& p) {
        return std::fabs(p.frequency - first.frequency) < 1e-3;
    });
    ASSERT_NE(atLine, olderPeaks.end());
    ExpectReadout(view, *atLine, "older reading");

    // Scale Lock keeps the limits from reading to reading.
    views->SetScaleLock(true);
    view.SetAxisLimits(AxisLimits{0, 100, 0, 30});
    views->ShowReading(readings.back());
    EXPECT_EQ(graph.GetXAxisMax(), 100.0);
    views->SetScaleLock(false);
}

TEST_F(AnalysisBenchTest, LimitsFollowTheUnits) {
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    CVantorGraphCtrl& graph = view.Pane().Graph();
    view.SetAxisLimits(AxisLimits{0, 100, 0, 20});
    SetUnits(2, 1);
    EXPECT_NEAR(graph.GetXAxisMin(), 0, 1e-9);
    EXPECT_NEAR(graph.GetXAxisMax(), 6000, 1e-6);
    EXPECT_NEAR(graph.GetYAxisMax(), 20 * kImperialAmplitudeFactor, 1e-6);
    SetUnits(0, 0);
    EXPECT_NEAR(graph.GetXAxisMax(), 100, 1e-6);
    EXPECT_NEAR(graph.GetYAxisMax(), 20, 1e-4);
}

TEST_F(AnalysisBenchTest, DraggedBoxZoomsAndHomeOrBackspaceReturn) {
    struct Case {
        PointViews::Tab tab;
        ReadingView* view;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {{PointViews::SpectrumTab, &views->Spectrum(), Qt::NoModifier},
                          {PointViews::WaveformTab, &views->Waveform(), Qt::NoModifier},
                          {PointViews::TrendTab, &views->Trend(), Qt::NoModifier},
                          {PointViews::WaterfallTab, &views->Waterfall(), Qt::NoModifier}};
    for (const Case& c : cases) {
        views->setCurrentIndex(c.tab);
        CVantorGraphCtrl& graph = c.view->Pane().Graph();
        c.view->Pane().LayOut();
        const double xMin = graph.GetXAxisMin();
        const double xMax = graph.GetXAxisMax();
        const QRect plot = graph.plotRect();
        const QPoint from(plot.left() + plot.width() / 10, plot.top() + 5);
        const QPoint to(plot.left() + plot.width() / 3, plot.bottom() - 5);
        QTest::mousePress(&graph, Qt::LeftButton, c.modifiers, from);
        QTest::mouseMove(&graph, to);
        QTest::mouseRelease(&graph, Qt::LeftButton, c.modifiers, to);
        EXPECT_GT(graph.GetXAxisMin(), xMin) << c.tab;
        EXPECT_LT(graph.GetXAxisMax(), xMax - 0.5 * (xMax - xMin)) << c.tab;
        EXPECT_TRUE(c.view->Limits().has_value()) << c.tab;
        graph.setFocus();
        QTest::keyClick(&graph, Qt::Key_Backspace);
        EXPECT_EQ(graph.GetXAxisMax(), xMax) << c.tab;
        QTest::mousePress(&graph, Qt::LeftButton, c.modifiers, from);
        QTest::mouseMove(&graph, to);
        QTest::mouseRelease(&graph, Qt::LeftButton, c.modifiers, to);
        QTest::keyClick(&graph, Qt::Key_Home);
        EXPECT_EQ(graph.GetXAxisMin(), xMin) << c.tab;
        EXPECT_EQ(graph.GetXAxisMax(), xMax) << c.tab;
        EXPECT_FALSE(c.view->Limits().has_value()) << c.tab;
    }
}

TEST_F(AnalysisBenchTest, WheelZoomsTheFrequencyAxisAboutThePointer) {
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    CVantorGraphCtrl& graph = view.Pane().Graph();
    view.Pane().LayOut();
    const QRect plot = graph.plotRect();
    const double before = graph.GetXAxisMax() - graph.GetXAxisMin();
    const QPoint at(plot.left() + plot.width() / 4, plot.center().y());
    const double share = static_cast<double>(at.x() - plot.left()) / plot.width();
    const double under = graph.GetXAxisMin() + share * before;
    QWheelEvent wheel(at, graph.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&graph, &wheel);
    const double after = graph.GetXAxisMax() - graph.GetXAxisMin();
    EXPECT_NEAR(after, 0.8 * before, 1e-6 * before);
    // The value under the pointer stays under it.
    EXPECT_NEAR(graph.GetXAxisMin() + share * after, under, 1e-6 * before);
}

TEST_F(AnalysisBenchTest, ArrowKeysStepOneLineAndCtrlJumpsToTheNextPeak) {
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    CVantorGraphCtrl& graph = view.Pane().Graph();
    view.SetCursor(GraphCursor::Harmonic);
    const std::vector<Peak> peaks = plant->Peaks(readings.back(), "iso", 0, 0);
    graph.placeCursorAtValue(peaks.front().frequency);
    graph.setFocus();
    // The line spacing: the first step between two different X of the drawn trace (a bar drawing
    // repeats each X).
    double spacing = 0;
    const double firstX = graph.seriesPoint(0, 0)["x"].toDouble();
    for (int i = 1; i < graph.seriesPointCount(0) && spacing == 0; ++i) {
        spacing = graph.seriesPoint(0, i)["x"].toDouble() - firstX;
    }
    ASSERT_GT(spacing, 0);
    for (const auto& [key, lines] :
         std::vector<std::pair<Qt::Key, int>>{{Qt::Key_Right, 1}, {Qt::Key_Left, -1}}) {
        const double start = graph.currentCursorX();
        QTest::keyClick(&graph, key);
        EXPECT_NEAR(graph.currentCursorX() - start, lines * spacing, 1e-3) << key;
    }
    // Ctrl+Right from the largest peak lands on a peak: a line above both neighbours.
    const double start = graph.currentCursorX();
    QTest::keyClick(&graph, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_GT(graph.currentCursorX(), start + spacing / 2);
    const QString text = view.Readout().Text();
    EXPECT_FALSE(text.contains(QStringLiteral("-100"))) << text.toStdString();
}

// The ISO spectrum draws its band boxes; the harmonic cursor is still dragged, and lands on a line.
TEST_F(AnalysisBenchTest, HarmonicCursorIsDraggedOverTheBandBoxesOntoALine) {
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    view.SetKind(MeasureKind::IsoVelocity);
    view.SetCursor(GraphCursor::Harmonic);
    CVantorGraphCtrl& graph = view.Pane().Graph();
    ASSERT_TRUE(graph.GetFFTBandsOn());
    view.Pane().LayOut();
    const double before = graph.currentCursorX();
    QRect line;
    for (const auto& readout : graph.cursorReadouts()) {
        if (readout.name == QStringLiteral("harmonic 0")) {
            line = readout.line;
        }
    }
    ASSERT_FALSE(line.isEmpty());
    const QPoint to(line.center().x() + 40, line.center().y());
    QTest::mousePress(&graph, Qt::LeftButton, {}, line.center());
    QTest::mouseMove(&graph, to);
    QTest::mouseRelease(&graph, Qt::LeftButton, {}, to);
    EXPECT_GT(graph.currentCursorX(), before);
    // On a line of the spectrum: the read-out's frequency is the cursor's.
    const QString text = view.Readout().Text();
    const QString shown = text.section(QStringLiteral(": "), 1).section(QLatin1Char(' '), 0, 0);
    EXPECT_NEAR(QLocale().toDouble(shown), graph.currentCursorX(), 0.05) << text.toStdString();
}

TEST_F(AnalysisBenchTest, BearingReadoutSaysNothingBeforeABearingIsSet) {
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    view.SetCursor(GraphCursor::Bearing);
    const QString text = view.Readout().Text();
    EXPECT_FALSE(text.isEmpty());
    EXPECT_FALSE(text.contains(QStringLiteral("-100"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("IR"))) << text.toStdString();
}

TEST_F(AnalysisBenchTest, WaterfallLabelsEveryTraceWithItsDateAndReadsTheTraceUnderThePointer) {
    views->setCurrentIndex(PointViews::WaterfallTab);
    WaterfallView& view = views->Waterfall();
    view.SetCount(4);
    view.Pane().LayOut();
    const auto labels = view.TraceLabels();
    ASSERT_EQ(labels.size(), 4u);
    CMainConnection& db = *app->MainConnection();
    const std::vector<CVibReading> rows = db.ListVibReadings(pump.sItemGUID);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const QDateTime taken = rows[rows.size() - 1 - i].ctDateTaken;
        EXPECT_EQ(labels[i].second, QLocale().toString(taken.date(), QLocale::ShortFormat)) << i;
        if (i > 0) {
            EXPECT_LT(labels[i].first.bottom(), labels[i - 1].first.bottom()); // rear traces stand higher
        }
    }
    const QRect plot = view.Pane().Graph().plotRect();
    const QString readout = view.TraceReadout(QPoint(plot.left() + plot.width() / 5, plot.bottom() - 2));
    EXPECT_TRUE(readout.startsWith(QLocale().toString(rows.back().ctDateTaken, QLocale::ShortFormat)))
        << readout.toStdString();
}

TEST_F(AnalysisBenchTest, AnalysisPageFollowsTheLineThroughTheReadings) {
    views->setCurrentIndex(PointViews::AnalysisTab);
    AnalysisView& page = views->Analysis();
    SpectrumView& spectrum = page.Spectrum();
    CVantorGraphCtrl& graph = spectrum.Pane().Graph();
    spectrum.SetCursor(GraphCursor::Harmonic);
    const Peak largest = plant->Peaks(readings.back(), "iso", 0, 0).front();
    graph.placeCursorAtValue(largest.frequency);
    // Six readings back, one by one: the spectrum and waveform follow, the cursor keeps its line.
    for (int step = 1; step <= 6; ++step) {
        const QString earlier = page.NeighbourReading(-1);
        ASSERT_FALSE(earlier.isEmpty()) << step;
        emit page.ReadingChosen(earlier);
        EXPECT_EQ(views->ReadingGuid(), earlier);
        EXPECT_NEAR(graph.currentCursorX(), largest.frequency, 1e-3) << step;
        EXPECT_TRUE(page.Waveform().Pane().Graph().GetGraphTitle() == graph.GetGraphTitle()) << step;
        EXPECT_FALSE(spectrum.Readout().Text().isEmpty()) << step;
        EXPECT_TRUE(page.Envelope().Shown().has_value()) << step;
    }
    // The envelope pane shows what the Envelope tab shows for the same reading.
    const QString paneCaption = page.Envelope().Caption();
    views->setCurrentIndex(PointViews::EnvelopeTab);
    EXPECT_FALSE(paneCaption.isEmpty());
    EXPECT_EQ(views->Envelope().Caption(), paneCaption);
    views->setCurrentIndex(PointViews::AnalysisTab);
    // A click on a trend point opens that reading on the page itself.
    emit page.Trend().ReadingClicked(readings.back());
    EXPECT_EQ(views->currentIndex(), PointViews::AnalysisTab);
    EXPECT_EQ(views->ReadingGuid(), readings.back());
}

TEST_F(AnalysisBenchTest, TopPeaksSortByAnyColumnAndGiveTheOrder) {
    SignalProcessor processor;
    ReadingSignals decoded;
    ASSERT_TRUE(LoadReadingSignals(*app->MainConnection(), processor, readings.back(), decoded));
    const DisplayUnits units;
    const std::optional<DisplayedSpectrum> spectrum =
        MakeDisplayedSpectrum(decoded, MeasureKind::IsoVelocity, units, false);
    ASSERT_TRUE(spectrum.has_value());
    TopPeaksDialog dialog(*spectrum, units, decoded.runSpeedHz);
    auto& table = const_cast<QTableWidget&>(dialog.Table());
    ASSERT_EQ(table.columnCount(), 3);
    const QLocale locale = QLocale::system();
    // The value behind each cell (the text keeps the documented decimals, 51 for a line at 51.25 Hz).
    auto number = [&](int row, int column) { return table.item(row, column)->data(Qt::UserRole).toDouble(); };
    // Slot order first, as `vantor peaks` lists them; the order column is frequency ÷ run speed.
    const std::vector<Peak> slotPeaks = plant->SlotPeaks(readings.back(), "iso");
    for (int row = 0; row < table.rowCount(); ++row) {
        EXPECT_NEAR(number(row, 0), slotPeaks[static_cast<std::size_t>(row)].frequency, 0.05) << row;
        EXPECT_EQ(
            table.item(row, 2)->text(),
            locale.toString(slotPeaks[static_cast<std::size_t>(row)].frequency / decoded.runSpeedHz, 'f', 2))
            << row;
    }
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QHeaderView& header = *table.horizontalHeader();
    for (int column = 0; column < 3; ++column) {
        // A click on the header sorts by that column, by number, not by text.
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(column) + 5, header.height() / 2));
        ASSERT_EQ(header.sortIndicatorSection(), column);
        const double sign = header.sortIndicatorOrder() == Qt::AscendingOrder ? 1.0 : -1.0;
        for (int row = 1; row < table.rowCount(); ++row) {
            EXPECT_LE(sign * table.item(row - 1, column)->data(Qt::UserRole).toDouble(),
                      sign * table.item(row, column)->data(Qt::UserRole).toDouble())
                << column << " " << row;
        }
    }
    EXPECT_FALSE(PeakOrder(25, 0, 1.0).has_value());
    EXPECT_NEAR(*PeakOrder(2952, 24.6, 60.0), 2.0, 1e-9);
}

// Two pictures of the bench as a user sees it, compared with the kept ones; fonts may move a few
// pixels. VANTOR_UPDATE_GOLDEN=1 writes them afresh.
TEST_F(AnalysisBenchTest, GoldenPicturesOfTheSpectrumAndTheAnalysisPage) {
    views->resize(1000, 700);
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& spectrum = views->Spectrum();
    spectrum.SetCursor(GraphCursor::Harmonic);
    spectrum.SetAxisLimits(AxisLimits{0, 200, 0, 30});
    const QImage spectrumPicture = spectrum.grab().toImage().convertToFormat(QImage::Format_RGB32);
    views->setCurrentIndex(PointViews::AnalysisTab);
    views->Analysis().Spectrum().SetCursor(GraphCursor::Simple);
    const QImage analysisPicture = views->Analysis().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QDir folder(QStringLiteral(VANTOR_SOURCE_DIR "/ui/tests/golden"));
    for (const auto& [name, image] : {std::pair{QStringLiteral("pump_nde_spectrum.png"), spectrumPicture},
                                      std::pair{QStringLiteral("pump_nde_analysis.png"), analysisPicture}}) {
        const QString file = folder.filePath(name);
        if (qEnvironmentVariableIntValue("VANTOR_UPDATE_GOLDEN") == 1) {
            ASSERT_TRUE(image.save(file)) << file.toStdString();
            continue;
        }
        const QImage golden = QImage(file).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(golden.size(), image.size()) << name.toStdString();
        int differing = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                differing += image.pixel(x, y) != golden.pixel(x, y);
            }
        }
        EXPECT_LE(differing, image.width() * image.height() / 30) << name.toStdString();
    }
}

// Pixels of two pictures of the same size that differ at all.
int DifferingPixels(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += a.pixel(x, y) != b.pixel(x, y);
        }
    }
    return differing;
}

// The labels of a painted overlay overlap neither each other, nor the legend, nor the graph's own
// cursor labels, and stay inside the front trace.
void ExpectLabelsApart(const FaultFamiliesLayer& layer, const CVantorGraphCtrl& graph) {
    const OverlayLayout& layout = layer.Layout();
    ASSERT_FALSE(layout.labels.empty());
    ASSERT_FALSE(layout.legend.isEmpty());
    const QRectF area = FrontTraceRect(graph);
    for (std::size_t i = 0; i < layout.labels.size(); ++i) {
        const QRectF& label = layout.labels[i];
        EXPECT_TRUE(area.contains(label)) << i;
        EXPECT_FALSE(label.intersects(layout.legend)) << i;
        for (const CVantorGraphCtrl::CursorReadout& cursor : graph.cursorReadouts()) {
            EXPECT_TRUE(!graph.GetCursorEnabled() || !label.intersects(cursor.handle)) << i;
        }
        for (std::size_t j = i + 1; j < layout.labels.size(); ++j) {
            EXPECT_FALSE(label.intersects(layout.labels[j])) << i << " " << j;
        }
    }
}

// The starter deep-groove bearing assigned to Pump NDE: its four families on the single FFT, the
// waterfall and the envelope spectrum, each with its legend and labels apart; the bearing cursor
// fed from it; and once the bearing is removed again the spectrum is the picture it was before.
TEST_F(AnalysisBenchTest, FaultFamiliesOfTheAssignedBearingOnEverySpectrum) {
    views->resize(1000, 700);
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& spectrum = views->Spectrum();
    spectrum.SetCursor(GraphCursor::None);
    const auto picture = [&spectrum] {
        return spectrum.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage without = picture();
    ASSERT_TRUE(spectrum.Families()->Overlay().families.empty());

    const testing::VantorRun assign =
        testing::RunVantor({"vib", "bearings", pump.sItemGUID, "--add", "6205-2RS JEM", "--location", "NDE"});
    ASSERT_EQ(assign.status, 0) << assign.err.toStdString();
    views->ShowPoint(pump.sItemGUID);
    const FaultFamiliesLayer& families = *spectrum.Families();
    ASSERT_EQ(families.Overlay().families.size(), 4u);
    // Orders of the reading's own run speed: BPFO of the published geometry, 3.5848 x.
    const double runSpeed = app->MainConnection()->ListVibReadings(pump.sItemGUID).back().fCurrentRunSpeedHz;
    ASSERT_EQ(views->ReadingGuid(), readings.back());
    const OverlayFamily& outer = families.Overlay().families[1];
    EXPECT_NEAR(outer.lines.front().hz, 3.5848 * runSpeed, 0.01);
    EXPECT_EQ(outer.legend, QStringLiteral("OR BPFO - NDE (6205-2RS JEM)"));

    const QImage with = picture();
    EXPECT_GT(DifferingPixels(with, without), 500);
    ExpectLabelsApart(families, spectrum.Pane().Graph());

    const QString file = QStringLiteral(VANTOR_SOURCE_DIR "/ui/tests/golden/pump_nde_families.png");
    if (qEnvironmentVariableIntValue("VANTOR_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(with.save(file));
    } else {
        const QImage golden = QImage(file).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(golden.size(), with.size());
        EXPECT_LE(DifferingPixels(with, golden), with.width() * with.height() / 30);
    }

    // A family toggled off goes from the picture and the legend; the whole overlay likewise.
    spectrum.Families()->SetFamilyShown(outer.legend, false);
    EXPECT_GT(DifferingPixels(picture(), with), 0);
    spectrum.Families()->SetFamilyShown(outer.legend, true);
    EXPECT_EQ(DifferingPixels(picture(), with), 0);

    // The bearing cursor takes its multipliers from the bearing.
    spectrum.FeedBearingCursor(0);
    EXPECT_EQ(spectrum.Cursor(), GraphCursor::Bearing);
    EXPECT_NEAR(spectrum.Pane().Graph().GetBearingFault2Multiplier(), 3.5848, 1e-4);
    EXPECT_NEAR(spectrum.Pane().Graph().GetBearingFault1Multiplier(), 5.4152, 1e-4);
    spectrum.grab();
    ExpectLabelsApart(families, spectrum.Pane().Graph());
    spectrum.SetCursor(GraphCursor::None);

    // The waterfall draws them over its front trace, the envelope over its spectrum.
    views->setCurrentIndex(PointViews::WaterfallTab);
    WaterfallView& waterfall = views->Waterfall();
    waterfall.grab();
    ASSERT_EQ(waterfall.Families()->Overlay().families.size(), 4u);
    ExpectLabelsApart(*waterfall.Families(), waterfall.Pane().Graph());
    EXPECT_LT(FrontTraceRect(waterfall.Pane().Graph()).width(), waterfall.Pane().Graph().plotRect().width());
    views->setCurrentIndex(PointViews::EnvelopeTab);
    EnvelopeView& envelope = views->Envelope();
    envelope.grab();
    ASSERT_EQ(envelope.Families()->Overlay().families.size(), 4u);
    ExpectLabelsApart(*envelope.Families(), envelope.Pane().Graph());

    // Without its bearing the point looks exactly as it did.
    ASSERT_EQ(testing::RunVantor({"vib", "bearings", pump.sItemGUID, "--remove", "1"}).status, 0);
    views->setCurrentIndex(PointViews::SpectrumTab);
    views->ShowPoint(pump.sItemGUID);
    EXPECT_TRUE(spectrum.Families()->Overlay().families.empty());
    EXPECT_EQ(DifferingPixels(picture(), without), 0);
}

// Where the dark ink of a graph's title lies across its width: the first and last column with a
// dark pixel in the strip above the plot. A title wider than the graph runs into both sides.
std::pair<int, int> TitleInk(CVantorGraphCtrl& graph) {
    const QImage image = graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int bottom = graph.plotRect().top() - 8; // clear of the top tick label
    int first = image.width();
    int last = -1;
    for (int y = 2; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

// The analysis page in the room the main window leaves it at 1024 x 768 and at 1600 x 1000: every
// graph's title stands whole within its graph and the envelope caption shows all its lines; the
// envelope pane keeps the band and the full title in its caption and tooltip.
TEST_F(AnalysisBenchTest, AnalysisPageShowsEveryTitleAndCaptionWhole) {
    views->setCurrentIndex(PointViews::AnalysisTab);
    AnalysisView& page = views->Analysis();
    for (const QSize size : {QSize(757, 720), QSize(1335, 952)}) {
        SCOPED_TRACE(size.width());
        views->resize(size);
        QCoreApplication::processEvents();
        for (ReadingView* view :
             {static_cast<ReadingView*>(&page.Trend()), static_cast<ReadingView*>(&page.Spectrum()),
              static_cast<ReadingView*>(&page.Waveform()), static_cast<ReadingView*>(&page.Envelope())}) {
            CVantorGraphCtrl& graph = view->Pane().Graph();
            ASSERT_FALSE(graph.GetGraphTitle().isEmpty());
            const auto [first, last] = TitleInk(graph);
            EXPECT_GE(first, 4) << graph.GetGraphTitle().toStdString();
            EXPECT_LE(last, graph.width() - 5) << graph.GetGraphTitle().toStdString();
        }
        const QLabel* caption = page.Envelope().findChild<QLabel*>(QStringLiteral("EnvelopeCaption"));
        ASSERT_NE(caption, nullptr);
        EXPECT_TRUE(caption->text().startsWith(QStringLiteral("Envelope band")));
        EXPECT_LE(caption->heightForWidth(caption->width()), caption->height());
        EXPECT_TRUE(caption->toolTip().contains(QStringLiteral("Envelope 1250-5000 Hz")))
            << caption->toolTip().toStdString();
    }

    // The envelope's second tab draws the cepstrum with the shaft's period (24.6 Hz) marked and listed.
    ASSERT_EQ(page.FamilyTabs().currentIndex(), 0);
    page.FamilyTabs().setCurrentIndex(1);
    QCoreApplication::processEvents();
    CVantorGraphCtrl& cepstrum = page.Cepstrum().Pane().Graph();
    EXPECT_GT(cepstrum.GetSeriesCount(), 1); // the cepstrum and its marks
    EXPECT_TRUE(page.Cepstrum().Caption().startsWith(QStringLiteral("Periods: ")));
    EXPECT_TRUE(page.Cepstrum().Caption().contains(QStringLiteral("1× 40.65 ms")))
        << page.Cepstrum().Caption().toStdString();
    EXPECT_EQ(cepstrum.GetGraphTitle(), page.Envelope().Pane().Graph().GetGraphTitle());
    page.FamilyTabs().setCurrentIndex(0);

    // The two rows share their column boundary: moved in either, it moves in both, and a new window
    // comes back with it.
    std::vector<QSplitter*> rows;
    for (QSplitter* splitter : page.findChildren<QSplitter*>()) {
        if (splitter->orientation() == Qt::Horizontal) {
            rows.push_back(splitter);
        }
    }
    ASSERT_EQ(rows.size(), 2u);
    for (const std::size_t moved : {0u, 1u}) {
        const int left = 300 + 100 * static_cast<int>(moved);
        rows[moved]->setSizes({left, 1335 - left});
        emit rows[moved]->splitterMoved(left, 1);
        EXPECT_EQ(rows[1 - moved]->sizes(), rows[moved]->sizes());
    }
    const QList<int> kept = rows[0]->sizes();
    PointViews again(*app);
    again.resize(views->size());
    again.setCurrentIndex(PointViews::AnalysisTab);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    for (QSplitter* splitter : again.Analysis().findChildren<QSplitter*>()) {
        if (splitter->orientation() == Qt::Horizontal) {
            EXPECT_EQ(splitter->sizes(), kept);
        }
    }
    views->resize(1000, 700);
}

// The harmonics chosen in the Fault Families menu of any view reach every view that draws the
// families (each family then has lines at 1x to Nx, BPFI and BSF with their sidebands), are stored
// in the user's settings and come back in a new window; a user who never chose sees every harmonic
// the families have ("To the view's end", those past the X axis not drawn).
TEST_F(AnalysisBenchTest, ChosenHarmonicsReachEveryViewAndAreRemembered) {
    ASSERT_EQ(
        testing::RunVantor({"vib", "bearings", pump.sItemGUID, "--add", "6205-2RS JEM", "--location", "NDE"})
            .status,
        0);
    const auto drawAll = [](PointViews& shown) {
        for (const int tab : {PointViews::WaterfallTab, PointViews::EnvelopeTab, PointViews::AnalysisTab,
                              PointViews::SpectrumTab}) {
            shown.setCurrentIndex(tab);
        }
    };
    const auto familyViews = [](const PointViews& shown) {
        return std::vector<ReadingView*>{&shown.Spectrum(), &shown.Waterfall(), &shown.Envelope(),
                                         &shown.Analysis().Spectrum(), &shown.Analysis().Envelope()};
    };
    // Every family of every view has exactly harmonics 1..n, each with its sidebands where the
    // family has them.
    const auto expectHarmonics = [&familyViews](const PointViews& shown, int n) {
        for (ReadingView* view : familyViews(shown)) {
            const FaultOverlay& overlay = view->Families()->Overlay();
            ASSERT_EQ(overlay.families.size(), 4u) << view->metaObject()->className();
            for (const OverlayFamily& family : overlay.families) {
                const bool sidebands =
                    family.label == QStringLiteral("IR") || family.label == QStringLiteral("RE");
                EXPECT_EQ(family.lines.size(), static_cast<std::size_t>(sidebands ? 3 * n : n))
                    << view->metaObject()->className() << " " << family.legend.toStdString();
                EXPECT_EQ(family.lines.back().harmonic, n) << family.legend.toStdString();
            }
        }
    };
    views->ShowPoint(pump.sItemGUID);
    drawAll(*views);
    expectHarmonics(*views, kMostFaultHarmonics);
    const auto picture = [this] {
        return views->Spectrum().grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage toEnd = picture();

    // Chosen in one view's menu (a different view each time), followed by all.
    // The first item is "To the view's end" (n = 0), then 1x to 1x-20x.
    const auto choose = [](ReadingView& view, int n) {
        QMenu menu;
        view.FillMenu(menu);
        const QMenu* harmonics = menu.findChild<QMenu*>(QStringLiteral("FaultHarmonicsMenu"));
        ASSERT_NE(harmonics, nullptr);
        ASSERT_EQ(harmonics->actions().size(), kMostFaultHarmonics + 1);
        harmonics->actions()[n]->trigger();
    };
    const std::vector<ReadingView*> choosers = familyViews(*views);
    const int counts[] = {1, 12, kMostFaultHarmonics, 8};
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        const int n = counts[i];
        SCOPED_TRACE(n);
        choose(*choosers[i % choosers.size()], n);
        expectHarmonics(*views, n);
    }
    EXPECT_GT(DifferingPixels(picture(), toEnd), 0);
    QMenu menu;
    views->Envelope().FillMenu(menu);
    const QMenu* harmonics = menu.findChild<QMenu*>(QStringLiteral("FaultHarmonicsMenu"));
    EXPECT_TRUE(harmonics->actions()[8]->isChecked());
    EXPECT_EQ(harmonics->actions()[8]->text(), QStringLiteral("1x-8x"));

    // A new window of the same user draws the stored choice.
    PointViews again(*app);
    again.resize(1000, 700);
    again.ShowPoint(pump.sItemGUID);
    drawAll(again);
    expectHarmonics(again, 8);

    // Back to the default for the other tests, and the bearing removed again.
    choose(views->Spectrum(), kFaultHarmonicsToViewEnd);
    ASSERT_EQ(testing::RunVantor({"vib", "bearings", pump.sItemGUID, "--remove", "1"}).status, 0);
}

// The trend's chooser offers the waveform indices; each plots exactly the values `vantor trend
// --measure` lists for the point, and a baseline alarm set by the command line on the measure is drawn
// at the limits `vantor alarms --json` gives (dashed lines inside the plot), on none without one.
TEST_F(AnalysisBenchTest, TheTrendOfEveryIndexIsTheCommandsWithItsBaselineLimits) {
    struct Case {
        IndexMeasure measure;
        const char* name;
        bool baseline;
    };
    const Case cases[] = {{IndexMeasure::CrestFactor, "crest", true},
                          {IndexMeasure::Kurtosis, "kurtosis", false},
                          {IndexMeasure::PeakToPeak, "p2p", true},
                          {IndexMeasure::GeOverall, "ge", false}};
    views->setCurrentIndex(PointViews::TrendTab);
    TrendView& trend = views->Trend();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.baseline) {
            ASSERT_EQ(
                testing::RunVantor({"alarms", pump.sItemGUID, "--measure", c.name, "--baseline", "4"}).status,
                0);
        }
        trend.SetIndex(c.measure);
        trend.Redraw();
        ASSERT_EQ(trend.Index(), c.measure);

        const testing::VantorRun run =
            testing::RunVantor({"trend", pump.sItemGUID, "--measure", c.name, "--json"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QJsonArray samples = QJsonDocument::fromJson(run.out).object().value("samples").toArray();
        const CVantorGraphCtrl& graph = trend.Pane().Graph();
        ASSERT_EQ(graph.seriesPointCount(0), samples.size());
        ASSERT_GE(samples.size(), 7);
        for (qsizetype i = 0; i < samples.size(); ++i) {
            const QVariantMap point = graph.seriesPoint(0, static_cast<int>(i));
            EXPECT_EQ(point.value("readingGuid").toString(), samples[i]["reading"].toString()) << i;
            EXPECT_FLOAT_EQ(point.value("y").toFloat(), static_cast<float>(samples[i]["y"].toDouble())) << i;
        }
        EXPECT_TRUE(
            trend.Pane().Readout().text().startsWith(trend.findChild<MeasureKindBox*>()->currentText()));

        if (c.baseline) {
            const QJsonObject alarms =
                QJsonDocument::fromJson(testing::RunVantor({"alarms", pump.sItemGUID, "--json"}).out)
                    .object();
            QJsonObject limits;
            for (const QJsonValue setting : alarms.value("settings").toArray()) {
                if (setting["measure"].toString() == QLatin1String(c.name)) {
                    limits = setting["baseline"].toObject();
                }
            }
            ASSERT_TRUE(trend.BaselineLimits().has_value());
            EXPECT_DOUBLE_EQ(trend.BaselineLimits()->warning, limits["warning"].toDouble());
            EXPECT_DOUBLE_EQ(trend.BaselineLimits()->critical, limits["critical"].toDouble());
            trend.Pane().LayOut();
            const std::vector<int> lines = trend.BaselineLineY();
            ASSERT_EQ(lines.size(), 2u) << "both limits inside the plot";
            EXPECT_LT(lines[1], lines[0]) << "critical above warning";
            ASSERT_EQ(testing::RunVantor({"alarms", pump.sItemGUID, "--measure", c.name, "--off"}).status, 0);
        } else {
            EXPECT_FALSE(trend.BaselineLimits().has_value());
            EXPECT_TRUE(trend.BaselineLineY().empty());
        }
    }
    trend.SetKind(MeasureKind::IsoVelocity);
}

// An online sensor bound to the point trends its ISO and Total values as a second series beside the
// readings, the values `vantor sensor values` lists, and the read-out adds its newest one; a measure
// the sensors do not publish and a sensor unbound again draw the readings alone.
TEST_F(AnalysisBenchTest, AnOnlineSensorsValuesTrendBesideTheReadings) {
    const QString sensor = QStringLiteral("sim-trend");
    ASSERT_EQ(testing::RunVantor({"sensor", "add", sensor, pump.sItemGUID}).status, 0);
    const QDateTime start = QDateTime::currentDateTime().addDays(-2);
    for (int hour = 0; hour < 6; ++hour) {
        onlinerows::InsertOverall(app->MainConnection()->Connection(),
                                  {MakeItemGuid(), sensor, pump.sItemGUID, start.addSecs(3600 * hour),
                                   1.0 + 0.5 * hour, 0.2 + 0.1 * hour, 40.0, 0});
    }
    const testing::VantorRun run = testing::RunVantor({"sensor", "values", sensor, "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray values = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(values.size(), 6);

    views->setCurrentIndex(PointViews::TrendTab);
    TrendView& trend = views->Trend();
    const CVantorGraphCtrl& graph = trend.Pane().Graph();
    const struct {
        MeasureKind kind;
        const char* key; // the command's field; none: the sensors do not publish the measure
    } cases[] = {{MeasureKind::IsoVelocity, "iso_mms"},
                 {MeasureKind::Acceleration, "total_g"},
                 {MeasureKind::BearingNoise, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        trend.SetKind(c.kind);
        trend.Redraw();
        const int readingsShown = graph.seriesPointCount(0);
        EXPECT_GE(readingsShown, 7);
        if (c.key == nullptr) {
            EXPECT_EQ(graph.GetSeriesCount(), 1);
            EXPECT_TRUE(trend.OnlineValues().empty());
            continue;
        }
        ASSERT_EQ(graph.GetSeriesCount(), 2);
        ASSERT_EQ(graph.seriesPointCount(1), values.size());
        for (qsizetype i = 0; i < values.size(); ++i) {
            EXPECT_FLOAT_EQ(graph.seriesPoint(1, static_cast<int>(i)).value("y").toFloat(),
                            static_cast<float>(values[i][QLatin1String(c.key)].toDouble()))
                << i;
        }
        EXPECT_TRUE(trend.Pane().Readout().text().contains(UiText(text::added::OnlineValuesLabel)));
    }
    trend.SetKind(MeasureKind::IsoVelocity);
    ASSERT_EQ(testing::RunVantor({"sensor", "remove", sensor}).status, 0);
    trend.Redraw();
    EXPECT_EQ(graph.GetSeriesCount(), 1);
    EXPECT_FALSE(trend.Pane().Readout().text().contains(UiText(text::added::OnlineValuesLabel)));
}

// Every graph's menu has Export with CSV, PNG and Print. The CSV of a view the command line exports
// is the command's file (the Total spectrum and the waveform as `vantor csv` writes them, apart from
// the line dating the export; the envelope byte for byte as `vantor envelope --csv`), the trend's
// lists the dates and values `vantor trend --json` gives, and the PNG is the graph as shown.
TEST_F(AnalysisBenchTest, ExportWritesTheCommandsCsvAndTheGraphAsShown) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString reading = readings.last();
    const auto commandFile = [&](QStringList arguments, const QString& name) {
        const QString path = folder.filePath(name);
        arguments.replaceInStrings(QStringLiteral("FILE"), path);
        const testing::VantorRun run = testing::RunVantor(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    };
    // The lines of a CSV without the one dating it (the command and the view date it alike but in
    // their own forms).
    const auto undated = [](const QByteArray& csv) {
        QByteArrayList lines = csv.split('\n');
        lines.removeIf(
            [](const QByteArray& line) { return line.startsWith(UiText(text::DateTime).toUtf8() + ','); });
        return lines;
    };
    struct Case {
        const char* name;
        int tab;
        ReadingView* view;
        std::function<void()> prepare;
        std::function<void(const QByteArray& written)> check;
    };
    SpectrumView& spectrum = views->Spectrum();
    const Case cases[] = {
        {"Total spectrum", PointViews::SpectrumTab, &spectrum,
         [&] { spectrum.SetKind(MeasureKind::Acceleration); },
         [&](const QByteArray& written) {
             EXPECT_EQ(undated(written), undated(commandFile({"csv", reading, "FILE"}, "total.csv")));
         }},
        {"waveform", PointViews::WaveformTab, &views->Waveform(), [] {},
         [&](const QByteArray& written) {
             EXPECT_EQ(undated(written),
                       undated(commandFile({"csv", reading, "FILE", "--waveform"}, "wave.csv")));
         }},
        {"envelope", PointViews::EnvelopeTab, &views->Envelope(), [] {},
         [&](const QByteArray& written) {
             EXPECT_EQ(written, commandFile({"envelope", reading, "--csv", "FILE"}, "envelope.csv"));
         }},
        {"trend", PointViews::TrendTab, &views->Trend(),
         [&] { views->Trend().SetKind(MeasureKind::IsoVelocity); },
         [&](const QByteArray& written) {
             const QJsonArray samples =
                 QJsonDocument::fromJson(testing::RunVantor({"trend", pump.sItemGUID, "--json"}).out)
                     .object()
                     .value("samples")
                     .toArray();
             QByteArrayList lines = written.split('\n');
             ASSERT_EQ(lines.size(), samples.size() + 2) << "header, samples, the empty end";
             EXPECT_EQ(lines.front(), (UiText(text::DateTime) + QStringLiteral(",mm/s\r")).toUtf8());
             for (qsizetype i = 0; i < samples.size(); ++i) {
                 const QList<QByteArray> cells = lines[i + 1].trimmed().split(',');
                 ASSERT_EQ(cells.size(), 2);
                 EXPECT_EQ(QString::fromUtf8(cells[0]), samples[i]["date"].toString()) << i;
                 EXPECT_FLOAT_EQ(cells[1].toFloat(), static_cast<float>(samples[i]["y"].toDouble())) << i;
             }
         }},
        {"ISO spectrum", PointViews::SpectrumTab, &spectrum,
         [&] { spectrum.SetKind(MeasureKind::IsoVelocity); },
         [&](const QByteArray& written) {
             const QByteArrayList lines = written.split('\n');
             const CVantorGraphCtrl& graph = spectrum.Pane().Graph();
             ASSERT_EQ(lines.size(), graph.seriesPointCount(0) + 2);
             EXPECT_TRUE(
                 lines.front().startsWith((UiText(text::FrequencyLabel) + QStringLiteral(" (Hz),")).toUtf8()))
                 << lines.front().toStdString();
             const QVariantMap tenth = graph.seriesPoint(0, 10);
             EXPECT_EQ(lines[11].trimmed(), QStringLiteral("%1,%2")
                                                .arg(tenth["x"].toDouble(), 0, 'g', 9)
                                                .arg(tenth["y"].toDouble(), 0, 'g', 9)
                                                .toUtf8());
         }},
        {"cepstrum", PointViews::AnalysisTab, &views->Analysis().Cepstrum(), [] {},
         [&](const QByteArray& written) {
             const QByteArrayList lines = written.split('\n');
             EXPECT_EQ(lines.size(), views->Analysis().Cepstrum().Pane().Graph().seriesPointCount(0) + 2);
             EXPECT_TRUE(lines.front().startsWith(UiText(text::added::QuefrencyLabel).toUtf8()))
                 << lines.front().toStdString();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        views->setCurrentIndex(c.tab);
        c.prepare();
        c.view->Redraw();
        QMenu menu;
        c.view->FillMenu(menu);
        const QMenu* exports = menu.findChild<QMenu*>(QStringLiteral("ExportMenu"));
        ASSERT_NE(exports, nullptr);
        EXPECT_TRUE(exports->isEnabled());
        EXPECT_EQ(exports->actions().size(), 3);

        const QString csv = folder.filePath(QStringLiteral("view.csv"));
        ASSERT_TRUE(c.view->WriteCsv(csv)) << prompter.Texts().join(u'\n').toStdString();
        QFile written(csv);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        c.check(written.readAll());

        const QString png = folder.filePath(QStringLiteral("view.png"));
        ASSERT_TRUE(c.view->WritePng(png));
        const QImage shown = c.view->Pane().Graph().grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage saved = QImage(png).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(saved.size(), shown.size());
        EXPECT_EQ(saved, shown);
    }
    // A file that cannot be written is said so, and nothing else happens.
    EXPECT_FALSE(views->Trend().WriteCsv(folder.filePath(QStringLiteral("missing/folder/view.csv"))));
    EXPECT_TRUE(prompter.Texts().last().startsWith(QStringLiteral("The file ")))
        << prompter.Texts().last().toStdString();
}

// The point set-up's Alarms tab previews the pump's latest spectrum with the bands of its table: an
// ISO band in Hz and, with a Total band's row current, the Total spectrum with its band in orders
// at the reading's run speed.
TEST_F(AnalysisBenchTest, TheAlarmsTabPreviewsTheBandsOnTheLatestSpectrum) {
    CatalogueEditor editor(*app->MainConnection(), prompter);
    CVibPointSetupDialog dialog(editor, prompter, pump, DisplayUnits());
    PointAlarmsTab& tab = dialog.Alarms();
    const CVantorGraphCtrl& preview = tab.Preview();
    ASSERT_GT(preview.seriesPointCount(0), 100);
    EXPECT_TRUE(tab.AddBand({20, 30, false, BandSpectrum::Iso, 1, 2, BandValue::Peak}));
    EXPECT_TRUE(tab.AddBand({0.5, 1.5, true, BandSpectrum::Total, 0.5, 1, BandValue::Rms}));
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("SpectralBands"));
    table->setCurrentCell(0, 1);
    EXPECT_FLOAT_EQ(preview.GetFFTBand1FMin(), 20.0f);
    EXPECT_FLOAT_EQ(preview.GetFFTBand1FMax(), 30.0f);
    // Shown on the span to twice its high edge, not the whole 1000 Hz.
    EXPECT_GE(preview.GetXAxisMax(), 30.0);
    EXPECT_LE(preview.GetXAxisMax(), 80.0);
    table->setCurrentCell(1, 1);
    const CVibReading latest = app->MainConnection()->ListVibReadings(pump.sItemGUID).back();
    EXPECT_NEAR(preview.GetFFTBand1FMin(), 0.5 * latest.fCurrentRunSpeedHz, 1e-3);
    EXPECT_NEAR(preview.GetFFTBand1FMax(), 1.5 * latest.fCurrentRunSpeedHz, 1e-3);
}

} // namespace
} // namespace vantor
