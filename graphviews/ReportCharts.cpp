#include "graphviews/ReportCharts.h"

#include "graphviews/AlarmBandMarks.h"
#include "graphviews/GraphViews.h"

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QPainter>
#include <QThread>

namespace vantor {

GraphChartPainter::GraphChartPainter(QObject* parent) : QObject(parent) {}

GraphChartPainter::~GraphChartPainter() = default;

QImage GraphChartPainter::Paint(const ReportChart& chart) {
    if (QThread::currentThread() == thread()) {
        return PaintHere(chart);
    }
    QImage image;
    QMetaObject::invokeMethod(
        this, [this, &chart, &image] { image = PaintHere(chart); }, Qt::BlockingQueuedConnection);
    return image;
}

QImage GraphChartPainter::PaintHere(const ReportChart& chart) {
    if (!graph_) {
        graph_ = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
        if (!graph_) {
            return {};
        }
        // A refused property write is a fault of the view code, not the user's concern here.
        graph_->setMessagePort([](const QString&) {});
    }
    CVantorGraphCtrl& graph = *graph_;
    graph.resetToDefaults();
    graph.resize(chart.logicalSize);
    if (const auto* trend = std::get_if<TrendViewData>(&chart.view)) {
        ShowTrendView(graph, *trend, chart.title);
    } else if (const auto* spectrum = std::get_if<SpectrumChart>(&chart.view)) {
        ShowSpectrumView(graph, spectrum->view, spectrum->bandAlarmLevel, chart.title);
        ShowAlarmBands(graph, spectrum->alarmBands);
    } else if (const auto* waveform = std::get_if<WaveformViewData>(&chart.view)) {
        ShowWaveformView(graph, *waveform, chart.title);
    }
    if (!chart.xCaption.isEmpty()) {
        graph.SetXAxisCaption(chart.xCaption);
    }
    const QSize pixels(qRound(chart.logicalSize.width() * chart.pixelRatio),
                       qRound(chart.logicalSize.height() * chart.pixelRatio));
    QImage image(pixels, QImage::Format_RGB32);
    image.setDevicePixelRatio(chart.pixelRatio);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        graph.paint(painter, QRect(QPoint(0, 0), chart.logicalSize));
    }
    image.setDevicePixelRatio(1.0);
    return image;
}

} // namespace vantor
