// The label's 17-entry colour palette, RGB values, and the colours a caption and its background
// resolve to.
#pragma once

#include "LabelProperties.h"

#include <QColor>

inline constexpr int PaletteSize = 17;

// Index 0 is the container's ambient background; any index outside the palette is black.
QColor paletteColor(int index, const QColor& ambientBackground);

// A colour given as an automation RGB value (R + 256 G + 65536 B); the high byte is ignored.
QColor colorFromRgbValue(int rgb);
int rgbValueOf(const QColor& color);

// The text colour: ColorAlt when ColorSelect is non-zero, else the palette colour of Color.
QColor textColor(const LabelProperties& properties, const QColor& ambientBackground);
// The background: BackGroundColorAlt when BackGroundColorSelect is non-zero, else the palette
// colour of BackGroundColor.
QColor backgroundColor(const LabelProperties& properties, const QColor& ambientBackground);
