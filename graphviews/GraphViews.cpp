#include "graphviews/GraphViews.h"

#include "analysis/AxisScale.h"
#include "analysis/ViewTexts.h"
#include "texts/UiText.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantor {
namespace {

// Colours of series lines and markers are RGB values R + 256 G + 65536 B; the others palette indices.
constexpr int Rgb(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}
constexpr int kTraceColour = Rgb(0, 0, 192);
constexpr int kTrendLineColour = Rgb(192, 0, 0);
constexpr int kCepstrumMarkColour = Rgb(0, 128, 0);
// An online sensor's values: a teal line, the colour of the online ring on the plant tree's icons.
constexpr int kOnlineColour = Rgb(0, 150, 150);
// Waterfall traces take these in turn, the front trace the first.
constexpr int kWaterfallColours[] = {Rgb(0, 0, 192),   Rgb(192, 0, 0),   Rgb(0, 128, 0),
                                     Rgb(192, 0, 192), Rgb(0, 128, 128), Rgb(128, 96, 0)};

constexpr short kWhite = 16;
constexpr short kSolid = 0;
constexpr short kDashed = 1;
constexpr short kTraceOn = 1;
constexpr short kGridlines = 2;
constexpr short kTickSpacing = 0;
constexpr short kNumberOfTicks = 1;
constexpr short kNormalAxis = 0;
constexpr short kTimeAxis = 1;
constexpr short kDatesAxis = 2;
constexpr short kYBandAxis = 0;
// The control's label decimals go from 0 to 3.
constexpr short kMostLabelDecimals = 3;
// Rotated date labels need more room below the plot than numbers.
constexpr double kDatesBottomMarginPercent = 20;
constexpr double kBottomMarginPercent = 14;
constexpr double kLeftMarginPercent = 12;
constexpr double kMarginPercent = 6;

// Trend readings: filled circles; readings left out of the fit are drawn hollow.
constexpr short kReadingMarkerRadius = 3;
// An online value's marker is smaller than a reading's: there are many more of them.
constexpr short kOnlineMarkerRadius = 2;
constexpr short kCircle = 0;
constexpr short kFilled = 0;
constexpr short kHollow = 1;
constexpr short kReadingMarkerColour = 9;
constexpr short kOkMarkerColour = 4;
constexpr short kWarningMarkerColour = 17;
constexpr short kCriticalMarkerColour = 3;
constexpr short kAppendPoint = 0;
constexpr short kAppendLastPoint = 2;

// A tick count is taken as whole when it lies this close to an integer.
constexpr double kWholeTickTolerance = 1e-6;

// The captions of a trend point's date and time in its tooltip: the texts "Date" and "Time".
constexpr int kTooltipDateText = 150;
constexpr int kTooltipTimeText = 151;

QString Caption(int label, const QString& unit) {
    return QString::asprintf("%s (%s)", qUtf8Printable(UiText(label)), qUtf8Printable(unit));
}

// Back to a plain control: no series, bands, cursors, waterfall or running-speed marker.
void Clear(CVantorGraphCtrl& graph) {
    while (graph.GetSeriesCount() > 0) {
        graph.RemoveSeriesConfig(0);
    }
    graph.SetCursorEnabled(false);
    graph.SetGraphWaterfallOn(false);
    graph.SetFFTGraphOn(false);
    graph.SetFFTBandsOn(false);
    graph.SetNumberofBands(0);
    graph.ShowRunSpeed(0, 0.0f);
    graph.SetControlBackGroundColor(kWhite);
    graph.SetGraphBackGroundColor(kWhite);
    graph.SetGraphLeftMarginPercent(kLeftMarginPercent);
    graph.SetGraphRightMarginPercent(kMarginPercent);
    graph.SetGraphTopMarginPercent(kMarginPercent);
    graph.SetGraphBottomMarginPercent(kBottomMarginPercent);
    graph.SetXAxisMarkerStyle(kGridlines);
    graph.SetYAxisMarkerStyle(kGridlines);
    graph.SetXAxisValuesOn(1);
    graph.SetYAxisValuesOn(1);
    graph.SetXAxisCaptionOn(1);
    graph.SetYAxisCaptionOn(1);
    graph.SetToolTipDateYOrXY(true);
    graph.setTooltipYDecimals(-1);
    // The reading views draw their band boxes behind cursors the user still drags.
    graph.setCursorGrabWithBands(true);
}

void SetTitle(CVantorGraphCtrl& graph, const QString& title) {
    graph.SetGraphTitle(title);
    graph.SetGraphTitleOn(title.isEmpty() ? 0 : 1);
    graph.SetGraphTitleBoldOn(1);
}

short LabelDecimals(int decimals) {
    return static_cast<short>(std::clamp(decimals, 0, static_cast<int>(kMostLabelDecimals)));
}

// Limits first, then the method, then the spacing (which is checked against the limits). A step
// that divides the range evenly is given as a number of intervals, so that both ends carry a
// label; otherwise as the spacing of the ticks from the minimum.
void SetXAxis(CVantorGraphCtrl& graph, const AxisRange& axis) {
    graph.SetXAxisMin(axis.minimum);
    graph.SetXAxisMax(axis.maximum);
    const double intervals = axis.tickStep > 0 ? (axis.maximum - axis.minimum) / axis.tickStep : 0;
    const bool whole = intervals >= 1 && std::fabs(intervals - std::round(intervals)) < kWholeTickTolerance;
    graph.SetXAxisMarkerMethod(whole ? kNumberOfTicks : kTickSpacing);
    graph.SetXAxisMarkerSpacing(whole ? std::round(intervals) : axis.tickStep);
    graph.SetXAxisValuesDP(LabelDecimals(axis.decimals));
}

void SetYAxis(CVantorGraphCtrl& graph, const AxisRange& axis) {
    graph.SetYAxisMin(axis.minimum);
    graph.SetYAxisMax(axis.maximum);
    const double intervals = axis.tickStep > 0 ? (axis.maximum - axis.minimum) / axis.tickStep : 0;
    const bool whole = intervals >= 1 && std::fabs(intervals - std::round(intervals)) < kWholeTickTolerance;
    graph.SetYAxisMarkerMethod(whole ? kNumberOfTicks : kTickSpacing);
    graph.SetYAxisMarkerSpacing(whole ? std::round(intervals) : axis.tickStep);
    graph.SetYAxisValuesDP(LabelDecimals(axis.decimals));
}

void SetYUnits(CVantorGraphCtrl& graph, const QString& caption, const QString& unit) {
    graph.SetYAxisCaption(caption);
    graph.SetYAxisUnits(unit);
    graph.SetYToolTipText(caption);
}

short AddSeries(CVantorGraphCtrl& graph, int colour, short style) {
    const short series = graph.GetSeriesCount();
    graph.AddSeriesConfig(colour, 1, style, kTraceOn);
    return series;
}

void SetArrays(CVantorGraphCtrl& graph, short series, const std::vector<double>& x,
               const std::vector<double>& y) {
    graph.SetSeriesDataArray(series, QList<double>(x.begin(), x.end()), QList<double>(y.begin(), y.end()), 0);
}

// The points a spectrum is drawn through: the lines themselves, or for bars every line as a rise
// from zero to its amplitude and back.
struct TracePoints {
    std::vector<double> x;
    std::vector<double> y;
};
TracePoints SpectrumTrace(const std::vector<double>& x, const std::vector<double>& y,
                          SpectrumDrawing drawing) {
    if (drawing == SpectrumDrawing::Line) {
        return {x, y};
    }
    TracePoints bars;
    bars.x.reserve(3 * x.size());
    bars.y.reserve(3 * y.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        bars.x.insert(bars.x.end(), {x[i], x[i], x[i]});
        bars.y.insert(bars.y.end(), {0.0, y[i], 0.0});
    }
    return bars;
}

// The trend's Y axis: from the view's minimum to a little above its highest value or level.
AxisRange TrendYAxis(const TrendViewData& view) {
    return AmplitudeAxis(view.yAxis.minimum, view.yAxis.maximum * (1.0 + kTrendHeadroom));
}

} // namespace

