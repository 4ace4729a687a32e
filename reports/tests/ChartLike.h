#pragma once
// A drawing like a report chart, 640 × 400: a frame, a title, a slanted trace and `colours` small
// squares each of its own colour (so that a test can pass a palette's 256 colours at will).

#include <QPainter>

namespace vantor::testing {

inline void PaintChartLike(QPainter& painter, int colours) {
    painter.setPen(Qt::black);
    painter.drawRect(40, 20, 560, 340);
    painter.drawText(QRect(0, 0, 640, 20), Qt::AlignCenter, QStringLiteral("Motor DE H - Velocity 10 Hz"));
    for (int i = 0; i < colours; ++i) {
        painter.fillRect(QRect(50 + (i % 100) * 5, 30 + (i / 100) * 5, 5, 5),
                         QColor::fromRgb(QRgb(0x10000 * i + 77)));
    }
    painter.setPen(QPen(Qt::darkBlue, 1));
    for (int x = 40; x < 600; x += 7) {
        painter.drawLine(x, 300 - (x * 37) % 200, x + 7, 300 - ((x + 7) * 37) % 200);
    }
}

} // namespace vantor::testing
