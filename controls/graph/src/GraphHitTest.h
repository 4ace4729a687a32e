// Whether a mouse position hits a point's marker, by the marker's shape and radius.
#pragma once

#include <QPoint>

enum class MarkerShape { Circle = 0, Square = 1, Triangle = 2, Diamond = 3 };

// Shape 0 circle (dx² + dy² <= r²), 1 square (right and bottom edges excluded), 2 triangle and
// 3 diamond (inside their polygon); any other shape is never hit.
bool markerHit(QPoint mouse, QPoint point, int radius, int shape);