SpectrumDrawing SpectrumDrawingOf(int fftLineOrBar) {
    return fftLineOrBar == 0 ? SpectrumDrawing::Line : SpectrumDrawing::Bar;
}

short StatusMarkerColour(StatusCode code) {
    switch (code) {
    case StatusCode::Ok:
        return kOkMarkerColour;
    case StatusCode::Warning:
        return kWarningMarkerColour;
    case StatusCode::Critical:
        return kCriticalMarkerColour;
    default:
        return kReadingMarkerColour;
    }
}

void ShowTrendView(CVantorGraphCtrl& graph, const TrendViewData& view, const QString& title) {
    Clear(graph);
    SetTitle(graph, title);
    graph.SetGraphBottomMarginPercent(kDatesBottomMarginPercent);
    graph.SetXAxisType(kDatesAxis);
    graph.SetPointMarkersOn(true);
    SetYUnits(graph, view.yLabel, view.yLabel);
    graph.SetToolTipDateYOrXY(false);
    graph.SetDateTranslation(UiText(kTooltipDateText));
    graph.SetTimeTranslation(UiText(kTooltipTimeText));

    // The Dates axis counts minutes from the earliest plotted date-time; the view counts from its
    // reference, so every x moves by the first sample's minutes.
    double origin = 0.0;
    if (!view.x.empty() || !view.onlineX.empty()) {
        origin = std::numeric_limits<double>::max();
        for (const std::vector<double>* xs : {&view.x, &view.onlineX}) {
            if (!xs->empty()) {
                origin = std::min(origin, *std::min_element(xs->begin(), xs->end()));
            }
        }
    }
    const QDateTime base = TrendDateTime(view.reference, origin);
    AxisRange xAxis = view.xAxis;
    xAxis.minimum -= origin;
    xAxis.maximum -= origin;
    SetXAxis(graph, xAxis);
    SetYAxis(graph, TrendYAxis(view));

    if (view.warning && view.critical) {
        const double top = std::max(TrendYAxis(view).maximum, *view.critical);
        graph.SetBandAxis(kYBandAxis);
        graph.SetBand1Color(kWarningBandColour);
        graph.SetBand1Min(*view.warning);
        graph.SetBand1Max(*view.critical);
        graph.SetBand2Color(kCriticalBandColour);
        graph.SetBand2Min(*view.critical);
        graph.SetBand2Max(top);
        graph.SetNumberofBands(2);
    }

    const short readings = AddSeries(graph, kTraceColour, kSolid);
    for (std::size_t i = 0; i < view.x.size(); ++i) {
        const QString guid = i < view.readingGuids.size() ? view.readingGuids[i] : QString();
        const short colour =
            i < view.status.size() ? StatusMarkerColour(view.status[i]) : kReadingMarkerColour;
        graph.SetSeriesData(readings, static_cast<float>(view.x[i] - origin), static_cast<float>(view.y[i]),
                            view.dates[i], guid, QString(), 0, 0, 0, QString(), kReadingMarkerRadius, kCircle,
                            view.inFit[i] == 1 ? kFilled : kHollow, colour,
                            i + 1 == view.x.size() ? kAppendLastPoint : kAppendPoint);
    }
    if (!view.onlineX.empty()) {
        // After the readings, so series 0 stays the readings' (the cursor and the clicks name them);
        // an online value names no reading.
        const short online = AddSeries(graph, kOnlineColour, kSolid);
        for (std::size_t i = 0; i < view.onlineX.size(); ++i) {
            graph.SetSeriesData(online, static_cast<float>(view.onlineX[i] - origin),
                                static_cast<float>(view.onlineY[i]), view.onlineDates[i], QString(),
                                QString(), 0, 0, 0, QString(), kOnlineMarkerRadius, kCircle, kFilled,
                                StatusMarkerColour(view.onlineStatus[i]),
                                i + 1 == view.onlineX.size() ? kAppendLastPoint : kAppendPoint);
        }
    }
    if (!view.lineX.empty()) {
        // Dated like the readings (the array method would date every point 1899-12-30, which would
        // move the axis origin), without markers.
        const short line = AddSeries(graph, kTrendLineColour, kDashed);
        for (std::size_t i = 0; i < view.lineX.size(); ++i) {
            const double x = view.lineX[i] - origin;
            graph.SetSeriesData(line, static_cast<float>(x), static_cast<float>(view.lineY[i]),
                                TrendDateTime(base, x), QString(), QString(), 0, 0, 0, QString(), 0, kCircle,
                                kFilled, kReadingMarkerColour,
                                i + 1 == view.lineX.size() ? kAppendLastPoint : kAppendPoint);
        }
    }
}

