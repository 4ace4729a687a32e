#pragma once
// A chart the report asks to have painted: the view a reading view would show, its title, and the
// picture's size. Painting belongs to the graph control, behind the ChartPainter port, so that the
// report's charts are the very graphs of the views and of `vantor plot`.

#include "analysis/BandMarks.h"
#include "analysis/FaultFamilies.h"
#include "analysis/ViewData.h"

#include <QPicture>
#include <QSize>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace vantor {

struct SpectrumChart {
    SpectrumViewData view;
    std::optional<double> bandAlarmLevel;  // the VA bands' outline height, as the views draw it
    std::vector<AlarmBandMark> alarmBands; // the point's spectral alarm bands, in place of the VA bands
    // The fault families of the point's bearings at `runSpeedHz` drawn with their legend, the lines
    // behind the spectrum's as the views draw them; none without bearings.
    std::vector<BearingAtPoint> bearings;
    double runSpeedHz = 0;
    double frequencyFactor = 1; // displayed units per Hz
};

struct ReportChart {
    std::variant<TrendViewData, SpectrumChart, WaveformViewData> view;
    QString title;
    QString xCaption;      // replaces the view's X caption when not empty
    QSize logicalSize;     // the graph's size in screen pixels
    double pixelRatio = 2; // print resolution: pixels per screen pixel
};

class ChartPainter {
public:
    virtual ~ChartPainter() = default;
    // The chart's painting recorded as drawing commands in logicalSize's coordinates (lines, text
    // and fills, no pixels), for the writers to draw as vectors or rasterise at pixelRatio; an
    // empty picture when it cannot be painted. Called from the report worker's thread.
    virtual QPicture Paint(const ReportChart& chart) = 0;
};

} // namespace vantor
