#include "GraphCursors.h"

#include "GraphSeries.h"

int snapToPoint(const GraphSeries& series, int pixel, int direction, bool endRule) {
    const auto& points = series.points;
    const std::vector<QPoint>& screen = series.screenPositions();
    if (points.empty())
        return -1;
    const int column = pixel + direction;
    const int count = static_cast<int>(points.size());
    int chosen = -1;
    if (endRule && column < screen.front().x())
        chosen = 0;
    else if (endRule && column > screen.back().x())
        chosen = count - 1;
    else {
        for (int i = 0; i < count; ++i) {
            if (screen[static_cast<std::size_t>(i)].x() < column)
                continue;
            if (direction == 0) {
                chosen = i;
                if (i > 0) {
                    const int before = column - screen[static_cast<std::size_t>(i - 1)].x();
                    const int after = screen[static_cast<std::size_t>(i)].x() - column;
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
    if (screen[static_cast<std::size_t>(chosen)].x() == column) {
        for (int i = 0; i < count; ++i) {
            if (screen[static_cast<std::size_t>(i)].x() == column &&
                points[static_cast<std::size_t>(i)].y > points[static_cast<std::size_t>(chosen)].y)
                chosen = i;
        }
    }
    return chosen;
}
