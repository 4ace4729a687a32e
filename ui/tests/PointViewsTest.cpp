// The point views on a real database: one machine, one point with alarms and four readings whose
// signals decode to a 25 Hz run-speed line with harmonics.
#include "ui/views/PointViews.h"

#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "analysis/TopPeaks.h"
#include "analysis/ViewTexts.h"
#include "app/Startup.h"
#include "app/ViewedReading.h"
#include "loaders/SignalLoader.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/DerivedRecords.h"
#include "store/SignalCachePath.h"
#include "store/testing/TestPlant.h"
#include "texts/TranslationTable.h"
#include "texts/UiText.h"
#include "ui/common/AxisSetupDialog.h"
#include "ui/common/DisplayLanguage.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/EnvelopeView.h"
#include "ui/views/FindingsView.h"
#include "ui/views/GraphPane.h"
#include "ui/views/NoteMarks.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/ReadingListView.h"
#include "ui/views/SignalFileExport.h"
#include "ui/views/SpectrumView.h"
#include "ui/views/TrendLineDialog.h"
#include "ui/views/TrendView.h"
#include "ui/views/UpdateRunSpeedDialog.h"
#include "ui/views/WaterfallView.h"
#include "ui/views/WaveformView.h"
#include "ui/views/ZoomDateDialog.h"
#include <VantorGraph/VantorGraphCtrl.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace vantor {
namespace {

constexpr int kSamples = 2048;
constexpr float kRunSpeedHz = 25.0f;
constexpr float kTotalRate = 2560.0f;
constexpr float kIsoRate = 640.0f;

// 16-bit samples around mid-scale: the run speed and its 2x and 3x with falling amplitudes.
QByteArray Machine(int n, float rate, int amplitude) {
    QByteArray raw;
    for (int i = 0; i < n; ++i) {
        const double t = i / static_cast<double>(rate);
        double value = 0;
        for (int h = 1; h <= 3; ++h) {
            value += amplitude / h * std::sin(2 * M_PI * kRunSpeedHz * h * t);
        }
        const auto sample = static_cast<std::uint16_t>(32768 + std::lround(value));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

// Tones (Hz, counts) as 16-bit samples around mid-scale.
QByteArray Tones(int n, float rate, const std::vector<std::pair<double, double>>& tones) {
    QByteArray raw;
    for (int i = 0; i < n; ++i) {
        const double t = i / static_cast<double>(rate);
        double value = 0;
        for (const auto& [hz, amplitude] : tones) {
            value += amplitude * std::sin(2 * M_PI * hz * t);
        }
        const auto sample = static_cast<std::uint16_t>(32768 + std::lround(value));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

// A route reading of the point with both captures as given.
CVibReading Captured(const QString& point, const QDateTime& taken, float iso, float runSpeedHz,
                     QByteArray total, QByteArray isoRaw, float isoRate) {
    CVibReading r;
    r.sItemGUID = MakeItemGuid();
    r.sParentGUID = point;
    r.ctDateTaken = taken;
    r.fISOMMS = iso;
    r.fTotalG = 0.5f;
    r.fOriginalRunSpeedHz = r.fCurrentRunSpeedHz = runSpeedHz;
    r.fPSUVoltage = 65536.0f;
    r.iADCBits = 16;
    r.fAccelerometerSensitivity = 1000.0f;
    r.fTotalCal = r.fISOCal = 1.0f;
    r.fTotalGain = r.fISOGain = 0.001f;
    r.fTotalSamplingFrequency = kTotalRate;
    r.iTotalNumberOfSamples = kSamples;
    r.fISOSamplingFrequency = isoRate;
    r.iISONumberOfSamples = kSamples;
    r.rawADCTotalDataByteArray = std::move(total);
    r.rawADCISODataByteArray = std::move(isoRaw);
    return r;
}

// One read-out entry: "caption: x xUnit, y yUnit".
struct ReadoutEntry {
    QString x;
    QString xUnit;
    double y = 0;
    QString yUnit;
};
std::optional<ReadoutEntry> ReadoutEntryOf(const QString& readout, const QString& caption) {
    const QRegularExpression pattern(QRegularExpression::escape(caption) +
                                     QStringLiteral(": ([-0-9.,]+) (\\S+), ([-0-9.,]+) (\\S+)"));
    const QRegularExpressionMatch match = pattern.match(readout);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return ReadoutEntry{match.captured(1), match.captured(2), QLocale().toDouble(match.captured(3)),
                        match.captured(4)};
}

class PointViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        point = testing::AddFanMotorDE(db);
        // OK, warning, critical, OK: oldest first.
        const float iso[] = {2.0f, 5.0f, 8.0f, 3.0f};
        for (int day = 0; day < 4; ++day) {
            const CVibReading r =
                Captured(point.sItemGUID, QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)), iso[day],
                         kRunSpeedHz, Machine(kSamples, kTotalRate, 1000 * (day + 1)),
                         Machine(kSamples, kIsoRate, 1000 * (day + 1)), kIsoRate);
            ASSERT_TRUE(db.UpsertVibReading(r));
            readings.push_back(r.sItemGUID);
        }
        views = std::make_unique<PointViews>(*app);
        views->resize(900, 600);
        views->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(views.get()));
    }

    void TearDown() override {
        UiTextTable::ResetToDefaults();
        ApplyDisplayLanguage(QString());
    }

    QString CacheFile(const QString& reading) const {
        return SignalCacheFilePath(app->folders.dataFolder, reading);
    }