void ShowSpectrumView(CVantorGraphCtrl& graph, const SpectrumViewData& view,
                      std::optional<double> bandAlarmLevel, const QString& title, SpectrumDrawing drawing) {
    Clear(graph);
    SetTitle(graph, title);
    graph.SetXAxisType(kNormalAxis);
    graph.SetFFTGraphOn(true);
    graph.SetPointMarkersOn(false);
    graph.SetXAxisCaption(Caption(text::FrequencyLabel, view.xLabel));
    graph.SetXToolTipText(graph.GetXAxisCaption());
    SetYUnits(graph, Caption(text::AmplitudeLabel, view.yLabel), view.yLabel);
    SetXAxis(graph, view.xAxis);
    SetYAxis(graph, view.yAxis);
    const TracePoints trace = SpectrumTrace(view.x, view.y, drawing);
    SetArrays(graph, AddSeries(graph, kTraceColour, kSolid), trace.x, trace.y);

    if (view.kind == MeasureKind::IsoVelocity && !view.bands.empty()) {
        const auto level = static_cast<float>(bandAlarmLevel.value_or(view.yAxis.maximum));
        for (const FrequencyBandMark& band : view.bands) {
            const auto low = static_cast<float>(band.low);
            const auto high = static_cast<float>(band.high);
            switch (band.band) {
            case 1:
                graph.SetFFTBand1FMin(low);
                graph.SetFFTBand1FMax(high);
                graph.SetFFTBand1AlarmLevel(level);
                break;
            case 2:
                graph.SetFFTBand2FMin(low);
                graph.SetFFTBand2FMax(high);
                graph.SetFFTBand2AlarmLevel(level);
                break;
            case 3:
                graph.SetFFTBand3FMin(low);
                graph.SetFFTBand3FMax(high);
                graph.SetFFTBand3AlarmLevel(level);
                break;
            default:
                break;
            }
        }
        graph.SetFFTBandsOn(true);
    }
    if (view.runSpeed > 0) {
        graph.ShowRunSpeed(1, static_cast<float>(view.runSpeed));
    }
}

