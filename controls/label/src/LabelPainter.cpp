#include "LabelPainter.h"

#include "LabelFit.h"
#include "LabelFont.h"
#include "LabelPalette.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

enum BorderEffect : short { Flat = 0, Raised = 1, Sunken = 2, Etched = 3 };

int horizontalFlag(short alignment) {
    switch (alignment) {
    case 1:
        return Qt::AlignHCenter;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

int verticalFlag(short alignment) {
    switch (alignment) {
    case 1:
        return Qt::AlignVCenter;
    case 2:
        return Qt::AlignBottom;
    default:
        return Qt::AlignTop;
    }
}

constexpr int SingleLineFlags = Qt::TextSingleLine | Qt::TextExpandTabs;
constexpr int WrappedFlags = Qt::TextWordWrap | Qt::TextExpandTabs;

void fillGradient(QPainter& painter, const QRect& rect, const QColor& top) {
    const QColor bottom = gradientBottomColor(top);
    const int bands = (rect.height() + GradientBandHeight - 1) / GradientBandHeight;
    for (int band = 0; band < bands; ++band) {
        const auto step = [&](int from, int to) {
            return bands > 1 ? from + (to - from) * band / (bands - 1) : from;
        };
        const int y = rect.top() + band * GradientBandHeight;
        const int height = std::min(GradientBandHeight, rect.bottom() + 1 - y);
        painter.fillRect(QRect(rect.left(), y, rect.width(), height),
                         QColor(step(top.red(), bottom.red()), step(top.green(), bottom.green()),
                                step(top.blue(), bottom.blue())));
    }
}

void drawFrame(QPainter& painter, const QRect& r, const QColor& color) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

// One 1-pixel ring of a 3-D edge: the top and left lines in one colour, the bottom and right
// lines (corners included) in the other.
void drawEdgeRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

void drawBorderEffect(QPainter& painter, const QRect& r, short effect, const QPalette& system) {
    const QColor highlight = system.color(QPalette::Light);
    const QColor light = system.color(QPalette::Midlight);
    const QColor shadow = system.color(QPalette::Dark);
    const QColor darkShadow = system.color(QPalette::Shadow);
    const QRect inner = r.adjusted(1, 1, -1, -1);
    switch (effect) {
    case Raised:
        drawEdgeRing(painter, r, light, darkShadow);
        drawEdgeRing(painter, inner, highlight, shadow);
        break;
    case Sunken:
        drawEdgeRing(painter, r, shadow, highlight);
        drawEdgeRing(painter, inner, darkShadow, light);
        break;
    case Etched:
        drawEdgeRing(painter, r, shadow, highlight);
        drawEdgeRing(painter, inner, highlight, shadow);
        break;
    default:
        break;
    }
}

int singleLineWidth(const QFont& font, const QPaintDevice* device, const QString& text) {
    return QFontMetrics(font, device).size(SingleLineFlags, text).width();
}

int wrappedHeight(const QFont& font, const QPaintDevice* device, const QString& text, int width, int hFlag) {
    const QRect bounds(0, 0, std::max(1, width), std::numeric_limits<int>::max() / 4);
    return QFontMetrics(font, device).boundingRect(bounds, WrappedFlags | hFlag, text).height();
}

// Lowers properties.Size until the caption fits the rectangle: its width on one line, or its
// height when word-wrapped.
void fitCaption(LabelProperties& p, const QRect& area, const QPaintDevice* device) {
    const int hFlag = horizontalFlag(p.HorizontalAlignment);
    if (p.WordWrapOn) {
        p.Size = fittedSize(p.Size, area.height(), FitGrowth::Quadratic, [&](short size) {
            return wrappedHeight(labelFont(p, size), device, p.Caption, area.width(), hFlag);
        });
    } else {
        p.Size = fittedSize(p.Size, area.width(), FitGrowth::Linear, [&](short size) {
            return singleLineWidth(labelFont(p, size), device, p.Caption);
        });
    }
}

// The caption at 0 degrees in area, in the painter's font.
void drawCaption(QPainter& painter, const QRect& area, const LabelProperties& p, const QColor& color) {
    painter.setPen(color);
    const int hFlag = horizontalFlag(p.HorizontalAlignment);
    if (!p.WordWrapOn) {
        painter.drawText(area, SingleLineFlags | hFlag | verticalFlag(p.VerticalAlignment), p.Caption);
        return;
    }
    const int textHeight = wrappedHeight(painter.font(), painter.device(), p.Caption, area.width(), hFlag);
    const int bottom = area.bottom() + 1;
    int top = area.top();
    if (p.VerticalAlignment == 1) {
        // Slightly below the true middle, yet never so low that the last line is cut off.
        top =
            std::min(area.top() + (area.height() - textHeight) / 2 + WrappedMiddleDrop, bottom - textHeight);
    } else if (p.VerticalAlignment == 2) {
        top = bottom - textHeight;
    }
    // A caption taller than the rectangle (at the least size) shows its first lines.
    top = std::max(top, area.top());
    painter.drawText(QRect(area.left(), top, area.width(), bottom - top), WrappedFlags | hFlag | Qt::AlignTop,
                     p.Caption);
}

// The caption at 90, 180 or 270 degrees, its rotated box placed in the rectangle's left-bottom
// corner.
void drawRotatedCaption(QPainter& painter, const QRect& area, const LabelProperties& p, const QPoint& shift,
                        const QColor& color) {
    const QFontMetrics metrics(painter.font(), painter.device());
    const int width = metrics.size(SingleLineFlags, p.Caption).width();
    const int height = metrics.height();
    const int left = area.left();
    const int bottom = area.bottom() + 1;

    painter.save();
    painter.translate(shift);
    switch (p.Rotation) {
    case 1: // reads upwards
        painter.translate(left, bottom);
        painter.rotate(-90);
        break;
    case 2: // upside down
        painter.translate(left + width, bottom);
        painter.rotate(180);
        break;
    default: // reads downwards
        painter.translate(left + height, bottom - width);
        painter.rotate(90);
        break;
    }
    painter.setPen(color);
    painter.drawText(QRect(0, 0, width, height),
                     SingleLineFlags | Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, p.Caption);
    painter.restore();
}

bool isRotated(short rotation) {
    return rotation >= 1 && rotation <= 3;
}

} // namespace

QRect labelTextRect(const QRect& rect, const LabelProperties& p) {
    QRect text = rect;
    if (p.BorderStyle == 1)
        text.adjust(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    if (p.BorderEffect == Sunken || p.BorderEffect == Etched)
        text.adjust(EdgeTextInset, EdgeTextInset, -EdgeTextInset, -EdgeTextInset);
    return text;
}

QColor gradientBottomColor(const QColor& top) {
    return QColor(top.red() * 7 / 10, top.green() * 7 / 10, top.blue() * 7 / 10);
}

QRect paintLabel(QPainter& painter, const QRect& rect, LabelProperties& p,
                 const LabelEnvironment& environment) {
    painter.save();
    painter.setClipRect(rect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);

    // 1-2. Clear, resolve the colours; text is drawn without a background.
    painter.fillRect(rect, painter.background());
    const QColor text = textColor(p, environment.ambientBackground);
    const QColor background = backgroundColor(p, environment.ambientBackground);
    painter.setBackgroundMode(Qt::TransparentMode);

    // 3. Background.
    if (p.GradientBkFillOn)
        fillGradient(painter, rect, background);
    else
        painter.fillRect(rect, background);

    // 4. Frame and border effect.
    QRect edge = rect;
    if (p.BorderStyle == 1) {
        drawFrame(painter, rect, QColor(Qt::black));
        edge.adjust(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    }
    drawBorderEffect(painter, edge, p.BorderEffect, environment.system);
    const QRect area = labelTextRect(rect, p);

    // 5-7. Font and caption.
    const QColor embossLight = environment.system.color(QPalette::Light);
    const QColor embossText = environment.system.color(QPalette::Disabled, QPalette::WindowText);
    if (isRotated(p.Rotation)) {
        painter.setFont(labelFont(p, p.Size));
        if (p.Enabled) {
            drawRotatedCaption(painter, area, p, QPoint(0, 0), text);
        } else {
            drawRotatedCaption(painter, area, p, QPoint(1, 1), embossLight);
            drawRotatedCaption(painter, area, p, QPoint(0, 0), embossText);
        }
    } else {
        fitCaption(p, area, painter.device());
        painter.setFont(labelFont(p, p.Size));
        if (!p.Enabled) {
            drawCaption(painter, area.translated(1, 1), p, embossLight);
            drawCaption(painter, area, p, embossText);
        } else {
            if (p.TextShadowOn) {
                const ShadowOffset& o = p.TextShadowOffset;
                drawCaption(painter, area.adjusted(o.left, o.top, o.right, o.bottom), p,
                            colorFromRgbValue(p.TextShadowColor));
            }
            drawCaption(painter, area, p, text);
        }
    }
    painter.restore();
    return area;
}