    // Clicks the graph at a point and waits for the control's single-click timer.
    static void ClickPoint(CVantorGraphCtrl& graph, QPoint at) {
        CVantorGraphCtrl::Timing timing;
        timing.clickWaitFactor = 0.01;
        graph.setTiming(timing);
        QTest::mouseClick(&graph, Qt::LeftButton, {}, at);
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib point;
    QStringList readings; // oldest first
    std::unique_ptr<PointViews> views;
};

TEST_F(PointViewsTest, AClickOnATrendPointOpensThatReadingsSpectrum) {
    views->ShowPoint(point.sItemGUID);
    EXPECT_EQ(views->currentIndex(), PointViews::TrendTab);
    // The newest reading is the shown one; its signals wait until a signal view is shown.
    EXPECT_EQ(views->ReadingGuid(), readings.back());
    EXPECT_FALSE(QFile::exists(CacheFile(readings.back())));

    CVantorGraphCtrl& trend = views->Trend().Pane().Graph();
    QApplication::processEvents();
    trend.repaint();
    const QList<QPoint> markers = trend.seriesScreenPositions(0);
    ASSERT_EQ(markers.size(), 4);
    // The newest reading's tooltip gives its value as the read-out does, decimals and all.
    QTest::mouseMove(&trend, markers[3]);
    const QString readout = views->Trend().Pane().Readout().text();
    const QString value = readout.section(QStringLiteral(": "), 1).section(QLatin1Char(' '), 0, 0);
    EXPECT_EQ(value.section(QLatin1Char('.'), 1).size(), 3) << readout.toStdString();
    EXPECT_TRUE(
        trend.GetToolTipText().section(QStringLiteral("\r\n"), 0, 0).endsWith(QStringLiteral(": ") + value))
        << trend.GetToolTipText().toStdString() << " / " << readout.toStdString();
    ClickPoint(trend, markers[1]);
    QTRY_COMPARE(views->currentIndex(), static_cast<int>(PointViews::SpectrumTab));

    EXPECT_EQ(views->ReadingGuid(), readings[1]);
    CVantorGraphCtrl& spectrum = views->Spectrum().Pane().Graph();
    EXPECT_GT(spectrum.seriesPointCount(0), 100);
    // The title names the machine, the point and the clicked reading's date.
    EXPECT_TRUE(spectrum.GetGraphTitle().startsWith(QStringLiteral("Fan - Motor DE")));
    EXPECT_TRUE(spectrum.GetGraphTitle().contains(
        QLocale::system().toString(QDateTime(QDate(2024, 5, 2), QTime(10, 0)), QLocale::ShortFormat)));
    // Opening the spectrum wrote that reading's cache file, and only that one.
    EXPECT_TRUE(QFile::exists(CacheFile(readings[1])));
    EXPECT_FALSE(QFile::exists(CacheFile(readings.back())));
    EXPECT_TRUE(prompter.Texts().isEmpty()) << prompter.Texts().join('|').toStdString();
}

// Notes on the point and on its machine stand on the trend's time axis at their dates: one between
// the second and third readings, one after the newest (the axis widens to show it), each with its
// text in the tooltip, painted in the note colour behind the readings' markers.
TEST_F(PointViewsTest, NotesStandOnTheTrendsTimeAxisAtTheirDates) {
    CMainConnection& db = *app->MainConnection();
    ASSERT_EQ(AddNote(db, point.sItemGUID, QStringLiteral("Coupling realigned"), QStringLiteral("ann"),
                      QDateTime(QDate(2024, 5, 2), QTime(22, 0))),
              QString());
    ASSERT_EQ(AddNote(db, point.sParentGUID, QStringLiteral("Bearing replaced"), QStringLiteral("bob"),
                      QDateTime(QDate(2024, 5, 6), QTime(8, 0))),
              QString());
    views->ShowPoint(point.sItemGUID);
    CVantorGraphCtrl& trend = views->Trend().Pane().Graph();
    QApplication::processEvents();
    trend.repaint();
    const QList<QPoint> markers = trend.seriesScreenPositions(0);
    ASSERT_EQ(markers.size(), 4);
    const NoteMarks& notes = views->Trend().Notes();
    ASSERT_EQ(notes.Notes().size(), 2u);
    const std::vector<std::optional<int>> xs = notes.MarkedX();
    ASSERT_TRUE(xs[0] && xs[1]);
    // 22:00 on the 2nd lies half-way between the readings at 10:00 on the 2nd and the 3rd.
    EXPECT_NEAR(*xs[0], (markers[1].x() + markers[2].x()) / 2.0, 2.0);
    EXPECT_GT(*xs[1], markers[3].x());
    EXPECT_LE(*xs[1], trend.plotRect().right());

    const int axis = trend.plotRect().bottom();
    EXPECT_TRUE(notes.TipAt({*xs[0] + 2, axis - 3}).contains(QStringLiteral("Coupling realigned")));
    EXPECT_TRUE(notes.TipAt({*xs[1], axis - 3}).contains(QStringLiteral("bob")));
    EXPECT_TRUE(notes.TipAt({(*xs[0] + markers[2].x()) / 2 + 10, axis - 3}).isEmpty());

    // The flag is painted on the axis in the note colour.
    const QImage shot = trend.grab().toImage();
    int noted = 0;
    for (int x = *xs[0]; x < *xs[0] + 8; ++x) {
        for (int y = axis - 12; y < axis; ++y) {
            noted += shot.pixelColor(x, y) == QColor(90, 60, 160) ? 1 : 0;
        }
    }
    EXPECT_GT(noted, 10);
}

TEST_F(PointViewsTest, EnvelopeTabShowsTheSpectrumInThePointsBandAndItsTools) {
    views->ShowPoint(point.sItemGUID);
    views->setCurrentIndex(PointViews::EnvelopeTab);
    EnvelopeView& envelope = views->Envelope();
    ASSERT_TRUE(envelope.Shown());
    // Fmax 1000 Hz: the default band 250-1000 Hz, lines from 0 to 125 Hz, 1.25 Hz apart.
    EXPECT_EQ(envelope.Shown()->band, (EnvelopeBand{250.0, 1000.0}));
    EXPECT_EQ(envelope.Shown()->lines.size(), 101u);
    EXPECT_GE(envelope.Pane().Graph().seriesPointCount(0), 101); // bars draw three points a line
    EXPECT_TRUE(envelope.Caption().startsWith(QStringLiteral("Envelope band 250-1000 Hz")))
        << envelope.Caption().toStdString();
    EXPECT_TRUE(envelope.Pane().Graph().GetGraphTitle().contains(QStringLiteral("Envelope 250-1000 Hz")));
    EXPECT_TRUE(QFile::exists(DerivedCacheFilePath(app->folders.dataFolder, readings.back())));
    QMenu menu;
    envelope.FillMenu(menu);
    QStringList items;
    for (const QAction* action : menu.actions()) {
        items << action->text();
    }
    EXPECT_TRUE(items.contains(UiText(text::views::TopPeaks)));

    // The point's own band, clipped at Fmax and said so; a refused one leaves the graph empty with
    // the reason.
    derived::PutEnvelopeBand(app->MainConnection()->Connection(), point.sItemGUID,
                             EnvelopeBandRow{400, 1500});
    views->ShowPoint(point.sItemGUID);
    ASSERT_TRUE(envelope.Shown());
    EXPECT_EQ(envelope.Shown()->band, (EnvelopeBand{400.0, 1000.0}));
    EXPECT_TRUE(envelope.Caption().contains(QStringLiteral("clipped")));
    derived::PutEnvelopeBand(app->MainConnection()->Connection(), point.sItemGUID,
                             EnvelopeBandRow{1200, 1500});
    views->ShowPoint(point.sItemGUID);
    EXPECT_FALSE(envelope.Shown());
    const CVantorGraphCtrl& graph = envelope.Pane().Graph();
    EXPECT_EQ(graph.GetSeriesCount() > 0 ? graph.seriesPointCount(0) : 0, 0);
    EXPECT_EQ(envelope.Caption(), EnvelopeRefusalText(EnvelopeRefusal::LowNotBelowHigh));
}

TEST_F(PointViewsTest, FindingsListTheReadingsFindingsAndAnEvidenceLineOpensItsSpectrumAtTheCursor) {
    views->ShowPoint(point.sItemGUID);
    views->setCurrentIndex(PointViews::FindingsTab);
    FindingsView& findings = views->Findings();
    EXPECT_EQ(views->tabText(PointViews::FindingsTab), QStringLiteral("Findings"));
    ASSERT_FALSE(findings.Shown().empty());
    QTreeWidget& tree = findings.Tree();
    ASSERT_EQ(tree.topLevelItemCount(), static_cast<int>(findings.Shown().size()));
    const QTreeWidgetItem* evidenceItem = nullptr;
    double evidenceHz = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const Finding& finding = findings.Shown()[static_cast<std::size_t>(i)];
        const QTreeWidgetItem* item = tree.topLevelItem(i);
        EXPECT_EQ(item->text(0), FindingKindText(finding.kind));
        if (finding.kind != FindingKind::NoFinding) {
            EXPECT_EQ(item->text(1), StatusText(finding.severity));
            EXPECT_TRUE(item->text(2).endsWith(QStringLiteral("%")));
        }
        // The summary, then the evidence lines.
        ASSERT_EQ(item->childCount(), static_cast<int>(finding.evidence.size()) + 1);
        EXPECT_EQ(item->child(0)->text(0), finding.summary);
        for (std::size_t e = 0; e < finding.evidence.size(); ++e) {
            const Evidence& evidence = finding.evidence[e];
            QTreeWidgetItem* line = item->child(static_cast<int>(e) + 1);
            EXPECT_EQ(line->text(5), evidence.text);
            if (!evidenceItem && EvidenceSpectrumOf(evidence) == EvidenceSpectrum::Iso) {
                evidenceItem = line;
                evidenceHz = evidence.hz;
            }
        }
    }
    ASSERT_NE(evidenceItem, nullptr) << "no ISO evidence line";

