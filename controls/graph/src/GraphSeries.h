// The graph's data: an ordered list of series, each with its line and marker configuration and
// its points (plotted values plus the reading context shown by the tooltip and returned by the
// click events).
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstddef>
#include <vector>

inline constexpr int SkipArgument = -1;

struct GraphPoint {
    double x = 0.0;
    double y = 0.0;
    int screenX = 0; // pixel at which the last paint drew the point
    int screenY = 0;
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
    // One record per point keeps every per-point value in step with the point count.
    std::vector<GraphPoint> points;

    int pointCount() const { return static_cast<int>(points.size()); }
    void clear();
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
