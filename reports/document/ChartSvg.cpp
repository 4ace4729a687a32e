#include "reports/document/ChartSvg.h"

#include <QBuffer>
#include <QPainter>
#include <QPicture>
#include <QSvgGenerator>
#include <QThread>
#include <QThreadPool>

#include <algorithm>

namespace vantor {

QByteArray EncodeChartSvg(const ReportImage& chart) {
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(chart.logicalSize);
    generator.setViewBox(QRect(QPoint(0, 0), chart.logicalSize));
    // At the resolution the picture was recorded at, so that nothing is scaled between the two:
    // text set in points keeps its size and place. The page's frame sets the printed size.
    // (Asking a picture for a metric plays it: a copy of its own, as drawing it takes one.)
    QPicture own = chart.picture;
    own.detach();
    generator.setResolution(own.logicalDpiX());
    QPainter painter(&generator);
    const QRectF whole(QPointF(0, 0), QSizeF(chart.logicalSize));
    painter.fillRect(whole, Qt::white);
    chart.Draw(painter, whole);
    painter.end();
    return svg;
}

std::vector<QByteArray> EncodeChartSvgs(const std::vector<const ReportImage*>& charts) {
    std::vector<QByteArray> svgs(charts.size());
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    for (std::size_t at = 0; at < charts.size(); ++at) {
        pool.start([&svgs, &charts, at] { svgs[at] = EncodeChartSvg(*charts[at]); });
    }
    pool.waitForDone();
    return svgs;
}

} // namespace vantor
