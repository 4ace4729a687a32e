#include "GraphSeries.h"

#include <algorithm>

QDateTime zeroDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

void GraphSeries::clear() {
    // Releases the storage as well, not only the contents.
    std::vector<GraphPoint>().swap(points);
    std::vector<PointInfo>().swap(info);
    touch();
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
