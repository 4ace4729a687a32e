// Reduction of a dense trace to what one pixel column can show, so that a paint draws a few lines
// per column however many points a waveform or spectrum holds.
#pragma once

#include "GraphScale.h"
#include "GraphSeries.h"

#include <QLine>
#include <QPoint>
#include <QPolygon>

#include <algorithm>
#include <vector>

// Consecutive points that fall into one pixel column, by their lowest and highest pixel and the
// pixel at which the run enters and leaves the column.
struct ColumnRun {
    int x = 0;
    int first = 0; // y of the first point of the run
    int last = 0;  // y of the last point
    int top = 0;   // smallest y (the highest point on screen)
    int bottom = 0;
};

class TraceReducer {
public:
    void reserve(std::size_t columns) { runs_.reserve(columns); }
    void add(int x, int y) {
        if (!runs_.empty() && runs_.back().x == x) {
            // Branch-free: the order of noisy samples within a column is unpredictable.
            ColumnRun& run = runs_.back();
            run.last = y;
            run.top = std::min(run.top, y);
            run.bottom = std::max(run.bottom, y);
            return;
        }
        runs_.push_back({x, y, y, y, y});
    }
    // A finished run (the caller kept it in registers while its column lasted).
    void append(ColumnRun run) { runs_.push_back(run); }
    const std::vector<ColumnRun>& runs() const { return runs_; }

    // The polyline that covers the same pixels as joining every point in order: each column is
    // entered at its first point, spans its lowest and highest point, and is left at its last.
    QPolygon envelope() const;

private:
    std::vector<ColumnRun> runs_;
};

// Spectrum bars: for each column of [left, left + width) that holds points, one vertical line from
// `base` up to the highest point of that column, clamped into [top, base - 1] so that no line is
// empty. Columns outside the range are not drawn.
class SpectrumReducer {
public:
    SpectrumReducer(int left, int width, int top, int base);
    void add(int x, int y) {
        const int column = x - left_;
        if (column < 0 || column >= static_cast<int>(highest_.size()))
            return;
        int& highest = highest_[static_cast<std::size_t>(column)];
        highest = std::min(highest, y);
    }
    std::vector<QLine> lines() const;

private:
    int left_;
    int top_;
    int base_;
    std::vector<int> highest_;
};

// Value-to-pixel mapping of one trace: both axes plus the trace's waterfall shift.
struct TraceMapping {
    GraphScale::Mapping x;
    GraphScale::Mapping y;
    int dx = 0;
    int dy = 0;
    int column(double v) const { return x.pixel(v) + dx; }
    int row(double v) const { return y.pixel(v) + dy; }
    QPoint at(const GraphPoint& p) const { return {column(p.x), row(p.y)}; }
};

// The mapping a paint with this layout used: X across the axis origin, Y up from its bottom.
TraceMapping traceMapping(const GraphSeries::Layout& layout);

// Every point's pixel.
std::vector<QPoint> traceScreenPositions(const std::vector<GraphPoint>& points, const TraceMapping& map);

// The reduced trace of the points (TraceReducer's envelope). With `ordered` (GraphSeries::ordered)
// each column's points are found by searching for where the column ends and only its extremes
// are mapped, which gives the same envelope as mapping every point.
QPolygon reduceTrace(const std::vector<GraphPoint>& points, const TraceMapping& map, bool ordered);

// The spectrum bars of the points into `bars`' columns (SpectrumReducer), with the same shortcut.
std::vector<QLine> reduceSpectrum(const std::vector<GraphPoint>& points, const TraceMapping& map,
                                  bool ordered, SpectrumReducer bars);
