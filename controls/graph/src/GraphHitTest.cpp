#include "GraphHitTest.h"

#include <QPolygon>

bool markerHit(QPoint mouse, QPoint point, int radius, int shape) {
    const int x = point.x();
    const int y = point.y();
    const int r = radius;
    switch (static_cast<MarkerShape>(shape)) {
    case MarkerShape::Circle: {
        const long dx = mouse.x() - x;
        const long dy = mouse.y() - y;
        return dx * dx + dy * dy <= static_cast<long>(r) * r;
    }
    case MarkerShape::Square:
        return mouse.x() >= x - r && mouse.x() < x + r && mouse.y() >= y - r && mouse.y() < y + r;
    case MarkerShape::Triangle:
        return QPolygon({QPoint(x, y - r), QPoint(x - r, y + r), QPoint(x + r, y + r)})
            .containsPoint(mouse, Qt::OddEvenFill);
    case MarkerShape::Diamond:
        return QPolygon({QPoint(x, y - r), QPoint(x + r, y), QPoint(x, y + r), QPoint(x - r, y)})
            .containsPoint(mouse, Qt::OddEvenFill);
    }
    return false;
}
