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
