// The graph control's paint of a dense waveform and spectrum into a 1200 x 600 image, beside a
// plain QPainter::drawPolyline of the same points into the same image.
#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int Width = 1200;
constexpr int Height = 600;
constexpr int WaveformPoints = 1000000;
constexpr int SpectrumLines = 131072;

struct Signal {
    QList<double> x, y;
};

Signal waveform() {
    Signal s;
    s.x.reserve(WaveformPoints);
    s.y.reserve(WaveformPoints);
    for (int i = 0; i < WaveformPoints; ++i) {
        const double t = i / 51200.0;
        s.x.append(t);
        s.y.append(5 * std::sin(2 * M_PI * 24.8 * t) + 2 * std::sin(2 * M_PI * 88.5 * t) +
                   std::sin(i * 12.9898) * 0.8);
    }
    return s;
}

Signal spectrum() {
    Signal s;
    s.x.reserve(SpectrumLines);
    s.y.reserve(SpectrumLines);
    for (int i = 0; i < SpectrumLines; ++i) {
        const double f = i * 0.1;
        s.x.append(f);
        s.y.append(0.05 + 0.04 * std::abs(std::sin(i * 0.37)) + 3 * std::exp(-std::pow((f - 24.8) / 0.3, 2)));
    }
    return s;
}

std::unique_ptr<CVantorGraphCtrl> graphOf(const Signal& s, bool spectrumMode) {
    auto graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    graph->setMessagePort([](const QString&) {});
    graph->resetToDefaults();
    graph->resize(Width, Height);
    graph->setProperty("ControlBackGroundColor", 16);
    graph->setProperty("GraphBackGroundColor", 16);
    graph->setProperty("PointMarkersOn", false);
    graph->setProperty("FFTGraphOn", spectrumMode);
    graph->setProperty("XAxisMin", s.x.front());
    graph->setProperty("XAxisMax", s.x.back());
    graph->setProperty("YAxisMin", spectrumMode ? 0.0 : -10.0);
    graph->setProperty("YAxisMax", spectrumMode ? 4.0 : 10.0);
    graph->AddSeriesConfig(0xC00000, 1, 0, 1);
    graph->SetSeriesDataArray(0, s.x, s.y, 0);
    return graph;
}

// relayout: every paint follows a change of the X axis, so it maps and reduces every point afresh
// (a zoom, new data); otherwise the paint repeats on unchanged data and axes (a window uncovered, a
// cursor moved) and reuses the last layout.
void paintThroughControl(benchmark::State& state, const Signal& s, bool spectrumMode, bool relayout) {
    auto graph = graphOf(s, spectrumMode);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    const double xMax = s.x.back();
    bool flip = false;
    for (auto _ : state) {
        if (relayout) {
            flip = !flip;
            graph->setProperty("XAxisMax", flip ? xMax * (1 + 1e-9) : xMax);
        }
        QPainter painter(&image);
        graph->paint(painter, image.rect());
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations() * s.x.size());
}

// The first paint after the data were set (the set itself not timed): the pass that finds the
// points ordered by X is part of it.
void paintNewData(benchmark::State& state, const Signal& s, bool spectrumMode) {
    auto graph = graphOf(s, spectrumMode);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        graph->SetSeriesDataArray(0, s.x, s.y, 0);
        state.ResumeTiming();
        QPainter painter(&image);
        graph->paint(painter, image.rect());
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations() * s.x.size());
}

// The same points at the same pixels, joined by one polyline.
void plainPolyline(benchmark::State& state, const Signal& s, bool spectrumMode) {
    auto graph = graphOf(s, spectrumMode);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        graph->paint(painter, image.rect());
    }
    const QList<QPoint> positions = graph->seriesScreenPositions(0);
    const QPolygon line(positions);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(QColor(0, 0, 192), 1));
        painter.drawPolyline(line);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations() * s.x.size());
}

const Signal& theWaveform() {
    static const Signal s = waveform();
    return s;
}
const Signal& theSpectrum() {
    static const Signal s = spectrum();
    return s;
}

void BM_ControlWaveform(benchmark::State& state) {
    paintThroughControl(state, theWaveform(), false, true);
}
void BM_ControlWaveformRepaint(benchmark::State& state) {
    paintThroughControl(state, theWaveform(), false, false);
}
void BM_ControlWaveformNewData(benchmark::State& state) {
    paintNewData(state, theWaveform(), false);
}
void BM_PolylineWaveform(benchmark::State& state) {
    plainPolyline(state, theWaveform(), false);
}
void BM_ControlSpectrum(benchmark::State& state) {
    paintThroughControl(state, theSpectrum(), true, true);
}
void BM_ControlSpectrumRepaint(benchmark::State& state) {
    paintThroughControl(state, theSpectrum(), true, false);
}
void BM_ControlSpectrumNewData(benchmark::State& state) {
    paintNewData(state, theSpectrum(), true);
}
void BM_PolylineSpectrum(benchmark::State& state) {
    plainPolyline(state, theSpectrum(), true);
}

// Heap bytes held per point after the million-point waveform is set, reported as the counter
// "bytes_per_point": through the control's array method, beside a plain store of (x, y) pairs.
std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

void BM_ControlWaveformMemory(benchmark::State& state) {
    const Signal& s = theWaveform();
    auto graph = graphOf(Signal{{0.0}, {0.0}}, false);
    double perPoint = 0;
    for (auto _ : state) {
        graph->SetSeriesDataArray(0, {}, {}, 1);
        const std::size_t before = heapInUse();
        graph->SetSeriesDataArray(0, s.x, s.y, 0);
        perPoint = static_cast<double>(heapInUse() - before) / static_cast<double>(s.x.size());
    }
    state.counters["bytes_per_point"] = perPoint;
}

void BM_PlainPointStoreMemory(benchmark::State& state) {
    const Signal& s = theWaveform();
    double perPoint = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        std::vector<std::pair<double, double>> store(static_cast<std::size_t>(s.x.size()));
        for (qsizetype i = 0; i < s.x.size(); ++i)
            store[static_cast<std::size_t>(i)] = {s.x[i], s.y[i]};
        perPoint = static_cast<double>(heapInUse() - before) / static_cast<double>(s.x.size());
        benchmark::DoNotOptimize(store.data());
    }
    state.counters["bytes_per_point"] = perPoint;
}

BENCHMARK(BM_ControlWaveformMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPointStoreMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlWaveform)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlWaveformRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlWaveformNewData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolylineWaveform)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlSpectrum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlSpectrumRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlSpectrumNewData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolylineSpectrum)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