    // The spectrum shows Total and is zoomed away from the line: the click brings the ISO
    // spectrum, its full axis and a simple cursor on the evidence line.
    views->setCurrentIndex(PointViews::SpectrumTab);
    views->Spectrum().SetKind(MeasureKind::Acceleration);
    views->Spectrum().SetAxisLimits(AxisLimits{200, 300, 0, 1});
    views->setCurrentIndex(PointViews::FindingsTab);
    tree.scrollToItem(evidenceItem);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(evidenceItem).center());
    EXPECT_EQ(views->currentIndex(), static_cast<int>(PointViews::SpectrumTab));
    SpectrumView& spectrum = views->Spectrum();
    EXPECT_EQ(spectrum.Kind(), MeasureKind::IsoVelocity);
    EXPECT_EQ(spectrum.Cursor(), GraphCursor::Simple);
    EXPECT_FALSE(spectrum.Limits().has_value());
    // Within a line of the ISO spectrum (640 Hz over 2048 samples).
    EXPECT_NEAR(spectrum.Pane().Graph().currentCursorX(), evidenceHz, kIsoRate / kSamples);
    EXPECT_TRUE(prompter.Texts().isEmpty()) << prompter.Texts().join('|').toStdString();
}

TEST_F(PointViewsTest, AnEvidenceLineOpensTheSpectrumItLiesOn) {
    views->ShowPoint(point.sItemGUID);
    struct Case {
        EvidenceSpectrum spectrum;
        double hz;
        int tab;
        MeasureKind kind; // of the spectrum view
    };
    const Case cases[] = {
        {EvidenceSpectrum::Iso, 75, PointViews::SpectrumTab, MeasureKind::IsoVelocity},
        {EvidenceSpectrum::Total, 50, PointViews::SpectrumTab, MeasureKind::Acceleration},
        {EvidenceSpectrum::Envelope, 50, PointViews::EnvelopeTab, MeasureKind::Acceleration},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.spectrum));
        views->setCurrentIndex(PointViews::FindingsTab);
        views->ShowEvidence(c.spectrum, c.hz);
        ASSERT_EQ(views->currentIndex(), c.tab);
        ReadingView& view = c.tab == PointViews::EnvelopeTab ? static_cast<ReadingView&>(views->Envelope())
                                                             : views->Spectrum();
        if (c.tab == PointViews::SpectrumTab) {
            EXPECT_EQ(view.Kind(), c.kind);
        }
        EXPECT_EQ(view.Cursor(), GraphCursor::Simple);
        EXPECT_NEAR(view.Pane().Graph().currentCursorX(), c.hz, 1.3);
    }

    // Only lines on a spectrum lead anywhere: not an index of the waveform.
    struct Source {
        const char* source;
        double hz;
        std::optional<EvidenceSpectrum> spectrum;
    };
    const Source sources[] = {{"ISO", 25, EvidenceSpectrum::Iso},
                              {"Total", 640, EvidenceSpectrum::Total},
                              {"Envelope", 107, EvidenceSpectrum::Envelope},
                              {"Total", 0, std::nullopt},
                              {"Other", 25, std::nullopt}};
    for (const Source& s : sources) {
        EXPECT_EQ(EvidenceSpectrumOf(Evidence{QLatin1String(s.source), s.hz, 1, {}, {}}), s.spectrum)
            << s.source;
    }
}

