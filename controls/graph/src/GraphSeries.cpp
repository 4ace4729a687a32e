#include "GraphSeries.h"

#include "TraceDecimation.h"

#include <algorithm>

QDateTime zeroDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

void GraphSeries::clear() {
    // Releases the storage as well, not only the contents.
    std::vector<GraphPoint>().swap(points);
    std::vector<PointInfo>().swap(info);
    std::vector<QPoint>().swap(screen_);
    touch();
}

const std::vector<QPoint>& GraphSeries::screenPositions() const {
    if (screenGeneration_ != generation || !(screenLayout_ == layout)) {
        if (layout.valid)
            screen_ = traceScreenPositions(points, traceMapping(layout));
        else
            screen_.assign(points.size(), QPoint());
        screenGeneration_ = generation;
        screenLayout_ = layout;
    }
    return screen_;
}

bool GraphSeries::ordered() const {
    if (orderedGeneration_ != generation) {
        OrderCheck check;
        for (const GraphPoint& p : points)
            check.add(p);
        setOrdered(check.ordered);
    }
    return ordered_;
}

void GraphSeries::setOrdered(bool ordered) const {
    ordered_ = ordered;
    orderedGeneration_ = generation;
}

std::size_t SeriesList::growthFor(std::size_t count) {
    return std::max<std::size_t>(4, std::min<std::size_t>(1024, count / 8));
}

GraphSeries& SeriesList::append() {
    if (series_.size() == series_.capacity())
        series_.reserve(series_.capacity() + growthFor(series_.size()));
    return series_.emplace_back();
}

void SeriesList::remove(int index) {
    series_.erase(series_.begin() + index);
}
