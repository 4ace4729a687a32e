#include "ui/common/StatusIcons.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace vantor {
namespace {

constexpr int kIconSize = 16;
const QColor kOffRouteColour(128, 128, 128);

QPixmap PaintIcon(TreeIconShape shape, const QColor& fill) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(fill.darker(160), 1));
    painter.setBrush(fill);
    const QRectF box(2.5, 2.5, kIconSize - 5, kIconSize - 5);
    switch (shape) {
    case TreeIconShape::Plant: {
        // A building with a roof.
        QPainterPath path;
        path.moveTo(1.5, 14.5);
        path.lineTo(1.5, 6.5);
        path.lineTo(8, 1.5);
        path.lineTo(14.5, 6.5);
        path.lineTo(14.5, 14.5);
        path.closeSubpath();
        painter.drawPath(path);
        break;
    }
    case TreeIconShape::Machine:
        painter.drawRoundedRect(box, 2, 2);
        painter.setBrush(Qt::white);
        painter.drawEllipse(box.center(), 2, 2);
        break;
    case TreeIconShape::VibPoint:
        painter.drawEllipse(box);
        break;
    case TreeIconShape::LubePoint: {
        QPainterPath drop;
        drop.moveTo(8, 1.5);
        drop.cubicTo(12, 7, 13.5, 9, 13.5, 10.5);
        drop.arcTo(QRectF(2.5, 5, 11, 9.5), 0, -180);
        drop.cubicTo(2.5, 9, 4, 7, 8, 1.5);
        painter.drawPath(drop);
        break;
    }
    case TreeIconShape::OffRoute:
        painter.drawEllipse(box);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        break;
    }
    return pixmap;
}

bool Marks(StatusCode mark) {
    return mark == StatusCode::Warning || mark == StatusCode::Critical;
}

// A warning triangle with "!" over the lower right of a picture of kIconSize.
void PaintMark(QPainter& painter, const QColor& fill) {
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(11.5, 7);
    triangle.lineTo(16, 15.5);
    triangle.lineTo(7, 15.5);
    triangle.closeSubpath();
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(fill);
    painter.drawPath(triangle);
    painter.setPen(QPen(Qt::white, 1.4));
    painter.drawLine(QPointF(11.5, 9.6), QPointF(11.5, 12.6));
    painter.drawPoint(QPointF(11.5, 14.2));
}

// A dot over the upper right of a picture of kIconSize: the item has alarm events nobody
// acknowledged. Its colour is none of the status colours, so it reads as "new" beside any status.
const QColor kNewEventsColour(190, 0, 170);

void PaintNewEventsDot(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(kNewEventsColour);
    painter.drawEllipse(QPointF(12.5, 3.5), 3.3, 3.3);
}

const QColor kOnlineColour(0, 150, 170);

void PaintOnlineRing(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(kOnlineColour);
    painter.drawEllipse(QPointF(3.5, 3.5), 3.3, 3.3);
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(3.5, 3.5), 1.4, 1.4);
}

} // namespace

QColor StatusQColor(StatusCode code) {
    const Rgb rgb = StatusColour(code);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QColor StatusTextColour(StatusCode code) {
    constexpr int kDarkBackground = 128;
    constexpr int kLighterOnDark = 160;
    const QColor colour = StatusQColor(code);
    const bool dark = QGuiApplication::palette().color(QPalette::Base).lightness() < kDarkBackground;
    return dark ? colour.lighter(kLighterOnDark) : colour;
}

QIcon StatusIcon(TreeIconShape shape, StatusCode code) {
    static QHash<int, QIcon> painted;
    const int key = static_cast<int>(shape) * 16 + static_cast<int>(code);
    auto found = painted.find(key);
    if (found == painted.end()) {
        const QColor fill = shape == TreeIconShape::OffRoute ? kOffRouteColour : StatusQColor(code);
        found = painted.insert(key, QIcon(PaintIcon(shape, fill)));
    }
    return *found;
}

} // namespace vantor

namespace vantor {

QIcon MarkedStatusIcon(TreeIconShape shape, StatusCode code, StatusCode mark, bool newEvents, bool online) {
    if (!Marks(mark) && !newEvents && !online) {
        return StatusIcon(shape, code);
    }
    static QHash<int, QIcon> painted;
    const int key =
        (((static_cast<int>(shape) * 16 + static_cast<int>(code)) * 16 + static_cast<int>(mark)) * 2 +
         (newEvents ? 1 : 0)) *
            2 +
        (online ? 1 : 0);
    auto found = painted.find(key);
    if (found == painted.end()) {
        const QColor fill = shape == TreeIconShape::OffRoute ? kOffRouteColour : StatusQColor(code);
        QPixmap pixmap = PaintIcon(shape, fill);
        QPainter painter(&pixmap);
        if (Marks(mark)) {
            PaintMark(painter, StatusQColor(mark));
        }
        if (newEvents) {
            PaintNewEventsDot(painter);
        }
        if (online) {
            PaintOnlineRing(painter);
        }
        painter.end();
        found = painted.insert(key, QIcon(pixmap));
    }
    return *found;
}

QIcon FindingsMarkIcon(StatusCode mark) {
    if (!Marks(mark)) {
        return {};
    }
    static QHash<int, QIcon> painted;
    auto found = painted.find(static_cast<int>(mark));
    if (found == painted.end()) {
        QPixmap pixmap(kIconSize, kIconSize);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.translate(-3.5, -4);
        PaintMark(painter, StatusQColor(mark));
        painter.end();
        found = painted.insert(static_cast<int>(mark), QIcon(pixmap));
    }
    return *found;
}

} // namespace vantor

namespace vantor {

QIcon NewEventsIcon() {
    static const QIcon icon = [] {
        QPixmap pixmap(kIconSize, kIconSize);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.translate(-4.5, 4.5);
        PaintNewEventsDot(painter);
        painter.end();
        return QIcon(pixmap);
    }();
    return icon;
}

} // namespace vantor
