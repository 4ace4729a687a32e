#pragma once
// What a reading view hands the graph control: its series, axis limits and ticks, axis type,
// alarm bands, frequency bands, run-speed marker, cursor and titles. The desktop views and the
// command line's pictures both go through these, so they show the same graph.
//
// Everything is written through the control's automation surface (properties and methods), in
// an order its validating setters accept (limits before tick spacing).

#include "analysis/CepstrumViewData.h"
#include "analysis/ViewData.h"

#include <QString>

#include <optional>
#include <vector>

class CVantorGraphCtrl;

namespace vantor {

// The cursor type of the views' menu; the graph control draws and moves it.
enum class GraphCursor : int { None = -1, Simple = 0, Harmonic = 1, Bearing = 2 };

// Harmonic cursors a view starts with (the fundamental and its multiples).
inline constexpr int kStartingHarmonicCursors = 3;
// The most spectra a waterfall shows (the newest ones).
inline constexpr int kWaterfallMostSpectra = 10;
// The shift in pixels from one waterfall trace to the next.
inline constexpr short kWaterfallOffsetPixels = 15;
// Room above the highest value or alarm level of a trend, as a share of it.
inline constexpr double kTrendHeadroom = 0.1;

// Palette indices of the alarm bands on a trend.
inline constexpr short kWarningBandColour = 19;  // pale yellow
inline constexpr short kCriticalBandColour = 18; // pale red

// How spectra are drawn (the setting FFTLineOrBar): a line through the tops of the spectrum lines,
// or a bar from zero at every line.
enum class SpectrumDrawing : int { Line = 0, Bar = 1 };
// The setting's code: 0 draws lines, any other value bars.
SpectrumDrawing SpectrumDrawingOf(int fftLineOrBar);

// The palette index a trend marker of a reading with this status is drawn in: green for OK, orange
// for a warning, red for a critical value, blue for the rest (no value, alarms off).
short StatusMarkerColour(StatusCode code);

// One spectrum of a waterfall with the date it was taken (for its tooltip).
struct WaterfallSpectrum {
    SpectrumViewData view;
    QDateTime taken;
    QString readingGuid;
};

// Every view starts from a cleared control: series removed, bands, cursors and the running-speed
// marker off, then the view's own settings.
void ShowTrendView(CVantorGraphCtrl& graph, const TrendViewData& view, const QString& title);
// The VA bands of an ISO spectrum are outlined up to bandAlarmLevel (displayed amplitude, the
// point's warning level where it judges them), or to the top of the graph without one.
void ShowSpectrumView(CVantorGraphCtrl& graph, const SpectrumViewData& view,
                      std::optional<double> bandAlarmLevel, const QString& title,
                      SpectrumDrawing drawing = SpectrumDrawing::Line);
void ShowWaveformView(CVantorGraphCtrl& graph, const WaveformViewData& view, const QString& title);
// The cepstrum against quefrency (ms), each family's period a dashed line over the whole height.
void ShowCepstrumView(CVantorGraphCtrl& graph, const CepstrumViewData& view, const QString& title);
// Every reading of a trend carries its GUID (a click names it) and its status colour; readings left
// out of the fit are drawn hollow.
// Newest first: the first spectrum is the front trace. At most kWaterfallMostSpectra are shown.
void ShowWaterfallView(CVantorGraphCtrl& graph, const std::vector<WaterfallSpectrum>& newestFirst,
                       const DisplayUnits& units, const QString& title,
                       SpectrumDrawing drawing = SpectrumDrawing::Line);

// New limits, ticks and label decimals on both axes of a drawn graph (a zoom or typed limits).
void SetGraphAxes(CVantorGraphCtrl& graph, const AxisRange& x, const AxisRange& y);

// Switches the cursor of the given type on (or all cursors off) and stands it at x (the run speed
// on a spectrum). The control snaps cursors to the drawn data, so it must have been painted (laid
// out) at its size before.
// A harmonic cursor comes with exactly harmonicCursors lines (those from before are removed).
void SetGraphCursor(CVantorGraphCtrl& graph, GraphCursor cursor, double x,
                    int harmonicCursors = kStartingHarmonicCursors);
// The harmonic cursor lines the control holds (kept while the cursor is off).
int HarmonicCursorCount(const CVantorGraphCtrl& graph);

} // namespace vantor
