#include "graphviews/ReportCharts.h"

#include "graphviews/AlarmBandMarks.h"
#include "graphviews/FaultOverlay.h"
#include "graphviews/GraphViews.h"

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QPainter>
#include <QThread>

namespace vantor {

GraphChartPainter::GraphChartPainter(QObject* parent) : QObject(parent) {}

GraphChartPainter::~GraphChartPainter() = default;

QPicture GraphChartPainter::Paint(const ReportChart& chart) {
    if (QThread::currentThread() == thread()) {
        return PaintHere(chart);
    }
    QPicture picture;
    QMetaObject::invokeMethod(
        this, [this, &chart, &picture] { picture = PaintHere(chart); }, Qt::BlockingQueuedConnection);
    return picture;
}

QPicture GraphChartPainter::PaintHere(const ReportChart& chart) {
    if (!graph_) {
        graph_ = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
        if (!graph_) {
            return QPicture();
        }
        // A refused property write is a fault of the view code, not the user's concern here.
        graph_->setMessagePort([](const QString&) {});
    }
    CVantorGraphCtrl& graph = *graph_;
    graph.resetToDefaults();
    graph.resize(chart.logicalSize);
    // Alarm band boxes behind the spectrum's lines, as on screen, so a box never covers a peak.
    graph.setDrawingsBehindData(true);
    FaultOverlay overlay;
    if (const auto* trend = std::get_if<TrendViewData>(&chart.view)) {
        ShowTrendView(graph, *trend, chart.title);
    } else if (const auto* spectrum = std::get_if<SpectrumChart>(&chart.view)) {
        ShowSpectrumView(graph, spectrum->view, spectrum->bandAlarmLevel, chart.title);
        ShowAlarmBands(graph, spectrum->alarmBands);
        if (!spectrum->bearings.empty() && spectrum->runSpeedHz > 0) {
            overlay = MakeFaultOverlay(spectrum->bearings, spectrum->runSpeedHz, spectrum->frequencyFactor,
                                       kMostFaultHarmonics);
        }
    } else if (const auto* waveform = std::get_if<WaveformViewData>(&chart.view)) {
        ShowWaveformView(graph, *waveform, chart.title);
    }
    if (!chart.xCaption.isEmpty()) {
        graph.SetXAxisCaption(chart.xCaption);
    }
    // Recorded rather than rasterised: the PDF draws these commands as vectors, and the ODT's
    // pictures are rasterised from them on the writer's threads.
    // The families' lines under the spectrum's, their labels and legend over it, as the views paint.
    if (!overlay.families.empty()) {
        graph.setUnderlay([&graph, &overlay](QPainter& painter) {
            PaintFaultOverlay(painter, graph, overlay, OverlayParts::Lines);
        });
    }
    QPicture picture;
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        graph.paint(painter, QRect(QPoint(0, 0), chart.logicalSize));
        if (!overlay.families.empty()) {
            PaintFaultOverlay(painter, graph, overlay, OverlayParts::LabelsAndLegend);
        }
    }
    graph.setUnderlay({});
    return picture;
}

} // namespace vantor