TEST_F(PointViewsTest, SwitchingToRpmRedrawsTheSpectrumAndTheCursorReadout) {
    views->ShowPoint(point.sItemGUID);
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    CVantorGraphCtrl& graph = view.Pane().Graph();
    view.SetCursor(GraphCursor::Simple);
    const double hzMaximum = graph.GetXAxisMax();
    EXPECT_TRUE(graph.GetXAxisCaption().contains(QStringLiteral("(Hz)")));
    EXPECT_TRUE(view.Pane().Readout().text().contains(QStringLiteral(" Hz")))
        << view.Pane().Readout().text().toStdString();

    app->settings.xAxisUnits = static_cast<int>(FrequencyUnit::Rpm);
    views->Redraw();
    EXPECT_TRUE(graph.GetXAxisCaption().contains(QStringLiteral("(RPM)")))
        << graph.GetXAxisCaption().toStdString();
    EXPECT_NEAR(graph.GetXAxisMax(), 60 * hzMaximum, 1e-3 * 60 * hzMaximum);
    // The cursor still stands at the run speed, now read in RPM.
    const QString readout = view.Pane().Readout().text();
    EXPECT_TRUE(readout.contains(QStringLiteral(" RPM"))) << readout.toStdString();
    EXPECT_NEAR(graph.GetCursorFundamental(), 60 * kRunSpeedHz, 60 * 1.0);

    // The views not on show redraw when they are shown.
    views->setCurrentIndex(PointViews::WaterfallTab);
    EXPECT_TRUE(views->Waterfall().Pane().Graph().GetXAxisCaption().contains(QStringLiteral("(RPM)")));
    EXPECT_EQ(views->Waterfall().Shown().size(), readings.size());
}

// The spectrum's read-out is worked out from the shown line whenever the units, the reading or the
// point change: its frequency text and amplitude are those `vantor peaks` gives for that line, in
// the units the read-out names, never a number left from the units before.
TEST_F(PointViewsTest, TheReadoutReadsTheShownLineThroughUnitReadingAndPointChanges) {
    CMainConnection& db = *app->MainConnection();
    CVib other = point;
    other.sItemGUID = MakeItemGuid();
    other.sName = QStringLiteral("Motor NDE");
    ASSERT_TRUE(db.UpsertVib(other));
    ASSERT_TRUE(db.UpsertVibReading(Captured(other.sItemGUID, QDateTime(QDate(2024, 5, 9), QTime(10, 0)),
                                             1.0f, kRunSpeedHz, Machine(kSamples, kTotalRate, 300),
                                             Machine(kSamples, kIsoRate, 300), kIsoRate)));
    const QString otherNewest = db.ListVibReadings(other.sItemGUID).back().sItemGUID;

    struct Step {
        const char* name;
        const CVib* shownPoint;
        QString reading; // empty: the point's newest
        FrequencyUnit frequency;
        AmplitudeUnit amplitude;
    };
    const Step steps[] = {
        {"Hz and mm/s", &point, {}, FrequencyUnit::Hz, AmplitudeUnit::Metric},
        {"CPM and inch/s", &point, {}, FrequencyUnit::Cpm, AmplitudeUnit::Imperial},
        {"back to Hz and mm/s", &point, {}, FrequencyUnit::Hz, AmplitudeUnit::Metric},
        {"CPM and inch/s again", &point, {}, FrequencyUnit::Cpm, AmplitudeUnit::Imperial},
        {"another point", &other, {}, FrequencyUnit::Hz, AmplitudeUnit::Metric},
        {"the first point's oldest reading", &point, readings[0], FrequencyUnit::Hz, AmplitudeUnit::Metric},
        {"RPM on the oldest reading", &point, readings[0], FrequencyUnit::Rpm, AmplitudeUnit::Metric},
    };
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    const CVib* shown = nullptr;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        app->settings.xAxisUnits = static_cast<int>(step.frequency);
        app->settings.yAxisUnits = static_cast<int>(step.amplitude);
        if (shown != step.shownPoint) {
            shown = step.shownPoint;
            views->ShowPoint(shown->sItemGUID);
            view.SetCursor(GraphCursor::Simple);
        }
        if (!step.reading.isEmpty()) {
            views->ShowReading(step.reading);
        }
        views->Redraw();
        const QString reading = views->ReadingGuid();
        ASSERT_EQ(reading, step.reading.isEmpty() ? db.ListVibReadings(shown->sItemGUID).back().sItemGUID
                                                  : step.reading);

        // What `vantor peaks` lists for the reading in these units.
        const DisplayUnits units =
            DisplayUnits::FromSettings(app->settings.xAxisUnits, app->settings.yAxisUnits);
        SignalProcessor processor;
        ReadingSignals decoded;
        ASSERT_TRUE(LoadReadingSignals(db, processor, reading, decoded));
        const std::optional<DisplayedSpectrum> spectrum =
            MakeDisplayedSpectrum(decoded, MeasureKind::IsoVelocity, units, false);
        ASSERT_TRUE(spectrum);
        const PeakList peaks = FindTopPeaks(*spectrum);

        const QString readout = view.Readout().Text();
        const std::optional<ReadoutEntry> entry = ReadoutEntryOf(readout, UiText(text::views::Cursor));
        ASSERT_TRUE(entry) << readout.toStdString();
        EXPECT_EQ(entry->xUnit, units.FrequencyLabel());
        EXPECT_EQ(entry->yUnit, units.VelocityLabel());
        // The cursor stands on the 1× line, a listed peak: the frequency both give reads as the same
        // number (the read-out with the line's exact decimals), and the same amplitude.
        const double x = QLocale().toDouble(entry->x);
        const auto listed = std::find_if(peaks.peaks.begin(), peaks.peaks.end(), [&](const PeakSlot& peak) {
            return QLocale().toDouble(PeakText(peak.frequency, peak.frequencyDecimals, QLocale())) == x;
        });
        ASSERT_NE(listed, peaks.peaks.end()) << readout.toStdString();
        EXPECT_NEAR(listed->frequency, kRunSpeedHz * units.FrequencyFactor(), 1e-3);
        EXPECT_NEAR(entry->y, listed->amplitude, 5e-3 * std::max(1.0f, listed->amplitude))
            << readout.toStdString();
    }
}

