// Draws the label on any painter: background, border effect and caption, in that order.
#pragma once

#include "LabelProperties.h"

#include <QColor>
#include <QPalette>
#include <QRect>

class QPainter;

// What the drawing takes from the container and the desktop.
struct LabelEnvironment {
    QColor ambientBackground; // palette index 0
    QPalette system;          // 3-D edge colours and the disabled look
};

inline constexpr int FrameWidth = 1;    // stock BorderStyle 1
inline constexpr int EdgeTextInset = 4; // sunken and etched edges keep the caption this far in
inline constexpr int GradientBandHeight = 2;
inline constexpr int WrappedMiddleDrop = 3; // a wrapped caption in the middle sits this much lower

// The rectangle the caption is laid out in: inside the frame and, for the sunken and etched
// effects, inside the edge.
QRect labelTextRect(const QRect& rect, const LabelProperties& properties);

// The bottom colour of the gradient: each of red, green and blue times 0.7, truncated.
QColor gradientBottomColor(const QColor& top);

// Draws the whole label into rect. Fitting the caption at 0 degrees may lower properties.Size.
// Returns the text rectangle.
QRect paintLabel(QPainter& painter, const QRect& rect, LabelProperties& properties,
                 const LabelEnvironment& environment);
