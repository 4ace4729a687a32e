// The point views on a database with one point of 50 readings, each a 131,072-sample Total and a
// 16,384-sample ISO capture: selecting the point until its trend is drawn, and opening a reading's
// spectrum the first time (decoded from its row, cache file written) and again (from the cache),
// and stepping from one reading to the next on the analysis page (trend, spectrum and waveform) for
// these readings and for a second point's 2048-sample ones.
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"
#include "app/Startup.h"
#include "app/ViewedReading.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/SignalCachePath.h"
#include "ui/views/AnalysisView.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViews.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SpectrumView.h"
#include "ui/views/TrendView.h"
#include "ui/views/WaterfallView.h"
#include "ui/views/WaveformView.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

using namespace vantor;

constexpr int kReadings = 50;
constexpr int kTotalSamples = 131072;
constexpr int kIsoSamples = 16384;
constexpr int kShortSamples = 2048;
constexpr int kShortReadings = 10;

QByteArray Capture(int n, double cyclesPerSample, int amplitude) {
    QByteArray raw;
    raw.reserve(2 * n);
    for (int i = 0; i < n; ++i) {
        const double value = amplitude * (std::sin(2 * M_PI * cyclesPerSample * i) +
                                          0.3 * std::sin(4 * M_PI * cyclesPerSample * i)) +
                             (i * 7919) % 61;
        const auto sample = static_cast<std::uint16_t>(32768 + std::lround(value));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

// The data root, the point and its readings, built once for all benchmarks.
class ViewsData {
public:
    ViewsData() : app_(prompter_) {
        if (!InitDataRoot(app_) || !RunHeadlessStartup(app_)) {
            return;
        }
        CMainConnection& db = *app_.MainConnection();
        const CMachine machine{
            MakeItemGuid(), 0, QStringLiteral("Boiler feed pump"), QStringLiteral("BFP"), {}};
        db.UpsertMachine(machine);
        pointGuid_ = AddPoint(db, machine.sItemGUID, QStringLiteral("Motor DE"), kReadings, kTotalSamples,
                              kIsoSamples, newest_, previous_);
        QString shortNewest;
        shortPointGuid_ = AddPoint(db, machine.sItemGUID, QStringLiteral("Pump NDE"), kShortReadings,
                                   kShortSamples, kShortSamples, shortNewest, shortPrevious_);
        shortNewest_ = shortNewest;
        ready_ = true;
    }

    // A point with `count` weekly readings of these capture lengths; its GUID.
    static QString AddPoint(CMainConnection& db, const QString& machine, const QString& name, int count,
                            int totalSamples, int isoSamples, QString& newest, QString& previous) {
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine;
        point.sName = name;
        point.bISOAlarmsOn = true;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        db.UpsertVib(point);
        const QByteArray total = Capture(totalSamples, 24.6 / 51200.0, 4000);
        const QByteArray iso = Capture(isoSamples, 24.6 / 2560.0, 4000);
        for (int i = 0; i < count; ++i) {
            CVibReading r;
            r.sItemGUID = MakeItemGuid();
            r.sParentGUID = point.sItemGUID;
            r.ctDateTaken = QDateTime(QDate(2024, 1, 1).addDays(7 * i), QTime(9, 0));
            r.fISOMMS = 2.0f + 0.1f * static_cast<float>(i);
            r.fOriginalRunSpeedHz = r.fCurrentRunSpeedHz = 24.6f;
            r.fPSUVoltage = 3.3f;
            r.iADCBits = 16;
            r.fAccelerometerSensitivity = 100.0f;
            r.fTotalCal = r.fTotalGain = r.fISOCal = r.fISOGain = 1.0f;
            r.fTotalSamplingFrequency = 51200.0f;
            r.iTotalNumberOfSamples = totalSamples;
            r.fISOSamplingFrequency = 2560.0f;
            r.iISONumberOfSamples = isoSamples;
            r.rawADCTotalDataByteArray = total;
            r.rawADCISODataByteArray = iso;
            db.UpsertVibReading(r);
            previous = newest;
            newest = r.sItemGUID;
        }
        return point.sItemGUID;
    }

    bool Ready() const { return ready_; }
    // The two newest readings of the long point and of the 2048-sample one.
    const QString& Previous() const { return previous_; }
    const QString& ShortPoint() const { return shortPointGuid_; }
    const QString& ShortNewest() const { return shortNewest_; }
    const QString& ShortPrevious() const { return shortPrevious_; }
    CAppData& App() { return app_; }
    const QString& Point() const { return pointGuid_; }
    const QString& Newest() const { return newest_; }
    QString CacheFile() const { return SignalCacheFilePath(app_.folders.dataFolder, newest_); }

private:
    testing::TempEnvironment env_;
    testing::RecordingPrompter prompter_;
    CAppData app_;
    QString pointGuid_;
    QString newest_;
    QString previous_;
    QString shortPointGuid_;
    QString shortNewest_;
    QString shortPrevious_;
    bool ready_ = false;
};

ViewsData& Data() {
    static ViewsData data;
    return data;
}

// What the user sees: the control painted at its size.
void Paint(CVantorGraphCtrl& graph) {
    QImage image(graph.size(), QImage::Format_ARGB32);
    QPainter painter(&image);
    graph.paint(painter, image.rect());
    benchmark::DoNotOptimize(image.bits());
}

void BM_SelectPointShowsTrend(benchmark::State& state) {
    ViewsData& data = Data();
    if (!data.Ready()) {
        state.SkipWithError("database not built");
        return;
    }
    PointViews views(data.App());
    views.resize(1000, 650);
    for (auto _ : state) {
        state.PauseTiming();
        views.Clear();
        state.ResumeTiming();
        views.ShowPoint(data.Point());
        Paint(views.Trend().Pane().Graph());
    }
    state.counters["points"] = views.Trend().Pane().Graph().seriesPointCount(0);
}

void OpenSpectrum(benchmark::State& state, bool firstOpen, MeasureKind kind) {
    ViewsData& data = Data();
    if (!data.Ready()) {
        state.SkipWithError("database not built");
        return;
    }
    PointViews views(data.App());
    views.resize(1000, 650);
    views.ShowPoint(data.Point());
    views.setCurrentIndex(PointViews::SpectrumTab);
    views.Spectrum().SetKind(kind);
    for (auto _ : state) {
        state.PauseTiming();
        views.ShowReading(QString());
        if (firstOpen) {
            QFile::remove(data.CacheFile());
        }
        state.ResumeTiming();
        views.ShowReading(data.Newest());
        Paint(views.Spectrum().Pane().Graph());
    }
    // The points the trace was drawn through, to show what was opened.
    state.counters["points"] = views.Spectrum().Pane().Graph().seriesPointCount(0);
    if (!QFile::exists(data.CacheFile())) {
        state.SkipWithError("the spectrum was not opened");
    }
}

// The ISO spectrum (6,400 lines) and the Total one (51,200 lines, drawn as bars).
void BM_OpenIsoSpectrumFirstTime(benchmark::State& state) {
    OpenSpectrum(state, true, MeasureKind::IsoVelocity);
}

void BM_OpenTotalSpectrumFirstTime(benchmark::State& state) {
    OpenSpectrum(state, true, MeasureKind::Acceleration);
}

void BM_OpenTotalSpectrumFromCache(benchmark::State& state) {
    OpenSpectrum(state, false, MeasureKind::Acceleration);
}

// The Waterfall FFT of the ten newest readings' Total spectra (cache files present).
void BM_WaterfallOfTenTotalSpectra(benchmark::State& state) {
    ViewsData& data = Data();
    if (!data.Ready()) {
        state.SkipWithError("database not built");
        return;
    }
    PointViews views(data.App());
    views.resize(1000, 650);
    views.ShowPoint(data.Point());
    views.setCurrentIndex(PointViews::WaterfallTab);
    views.Waterfall().SetKind(MeasureKind::Acceleration);
    for (auto _ : state) {
        views.Waterfall().Redraw();
        Paint(views.Waterfall().Pane().Graph());
    }
    state.counters["spectra"] = static_cast<double>(views.Waterfall().Shown().size());
}

// The analysis page: one step between two readings of a point redraws its spectrum and waveform
// (the readings' cache files present) and all three graphs are painted. Argument: Total samples.
void BM_AnalysisStepsToAnotherReading(benchmark::State& state) {
    ViewsData& data = Data();
    if (!data.Ready()) {
        state.SkipWithError("database not built");
        return;
    }
    const bool longReadings = state.range(0) == kTotalSamples;
    const QString point = longReadings ? data.Point() : data.ShortPoint();
    const std::array<QString, 2> readings = {longReadings ? data.Newest() : data.ShortNewest(),
                                             longReadings ? data.Previous() : data.ShortPrevious()};
    PointViews views(data.App());
    views.resize(1000, 700);
    views.setCurrentIndex(PointViews::AnalysisTab);
    views.ShowPoint(point);
    AnalysisView& page = views.Analysis();
    page.resize(1000, 650);
    page.Spectrum().SetCursor(GraphCursor::Harmonic);
    // Both readings decoded once, so that every step reads a cache file as a user's second look does.
    views.ShowReading(readings[1]);
    views.ShowReading(readings[0]);
    std::size_t next = 1;
    for (auto _ : state) {
        views.ShowReading(readings[next]);
        Paint(page.Trend().Pane().Graph());
        Paint(page.Spectrum().Pane().Graph());
        Paint(page.Waveform().Pane().Graph());
        next = 1 - next;
    }
    state.counters["waveform points"] = page.Waveform().Pane().Graph().seriesPointCount(0);
}

// The data one step of the analysis page loads before it draws (cache files present): the reading
// for the views and its envelope spectrum. Arguments: Total samples; 1 when the envelope takes the
// loaded reading, 0 when it loads the reading's row again by its GUID (the path before).
void BM_AnalysisPageStepData(benchmark::State& state) {
    ViewsData& data = Data();
    if (!data.Ready()) {
        state.SkipWithError("database not built");
        return;
    }
    const bool longReadings = state.range(0) == kTotalSamples;
    const bool loadedOnce = state.range(1) == 1;
    CAppData& app = data.App();
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    const std::array<QString, 2> readings = {longReadings ? data.Newest() : data.ShortNewest(),
                                             longReadings ? data.Previous() : data.ShortPrevious()};
    for (const QString& guid : readings) {
        if (const std::optional<ViewedReading> reading = LoadOrSay(app, processor, guid)) {
            LoadPointReadingEnvelope(app, analyzer, *reading);
        }
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const QString& guid = readings[next];
        const std::optional<ViewedReading> reading = LoadOrSay(app, processor, guid);
        if (!reading) {
            state.SkipWithError("reading not loaded");
            return;
        }
        const ReadingEnvelope envelope = loadedOnce
                                             ? LoadPointReadingEnvelope(app, analyzer, *reading)
                                             : LoadPointReadingEnvelope(app, processor, analyzer, guid);
        benchmark::DoNotOptimize(envelope.spectrum.lines.data());
        next = 1 - next;
    }
}

BENCHMARK(BM_AnalysisStepsToAnotherReading)
    ->Arg(kShortSamples)
    ->Arg(kTotalSamples)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisPageStepData)
    ->Args({kShortSamples, 0})
    ->Args({kShortSamples, 1})
    ->Args({kTotalSamples, 0})
    ->Args({kTotalSamples, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectPointShowsTrend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenIsoSpectrumFirstTime)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTotalSpectrumFirstTime)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTotalSpectrumFromCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaterfallOfTenTotalSpectra)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