// The harmonic and bearing cursors start from the reading's run speed, not from where the simple
// cursor stood, and read the real orders: with the run speed (24.6 Hz) between lines 1.25 Hz apart,
// the third harmonic reads the tall 73.75 Hz line, not the 75 Hz line the control snaps 3 × 25 to;
// a line's frequency shows at the spectrum's resolution (23.75 Hz, not 24).
TEST_F(PointViewsTest, HarmonicAndBearingCursorsReadTheOrdersOfTheRunSpeed) {
    CMainConnection& db = *app->MainConnection();
    constexpr float kFineIsoRate = 2560.0f; // 1.25 Hz lines of 2048 samples
    const CVibReading offBin =
        Captured(point.sItemGUID, QDateTime(QDate(2024, 5, 9), QTime(10, 0)), 3.0f, 24.6f,
                 Machine(kSamples, kTotalRate, 1000),
                 Tones(kSamples, kFineIsoRate, {{25.0, 400}, {23.75, 200}, {73.75, 3000}}), kFineIsoRate);
    ASSERT_TRUE(db.UpsertVibReading(offBin));
    views->ShowPoint(point.sItemGUID);
    views->setCurrentIndex(PointViews::SpectrumTab);
    SpectrumView& view = views->Spectrum();
    ASSERT_EQ(views->ReadingGuid(), offBin.sItemGUID);

    SignalProcessor processor;
    ReadingSignals decoded;
    ASSERT_TRUE(LoadReadingSignals(db, processor, offBin.sItemGUID, decoded));
    const std::optional<DisplayedSpectrum> spectrum =
        MakeDisplayedSpectrum(decoded, MeasureKind::IsoVelocity, DisplayUnits::FromSettings(0, 0), false);
    ASSERT_TRUE(spectrum);
    const auto lineAt = [&](double hz) {
        return spectrum->lines[static_cast<std::size_t>(std::lround(hz / spectrum->lineSpacingHz))];
    };
    ASSERT_GT(lineAt(73.75), 2 * lineAt(75.0)); // the real third order is the tall line

    view.SetCursor(GraphCursor::Simple);
    view.PlaceCursorAt(23.75);
    std::optional<ReadoutEntry> simple = ReadoutEntryOf(view.Readout().Text(), UiText(text::views::Cursor));
    ASSERT_TRUE(simple) << view.Readout().Text().toStdString();
    EXPECT_EQ(simple->x, QLocale().toString(23.75, 'f', 2));
    view.PlaceCursorAt(150.0); // the simple cursor far from the run speed

    for (const bool snap : {false, true}) {
        SCOPED_TRACE(snap ? "peak snap" : "no snap");
        view.SetPeakSnap(snap);
        view.SetCursor(GraphCursor::Harmonic);
        const QString readout = view.Readout().Text();
        const std::optional<ReadoutEntry> first =
            ReadoutEntryOf(readout, QStringLiteral("%1 1").arg(UiText(text::views::CursorHarmonic)));
        const std::optional<ReadoutEntry> third =
            ReadoutEntryOf(readout, QStringLiteral("%1 3").arg(UiText(text::views::CursorHarmonic)));
        ASSERT_TRUE(first && third) << readout.toStdString();
        EXPECT_EQ(first->x, QLocale().toString(25)) << readout.toStdString();
        EXPECT_EQ(third->x, QLocale().toString(73.75, 'f', 2)) << readout.toStdString();
        EXPECT_NEAR(third->y, lineAt(73.75), 5e-3 * lineAt(73.75));

        view.SetCursor(GraphCursor::Bearing);
        const std::optional<ReadoutEntry> runSpeed =
            ReadoutEntryOf(view.Readout().Text(), view.Pane().Graph().GetBearingTranslation());
        ASSERT_TRUE(runSpeed) << view.Readout().Text().toStdString();
        EXPECT_EQ(runSpeed->x, QLocale().toString(25)) << view.Readout().Text().toStdString();
        view.SetCursor(GraphCursor::Simple);
    }
}

// The envelope opens on the span of the point's families to their 10th harmonic: the inner race's
// (the highest, with its sidebands at ± run speed) with a little room; nothing without bearings.
TEST(EnvelopeOpeningSpan, ReachesEveryFamilysTenthHarmonic) {
    BearingAtPoint bearing;
    bearing.factors = {0.4, 2.4, 3.6, 5.4};
    const double runSpeed = 25;
    const double span = EnvelopeOpeningSpan({bearing}, runSpeed);
    EXPECT_GE(span, (10 * 5.4 + 1) * runSpeed);
    EXPECT_LT(span, (10 * 5.4 + 1) * runSpeed * 1.1);
    EXPECT_EQ(EnvelopeOpeningSpan({}, runSpeed), 0.0);
}

// Scale Lock keeps the amplitude axis of the last spectrum when another reading is opened.
TEST_F(PointViewsTest, ScaleLockKeepsTheAmplitudeAxisAcrossReadings) {
    views->ShowPoint(point.sItemGUID); // the newest reading swings four times the oldest
    views->setCurrentIndex(PointViews::SpectrumTab);
    CVantorGraphCtrl& graph = views->Spectrum().Pane().Graph();
    const double largest = graph.GetYAxisMax();

    views->SetScaleLock(true);
    views->ShowReading(readings[0]);
    EXPECT_EQ(views->ReadingGuid(), readings[0]);
    EXPECT_DOUBLE_EQ(graph.GetYAxisMax(), largest);

    views->SetScaleLock(false);
    views->Redraw();
    EXPECT_LT(graph.GetYAxisMax(), 0.5 * largest);
}

