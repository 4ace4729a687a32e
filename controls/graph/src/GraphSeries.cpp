#include "GraphSeries.h"

#include "TraceDecimation.h"

#include <algorithm>

QDateTime zeroDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

PointInfo& PointInfoList::own(std::size_t index) {
    if (slot_.empty())
        slot_.assign(count_, -1);
    std::int32_t& slot = slot_[index];
    if (slot < 0) {
        slot = static_cast<std::int32_t>(own_.size());
        own_.push_back(shared_);
    }
    return own_[static_cast<std::size_t>(slot)];
}

void PointInfoList::push_back(PointInfo info) {
    if (slot_.empty() && count_ > 0) {
        slot_.assign(count_, -1);
    }
    // A series built point by point has no shared context: one slot per point from the first.
    slot_.push_back(static_cast<std::int32_t>(own_.size()));
    own_.push_back(std::move(info));
    ++count_;
}

void PointInfoList::assignShared(std::size_t count, PointInfo info) {
    clear();
    count_ = count;
    shared_ = std::move(info);
}

void PointInfoList::clear() {
    count_ = 0;
    shared_ = PointInfo{};
    std::vector<PointInfo>().swap(own_);
    std::vector<std::int32_t>().swap(slot_);
}

void GraphSeries::clear() {
    // Releases the storage as well, not only the contents.
    std::vector<GraphPoint>().swap(points);
    info.clear();
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
