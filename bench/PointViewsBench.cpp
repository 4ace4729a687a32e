// The point views on a database with one point of 50 readings, each a 131,072-sample Total and a
// 16,384-sample ISO capture: selecting the point until its trend is drawn, and opening a reading's
// spectrum the first time (decoded from its row, cache file written) and again (from the cache).
#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/SignalCachePath.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViews.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SpectrumView.h"
#include "ui/views/TrendView.h"
#include "ui/views/WaterfallView.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

using namespace vantor;

constexpr int kReadings = 50;
constexpr int kTotalSamples = 131072;
constexpr int kIsoSamples = 16384;

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
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = QStringLiteral("Motor DE");
        point.bISOAlarmsOn = true;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        db.UpsertVib(point);
        pointGuid_ = point.sItemGUID;
        const QByteArray total = Capture(kTotalSamples, 24.6 / 51200.0, 4000);
        const QByteArray iso = Capture(kIsoSamples, 24.6 / 2560.0, 4000);
        for (int i = 0; i < kReadings; ++i) {
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
            r.iTotalNumberOfSamples = kTotalSamples;
            r.fISOSamplingFrequency = 2560.0f;
            r.iISONumberOfSamples = kIsoSamples;
            r.rawADCTotalDataByteArray = total;
            r.rawADCISODataByteArray = iso;
            db.UpsertVibReading(r);
            newest_ = r.sItemGUID;
        }
        ready_ = true;
    }

    bool Ready() const { return ready_; }
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