TEST_F(PointViewsTest, DeletingAReadingAsksThenRemovesItsCacheFileAndRedraws) {
    views->ShowPoint(point.sItemGUID);
    views->ShowReading(readings[2]);
    views->setCurrentIndex(PointViews::SpectrumTab);
    ASSERT_TRUE(QFile::exists(CacheFile(readings[2])));
    QSignalSpy changed(views.get(), &PointViews::ReadingsChanged);

    // Declined: nothing changes.
    prompter.yesNoAnswers = {false};
    EXPECT_FALSE(views->DeleteReading(readings[2]));
    EXPECT_TRUE(QFile::exists(CacheFile(readings[2])));
    EXPECT_EQ(views->Trend().Pane().Graph().seriesPointCount(0), 4);
    EXPECT_EQ(changed.count(), 0);

    // Through the list's Delete key, answered Yes.
    prompter.yesNoAnswers = {true};
    QTreeWidget& list = views->Readings().List();
    ASSERT_EQ(list.topLevelItemCount(), 4);
    list.setCurrentItem(list.topLevelItem(1)); // newest first: the third reading
    QTest::keyClick(&list, Qt::Key_Delete);

    EXPECT_EQ(prompter.Texts().back(), UiText(text::views::DeleteReadingQuestion));
    EXPECT_FALSE(QFile::exists(CacheFile(readings[2])));
    CVibReading gone;
    EXPECT_FALSE(app->MainConnection()->GetVibReading(readings[2], gone));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(list.topLevelItemCount(), 3);
    // The deleted reading was on show: the newest one takes its place.
    EXPECT_EQ(views->ReadingGuid(), readings.back());
    EXPECT_GT(views->Spectrum().Pane().Graph().seriesPointCount(0), 0);
    // The trend, not on show, redraws without the reading when its tab opens.
    views->setCurrentIndex(PointViews::TrendTab);
    EXPECT_EQ(views->Trend().Pane().Graph().seriesPointCount(0), 3);
}

TEST_F(PointViewsTest, ALanguageChangeReReadsEveryCaption) {
    views->ShowPoint(point.sItemGUID);
    QStringList texts = UiTextTable::Snapshot();
    const std::pair<int, const char*> translated[] = {
        {text::views::Trend, "Tendance"},        {text::views::SingleFft, "FFT simple"},
        {text::views::WaterfallFft, "Cascade"},  {text::views::Waveform, "Forme d'onde"},
        {text::views::VibReadings, "Mesures"},   {text::views::TrendLine, "Droite"},
        {text::views::DateTime, "Date/Heure"},   {text::views::Iso, "ISO-fr"},
        {text::views::MaxWaterfallGraphs, "Max"}};
    for (const auto& [index, french] : translated) {
        texts[index] = QString::fromUtf8(french);
    }
    ASSERT_TRUE(UiTextTable::Replace(texts));
    views->RefreshTexts();

    QStringList tabs;
    for (int i = 0; i < views->count(); ++i) {
        tabs << views->tabText(i);
    }
    // A documented pack leaves the added texts (Findings) in English.
    EXPECT_EQ(tabs, (QStringList{"Tendance", "FFT simple", "Cascade", "Forme d'onde", "Mesures", "Envelope",
                                 "Analysis", "Findings"}));
    const auto buttons = views->Trend().findChildren<QPushButton*>();
    EXPECT_TRUE(std::any_of(buttons.begin(), buttons.end(), [](const QPushButton* b) {
        return b->text().startsWith(QStringLiteral("Droite"));
    }));
    EXPECT_EQ(views->Readings().List().headerItem()->text(0), QStringLiteral("Date/Heure"));
    EXPECT_TRUE(views->Readings().List().headerItem()->text(2).startsWith(QStringLiteral("ISO-fr")));
    // The spectrum's menu is built from the table when it opens.
    QMenu menu;
    views->Spectrum().FillMenu(menu);
    QStringList items;
    for (const QAction* action : menu.actions()) {
        items << action->text();
    }
    EXPECT_TRUE(items.contains(UiText(text::views::CopyToClipboard)));
    EXPECT_TRUE(items.contains(QString::asprintf("%s (%s)", "Off", "Cursor Type")));
}

// In German the views read in German: the findings, the envelope's title and caption, the readings'
// dates ("1. Mai 2024") and decimals with a comma, also in the graph control's dates.
TEST_F(PointViewsTest, InGermanFindingsTitlesDatesAndDecimalsReadInGerman) {
    const std::optional<TranslationTable> german =
        ReadTranslationTable(QStringLiteral(VANTOR_SOURCE_DIR "/texts/translations/de.tsv"));
    ASSERT_TRUE(german);
    ASSERT_TRUE(UiTextTable::Replace(PackTexts(*german)));
    ApplyDisplayLanguage(QStringLiteral("Deutsch"));
    views->RefreshTexts();
    views->ShowPoint(point.sItemGUID);

    const QTreeWidget& list = views->Readings().List();
    ASSERT_GT(list.topLevelItemCount(), 0);
    EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("4. Mai 2024 10:00:00"));
    const QVariantMap first = views->Trend().Pane().Graph().seriesPoint(0, 0);
    EXPECT_EQ(first.value(QStringLiteral("dateText")).toString(), QStringLiteral("1. Mai 2024"));

    views->setCurrentIndex(PointViews::FindingsTab);
    EXPECT_EQ(views->tabText(PointViews::FindingsTab), UiText(text::added::Findings));
    EXPECT_NE(UiText(text::added::Findings), QStringLiteral("Findings"));
    const QTreeWidget& tree = views->Findings().Tree();
    int numbers = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree.topLevelItem(i);
        for (int c = 0; c < item->childCount(); ++c) {
            for (const char* english : {" of ", " at ", "harmonics", "overall", "zone ", "No rule"}) {
                EXPECT_FALSE(item->child(c)->text(0).contains(QLatin1String(english)))
                    << item->child(c)->text(0).toStdString();
                EXPECT_FALSE(item->child(c)->text(5).contains(QLatin1String(english)))
                    << item->child(c)->text(5).toStdString();
            }
            const QString frequency = item->child(c)->text(3);
            if (!frequency.isEmpty()) {
                EXPECT_TRUE(frequency.contains(QLatin1Char(',')) && !frequency.contains(QLatin1Char('.')))
                    << frequency.toStdString();
                ++numbers;
            }
        }
    }
    EXPECT_GT(numbers, 0);

    views->setCurrentIndex(PointViews::EnvelopeTab);
    EnvelopeView& envelope = views->Envelope();
    ASSERT_TRUE(envelope.Shown());
    EXPECT_TRUE(envelope.Pane().Graph().GetGraphTitle().contains(QStringLiteral("Hüllkurve 250-1000 Hz")))
        << envelope.Pane().Graph().GetGraphTitle().toStdString();
    EXPECT_TRUE(envelope.Caption().contains(QStringLiteral("0,"))) << envelope.Caption().toStdString();
    EXPECT_FALSE(envelope.Caption().contains(QStringLiteral("0."))) << envelope.Caption().toStdString();
    QMenu menu;
    views->Spectrum().FillMenu(menu);
    QStringList items;
    for (const QAction* action : menu.actions()) {
        items << action->text();
    }
    EXPECT_FALSE(items.contains(QStringLiteral("Bearing (Cursortyp)"))) << items.join('|').toStdString();
    EXPECT_EQ(views->Spectrum().Pane().Graph().GetBearingTranslation(), UiText(text::added::Bearing));
    EXPECT_NE(UiText(text::added::Bearing), QStringLiteral("Bearing"));
}

