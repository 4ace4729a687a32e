#include "GraphCursors.h"

#include "GraphSeries.h"

int snapToPoint(const GraphSeries& series, int pixel, int direction, bool endRule) {
    const auto& points = series.points;
    if (points.empty())
        return -1;
    const int column = pixel + direction;
    const int count = static_cast<int>(points.size());
    int chosen = -1;
    if (endRule && column < points.front().screenX)
        chosen = 0;
    else if (endRule && column > points.back().screenX)
        chosen = count - 1;
    else {
        for (int i = 0; i < count; ++i) {
            if (points[static_cast<std::size_t>(i)].screenX < column)
                continue;
            if (direction == 0) {
                chosen = i;
                if (i > 0) {
                    const int before = column - points[static_cast<std::size_t>(i - 1)].screenX;
                    const int after = points[static_cast<std::size_t>(i)].screenX - column;
                    if (before < after)
                        chosen = i - 1;
                }
            } else {
                chosen = direction < 0 ? (i > 0 ? i - 1 : 0) : i;
            }
            break;
        }
    }
    if (chosen < 0)
        return -1;
    // Of several points on the column itself, the highest one.
    if (points[static_cast<std::size_t>(chosen)].screenX == column) {
        for (int i = 0; i < count; ++i) {
            const GraphPoint& point = points[static_cast<std::size_t>(i)];
            if (point.screenX == column && point.y > points[static_cast<std::size_t>(chosen)].y)
                chosen = i;
        }
    }
    return chosen;
}
