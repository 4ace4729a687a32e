// The graph's data: an ordered list of series, each with its line and marker configuration and
// its points (plotted values plus the reading context shown by the tooltip and returned by the
// click events).
#pragma once

#include <QDateTime>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

inline constexpr int SkipArgument = -1;

// The plotted values of a point, kept apart from its reading context so that a paint over a
// million points reads and writes only these.
struct GraphPoint {
    double x = 0.0;
    double y = 0.0;
};

// Whether points, added one by one, keep the order GraphSeries::ordered() asks for. Branch-free:
// series are nearly always ordered, so an early exit buys nothing.
struct OrderCheck {
    bool ordered = true;
    double previous = -std::numeric_limits<double>::infinity();
    void add(const GraphPoint& p) {
        ordered &= (p.x >= previous) & (std::abs(p.x) <= std::numeric_limits<double>::max()) & (p.y == p.y);
        previous = p.x;
    }
};

// The reading behind a point (shown by the tooltip, returned by the click events) and its marker.
struct PointInfo {
    QDateTime dateTime; // invalid = no valid date
    QString dateText;
    QString timeText;
    QString readingGuid;
    QString accelerometerSerial;
    float accelerometerMilliVolts = 0.0f;
    float accelerometerTemperature = 0.0f;
    int takenWithRfid = 0;
    QString rfidCode;
    int markerRadius = 2;
    int markerShape = 1;
    int markerFill = 0;
    int markerColor = 9; // palette index
};

// The OLE date 0 (1899-12-30 00:00:00), which the array method gives every point.
QDateTime zeroDate();

// The reading contexts of a series' points. Points given by array share one default context (a
// context is ten times the size of a value pair, so a copy per point would dominate a waveform's
// memory); a point holds its own only when it was given one, or when one of its fields changes.
class PointInfoList {
public:
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const PointInfo& operator[](std::size_t index) const {
        if (slot_.empty())
            return shared_;
        const std::int32_t slot = slot_[index];
        return slot < 0 ? shared_ : own_[static_cast<std::size_t>(slot)];
    }
    // Point `index`'s context to change, made its own first when it was shared.
    PointInfo& own(std::size_t index);
    // A point with its own context after the others.
    void push_back(PointInfo info);
    // `count` points that all share `info`, replacing what was held.
    void assignShared(std::size_t count, PointInfo info);
    // Every distinct context once: the shared one (while a point uses it), then the points' own.
    template <class F> void forEachContext(F&& visit) const {
        if (sharedUsers() > 0)
            visit(shared_);
        for (const PointInfo& info : own_)
            visit(info);
    }
    // Releases the storage as well as the contents.
    void clear();
    // Bytes held beyond the object itself.
    std::size_t heapBytes() const {
        return own_.capacity() * sizeof(PointInfo) + slot_.capacity() * sizeof(std::int32_t);
    }

private:
    std::size_t sharedUsers() const { return count_ - own_.size(); }

    std::size_t count_ = 0;
    PointInfo shared_;
    std::vector<PointInfo> own_;
    // Per point, its index into own_ or -1 for the shared context; empty while every point shares.
    std::vector<std::int32_t> slot_;
};

struct MarkerStyle {
    int radius = 5;
    int shape = 0;
    int fill = 0;
    int color = 0; // RGB value
};

struct GraphSeries {
    bool traceOn = false;
    int lineColor = 0; // RGB value
    int lineWidth = 1;
    int lineStyle = 0; // 0 solid, 1 dashed
    MarkerStyle unselected{5, 3, 0, 0xFF0000};
    MarkerStyle selected{5, 0, 0, 0x00C000};
    // points[i] and info[i] describe point i; every data method keeps the two the same length.
    std::vector<GraphPoint> points;
    PointInfoList info;

    // What the last paint laid out, so that a repaint of unchanged data and axes reuses the screen
    // positions and the reduced trace instead of a pass over every point.
    struct Layout {
        quint64 generation = 0; // of the points it was made from
        double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
        QRect origin;
        int dx = 0, dy = 0;
        bool spectrum = false;
        bool valid = false;
        bool operator==(const Layout&) const = default;
    };
    quint64 generation = 0; // raised by every change to the points
    Layout layout;
    QPolygon envelope;
    std::vector<QLine> bars;

    void touch() { ++generation; }
    // Where the last paint drew each point (all at the origin before the first paint), worked out
    // from that paint's layout when first asked for, so that a paint itself never writes a position
    // per point.
    const std::vector<QPoint>& screenPositions() const;
    // The X values are finite and never decrease, and no Y value is NaN: the pixel columns of the
    // points then never decrease either. Worked out once per change to the points.
    bool ordered() const;
    // Records what a data method found while it wrote the points (after its touch()), sparing
    // ordered() its pass.
    void setOrdered(bool ordered) const;
    int pointCount() const { return static_cast<int>(points.size()); }
    void clear();

private:
    mutable std::vector<QPoint> screen_;
    mutable Layout screenLayout_;
    mutable quint64 screenGeneration_ = ~quint64{0};
    mutable quint64 orderedGeneration_ = ~quint64{0};
    mutable bool ordered_ = false;
};

// The series list, growing its storage by max(4, min(1024, count / 8)) records at a time.
class SeriesList {
public:
    int count() const { return static_cast<int>(series_.size()); }
    std::size_t capacity() const { return series_.capacity(); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    GraphSeries& operator[](int index) { return series_[static_cast<std::size_t>(index)]; }
    const GraphSeries& operator[](int index) const { return series_[static_cast<std::size_t>(index)]; }

    GraphSeries& append();
    void remove(int index);

    static std::size_t growthFor(std::size_t count);

    auto begin() const { return series_.begin(); }
    auto end() const { return series_.end(); }

private:
    std::vector<GraphSeries> series_;
};