// The grabbed views of the demonstration point: the trend shows the alarm bands and one marker of
// each status colour; the spectrum and waveform draw their traces inside the plot.
TEST_F(PointViewsTest, GrabbedViewsShowBandsMarkersAndTraces) {
    views->ShowPoint(point.sItemGUID);
    auto countColour = [](const QImage& image, const QRect& area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
            }
        }
        return n;
    };
    const QImage trend = views->grab().toImage();
    const CVantorGraphCtrl& trendGraph = views->Trend().Pane().Graph();
    const QRect plot = trendGraph.plotRect().translated(trendGraph.mapTo(views.get(), QPoint(0, 0)));
    ASSERT_TRUE(trend.rect().contains(plot));
    EXPECT_GT(countColour(trend, plot, qRgb(253, 246, 161)), 100); // warning band
    EXPECT_GT(countColour(trend, plot, qRgb(255, 220, 217)), 100); // critical band
    EXPECT_GT(countColour(trend, plot, qRgb(0, 192, 0)), 5);       // OK markers
    EXPECT_GT(countColour(trend, plot, qRgb(255, 128, 0)), 5);     // the warning marker
    EXPECT_GT(countColour(trend, plot, qRgb(255, 0, 0)), 5);       // the critical marker

    for (const PointViews::Tab tab :
         {PointViews::SpectrumTab, PointViews::WaterfallTab, PointViews::WaveformTab}) {
        views->setCurrentIndex(tab);
        QApplication::processEvents();
        const QImage image = views->grab().toImage();
        GraphPane* pane = views->widget(tab)->findChild<GraphPane*>();
        ASSERT_NE(pane, nullptr);
        const QRect area =
            pane->Graph().plotRect().translated(pane->Graph().mapTo(views.get(), QPoint(0, 0)));
        EXPECT_GT(countColour(image, area, qRgb(0, 0, 192)), 50) << "tab " << tab;
        if (const QByteArray dir = qgetenv("VANTOR_VIEW_SHOTS"); !dir.isEmpty()) {
            image.save(QStringLiteral("%1/tab%2.png").arg(QString::fromLocal8Bit(dir)).arg(tab));
        }
    }
}

TEST_F(PointViewsTest, CopyPutsThePictureAndTheSeriesOnTheClipboard) {
    views->ShowPoint(point.sItemGUID);
    views->Trend().Pane().CopyToClipboard();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    const QStringList rows = data->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral("\t8"))) << rows[2].toStdString();
}

// The cursor dragged (nudged) off the run speed; Yes writes the new speed into the row and the
// cache file and recomputes the ISO value, No leaves everything as it was.
TEST_F(PointViewsTest, UpdateRunSpeedWritesTheCursorsSpeedOnlyWhenConfirmed) {
    for (const bool confirm : {false, true}) {
        PointViewsState state(*app);
        state.point = point;
        state.readingGuid = readings[0];
        UpdateRunSpeedDialog dialog(state);
        dialog.resize(800, 500);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_NEAR(dialog.CursorFrequency(), kRunSpeedHz, 1.0);
        dialog.Pane().Graph().NudgeCursorRight(10);
        const double moved = dialog.CursorFrequency();
        ASSERT_GT(moved, kRunSpeedHz + 1.0);

        prompter.yesNoAnswers = {confirm};
        dialog.Update();
        EXPECT_EQ(dialog.Updated(), confirm);
        CVibReading row;
        ASSERT_TRUE(app->MainConnection()->GetVibReading(readings[0], row));
        EXPECT_FLOAT_EQ(row.fOriginalRunSpeedHz, kRunSpeedHz);
        ReadingSignals cached;
        SignalProcessor processor;
        ASSERT_TRUE(LoadReadingSignals(*app->MainConnection(), processor, readings[0], cached));
        if (confirm) {
            EXPECT_NEAR(row.fCurrentRunSpeedHz, moved, 1e-3);
            EXPECT_NEAR(cached.runSpeedHz, moved, 1e-3);
            EXPECT_NE(row.fISOMMS, 2.0f); // recomputed from the spectrum
        } else {
            EXPECT_FLOAT_EQ(row.fCurrentRunSpeedHz, kRunSpeedHz);
            EXPECT_FLOAT_EQ(row.fISOMMS, 2.0f);
            EXPECT_FLOAT_EQ(cached.runSpeedHz, kRunSpeedHz);
        }
    }
    EXPECT_TRUE(prompter.Messages().isEmpty()) << prompter.Messages().join('|').toStdString();
}

