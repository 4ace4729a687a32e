#include "TraceDecimation.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int NoPoint = std::numeric_limits<int>::max();
}

QPolygon TraceReducer::envelope() const {
    QPolygon line;
    line.reserve(static_cast<qsizetype>(runs_.size() * 4));
    for (const ColumnRun& run : runs_) {
        line.append(QPoint(run.x, run.first));
        // Within a column every joining segment is vertical: the span from top to bottom covers them.
        if (run.top != run.first)
            line.append(QPoint(run.x, run.top));
        if (run.bottom != run.top)
            line.append(QPoint(run.x, run.bottom));
        if (run.last != run.bottom)
            line.append(QPoint(run.x, run.last));
    }
    return line;
}

SpectrumReducer::SpectrumReducer(int left, int width, int top, int base)
    : left_(left), top_(top), base_(base), highest_(static_cast<std::size_t>(std::max(0, width)), NoPoint) {}

std::vector<QLine> SpectrumReducer::lines() const {
    std::vector<QLine> result;
    for (std::size_t column = 0; column < highest_.size(); ++column) {
        if (highest_[column] == NoPoint)
            continue;
        const int x = left_ + static_cast<int>(column);
        const int y = std::clamp(highest_[column], top_, std::max(top_, base_ - 1));
        result.emplace_back(x, base_, x, y);
    }
    return result;
}

TraceMapping traceMapping(const GraphSeries::Layout& layout) {
    const QRect& o = layout.origin;
    return {GraphScale::Mapping(layout.xMin, layout.xMax, o.left(), o.width()),
            GraphScale::Mapping(layout.yMin, layout.yMax, o.top() + o.height(), -o.height()), layout.dx,
            layout.dy};
}

std::vector<QPoint> traceScreenPositions(const std::vector<GraphPoint>& points, const TraceMapping& map) {
    std::vector<QPoint> positions;
    positions.reserve(points.size());
    for (const GraphPoint& point : points)
        positions.push_back(map.at(point));
    return positions;
}

namespace {

// A run of consecutive points in one pixel column, by index range and Y extremes.
struct Run {
    int column;
    std::size_t begin, end;
    double lowest, highest;
};

// The lowest and highest Y of points [begin, end) (only those asked for: the other stays the first
// point's Y). Four independent chains, so the comparisons of one point do not wait on those of the
// one before.
template <bool Lowest, bool Highest>
std::pair<double, double> yExtremes(const GraphPoint* points, std::size_t begin, std::size_t end) {
    double lo0 = points[begin].y, lo1 = lo0, lo2 = lo0, lo3 = lo0;
    double hi0 = lo0, hi1 = lo0, hi2 = lo0, hi3 = lo0;
    std::size_t i = begin;
    for (; i + 4 <= end; i += 4) {
        const double y0 = points[i].y, y1 = points[i + 1].y, y2 = points[i + 2].y, y3 = points[i + 3].y;
        if constexpr (Lowest) {
            lo0 = y0 < lo0 ? y0 : lo0;
            lo1 = y1 < lo1 ? y1 : lo1;
            lo2 = y2 < lo2 ? y2 : lo2;
            lo3 = y3 < lo3 ? y3 : lo3;
        }
        if constexpr (Highest) {
            hi0 = y0 > hi0 ? y0 : hi0;
            hi1 = y1 > hi1 ? y1 : hi1;
            hi2 = y2 > hi2 ? y2 : hi2;
            hi3 = y3 > hi3 ? y3 : hi3;
        }
    }
    for (; i < end; ++i) {
        const double y = points[i].y;
        lo0 = y < lo0 ? y : lo0;
        hi0 = y > hi0 ? y : hi0;
    }
    return {std::min(std::min(lo0, lo1), std::min(lo2, lo3)),
            std::max(std::max(hi0, hi1), std::max(hi2, hi3))};
}

// Calls `visit` with each column run of points whose columns never decrease. The end of a run is
// found by doubling steps then halving, so a column of n points costs about 2 log2 n mappings
// plus one pass over its Y values.
template <bool Lowest, bool Highest, class Visit>
void forEachRun(const std::vector<GraphPoint>& points, const TraceMapping& map, Visit visit) {
    const std::size_t n = points.size();
    const GraphPoint* p = points.data();
    std::size_t i = 0;
    while (i < n) {
        const int column = map.column(p[i].x);
        // Every index below `lo` is in the column; `hi` is n or an index past it.
        std::size_t lo = i + 1;
        std::size_t step = 1;
        while (i + step < n && map.column(p[i + step].x) == column) {
            lo = i + step + 1;
            step *= 2;
        }
        std::size_t hi = std::min(i + step, n);
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (map.column(p[mid].x) == column)
                lo = mid + 1;
            else
                hi = mid;
        }
        const auto [lowest, highest] = yExtremes<Lowest, Highest>(p, i, lo);
        visit(Run{column, i, lo, lowest, highest});
        i = lo;
    }
}

} // namespace

QPolygon reduceTrace(const std::vector<GraphPoint>& points, const TraceMapping& map, bool ordered) {
    TraceReducer trace;
    trace.reserve(std::min<std::size_t>(points.size(), 4096));
    if (ordered && map.x.nonDecreasing()) {
        // The Y mapping is monotonic, so the column's extreme values give its extreme pixels.
        forEachRun<true, true>(points, map, [&](const Run& run) {
            const int a = map.row(run.lowest);
            const int b = map.row(run.highest);
            trace.append({run.column, map.row(points[run.begin].y), map.row(points[run.end - 1].y),
                          std::min(a, b), std::max(a, b)});
        });
        return trace.envelope();
    }
    // The column being filled lives in plain locals (never in memory whose address escapes), so
    // the compiler keeps it in registers.
    bool open = false;
    int column = 0, first = 0, last = 0, top = 0, lowest = 0;
    for (const GraphPoint& point : points) {
        const int x = map.column(point.x);
        const int y = map.row(point.y);
        if (open && x == column) {
            last = y;
            top = std::min(top, y);
            lowest = std::max(lowest, y);
            continue;
        }
        if (open)
            trace.append({column, first, last, top, lowest});
        column = x;
        first = last = top = lowest = y;
        open = true;
    }
    if (open)
        trace.append({column, first, last, top, lowest});
    return trace.envelope();
}

std::vector<QLine> reduceSpectrum(const std::vector<GraphPoint>& points, const TraceMapping& map,
                                  bool ordered, SpectrumReducer bars) {
    if (ordered && map.x.nonDecreasing()) {
        // A bar reaches the column's highest pixel: its greatest value on an upward Y axis.
        const auto visit = [&](const Run& run) {
            bars.add(run.column, std::min(map.row(run.lowest), map.row(run.highest)));
        };
        if (map.y.nonDecreasing())
            forEachRun<true, false>(points, map, visit);
        else
            forEachRun<false, true>(points, map, visit);
        return bars.lines();
    }
    int column = std::numeric_limits<int>::min();
    int highest = 0;
    for (const GraphPoint& point : points) {
        const int x = map.column(point.x);
        const int y = map.row(point.y);
        if (x == column) {
            highest = std::min(highest, y);
            continue;
        }
        if (column != std::numeric_limits<int>::min())
            bars.add(column, highest);
        column = x;
        highest = y;
    }
    if (column != std::numeric_limits<int>::min())
        bars.add(column, highest);
    return bars.lines();
}
