#include "LabelPalette.h"

#include <array>

QColor paletteColor(int index, const QColor& ambientBackground) {
    static constexpr std::array<QRgb, PaletteSize> palette = {
        qRgb(0, 0, 0),       qRgb(0, 0, 0),       qRgb(192, 0, 0),   qRgb(255, 0, 0),   qRgb(0, 192, 0),
        qRgb(0, 255, 0),     qRgb(192, 192, 0),   qRgb(255, 255, 0), qRgb(0, 0, 192),   qRgb(0, 0, 255),
        qRgb(192, 0, 192),   qRgb(255, 0, 255),   qRgb(0, 192, 192), qRgb(0, 255, 255), qRgb(128, 128, 128),
        qRgb(192, 192, 192), qRgb(255, 255, 255),
    };
    if (index == 0)
        return ambientBackground;
    if (index < 0 || index >= PaletteSize)
        return QColor(0, 0, 0);
    return QColor(palette[static_cast<std::size_t>(index)]);
}

QColor colorFromRgbValue(int rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

int rgbValueOf(const QColor& color) {
    return color.red() + 256 * color.green() + 65536 * color.blue();
}

QColor textColor(const LabelProperties& p, const QColor& ambientBackground) {
    return p.ColorSelect != 0 ? colorFromRgbValue(p.ColorAlt) : paletteColor(p.Color, ambientBackground);
}

QColor backgroundColor(const LabelProperties& p, const QColor& ambientBackground) {
    return p.BackGroundColorSelect != 0 ? colorFromRgbValue(p.BackGroundColorAlt)
                                        : paletteColor(p.BackGroundColor, ambientBackground);
}