TEST_F(PointViewsTest, TrendLineProjectsByDaysAndSaysWhenItMissesItsTarget) {
    views->ShowPoint(point.sItemGUID);
    TrendView& trend = views->Trend();
    CVantorGraphCtrl& graph = trend.Pane().Graph();
    ASSERT_EQ(graph.GetSeriesCount(), 1);

    // Refused in the dialog: it stays open and says why.
    TrendLineChoice days;
    days.on = true;
    days.settings.mode = ProjectionMode::Days;
    days.settings.days = 0;
    std::vector<QDateTime> dates;
    for (int day = 0; day < 4; ++day) {
        dates.push_back(QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)));
    }
    TrendLineDialog dialog(days, dates, 1.0, prompter);
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompter.Messages().back(), UiText(text::DaysBetween1And10000));
    dialog.Days().setValue(10);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());

    // Ten days past the last reading.
    trend.SetTrendLine(dialog.Choice());
    ASSERT_EQ(graph.GetSeriesCount(), 2);
    const int last = graph.seriesPointCount(1) - 1;
    const QDateTime end = graph.seriesPoint(1, last).value(QStringLiteral("dateTime")).toDateTime();
    EXPECT_EQ(end, QDateTime(QDate(2024, 5, 14), QTime(10, 0)));

    // A rising line never comes back down to 1 mm/s: the message, and the line ends at the last reading.
    const int before = prompter.Messages().size();
    TrendLineChoice value = dialog.Choice();
    value.settings.mode = ProjectionMode::ValuePoint;
    value.settings.targetValue = 1.0;
    trend.SetTrendLine(value);
    ASSERT_EQ(prompter.Messages().size(), before + 1);
    EXPECT_EQ(prompter.Messages().back(), UiText(text::TrendlineDoesNotCross));
    const QDateTime stop =
        graph.seriesPoint(1, graph.seriesPointCount(1) - 1).value(QStringLiteral("dateTime")).toDateTime();
    EXPECT_EQ(stop, QDateTime(QDate(2024, 5, 4), QTime(10, 0)));

    // Zoomed to two days the axis spans them; Auto returns to every reading.
    trend.SetZoom(
        DateZoom{QDateTime(QDate(2024, 5, 2), QTime(0, 0)), QDateTime(QDate(2024, 5, 4), QTime(0, 0))});
    EXPECT_NEAR(graph.GetXAxisMax() - graph.GetXAxisMin(), 2 * 24 * 60, 1e-6);
    trend.SetZoom(std::nullopt);
    EXPECT_GT(graph.GetXAxisMax() - graph.GetXAxisMin(), 3 * 24 * 60);
}

TEST(AxisLimitsTest, RefusalsOfTheAxisSetup) {
    struct Case {
        AxisSetupKind kind;
        AxisLimits limits;
        std::optional<int> refusal;
    };
    const Case cases[] = {
        {AxisSetupKind::Frequency, {0, 500, 0, 2}, std::nullopt},
        {AxisSetupKind::Frequency, {-1, 500, 0, 2}, text::views::NegativeMinimumFrequency},
        {AxisSetupKind::Time, {-0.1, 1, 0, 2}, text::views::NegativeMinimumTime},
        {AxisSetupKind::Frequency, {600, 500, 0, 2}, text::views::MinimumAboveMaximum},
        {AxisSetupKind::Time, {0, 1, 3, 2}, text::views::MinimumAboveMaximum},
        {AxisSetupKind::Frequency, {5, 5, 0, 2}, text::views::MinimumAboveMaximum},
        // A negative amplitude minimum is allowed (waveforms swing below zero).
        {AxisSetupKind::Time, {0, 1, -2, 2}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValidateAxisLimits(c.kind, c.limits), c.refusal)
            << c.limits.xMinimum << " " << c.limits.xMaximum;
    }
}

TEST(DateZoomTest, RefusalsOfTheZoom) {
    const DateSpan span =
        ZoomableSpan(QDateTime(QDate(2024, 5, 1), QTime(10, 0)), QDateTime(QDate(2024, 5, 4), QTime(10, 0)));
    EXPECT_EQ(span.first, QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    EXPECT_EQ(span.last, QDateTime(QDate(2024, 5, 4), QTime(23, 59, 59)));
    const QDateTime inside(QDate(2024, 5, 2), QTime(0, 0));
    const QDateTime later(QDate(2024, 5, 3), QTime(0, 0));
    const QDateTime before(QDate(2024, 4, 30), QTime(0, 0));
    const QDateTime after(QDate(2024, 5, 5), QTime(0, 0));
    EXPECT_EQ(ValidateDateZoom({inside, later}, span), std::nullopt);
    EXPECT_EQ(ValidateDateZoom({later, inside}, span), UiText(text::views::StartAfterEnd));
    EXPECT_TRUE(ValidateDateZoom({before, later}, span)->startsWith(UiText(text::views::StartOutside)));
    EXPECT_TRUE(ValidateDateZoom({inside, after}, span)->startsWith(UiText(text::views::EndOutside)));
}

} // namespace
} // namespace vantor

TEST(SignalFileName, NamesTheReadingAndReplacesWhatFileSystemsRefuse) {
    const QDateTime taken(QDate(2026, 11, 30), QTime(9, 18, 40));
    const struct {
        const char* machine;
        const char* point;
        const char* channel;
        const char* suffix;
        const char* expected;
    } cases[] = {
        {"BFP-2", "Pump NDE", "", "uff", "BFP-2 Pump NDE 2026-11-30 0918.uff"},
        {"BFP-2", "Pump NDE", "Total", "wav", "BFP-2 Pump NDE 2026-11-30 0918 Total.wav"},
        {"Fan 3/4", "DE: \"H\"*", "ISO", "wav", "Fan 3-4 DE- -H-- 2026-11-30 0918 ISO.wav"},
        {"", "Tab\there", "", "uff", "Tab-here 2026-11-30 0918.uff"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vantor::ProposedSignalFileName(QString::fromUtf8(c.machine), QString::fromUtf8(c.point),
                                                 taken, QString::fromUtf8(c.channel),
                                                 QString::fromUtf8(c.suffix)),
                  QString::fromUtf8(c.expected))
            << c.expected;
    }
}
