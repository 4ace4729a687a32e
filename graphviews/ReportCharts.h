#pragma once
// The report's charts painted by the graph control through the same view code as the reading
// views and `vantor plot`. The control is a widget, so it lives on the user-interface thread: a
// chart asked for from the report worker's thread is painted there while the worker waits, which
// needs that thread to run its event loop meanwhile (the progress dialog, or the command line's
// wait for the worker).

#include "reports/document/ReportChart.h"

#include <QObject>

#include <memory>

class CVantorGraphCtrl;

namespace vantor {

class GraphChartPainter final : public QObject, public ChartPainter {
    Q_OBJECT
public:
    // Create on the user-interface thread.
    explicit GraphChartPainter(QObject* parent = nullptr);
    ~GraphChartPainter() override;

    QPicture Paint(const ReportChart& chart) override;

private:
    QPicture PaintHere(const ReportChart& chart);

    std::unique_ptr<CVantorGraphCtrl> graph_; // reused from chart to chart
};

} // namespace vantor