void ShowWaveformView(CVantorGraphCtrl& graph, const WaveformViewData& view, const QString& title) {
    Clear(graph);
    SetTitle(graph, title);
    graph.SetXAxisType(kTimeAxis);
    graph.SetPointMarkersOn(false);
    graph.SetXAxisCaption(UiText(text::TimeLabel));
    graph.SetXToolTipText(UiText(text::TimeLabel));
    SetYUnits(graph, Caption(text::AmplitudeLabel, QStringLiteral("g")), QStringLiteral("g"));
    SetXAxis(graph, view.xAxis);
    SetYAxis(graph, view.yAxis);
    SetArrays(graph, AddSeries(graph, kTraceColour, kSolid), view.x, view.y);
}

void ShowCepstrumView(CVantorGraphCtrl& graph, const CepstrumViewData& view, const QString& title) {
    Clear(graph);
    SetTitle(graph, title);
    graph.SetXAxisType(kNormalAxis);
    graph.SetPointMarkersOn(false);
    const QString quefrency = Caption(text::added::QuefrencyLabel, QStringLiteral("ms"));
    graph.SetXAxisCaption(quefrency);
    graph.SetXToolTipText(quefrency);
    SetYUnits(graph, UiText(text::added::CepstrumTab), QString());
    SetXAxis(graph, view.xAxis);
    SetYAxis(graph, view.yAxis);
    // The cepstrum is the first series (the one the control's cursor reads); the marks follow.
    SetArrays(graph, AddSeries(graph, kTraceColour, kSolid), view.x, view.y);
    for (const CepstrumMark& mark : view.marks) {
        SetArrays(graph, AddSeries(graph, kCepstrumMarkColour, kDashed), {mark.periodMs, mark.periodMs},
                  {view.yAxis.minimum, view.yAxis.maximum});
    }
}

