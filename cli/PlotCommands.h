#pragma once
// plot: a reading view painted by the graph control into a PNG.

#include "analysis/FaultFamilies.h"
#include "analysis/Measures.h"
#include "app/CAppData.h"
#include "graphviews/ControlProperty.h"
#include "graphviews/GraphViews.h"

#include <QString>

#include <vector>

namespace vantor::cli {

enum class PlotView { Trend, Spectrum, Waveform, Waterfall, Envelope };

inline constexpr int kDefaultPlotWidth = 800;
inline constexpr int kDefaultPlotHeight = 500;
inline constexpr int kLargestPlotSide = 10000;

struct PlotOptions {
    PlotView view = PlotView::Trend;
    QString item; // a point's GUID (trend, waterfall) or a reading's (spectrum, waveform, envelope)
    QString file;
    MeasureKind kind = MeasureKind::IsoVelocity;
    int width = kDefaultPlotWidth;
    int height = kDefaultPlotHeight;
    GraphCursor cursor = GraphCursor::None;
    // Spectrum, waterfall and envelope views: the fault families of the point's bearings drawn over the
    // graph, and the bearing cursor's multipliers taken from the point's bearing number N (from 1).
    bool families = false;
    int harmonics = kDefaultFaultHarmonics;
    int bearing = 0;
    // Written in order after the view's own settings, just before the picture is painted.
    std::vector<PropertyValue> properties;
};

// The view handed to a new graph control, the cursor and the extra properties set, the control
// painted at the given size and saved as PNG. The control's messages are shown as the user's.
int RunPlot(CAppData& app, const PlotOptions& options);

} // namespace vantor::cli