void ShowWaterfallView(CVantorGraphCtrl& graph, const std::vector<WaterfallSpectrum>& newestFirst,
                       const DisplayUnits& units, const QString& title, SpectrumDrawing drawing) {
    Clear(graph);
    SetTitle(graph, title);
    graph.SetXAxisType(kNormalAxis);
    graph.SetFFTGraphOn(true);
    graph.SetPointMarkersOn(false);
    const std::size_t shown = std::min(newestFirst.size(), static_cast<std::size_t>(kWaterfallMostSpectra));
    if (shown == 0) {
        return;
    }
    // One frequency and one amplitude axis for all traces: the widest range of them.
    const SpectrumViewData& front = newestFirst.front().view;
    AxisRange xAxis = front.xAxis;
    double highest = front.yAxis.maximum;
    double lowest = front.yAxis.minimum;
    for (std::size_t i = 1; i < shown; ++i) {
        const SpectrumViewData& view = newestFirst[i].view;
        xAxis.minimum = std::min(xAxis.minimum, view.xAxis.minimum);
        xAxis.maximum = std::max(xAxis.maximum, view.xAxis.maximum);
        highest = std::max(highest, view.yAxis.maximum);
        lowest = std::min(lowest, view.yAxis.minimum);
    }
    if (xAxis.maximum != front.xAxis.maximum || xAxis.minimum != front.xAxis.minimum) {
        xAxis.tickStep = AxisTickStep(xAxis.minimum, xAxis.maximum, units.Frequency() != FrequencyUnit::Hz);
        xAxis.decimals = AxisDecimals(xAxis.maximum);
    }
    graph.SetXAxisCaption(Caption(text::FrequencyLabel, front.xLabel));
    graph.SetXToolTipText(graph.GetXAxisCaption());
    SetYUnits(graph, Caption(text::AmplitudeLabel, front.yLabel), front.yLabel);
    SetXAxis(graph, xAxis);
    SetYAxis(graph, AmplitudeAxis(lowest, highest));

    for (std::size_t i = 0; i < shown; ++i) {
        const WaterfallSpectrum& spectrum = newestFirst[i];
        const short series = AddSeries(graph, kWaterfallColours[i % std::size(kWaterfallColours)], kSolid);
        // Point by point, so that every line carries its reading's date and identifier (the
        // waterfall's tooltip shows the date; a click names the reading).
        const TracePoints trace = SpectrumTrace(spectrum.view.x, spectrum.view.y, drawing);
        const std::vector<double>& x = trace.x;
        const std::vector<double>& y = trace.y;
        for (std::size_t p = 0; p < x.size(); ++p) {
            graph.SetSeriesData(series, static_cast<float>(x[p]), static_cast<float>(y[p]), spectrum.taken,
                                spectrum.readingGuid, QString(), 0, 0, 0, QString(), 0, kCircle, kFilled,
                                kReadingMarkerColour, p + 1 == x.size() ? kAppendLastPoint : kAppendPoint);
        }
    }
    graph.SetGraphWaterfallOn(true);
    graph.SetXAxisOffset(kWaterfallOffsetPixels);
    graph.SetYAxisOffset(kWaterfallOffsetPixels);
}

void SetGraphAxes(CVantorGraphCtrl& graph, const AxisRange& x, const AxisRange& y) {
    SetXAxis(graph, x);
    SetYAxis(graph, y);
}

int HarmonicCursorCount(const CVantorGraphCtrl& graph) {
    int count = 0;
    for (const CVantorGraphCtrl::CursorReadout& readout : graph.cursorReadouts()) {
        count += readout.name.startsWith(QStringLiteral("harmonic ")) ? 1 : 0;
    }
    return count;
}

void SetGraphCursor(CVantorGraphCtrl& graph, GraphCursor cursor, double x, int harmonicCursors) {
    if (cursor == GraphCursor::None) {
        graph.SetCursorEnabled(false);
        return;
    }
    graph.SetCursorEnabled(true);
    graph.SetCursorType(static_cast<short>(cursor));
    if (cursor == GraphCursor::Harmonic) {
        // The control keeps its harmonic lines while the cursor is off or the graph is refilled:
        // without this a view drawn again would add lines each time.
        for (int before = HarmonicCursorCount(graph); before > 0;) {
            graph.RemoveHarmonicCursor();
            const int after = HarmonicCursorCount(graph);
            if (after >= before) {
                break;
            }
            before = after;
        }
        for (int i = 0; i < harmonicCursors; ++i) {
            graph.AddHarmonicCursor();
        }
    }
    graph.SetCursorFundamental(static_cast<float>(x));
}

} // namespace vantor
